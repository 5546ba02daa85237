#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/UserPrompts.h"
#include "pictures/ModuleOutput.h"
#include "pictures/PictureReduction.h"
#include "pictures/SusieHost.h"

namespace cw {

// Picture loading: BMP files directly, every other format through the
// decoder modules (".spi") of the plug-in folder, and cropping of large
// bitmaps for the renderers.

// The largest decoded picture the program accepts, in megabytes of a 32-bit
// image: a 12000 x 9000 photograph (412 MB) loads, a decompression bomb that
// claims a much larger size is refused before anything is allocated.
constexpr int kPictureAllocationLimitMb = 768;
// The limit in force (kPictureAllocationLimitMb unless lowered, as the fuzz
// targets do); it also bounds what the BMP assembly accepts.
int pictureAllocationLimitMb();
void setPictureAllocationLimitMb(int megabytes);

// Loads a picture file into `bitmap`. True: the bitmap holds the picture.
// False: a message was shown through `messages` and `bitmap` is unchanged.
//   missing or unreadable file:
//     "ファイル(" + fileName + ")がありません"
//   no module decodes it:
//     "ファイル(" + fileName + ")は利用できない画像形式です(Pluginがありません)"
//   larger than the limit above, or a module says the picture is too large:
//     "ファイル(" + fileName + ")は画像が大きすぎて読み込めません"
//   a module says the file is truncated or corrupt:
//     "ファイル(" + fileName + ")は壊れているため読み込めません"
bool LoadPictureFile(QImage &bitmap, const QString &fileName, MessageSink &messages);
// The same with the least size the caller needs: the picture comes reduced
// by pictureReductionFor(its size, wanted) (1, 2, 4 or 8 per side), decoded
// at that size where the decoder can, so the whole picture is not held. An
// invalid `wanted` asks for the whole picture. `reduction` receives the
// file's own size and the factor. A picture reduced by sampling (`kind`)
// keeps exactly the file's colours; a decoder module that cannot sample
// decodes it whole, and it is sampled here.
bool LoadPictureFile(QImage &bitmap, const QString &fileName, MessageSink &messages,
    QSize wanted, PictureReduction &reduction, ReductionKind kind = ReductionKind::Average);

// While an object of this class lives (on the thread that made it), pictures
// that LoadPictureFile reads successfully are kept, and loading the same file
// again (same path, size and modification time) hands out the picture kept
// (an implicitly shared QImage) instead of decoding it once more; a picture
// kept at a reduction serves every load that may have that reduction or a
// larger one. Reading a
// document opens one, so a cover used on several surfaces is decoded once.
class SharedPictureLoads
{
public:
    SharedPictureLoads();
    ~SharedPictureLoads();
    SharedPictureLoads(const SharedPictureLoads &) = delete;
    SharedPictureLoads &operator=(const SharedPictureLoads &) = delete;

    struct Entry
    {
        QString path;
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        QImage picture;
        PictureReduction reduction; // the file's size and the picture's factor
    };
    std::vector<Entry> entries;
    int decodes = 0; // files actually decoded while this object lived

private:
    SharedPictureLoads *m_outer;
};

// What CropBitmap did, for tests and diagnostics.
struct CropTrace
{
    QList<int> stripRows; // rows of each strip, in the order processed
};

// Replaces `bitmap` by a 24-bit copy of the rectangle left <= x < right,
// top <= y < bottom (picture pixels, y downwards): an opaque Format_RGB32
// picture at 3780 pixels per metre, each pixel the red, green and blue the
// source stores (its alpha dropped, not blended). The picture is cropped in
// memory, from the bottom of the rectangle up, in strips of at most 100 rows,
// so that a source in another format is converted a strip at a time. A
// rectangle that reaches outside the bitmap is clipped to it; when nothing
// remains, or the memory for the copy cannot be had, the bitmap is left as it
// was and the result is false.
bool CropBitmap(
    QImage &bitmap, int left, int top, int right, int bottom, CropTrace *trace = nullptr);

// The folder the modules are read from: the Susie "Path" setting
// (organisation "Takechin", application "Susie", group "Plug-in", key "Path")
// when present and not empty, else the program's module folder
// (programModuleFolder). Always ends with "/".
QString susiePluginFolder();
// A "Path" value with a "/" appended unless it already ends with one.
QString withTrailingSeparator(const QString &path);

// Scans susiePluginFolder() once (start-up).
void LoadSusiePlugins(ModuleLoading when = ModuleLoading::AtOnce);
// Unloads every module (shut-down).
void FreeSusiePlugins();
// The filter text of every picture open dialog.
QString PictureFilter();
// PictureFilter() + "|すべてのファイル(*.*)|*.*"
QString pictureOpenDialogFilter();
// Decodes the file through the modules into `stream` as a BMP image; the
// stream's position is left at its end. False when no module decoded it.
bool ConvertByPlugin(const QString &fileName, QBuffer &stream);

} // namespace cw

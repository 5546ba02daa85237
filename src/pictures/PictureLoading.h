#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

#include "base/UserPrompts.h"

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

// While an object of this class lives (on the thread that made it), pictures
// that LoadPictureFile reads successfully are kept, and loading the same file
// again (same path, size and modification time) hands out the picture kept
// (an implicitly shared QImage) instead of decoding it once more. Reading a
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
    int chunkWrites = 0; // 16384-byte (or final, shorter) output writes
    QString temporaryFile; // the file used; it no longer exists afterwards
};

// Replaces `bitmap` by a 24-bit copy of the rectangle left <= x < right,
// top <= y < bottom (picture pixels, y downwards). The picture is streamed
// through a unique temporary file in strips of at most 100 rows, so the
// memory needed beyond the source stays small. An empty rectangle, or one
// that reaches outside the bitmap, is clipped to the bitmap; when nothing
// remains, or the temporary file cannot be written, the bitmap is left as it
// was and the result is false.
bool CropBitmap(
    QImage &bitmap, int left, int top, int right, int bottom, CropTrace *trace = nullptr);

// Builds a complete BMP image from a decoder module's info block and pixel
// block, each given with its real size; nothing past either size is read.
// False (and `out` untouched) for a block that is too short, a bit count
// other than 1, 4, 8, 16, 24 or 32, a zero or negative width, a zero height,
// or sizes that overflow. Colour tables shorter than the full count are
// completed with zero entries; a missing pixel tail is zero-filled.
bool assembleBmpFromPlugin(
    const void *info, size_t infoBytes, const void *pixels, size_t pixelBytes, QByteArray &out);

// Why no module delivered a picture.
enum class PictureFailure {
    Unsupported, // no module accepted the file, or none said why it failed
    TooLarge, // a module accepted it: the picture is too large to hold
    Broken, // a module accepted it: the file is truncated or corrupt
};

// When the decoder modules of a folder are loaded: all at once, as the
// program does at start-up, or each only when a picture first needs it, as
// the command line does (a JPEG then never loads the TIFF or HEIF module and
// their libraries). Which module decodes a file, and the filter, are the same
// either way: modules are still asked in the order of the folder listing.
enum class ModuleLoading { AtOnce, OnDemand };

// The process-wide set of decoder modules. One thread at a time uses the
// modules: the host serialises decoding and loading.
class SusieHost
{
public:
    static SusieHost &instance();

    SusieHost();
    ~SusieHost();
    SusieHost(const SusieHost &) = delete;
    SusieHost &operator=(const SusieHost &) = delete;

    // Unloads any modules, then takes the import modules ("*.spi") of
    // `folder` in the order of the folder listing and builds the filter.
    void load(const QString &folder, ModuleLoading when = ModuleLoading::AtOnce);
    // Unloads every module; the filter becomes the one without modules.
    void unload();

    // "画像|" + patterns + ";*.bmp|BMP(*.bmp)|*.bmp" + ("|" + pairs).
    // (These three load every module still waiting.)
    QString filter() const;
    // File names (without folder) of the kept modules, in discovery order.
    QStringList moduleNames() const;
    int moduleCount() const;
    // Modules loaded so far (a module that fails to load is not counted).
    int loadedModuleCount() const;

    // Asks the modules in turn to decode the file; true when one did, and
    // `bmp` then holds a complete BMP image.
    // `failure`, when given, tells why nothing was decoded: the reason the
    // first module reported through the failure-reason extension.
    bool convert(const QString &fileName, QByteArray &bmp, PictureFailure *failure = nullptr) const;
    // As convert, straight into a picture: top-down 32-bit rows from a module
    // become the picture's own pixels without a copy; any other output goes
    // through Qt's BMP image of the output, decoded by the program's own BMP
    // decoder reading the pixel rows in place from the module's block, so the
    // pixels are the same as reading the converted image, without a second
    // full copy.
    bool decodeImage(
        const QString &fileName, QImage &image, PictureFailure *failure = nullptr) const;

    struct Module;

private:
    // Runs the modules in turn; `take` receives a decoded picture's two
    // blocks and returns whether it used them. It may keep or free either
    // block (setting it to 0); the host frees what is left.
    template<typename Take>
    bool decodeWith(const QString &fileName, Take take, PictureFailure *failure) const;
    // Loads the next waiting module; false when none is left. A module that
    // cannot be used is dropped and the one after it is tried.
    bool loadNextLocked() const;
    void loadAllLocked() const;

    mutable std::mutex m_mutex;
    mutable std::vector<std::unique_ptr<Module>> m_modules;
    mutable QStringList m_waiting; // paths not loaded yet, in order
    mutable QStringList m_patterns; // E
    mutable QStringList m_pairs; // P
};

// The folder the modules are read from: the Susie "Path" setting
// (organisation "Takechin", application "Susie", group "Plug-in", key "Path")
// when present and not empty, else the program's own folder. Always ends
// with "/".
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

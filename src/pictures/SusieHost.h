#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "pictures/PictureReduction.h"

namespace cw {

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

// Where the decoder modules (and the picture dialog's image readers) run: in
// the decoder helper, a process of the program's own behind fixed limits
// (the program), or in this process (the helper itself, and the fuzz
// targets, which must see the decoding code).
enum class DecoderPlacement { Helper, InProcess };
DecoderPlacement decoderPlacement();
void setDecoderPlacement(DecoderPlacement placement);

// The process-wide set of decoder modules. One thread at a time uses the
// modules: the host serialises decoding and loading. Under
// DecoderPlacement::Helper every function is answered by the decoder helper
// (DecoderHelper) with the same result.
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
    // The filter when no module is loaded.
    static QString filterWithout();
    // Module files (full paths) that load() leaves out: in the decoder
    // helper, those that took an earlier helper down while loading.
    void setLeftOut(const QStringList &paths);
    // Called with a module's path just before it is loaded and with an empty
    // path once it is (the helper tells the program, which learns so which
    // module took it down).
    void setLoadingObserver(std::function<void(const QString &)> observer);
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
    // With a valid `wanted` size the picture comes reduced by
    // pictureReductionFor(its size, wanted): through a module's reduction
    // extension when it has one, else reduced here after a whole decode.
    // A sampled reduction (`kind`) goes through a module's sampling extension
    // in the same way.
    // `reduction` (when given) receives the file's size and the factor.
    bool decodeImage(const QString &fileName, QImage &image, PictureFailure *failure = nullptr,
        QSize wanted = QSize(), PictureReduction *reduction = nullptr,
        ReductionKind kind = ReductionKind::Average) const;

    struct Module;

private:
    // Runs the modules in turn; `take` receives a decoded picture's two
    // blocks and the picture's own size when the module told it (an invalid
    // size when not), and returns whether it used them. It may keep or free
    // either block (setting it to 0); the host frees what is left. With a
    // valid `wanted` size a module with the reduction extension (or, to
    // sample, the sampling extension) is asked through it.
    template<typename Take>
    bool decodeWith(const QString &fileName, Take take, PictureFailure *failure,
        QSize wanted = QSize(), ReductionKind kind = ReductionKind::Average) const;
    // Loads the next waiting module; false when none is left. A module that
    // cannot be used is dropped and the one after it is tried.
    bool loadNextLocked() const;
    void loadAllLocked() const;

    mutable std::mutex m_mutex;
    mutable std::vector<std::unique_ptr<Module>> m_modules;
    mutable QStringList m_waiting; // paths not loaded yet, in order
    mutable QStringList m_patterns; // E
    mutable QStringList m_pairs; // P
    QStringList m_leftOut;
    std::function<void(const QString &)> m_loadingObserver;
};

} // namespace cw

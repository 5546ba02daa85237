// The decoder-module host: discovery of the ".spi" modules, the picture
// filter, and decoding a file through the first module that takes it (what
// a module's output becomes is in ModuleOutput).
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cstring>
#include <dlfcn.h>

#include "base/ProgramFolders.h"
#include "base/UiText.h"
#include "pictures/DecoderHelper.h"
#include "pictures/LocalMemory.h"
#include "pictures/ModuleOutput.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"
#include "text/Cp932.h"

namespace cw {

namespace {

constexpr int kProbeBytes = 2048;
constexpr int kSecondProbeOffset = 128;
constexpr int kVersionBytes = 10;
constexpr int kInfoTextBytes = 64;
// A module that never ends its pattern list is cut off here.
constexpr int kMaxPatternLists = 256;

const QString kBmpFilterTail = QStringLiteral(";*.bmp|BMP(*.bmp)|*.bmp");

} // namespace

struct SusieHost::Module
{
    QString name;
    void *handle = nullptr;
    SpiGetPluginInfo getPluginInfo = nullptr;
    SpiIsSupported isSupported = nullptr;
    SpiGetPicture getPicture = nullptr;
    SpiGetPictureFailure getPictureFailure = nullptr; // optional extension
    SpiGetPictureReduced getPictureReduced = nullptr; // optional extension
    SpiGetPictureReduced getPictureSampled = nullptr; // optional extension

    ~Module()
    {
        if (handle)
            dlclose(handle);
    }

    // GetPluginInfo into a buffer of `size` bytes, ended at the returned
    // length (and at an embedded zero). The module is given a larger buffer
    // than it is told of, so one that writes a byte too many does no harm.
    QString info(int number, int size, bool *ended = nullptr) const
    {
        char buf[256];
        std::memset(buf, 0, sizeof buf);
        int n = getPluginInfo(number, buf, size);
        if (ended)
            *ended = n <= 0;
        if (n <= 0)
            return QString();
        if (n > size)
            n = size;
        buf[n] = 0;
        return cp932::decode(buf, qsizetype(std::strlen(buf)));
    }
};

namespace {

#ifdef CASEWRIGHT_DECODE_IN_PROCESS
DecoderPlacement g_placement = DecoderPlacement::InProcess;
#else
DecoderPlacement g_placement = DecoderPlacement::Helper;
#endif

bool inHelper()
{
    return g_placement == DecoderPlacement::Helper;
}

} // namespace

DecoderPlacement decoderPlacement()
{
    return g_placement;
}

void setDecoderPlacement(DecoderPlacement placement)
{
    g_placement = placement;
}

SusieHost &SusieHost::instance()
{
    static SusieHost host;
    return host;
}

SusieHost::SusieHost() = default;

SusieHost::~SusieHost()
{
    // Only this process's modules: the helper ends with the program.
    std::lock_guard lock(m_mutex);
    m_modules.clear();
    m_waiting.clear();
}

void SusieHost::unload()
{
    if (inHelper())
        DecoderHelper::instance().unload();
    std::lock_guard lock(m_mutex);
    m_modules.clear();
    m_waiting.clear();
    m_patterns.clear();
    m_pairs.clear();
}

void SusieHost::setLeftOut(const QStringList &paths)
{
    std::lock_guard lock(m_mutex);
    m_leftOut = paths;
}

void SusieHost::setLoadingObserver(std::function<void(const QString &)> observer)
{
    std::lock_guard lock(m_mutex);
    m_loadingObserver = std::move(observer);
}

QString SusieHost::filterWithout()
{
    return UiText::tr("画像") + QLatin1Char('|') + kBmpFilterTail;
}

QString SusieHost::filter() const
{
    if (inHelper())
        return DecoderHelper::instance().filter();
    std::lock_guard lock(m_mutex);
    loadAllLocked();
    QString filter = UiText::tr("画像") + QLatin1Char('|') + m_patterns.join(QLatin1Char(';'))
        + kBmpFilterTail;
    if (!m_pairs.isEmpty())
        filter += QLatin1Char('|') + m_pairs.join(QLatin1Char('|'));
    return filter;
}

QStringList SusieHost::moduleNames() const
{
    if (inHelper())
        return DecoderHelper::instance().moduleNames();
    std::lock_guard lock(m_mutex);
    loadAllLocked();
    QStringList names;
    for (const auto &m : m_modules)
        names.append(m->name);
    return names;
}

int SusieHost::moduleCount() const
{
    if (inHelper())
        return DecoderHelper::instance().moduleCount();
    std::lock_guard lock(m_mutex);
    loadAllLocked();
    return int(m_modules.size());
}

int SusieHost::loadedModuleCount() const
{
    if (inHelper())
        return DecoderHelper::instance().loadedModuleCount();
    std::lock_guard lock(m_mutex);
    return int(m_modules.size());
}

void SusieHost::load(const QString &folder, ModuleLoading when)
{
    if (inHelper()) {
        DecoderHelper::instance().load(folder, when);
        return;
    }
    unload();
    std::lock_guard lock(m_mutex);
    QDir dir(folder);
    const QStringList names
        = dir.entryList({ QStringLiteral("*.spi") }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names)
        if (!m_leftOut.contains(dir.absoluteFilePath(name)))
            m_waiting.append(dir.absoluteFilePath(name));
    if (when == ModuleLoading::AtOnce)
        loadAllLocked();
}

void SusieHost::loadAllLocked() const
{
    while (loadNextLocked()) { }
}

bool SusieHost::loadNextLocked() const
{
    while (!m_waiting.isEmpty()) {
        const QString filePath = m_waiting.takeFirst();
        // The observer hears of the module before it is loaded, and with an
        // empty path once it is loaded or dropped.
        struct LoadingNote
        {
            const std::function<void(const QString &)> &observer;
            ~LoadingNote()
            {
                if (observer)
                    observer(QString());
            }
        } note { m_loadingObserver };
        if (m_loadingObserver)
            m_loadingObserver(filePath);
        auto module = std::make_unique<Module>();
        module->name = QFileInfo(filePath).fileName();
        const QByteArray path = QFile::encodeName(filePath);
        // Bind every symbol now: a module that needs a host function we do not
        // export fails here instead of at its first call.
        module->handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module->handle)
            continue;
        module->getPluginInfo
            = reinterpret_cast<SpiGetPluginInfo>(dlsym(module->handle, "GetPluginInfo"));
        if (!module->getPluginInfo)
            continue;
        const QString version = module->info(0, kVersionBytes);
        if (version.size() < 4 || version.mid(2, 2) != QLatin1String("IN"))
            continue;
        module->isSupported
            = reinterpret_cast<SpiIsSupported>(dlsym(module->handle, "IsSupported"));
        module->getPicture = reinterpret_cast<SpiGetPicture>(dlsym(module->handle, "GetPicture"));
        module->getPictureFailure = reinterpret_cast<SpiGetPictureFailure>(
            dlsym(module->handle, "GetPictureFailure"));
        module->getPictureReduced = reinterpret_cast<SpiGetPictureReduced>(
            dlsym(module->handle, "GetPictureReduced"));
        module->getPictureSampled = reinterpret_cast<SpiGetPictureReduced>(
            dlsym(module->handle, "GetPictureSampled"));
        for (int i = 0, n = 2; i < kMaxPatternLists; ++i, n += 2) {
            bool ended = false;
            const QString pattern = module->info(n, kInfoTextBytes, &ended);
            if (ended)
                break;
            const QString description = module->info(n + 1, kInfoTextBytes);
            m_patterns.append(pattern);
            m_pairs.append(description + QLatin1Char('|') + pattern);
        }
        m_modules.push_back(std::move(module));
        return true;
    }
    return false;
}

template<typename Take>
bool SusieHost::decodeWith(const QString &fileName, Take take, PictureFailure *failure,
    QSize wanted, ReductionKind kind) const
{
    if (failure)
        *failure = PictureFailure::Unsupported;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The probe buffer: the file's first 2048 bytes, zero-filled, with a
    // zeroed tail of 128 bytes so the second probe at byte 128 also sees 2048.
    QByteArray probe(kProbeBytes + kSecondProbeOffset, '\0');
    qint64 got = file.read(probe.data(), kProbeBytes);
    if (got < 0)
        return false;
    file.close();
    const QByteArray name = QFile::encodeName(fileName);

    std::lock_guard lock(m_mutex);
    for (size_t index = 0;; ++index) {
        // Modules still waiting are loaded when the ones before them have
        // turned the file down.
        if (index == m_modules.size() && !loadNextLocked())
            break;
        const Module *m = m_modules[index].get();
        if (!m->isSupported)
            continue;
        int offset = 0;
        if (m->isSupported(name.constData(), probe.constData()) == 0) {
            if (m->isSupported(name.constData(), probe.constData() + kSecondProbeOffset) == 0)
                continue;
            offset = kSecondProbeOffset;
        }
        // A sampled picture comes from a module that samples, or whole.
        const SpiGetPictureReduced getReduced
            = kind == ReductionKind::Sample ? m->getPictureSampled : m->getPictureReduced;
        const bool reduced = wanted.isValid() && !wanted.isEmpty() && getReduced;
        if (!m->getPicture && !reduced)
            continue;
        SpiHandle info = nullptr;
        SpiHandle pixels = nullptr;
        qint32 fullWidth = 0, fullHeight = 0;
        const int rc = reduced
            ? getReduced(SPI_REDUCED_EXTENSION_VERSION, name.constData(), offset, 0,
                  wanted.width(), wanted.height(), &fullWidth, &fullHeight, &info, &pixels,
                  nullptr, 0)
            : m->getPicture(name.constData(), offset, 0, &info, &pixels, nullptr, 0);
        bool done = false;
        if (rc == SPI_OK && isLocalHandle(info) && isLocalHandle(pixels) && info != pixels)
            done = take(info, pixels, reduced ? QSize(fullWidth, fullHeight) : QSize());
        // Free what the module handed out and `take` left, also after a
        // failure; LocalFree ignores handles it does not know.
        if (info)
            LocalFree(info);
        if (pixels && pixels != info)
            LocalFree(pixels);
        if (done)
            return true;
        // The first module that says why it failed names the reason; a later
        // module may still decode the file.
        if (rc != SPI_OK && m->getPictureFailure && failure
            && *failure == PictureFailure::Unsupported) {
            switch (m->getPictureFailure(SPI_FAILURE_EXTENSION_VERSION)) {
            case SPI_FAILURE_TOO_LARGE:
                *failure = PictureFailure::TooLarge;
                break;
            case SPI_FAILURE_BROKEN:
                *failure = PictureFailure::Broken;
                break;
            default:
                break; // unspecified, or a reason this host does not know
            }
        }
    }
    return false;
}

bool SusieHost::convert(const QString &fileName, QByteArray &bmp, PictureFailure *failure) const
{
    if (inHelper())
        return DecoderHelper::instance().convert(fileName, bmp, failure);
    return decodeWith(
        fileName,
        [&](SpiHandle &info, SpiHandle &pixels, QSize) {
            return assembleBmpFromPlugin(
                LocalLock(info), LocalSize(info), LocalLock(pixels), LocalSize(pixels), bmp);
        },
        failure);
}

bool SusieHost::decodeImage(const QString &fileName, QImage &image, PictureFailure *failure,
    QSize wanted, PictureReduction *reduction, ReductionKind kind) const
{
    if (inHelper())
        return DecoderHelper::instance().decodeImage(
            fileName, image, failure, wanted, reduction, kind);
    const bool reducing = wanted.isValid() && !wanted.isEmpty();
    return decodeWith(fileName, [&](SpiHandle &info, SpiHandle &pixels, QSize full) {
        QImage decoded = moduleOutputImage(info, pixels);
        if (decoded.isNull())
            return false;
        if (!full.isValid())
            full = decoded.size(); // decoded whole
        // The factor the module delivered, and the one asked for; a module
        // that delivered more pixels than asked is reduced here, one whose
        // output fits no factor, or that reduced too far, is not used.
        const int asked = reducing ? pictureReductionFor(full, wanted) : 1;
        int delivered = 0;
        for (int f = 1; f <= kLargestPictureReduction; f *= 2)
            if (reducedPictureSize(full, f) == decoded.size()) {
                delivered = f;
                break;
            }
        if (delivered == 0 || delivered > asked)
            return false;
        if (delivered < asked) {
            decoded = reducePicture(decoded, asked / delivered, kind);
            if (decoded.isNull())
                return false;
        }
        if (reduction)
            *reduction = PictureReduction { full, asked, kind };
        image = std::move(decoded);
        return true;
    }, failure, wanted, kind);
}

QString withTrailingSeparator(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString susiePluginFolder()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Takechin"),
        QStringLiteral("Susie"));
    if (settings.childGroups().contains(QStringLiteral("Plug-in"))) {
        const QString path = settings.value(QStringLiteral("Plug-in/Path")).toString();
        // An absent or empty value names no folder; the program's own is used.
        if (!path.isEmpty())
            return withTrailingSeparator(path);
    }
    return withTrailingSeparator(programModuleFolder());
}

void LoadSusiePlugins(ModuleLoading when)
{
    SusieHost::instance().load(susiePluginFolder(), when);
}

void FreeSusiePlugins()
{
    SusieHost::instance().unload();
}

QString PictureFilter()
{
    return SusieHost::instance().filter();
}

QString pictureOpenDialogFilter()
{
    return PictureFilter() + QLatin1Char('|') + UiText::tr("すべてのファイル(*.*)")
        + QStringLiteral("|*.*");
}

bool ConvertByPlugin(const QString &fileName, QBuffer &stream)
{
    QByteArray bmp;
    if (!SusieHost::instance().convert(fileName, bmp))
        return false;
    const bool wasOpen = stream.isOpen();
    if (wasOpen)
        stream.close();
    stream.setData(bmp);
    stream.open(QIODevice::ReadWrite);
    stream.seek(stream.size());
    return true;
}

} // namespace cw

// The decoder-module host: discovery of the ".spi" modules, the picture
// filter, and decoding through the modules into a BMP image.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <climits>
#include <cstring>
#include <dlfcn.h>

#include "base/ProgramFolders.h"
#include "base/UiText.h"
#include "pictures/BmpDecoder.h"
#include "pictures/DecoderHelper.h"
#include "pictures/LocalMemory.h"
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

quint32 readU32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

void putU32(char *p, quint32 v)
{
    p[0] = char(v & 0xff);
    p[1] = char((v >> 8) & 0xff);
    p[2] = char((v >> 16) & 0xff);
    p[3] = char((v >> 24) & 0xff);
}

bool pluginBmpHead(const void *infoBlock, size_t infoBytes, size_t pixelBytes, QByteArray &head,
    quint64 &imageBytesOut);

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

namespace {

// Top-down rows of 32 bits without bit fields are laid out exactly as a
// Format_RGB32 picture: the picture can own the module's block.
QImage adoptTopDown32(SpiHandle info, SpiHandle &pixels)
{
    const size_t infoBytes = LocalSize(info);
    if (infoBytes < 40)
        return QImage();
    const auto *h = static_cast<const unsigned char *>(LocalLock(info));
    const quint32 infoSize = readU32(h);
    const qint32 width = qint32(readU32(h + 4));
    const qint32 height = qint32(readU32(h + 8));
    const quint16 bitCount = quint16(h[14] | h[15] << 8);
    const quint32 compression = readU32(h + 16);
    if (infoSize < 40 || infoSize > infoBytes || bitCount != 32 || compression != 0 || width <= 0
        || height >= 0 || height == std::numeric_limits<qint32>::min())
        return QImage();
    const quint64 w = quint64(width), rows = quint64(-qint64(height));
    const quint64 maxPixels = quint64(pictureAllocationLimitMb()) * 1024 * 1024 / 4;
    if (w * rows > maxPixels || w * 4 * rows > LocalSize(pixels) || w * 4 > quint64(INT_MAX))
        return QImage();
    auto *bits = static_cast<uchar *>(LocalLock(pixels));
    // The fourth byte of a 32-bit row is unused and many modules leave it at
    // 0; Format_RGB32 requires 0xff there, or the picture draws transparent.
    // Rows that already hold 0xff throughout are only read.
    auto *px = reinterpret_cast<quint32 *>(bits);
    for (quint64 y = 0; y < rows; ++y, px += w) {
        quint32 all = 0xffffffffu;
        for (quint64 x = 0; x < w; ++x)
            all &= px[x];
        if ((all >> 24) != 0xffu)
            for (quint64 x = 0; x < w; ++x)
                px[x] |= 0xff000000u;
    }
    QImage image(
        bits, int(w), int(rows), qsizetype(w * 4), QImage::Format_RGB32,
        [](void *block) { LocalFree(block); }, pixels);
    if (image.isNull())
        return QImage();
    pixels = nullptr; // the picture frees it
    return image;
}

} // namespace

namespace {

// The BMP image of a module's output read in place: its leading part from a
// small buffer, its pixel rows straight from the module's pixel block, so that
// the picture is decoded without a full copy of the image in between.
class SplicedBmpDevice : public QIODevice
{
public:
    SplicedBmpDevice(QByteArray head, const char *pixels, qint64 pixelBytes)
        : m_head(std::move(head))
        , m_pixels(pixels)
        , m_pixelBytes(pixelBytes)
    { }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_head.size() + m_pixelBytes; }
    bool seek(qint64 pos) override
    {
        if (pos < 0 || pos > size())
            return false;
        QIODevice::seek(pos);
        m_pos = pos;
        return true;
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        qint64 done = 0;
        if (m_pos < m_head.size() && maxSize > 0) {
            const qint64 n = std::min(maxSize, m_head.size() - m_pos);
            std::memcpy(data, m_head.constData() + m_pos, size_t(n));
            done += n;
            m_pos += n;
        }
        if (done < maxSize && m_pos < size()) {
            const qint64 at = m_pos - m_head.size();
            const qint64 n = std::min(maxSize - done, m_pixelBytes - at);
            std::memcpy(data + done, m_pixels + at, size_t(n));
            done += n;
            m_pos += n;
        }
        return done;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
    const char *m_pixels;
    qint64 m_pixelBytes;
    qint64 m_pos = 0;
};

} // namespace

namespace {

// A module's two blocks as a picture: the pixel block itself when it holds
// top-down 32-bit rows, else the BMP image of the output decoded.
QImage decodeOutput(SpiHandle &info, SpiHandle &pixels)
{
    {
        QImage adopted = adoptTopDown32(info, pixels);
        if (!adopted.isNull())
            return adopted;
        // The BMP decoder on the BMP image of the output, exactly as on the
        // assembled file, but reading the pixel rows where the module left
        // them. The info block is done with once the leading part is made,
        // the pixel block once the picture is decoded.
        QByteArray head;
        quint64 imageBytes = 0;
        if (!pluginBmpHead(LocalLock(info), LocalSize(info), LocalSize(pixels), head, imageBytes))
            return QImage();
        LocalFree(info);
        info = nullptr;
        QImage decoded;
        {
            SplicedBmpDevice device(
                std::move(head), static_cast<const char *>(LocalLock(pixels)), qint64(imageBytes));
            device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            const quint64 maxPixels = quint64(pictureAllocationLimitMb()) * 1024 * 1024 / 4;
            if (decodeBmp(device, decoded, maxPixels) != BmpStatus::Ok)
                decoded = QImage();
        }
        LocalFree(pixels);
        pixels = nullptr;
        return decoded;
    }
}

} // namespace

bool SusieHost::decodeImage(const QString &fileName, QImage &image, PictureFailure *failure,
    QSize wanted, PictureReduction *reduction, ReductionKind kind) const
{
    if (inHelper())
        return DecoderHelper::instance().decodeImage(
            fileName, image, failure, wanted, reduction, kind);
    const bool reducing = wanted.isValid() && !wanted.isEmpty();
    return decodeWith(fileName, [&](SpiHandle &info, SpiHandle &pixels, QSize full) {
        QImage decoded = decodeOutput(info, pixels);
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


namespace {

// The BMP image a module's output makes, as its leading part (file header,
// info block, colour table) and the number of pixel bytes that follow it,
// taken as they are from the start of the pixel block.
bool pluginBmpHead(const void *infoBlock, size_t infoBytes, size_t pixelBytes, QByteArray &head,
    quint64 &imageBytesOut)
{
    constexpr size_t kHeaderFields = 40; // up to and including colours-important
    if (!infoBlock || infoBytes < kHeaderFields)
        return false;
    const auto *info = static_cast<const unsigned char *>(infoBlock);
    const quint32 infoSize = readU32(info);
    const qint32 width = qint32(readU32(info + 4));
    const qint32 height = qint32(readU32(info + 8));
    const quint16 bitCount = quint16(info[14] | info[15] << 8);
    const quint32 sizeImage = readU32(info + 20);
    if (infoSize < kHeaderFields || infoSize > infoBytes)
        return false;
    if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min())
        return false;
    const quint64 w = quint64(width);
    const quint64 h = quint64(height < 0 ? -qint64(height) : qint64(height));
    // Refuse what the program would refuse to hold as a picture anyway.
    const quint64 maxPixels = quint64(pictureAllocationLimitMb()) * 1024 * 1024 / 4;
    if (w * h > maxPixels)
        return false;

    quint64 paletteEntries = 0;
    quint64 rowBytes = 0;
    auto round4 = [](quint64 v) { return (v + 3) / 4 * 4; };
    switch (bitCount) {
    case 1:
        paletteEntries = 2;
        rowBytes = round4((w + 7) / 8);
        break;
    case 4:
        paletteEntries = 16;
        rowBytes = round4((w + 1) / 2);
        break;
    case 8:
        paletteEntries = 256;
        rowBytes = round4(w);
        break;
    case 16:
        paletteEntries = 3;
        rowBytes = round4(2 * w);
        break;
    case 24:
        paletteEntries = 0;
        rowBytes = round4(3 * w);
        break;
    case 32:
        paletteEntries = 3;
        rowBytes = 4 * w;
        break;
    default:
        return false;
    }
    const quint64 imageBytes = sizeImage != 0 ? sizeImage : rowBytes * h;
    // The pixel rows must all be there: a block shorter than it claims is
    // broken output, not something to pad out to a huge size.
    if (imageBytes == 0 || imageBytes > pixelBytes)
        return false;
    const quint64 headerBytes = infoSize + 4 * paletteEntries;
    const quint64 pixelOffset = 14 + headerBytes;
    const quint64 fileSize = pixelOffset + imageBytes;
    if (fileSize > quint64(std::numeric_limits<qint32>::max()))
        return false;

    QByteArray bmp(qsizetype(pixelOffset), Qt::Uninitialized);
    char *p = bmp.data();
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, quint32(fileSize));
    putU32(p + 6, 0);
    putU32(p + 10, quint32(pixelOffset));
    // Info block and colour table; entries the block does not hold are zero.
    const size_t available = size_t(std::min<quint64>(headerBytes, infoBytes));
    std::memcpy(p + 14, info, available);
    if (available < headerBytes)
        std::memset(p + 14 + available, 0, size_t(headerBytes - available));
    putU32(p + 14 + 32, 0); // colours used: the full table is always there
    putU32(p + 14 + 36, 0); // colours important
    head = std::move(bmp);
    imageBytesOut = imageBytes;
    return true;
}

} // namespace

bool assembleBmpFromPlugin(const void *infoBlock, size_t infoBytes, const void *pixelBlock,
    size_t pixelBytes, QByteArray &out)
{
    QByteArray head;
    quint64 imageBytes = 0;
    if (!pixelBlock || !pluginBmpHead(infoBlock, infoBytes, pixelBytes, head, imageBytes))
        return false;
    QByteArray bmp(head.size() + qsizetype(imageBytes), Qt::Uninitialized);
    std::memcpy(bmp.data(), head.constData(), size_t(head.size()));
    std::memcpy(bmp.data() + head.size(), pixelBlock, size_t(imageBytes));
    out = std::move(bmp);
    return true;
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

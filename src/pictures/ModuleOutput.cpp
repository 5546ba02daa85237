// A decoder module's output (its info block and pixel block) as a picture or
// as the BMP image it describes.
#include "pictures/ModuleOutput.h"

#include <QIODevice>
#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

#include "pictures/BmpDecoder.h"
#include "pictures/PictureLoading.h"

namespace cw {

namespace {

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

QImage moduleOutputImage(SpiHandle &info, SpiHandle &pixels)
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

} // namespace cw

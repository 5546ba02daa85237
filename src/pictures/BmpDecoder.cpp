#include "pictures/BmpDecoder.h"

#include "pictures/PixelMemory.h"
#include "pictures/PictureReduction.h"

#include <QBuffer>
#include <QList>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace cw {

namespace {

// Compression values of the headers.
enum : quint32 {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3, // in an OS/2 2.x header: Huffman 1D
    kJpeg = 4, // in an OS/2 2.x header: RLE24
    kPng = 5,
    kAlphaBitFields = 6,
};

quint16 u16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

quint32 u32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// The flattening of the decoder modules: a colour with alpha onto white.
int onWhite(int value, int alpha)
{
    return (value * alpha + 255 * (255 - alpha) + 127) / 255;
}

struct Header
{
    qint64 width = 0;
    qint64 height = 0; // negative: rows stored top-down
    int bitCount = 0;
    quint32 compression = kRgb;
    quint32 colorsUsed = 0;
    quint32 masks[4] = { 0, 0, 0, 0 }; // red, green, blue, alpha
    bool masksInHeader = false;
    bool os2 = false; // 12-byte header: three-byte palette entries
    bool rle24 = false;
};

// Reads the info header that follows the 14-byte file header.
bool parseHeader(const uchar *h, quint32 size, Header &out)
{
    if (size == 12) {
        out.width = u16(h + 4);
        out.height = u16(h + 6);
        out.bitCount = u16(h + 10);
        out.os2 = true;
        return true;
    }
    const bool windows = size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
    const bool os2v2 = !windows && size >= 16 && size <= 64;
    if (!windows && !os2v2)
        return false;
    out.width = qint32(u32(h + 4));
    out.height = qint32(u32(h + 8));
    out.bitCount = u16(h + 14);
    out.compression = size >= 20 ? u32(h + 16) : kRgb;
    out.colorsUsed = size >= 36 ? u32(h + 32) : 0;
    if (os2v2) {
        // OS/2 2.x: 3 is Huffman 1D (not read here), 4 is RLE24.
        if (out.compression == kBitFields)
            return false;
        if (out.compression == kJpeg) {
            out.compression = kRgb;
            out.rle24 = true;
        }
        return out.compression == kRgb || out.compression == kRle8 || out.compression == kRle4;
    }
    if (size >= 52) {
        out.masks[0] = u32(h + 40);
        out.masks[1] = u32(h + 44);
        out.masks[2] = u32(h + 48);
        out.masksInHeader = true;
    }
    if (size >= 56)
        out.masks[3] = u32(h + 52);
    return true;
}

class Decoder
{
public:
    Decoder(QIODevice &device, quint64 maxPixels, QSize wanted, ReductionKind kind)
        : m_device(device)
        , m_maxPixels(maxPixels)
        , m_wanted(wanted)
        , m_kind(kind)
    { }

    BmpStatus run(QImage &image, PictureReduction *reduction)
    {
        const qint64 start = m_device.pos();
        uchar fileHeader[18];
        if (m_device.read(reinterpret_cast<char *>(fileHeader), 18) != 18 || fileHeader[0] != 'B'
            || fileHeader[1] != 'M')
            return BmpStatus::NotBmp;
        const quint32 pixelOffset = u32(fileHeader + 10);
        const quint32 headerSize = u32(fileHeader + 14);
        if (headerSize < 12 || headerSize > 124)
            return BmpStatus::NotBmp;
        uchar header[124] = {};
        std::memcpy(header, fileHeader + 14, 4);
        if (m_device.read(reinterpret_cast<char *>(header) + 4, headerSize - 4) != headerSize - 4)
            return BmpStatus::NotBmp;
        Header h;
        if (!parseHeader(header, headerSize, h))
            return BmpStatus::NotBmp;
        const qint64 rows = h.height < 0 ? -h.height : h.height;
        if (h.width <= 0 || rows <= 0 || h.width > 0x7fffffff || rows > 0x7fffffff)
            return BmpStatus::NotBmp;
        if (!validDepth(h))
            return BmpStatus::NotBmp;
        if (quint64(h.width) * quint64(rows) > m_maxPixels || h.width > 1 << 28 || rows > 1 << 28)
            return BmpStatus::TooLarge;
        const bool rle = h.rle24 || h.compression == kRle8 || h.compression == kRle4;
        if (rle && h.height < 0)
            return BmpStatus::NotBmp; // compressed rows are always bottom-up

        // Masks after a 40-byte header, then the colour table.
        qint64 consumed = 14 + headerSize;
        const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
        if (fields && !h.masksInHeader) {
            const int count = h.compression == kAlphaBitFields ? 4 : 3;
            uchar m[16];
            if (m_device.read(reinterpret_cast<char *>(m), 4 * count) != 4 * count)
                return BmpStatus::NotBmp;
            for (int i = 0; i < count; ++i)
                h.masks[i] = u32(m + 4 * i);
            consumed += 4 * count;
        }
        if (!fields) {
            // Default layouts; an alpha mask in a header means nothing here.
            h.masks[3] = 0;
            if (h.bitCount == 16) {
                h.masks[0] = 0x7c00;
                h.masks[1] = 0x03e0;
                h.masks[2] = 0x001f;
            } else if (h.bitCount == 32) {
                h.masks[0] = 0xff0000;
                h.masks[1] = 0x00ff00;
                h.masks[2] = 0x0000ff;
            }
        }
        const int entrySize = h.os2 ? 3 : 4;
        qint64 entries = h.colorsUsed ? qint64(h.colorsUsed)
            : h.bitCount <= 8         ? 1 << h.bitCount
                                      : 0;
        // A table reaching into the pixels is cut off where they start.
        if (pixelOffset > consumed && entries * entrySize > pixelOffset - consumed)
            entries = (pixelOffset - consumed) / entrySize;
        if (h.bitCount > 8)
            entries = 0; // a table beside direct colours is only a hint
        entries = std::min<qint64>(entries, 256);
        m_palette.fill(qRgb(0, 0, 0), 256);
        if (entries > 0) {
            QByteArray table = m_device.read(entries * entrySize);
            const auto *t = reinterpret_cast<const uchar *>(table.constData());
            for (qint64 i = 0; i * entrySize + entrySize <= table.size(); ++i)
                m_palette[i] = qRgb(t[i * entrySize + 2], t[i * entrySize + 1], t[i * entrySize]);
            consumed += table.size();
        }
        // The pixels start at the offset the file gives, when it lies past
        // the tables; otherwise right after them.
        if (pixelOffset >= consumed) {
            if (!m_device.seek(start + pixelOffset))
                return BmpStatus::NotBmp;
        }

        m_width = int(h.width);
        m_height = int(rows);
        m_topDown = h.height < 0;
        const qint64 rowBytes = (h.width * h.bitCount + 31) / 32 * 4;
        m_alpha = fields && h.masks[3] != 0;
        // A picture whose alpha is 0 in every pixel was written by a program
        // that left the channel unused: it is read as opaque.
        if (m_alpha && !rle && !anyAlpha(rowBytes, h)) {
            m_alpha = false;
            h.masks[3] = 0;
        }
        const QSize full(m_width, m_height);
        m_factor = pictureReductionFor(full, m_wanted);
        if (reduction) {
            reduction->fullSize = full;
            reduction->factor = m_factor;
            reduction->kind = m_kind;
        }
        if (m_factor > 1)
            return runReduced(image, h, rle, rowBytes);
        // Opaque pixels are written as they are; others carry their alpha
        // until they are flattened, which leaves every pixel opaque.
        QImage out = newPixelImage(m_width, m_height, QImage::Format_RGB32);
        if (out.isNull())
            return BmpStatus::TooLarge;
        m_image = &out;
        if (rle) {
            out.fill(0u); // undefined pixels: transparent, so white in the end
            // Compressed data never needs more than twice the plain rows.
            const qint64 limit = rowBytes * rows * 2 + 4096;
            decodeRle(m_device.read(limit), h);
            m_alpha = true;
        } else {
            // Rows a cut file lacks stay white, the colour of the paper.
            out.fill(uint(qRgb(255, 255, 255)));
            decodeRows(rowBytes, h);
        }
        if (m_alpha)
            flatten(out);
        image = std::move(out);
        return BmpStatus::Ok;
    }

private:
    // Whether any pixel of the rows has a non-zero alpha; the device is
    // left where it was.
    bool anyAlpha(qint64 rowBytes, const Header &h)
    {
        const qint64 at = m_device.pos();
        QByteArray row(rowBytes, Qt::Uninitialized);
        const auto *r = reinterpret_cast<const uchar *>(row.constData());
        bool found = false;
        for (qint64 n = 0; n < m_height && !found; ++n) {
            if (m_device.read(row.data(), rowBytes) != rowBytes)
                break;
            for (int x = 0; x < m_width; ++x) {
                const quint32 v = h.bitCount == 16 ? u16(r + 2 * x) : u32(r + 4 * x);
                if (v & h.masks[3]) {
                    found = true;
                    break;
                }
            }
        }
        m_device.seek(at);
        return found;
    }

    // The picture reduced while its rows are decoded: one row at a time goes
    // through the reducer, so only the reduced picture is held.
    BmpStatus runReduced(QImage &image, const Header &h, bool rle, qint64 rowBytes)
    {
        const QSize size = reducedPictureSize(QSize(m_width, m_height), m_factor);
        QImage out = newPixelImage(size.width(), size.height(), QImage::Format_RGB32);
        if (out.isNull())
            return BmpStatus::TooLarge;
        // The pixels a whole picture leaves as they were filled: white rows
        // of a cut file, and the undefined pixels of a compressed picture,
        // which the whole picture's fill leaves opaque black.
        const QRgb unset = rle ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        out.fill(unset);
        RowReducer reducer(out, QSize(m_width, m_height), m_factor, unset, m_kind);
        m_reducer = &reducer;
        m_unset = unset;
        m_row.assign(size_t(m_width), unset);
        if (rle) {
            const qint64 limit = rowBytes * m_height * 2 + 4096;
            decodeRle(m_device.read(limit), h);
            if (m_rowY >= 0)
                reducer.addRow(m_rowY, m_row.data());
        } else {
            decodeRows(rowBytes, h);
        }
        reducer.finish();
        m_reducer = nullptr;
        image = std::move(out);
        return BmpStatus::Ok;
    }

    static bool validDepth(const Header &h)
    {
        if (h.rle24)
            return h.bitCount == 24;
        switch (h.compression) {
        case kRgb:
            return h.bitCount == 1 || h.bitCount == 2 || h.bitCount == 4 || h.bitCount == 8
                || h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32;
        case kRle8:
            return h.bitCount == 8;
        case kRle4:
            return h.bitCount == 4;
        case kBitFields:
        case kAlphaBitFields:
            return h.bitCount == 16 || h.bitCount == 32;
        default:
            return false; // embedded JPEG or PNG pictures are for printers
        }
    }

    QRgb *line(int y) { return reinterpret_cast<QRgb *>(m_image->scanLine(y)); }
    // Picture row of the n-th stored row.
    int storedRow(qint64 n) const { return m_topDown ? int(n) : m_height - 1 - int(n); }

    void decodeRows(qint64 rowBytes, const Header &h)
    {
        QByteArray row(rowBytes, Qt::Uninitialized);
        const auto *r = reinterpret_cast<const uchar *>(row.constData());
        const int bits = h.bitCount;
        const quint32 mask = (1u << (bits <= 8 ? bits : 0)) - 1;
        for (qint64 n = 0; n < m_height; ++n) {
            // A file cut short keeps the rows it holds.
            if (m_device.read(row.data(), rowBytes) != rowBytes)
                return;
            QRgb *dst = m_reducer ? m_row.data() : line(storedRow(n));
            for (int x = 0; x < m_width; ++x) {
                if (bits <= 8) {
                    const qint64 bit = qint64(x) * bits;
                    const int shift = 8 - bits - int(bit % 8);
                    dst[x] = m_palette[(r[bit / 8] >> shift) & mask];
                } else if (bits == 24) {
                    dst[x] = qRgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
                } else {
                    const quint32 v = bits == 16 ? u16(r + 2 * x) : u32(r + 4 * x);
                    dst[x] = pixelOf(v, h.masks);
                }
            }
            if (m_reducer) {
                if (m_alpha)
                    flattenRow(dst, m_width);
                m_reducer->addRow(storedRow(n), dst);
            }
        }
    }

    static QRgb pixelOf(quint32 v, const quint32 *masks)
    {
        const int a = masks[3] ? widenBmpChannel(v, masks[3]) : 255;
        return qRgba(widenBmpChannel(v, masks[0]), widenBmpChannel(v, masks[1]),
            widenBmpChannel(v, masks[2]), a);
    }

    void put(qint64 x, qint64 y, QRgb c)
    {
        if (x < 0 || x >= m_width || y < 0 || y >= m_height)
            return;
        if (!m_reducer) {
            line(m_height - 1 - int(y))[x] = c;
            return;
        }
        // Compressed rows only go upwards: a row is done once a later one
        // is written. Pixels never written stay as the whole picture has them.
        const int row = m_height - 1 - int(y);
        if (row != m_rowY) {
            if (m_rowY >= 0) {
                m_reducer->addRow(m_rowY, m_row.data());
                std::fill(m_row.begin(), m_row.end(), m_unset);
            }
            m_rowY = row;
        }
        m_row[size_t(x)] = c;
    }

    // RLE4, RLE8 and RLE24: runs and absolute pieces, with end-of-line,
    // end-of-picture and delta codes. Whatever reaches outside the picture is
    // dropped; a missing end leaves the rest undefined.
    void decodeRle(const QByteArray &data, const Header &h)
    {
        const auto *d = reinterpret_cast<const uchar *>(data.constData());
        const qint64 n = data.size();
        const int kind = h.rle24 ? 24 : h.compression == kRle8 ? 8 : 4;
        qint64 p = 0, x = 0, y = 0;
        auto colour = [&](const uchar *at) { return qRgb(at[2], at[1], at[0]); };
        while (p + 1 < n && y < m_height) {
            const int count = d[p];
            const int code = d[p + 1];
            if (count > 0) {
                if (kind == 24) {
                    if (p + 4 > n)
                        return;
                    const QRgb c = colour(d + p + 1);
                    for (int i = 0; i < count; ++i)
                        put(x++, y, c);
                    p += 4;
                    continue;
                }
                for (int i = 0; i < count; ++i) {
                    const int index = kind == 8 ? code : (i % 2 ? code & 15 : code >> 4);
                    put(x++, y, m_palette[index]);
                }
                p += 2;
                continue;
            }
            p += 2;
            if (code == 0) {
                x = 0;
                ++y;
            } else if (code == 1) {
                return;
            } else if (code == 2) {
                if (p + 2 > n)
                    return;
                x += d[p];
                y += d[p + 1];
                p += 2;
            } else {
                const qint64 bytes = kind == 24 ? 3 * code : kind == 8 ? code : (code + 1) / 2;
                if (p + bytes > n)
                    return;
                for (int i = 0; i < code; ++i) {
                    if (kind == 24)
                        put(x++, y, colour(d + p + 3 * i));
                    else if (kind == 8)
                        put(x++, y, m_palette[d[p + i]]);
                    else
                        put(x++, y, m_palette[i % 2 ? d[p + i / 2] & 15 : d[p + i / 2] >> 4]);
                }
                p += (bytes + 1) / 2 * 2; // pieces end on a 16-bit boundary
            }
        }
    }

    static void flattenRow(QRgb *px, int width)
    {
        for (int x = 0; x < width; ++x) {
            const QRgb c = px[x];
            const int a = qAlpha(c);
            if (a != 255)
                px[x] = qRgb(onWhite(qRed(c), a), onWhite(qGreen(c), a), onWhite(qBlue(c), a));
        }
    }

    static void flatten(QImage &image)
    {
        for (int y = 0; y < image.height(); ++y) {
            auto *px = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = px[x];
                const int a = qAlpha(c);
                if (a != 255)
                    px[x] = qRgb(onWhite(qRed(c), a), onWhite(qGreen(c), a), onWhite(qBlue(c), a));
            }
        }
    }

    QIODevice &m_device;
    quint64 m_maxPixels;
    QSize m_wanted;
    ReductionKind m_kind;
    int m_factor = 1;
    RowReducer *m_reducer = nullptr;
    std::vector<QRgb> m_row; // the row being decoded, when reducing
    int m_rowY = -1; // its picture row (compressed pictures)
    QRgb m_unset = 0; // what pixels never written are
    QList<QRgb> m_palette;
    QImage *m_image = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
    bool m_alpha = false;
};

} // namespace

int widenBmpChannel(quint32 pixel, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint64 max = quint64(mask) >> shift;
    const quint64 value = quint64(pixel & mask) >> shift;
    return int((value * 255 + max / 2) / max);
}

BmpStatus decodeBmp(QIODevice &device, QImage &image, quint64 maxPixels, QSize wanted,
    PictureReduction *reduction, ReductionKind kind)
{
    return Decoder(device, maxPixels, wanted, kind).run(image, reduction);
}

BmpStatus decodeBmp(const QByteArray &data, QImage &image, quint64 maxPixels, QSize wanted,
    PictureReduction *reduction, ReductionKind kind)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return decodeBmp(buffer, image, maxPixels, wanted, reduction, kind);
}

} // namespace cw

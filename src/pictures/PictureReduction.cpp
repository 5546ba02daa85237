#include "pictures/PictureReduction.h"

#include "pictures/PixelMemory.h"

#include <algorithm>

namespace cw {

int pictureReductionFor(QSize full, QSize wanted)
{
    if (!wanted.isValid() || wanted.isEmpty() || full.isEmpty())
        return 1;
    for (int f = kLargestPictureReduction; f > 1; f /= 2) {
        if (qint64(full.width()) >= qint64(f) * wanted.width()
            && qint64(full.height()) >= qint64(f) * wanted.height())
            return f;
    }
    return 1;
}

QSize reducedPictureSize(QSize full, int factor)
{
    if (factor <= 1)
        return full;
    return QSize((full.width() + factor - 1) / factor, (full.height() + factor - 1) / factor);
}

QSize wantedSizeFor(QSize full, int factor)
{
    if (factor <= 1)
        return QSize();
    return QSize(std::max(1, full.width() / factor), std::max(1, full.height() / factor));
}

RowReducer::RowReducer(QImage &out, QSize full, int factor, QRgb missing, ReductionKind kind)
    : m_out(out)
    , m_width(full.width())
    , m_height(full.height())
    , m_factor(std::max(factor, 1))
    , m_missing(missing)
    , m_kind(kind)
    , m_sums(kind == ReductionKind::Average
              ? size_t(3) * size_t((full.width() + m_factor - 1) / m_factor)
              : 0,
          0)
{ }

void RowReducer::addRow(int y, const QRgb *row)
{
    const int block = y / m_factor;
    if (m_kind == ReductionKind::Sample) {
        // Only a block's middle row is kept, and of it each block's middle
        // pixel (edge blocks may be narrower than the factor).
        const int blockRows = std::min(m_factor, m_height - block * m_factor);
        if (y - block * m_factor != blockRows / 2 || block < 0 || block >= m_out.height())
            return;
        auto *dst = reinterpret_cast<QRgb *>(m_out.scanLine(block));
        for (int cx = 0; cx < m_out.width(); ++cx) {
            const int colWidth = std::min(m_factor, m_width - cx * m_factor);
            dst[cx] = row[cx * m_factor + colWidth / 2] | 0xFF000000u;
        }
        return;
    }
    if (block != m_block) {
        flush();
        m_block = block;
    }
    quint32 *s = m_sums.data();
    for (int x = 0; x < m_width; ++x) {
        quint32 *c = s + 3 * (x / m_factor);
        const QRgb p = row[x];
        c[0] += quint32(qRed(p));
        c[1] += quint32(qGreen(p));
        c[2] += quint32(qBlue(p));
    }
    ++m_rows;
}

void RowReducer::flush()
{
    if (m_kind == ReductionKind::Sample || m_block < 0 || m_block >= m_out.height())
        return;
    const int blockRows = std::min(m_factor, m_height - m_block * m_factor);
    const quint32 missing = quint32(std::max(blockRows - m_rows, 0));
    auto *dst = reinterpret_cast<QRgb *>(m_out.scanLine(m_block));
    const int columns = int(m_sums.size() / 3);
    for (int cx = 0; cx < columns && cx < m_out.width(); ++cx) {
        const quint32 colWidth = quint32(std::min(m_factor, m_width - cx * m_factor));
        const quint32 n = colWidth * quint32(blockRows);
        const quint32 share = colWidth * missing;
        quint32 *c = &m_sums[size_t(3 * cx)];
        dst[cx] = qRgb(int((c[0] + quint32(qRed(m_missing)) * share + n / 2) / n),
            int((c[1] + quint32(qGreen(m_missing)) * share + n / 2) / n),
            int((c[2] + quint32(qBlue(m_missing)) * share + n / 2) / n));
        c[0] = c[1] = c[2] = 0;
    }
    m_rows = 0;
    m_block = -1;
}

void RowReducer::finish()
{
    flush();
}

QImage reducePicture(const QImage &image, int factor, ReductionKind kind)
{
    if (factor <= 1 || image.isNull())
        return image;
    const QImage src = image.format() == QImage::Format_RGB32 ? image
                                                               : image.convertToFormat(
                                                                   QImage::Format_RGB32);
    const QSize size = reducedPictureSize(src.size(), factor);
    QImage out = newPixelImage(size.width(), size.height(), QImage::Format_RGB32);
    if (out.isNull() || src.isNull())
        return QImage();
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    RowReducer reducer(out, src.size(), factor, qRgb(255, 255, 255), kind);
    for (int y = 0; y < src.height(); ++y)
        reducer.addRow(y, reinterpret_cast<const QRgb *>(src.constScanLine(y)));
    reducer.finish();
    return out;
}

} // namespace cw

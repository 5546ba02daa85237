#include "render/PictureFileReader.h"

#include "base/UserPrompts.h"
#include "canvas/LabelCanvas.h"
#include "pictures/PictureLoading.h"

namespace cw {

QImage PictureFileReader::copyRegion(const QImage &source, const QRect &rect)
{
    return CopyBitmapRegion(source, rect);
}

bool PictureFileReader::loadReduced(
    QImage &bitmap, const QString &fileName, QSize, PictureReduction &reduction)
{
    if (!load(bitmap, fileName))
        return false;
    reduction = PictureReduction { bitmap.size(), 1 };
    return true;
}

bool PictureFileReader::crop(QImage &bitmap, const PixelRect &rect)
{
    QImage part = CopyBitmapRegion(
        bitmap, QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    if (part.isNull())
        return false;
    bitmap = part;
    return true;
}

bool FilePictureReader::load(QImage &bitmap, const QString &fileName)
{
    return LoadPictureFile(bitmap, fileName, m_messages);
}

bool FilePictureReader::loadReduced(
    QImage &bitmap, const QString &fileName, QSize wanted, PictureReduction &reduction)
{
    return LoadPictureFile(bitmap, fileName, m_messages, wanted, reduction);
}

bool FilePictureReader::crop(QImage &bitmap, const PixelRect &rect)
{
    return CropBitmap(bitmap, rect.left, rect.top, rect.right, rect.bottom);
}

void HeldPictureReader::setHolding(bool on)
{
    m_holding = on;
    if (!on) {
        m_held = QImage();
        m_heldFile.clear();
        m_heldReduction = PictureReduction();
    }
}

bool HeldPictureReader::load(QImage &bitmap, const QString &fileName)
{
    PictureReduction reduction;
    return loadReduced(bitmap, fileName, QSize(), reduction);
}

bool HeldPictureReader::loadReduced(
    QImage &bitmap, const QString &fileName, QSize wanted, PictureReduction &reduction)
{
    return loadReducedKnowing(bitmap, fileName, QSize(), wanted, reduction);
}

bool HeldPictureReader::loadReducedKnowing(
    QImage &bitmap, const QString &fileName, QSize full, QSize wanted, PictureReduction &reduction)
{
    // The picture held serves any load it has enough pixels for.
    if (m_holding && !m_held.isNull() && fileName == m_heldFile
        && m_heldReduction.factor <= pictureReductionFor(m_heldReduction.fullSize, wanted)) {
        bitmap = m_held; // shared, not copied
        reduction = m_heldReduction;
        return true;
    }
    if (!m_inner.loadReducedKnowing(bitmap, fileName, full, wanted, reduction))
        return false;
    if (m_holding) {
        m_held = bitmap;
        m_heldFile = fileName;
        m_heldReduction = reduction;
    }
    return true;
}

PictureFileReader &defaultPictureFileReader()
{
    static NullMessageSink quiet;
    static FilePictureReader reader(quiet);
    return reader;
}

} // namespace cw

#include "render/PictureFileReader.h"

#include "base/UserPrompts.h"
#include "canvas/LabelCanvas.h"
#include "pictures/PictureLoading.h"

namespace cw {

QImage PictureFileReader::copyRegion(const QImage &source, const QRect &rect)
{
    return CopyBitmapRegion(source, rect);
}

bool PictureFileReader::loadReduced(QImage &bitmap, const QString &fileName, QSize,
    PictureReduction &reduction, ReductionKind kind)
{
    if (!load(bitmap, fileName))
        return false;
    reduction = PictureReduction { bitmap.size(), 1, kind };
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

bool FilePictureReader::loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
    PictureReduction &reduction, ReductionKind kind)
{
    return LoadPictureFile(bitmap, fileName, m_messages, wanted, reduction, kind);
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

bool HeldPictureReader::loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
    PictureReduction &reduction, ReductionKind kind)
{
    return loadReducedKnowing(bitmap, fileName, QSize(), wanted, reduction, kind);
}

bool HeldPictureReader::loadReducedKnowing(QImage &bitmap, const QString &fileName, QSize full,
    QSize wanted, PictureReduction &reduction, ReductionKind kind)
{
    // The picture held serves any load it has enough pixels for, reduced in
    // the way the load wants.
    if (m_holding && !m_held.isNull() && fileName == m_heldFile
        && m_heldReduction.factor <= pictureReductionFor(m_heldReduction.fullSize, wanted)
        && reductionServes(m_heldReduction.factor, m_heldReduction.kind, kind)) {
        bitmap = m_held; // shared, not copied
        reduction = m_heldReduction;
        return true;
    }
    if (!m_inner.loadReducedKnowing(bitmap, fileName, full, wanted, reduction, kind))
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

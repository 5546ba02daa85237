#include "render/PictureFileReader.h"

#include "base/UserPrompts.h"
#include "canvas/LabelCanvas.h"
#include "pictures/PictureLoading.h"

namespace cw {

QImage PictureFileReader::copyRegion(const QImage &source, const QRect &rect)
{
    return CopyBitmapRegion(source, rect);
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
    }
}

bool HeldPictureReader::load(QImage &bitmap, const QString &fileName)
{
    if (m_holding && !m_held.isNull() && fileName == m_heldFile) {
        bitmap = m_held; // shared, not copied
        return true;
    }
    if (!m_inner.load(bitmap, fileName))
        return false;
    if (m_holding) {
        m_held = bitmap;
        m_heldFile = fileName;
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

#include "pictures/PictureDialogRules.h"
#include "base/UiText.h"

#include <QFileInfo>
#include <limits>

namespace cw {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const qint64 product = qint64(a) * qint64(b);
    const qint64 divisor = c;
    qint64 quotient = product / divisor;
    const qint64 remainder = product % divisor;
    // Round half away from zero: compare twice the remainder with the divisor.
    if (2 * (remainder < 0 ? -remainder : remainder) >= (divisor < 0 ? -divisor : divisor))
        quotient += ((product < 0) != (divisor < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min())
        return -1;
    return int(quotient);
}

QRect paintBoxTarget(QSize picture, QSize box)
{
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return QRect();
    if (box.width() >= w && box.height() >= h)
        return QRect((box.width() - w) / 2, (box.height() - h) / 2, w, h);
    // Fitted to the box's width when the picture is the wider of the two in
    // proportion, else to its height, so that no side leaves the box. (Choosing
    // by the picture alone, wider than high or not, lets a square picture in a
    // tall box, or a nearly square one, run off the box's edge.)
    if (qint64(h) * box.width() <= qint64(box.height()) * w)
        return QRect(0, 0, box.width(), MulDiv(h, box.width(), w));
    return QRect(0, 0, MulDiv(w, box.height(), h), box.height());
}

QPoint paintBoxTextOrigin(QSize text, QSize box)
{
    return QPoint((box.width() - text.width()) / 2, (box.height() - text.height()) / 2);
}

QSize previewWindowClientSize(QSize picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return QSize();
    const int w = picture.width() >= 600 ? 616 : picture.width() + 16;
    const int h = picture.height() >= 440 ? 456 : picture.height() + 16;
    return QSize(w, h);
}

QString pictureSizeLabel(QSize picture, bool valid)
{
    if (!valid)
        return UiText::tr("画像:");
    return QStringLiteral(" (%1x%2)").arg(picture.width()).arg(picture.height());
}

QString pictureStartFolder(const QString &pictureFile, const QString &documentFile)
{
    for (const QString &file : { pictureFile, documentFile }) {
        if (file.isEmpty())
            continue;
        const QString folder = QFileInfo(file).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return QString();
}

std::optional<quint32> pickedPixelColor(const QImage &picture, QPoint pos)
{
    if (!picture.valid(pos))
        return std::nullopt;
    const QRgb rgb = picture.pixel(pos);
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

} // namespace cw

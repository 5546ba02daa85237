#include "document/PictureAdapter.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// Interim loader until the picture module's loader is wired in: reads any
// format Qt can decode.
bool loadPicture(QImage &bitmap, const QString &path, MessageSink &messages)
{
    if (!QFileInfo(path).isFile()) {
        messages.showMessage(QStringLiteral("ファイル(") + path + QStringLiteral(")がありません"));
        return false;
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        messages.showMessage(QStringLiteral("ファイル(") + path
            + QStringLiteral(")は利用できない画像形式です(Pluginがありません)"));
        return false;
    }
    bitmap = image;
    return true;
}

int truncProduct(int value, long double ratio)
{
    long double v = (long double)value * ratio;
    if (v > 2147483647.0L)
        return 2147483647;
    if (v < -2147483648.0L)
        return -2147483647 - 1;
    return int(v);
}

} // namespace

bool loadAndPlacePicture(PicturePlacement &p, const QString &path, int surfaceWidth,
    int surfaceHeight, MessageSink &messages)
{
    p.fileName = path;
    QImage image;
    if (!loadPicture(image, path, messages))
        return false;
    p.bitmap = image;
    p.pixelWidth = image.width();
    p.pixelHeight = image.height();
    p.sourceRect = { 0, 0, p.pixelWidth, p.pixelHeight };
    const long double sx = (long double)surfaceWidth / p.pixelWidth;
    const long double sy = (long double)surfaceHeight / p.pixelHeight;
    const long double s = sx >= sy ? sx : sy;
    p.printWidth = truncProduct(p.pixelWidth, s);
    p.printHeight = truncProduct(p.pixelHeight, s);
    p.posX = (surfaceWidth - p.printWidth) / 2;
    p.posY = (surfaceHeight - p.printHeight) / 2;
    return true;
}

void copyPicturePlacement(const PicturePlacement &leader, PicturePlacement &follower)
{
    follower.fileName = leader.fileName;
    follower.bitmap = leader.bitmap;
    follower.sourceRect = leader.sourceRect;
    follower.pixelWidth = leader.pixelWidth;
    follower.pixelHeight = leader.pixelHeight;
    follower.printWidth = leader.printWidth;
    follower.printHeight = leader.printHeight;
    follower.posX = leader.posX;
    follower.posY = leader.posY;
}

void setPrintWidth(PicturePlacement &p, int width)
{
    p.printWidth = width;
    if (p.keepAspect && p.pixelWidth != 0)
        p.printHeight
            = truncProduct(p.pixelHeight, (long double)p.printWidth / (long double)p.pixelWidth);
    p.sizeMode = 2;
}

void setPrintHeight(PicturePlacement &p, int height)
{
    p.printHeight = height;
    if (p.keepAspect && p.pixelHeight != 0)
        p.printWidth
            = truncProduct(p.pixelWidth, (long double)p.printHeight / (long double)p.pixelHeight);
    p.sizeMode = 2;
}

void fitPictureSize(PicturePlacement &p, int mode, int surfaceWidth, int surfaceHeight)
{
    long double s = 0;
    if (mode == 0 && p.pixelWidth != 0)
        s = (long double)surfaceWidth / p.pixelWidth;
    else if (mode == 1 && p.pixelHeight != 0)
        s = (long double)surfaceHeight / p.pixelHeight;
    else
        return;
    p.printWidth = truncProduct(p.pixelWidth, s);
    p.printHeight = truncProduct(p.pixelHeight, s);
}

void alignPicture(PicturePlacement &p, int mode, int surfaceWidth, int surfaceHeight)
{
    switch (mode) {
    case 0:
        p.posX = 0;
        break;
    case 1:
        p.posX = (surfaceWidth - p.printWidth) / 2;
        break;
    case 2:
        p.posX = surfaceWidth - p.printWidth;
        break;
    case 3:
        p.posY = 0;
        break;
    case 4:
        p.posY = (surfaceHeight - p.printHeight) / 2;
        break;
    case 5:
        p.posY = surfaceHeight - p.printHeight;
        break;
    default:
        break;
    }
}

bool loadPrintItemPicture(TPrintsData &item, const QString &path, MessageSink &messages)
{
    item.fileName = path;
    QImage image;
    if (!loadPicture(image, path, messages))
        return false;
    item.bitmap = image;
    item.pixelWidth = image.width();
    item.pixelHeight = image.height();
    item.printWidth = item.pixelWidth;
    item.printHeight = item.pixelHeight;
    item.cacheRect = { 0, 0, item.pixelWidth, item.pixelHeight };
    item.posX = 0;
    item.posY = 0;
    return true;
}

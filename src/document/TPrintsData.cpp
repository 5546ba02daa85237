#include "document/TPrintsData.h"

#include "pictures/PictureLoading.h"

namespace cw {

bool loadPrintsPicture(TPrintsData &item, const QString &fileName, MessageSink &messages)
{
    item.fileName = fileName;
    QImage image;
    if (!LoadPictureFile(image, fileName, messages))
        return false;
    item.bitmap = std::move(image);
    item.pixelWidth = item.bitmap.width();
    item.pixelHeight = item.bitmap.height();
    item.printWidth = item.pixelWidth;
    item.printHeight = item.pixelHeight;
    item.cacheRect = PixelRect { 0, 0, item.pixelWidth, item.pixelHeight };
    item.posX = 0;
    item.posY = 0;
    return true;
}

} // namespace cw

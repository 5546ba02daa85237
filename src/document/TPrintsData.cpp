#include "document/TPrintsData.h"

#include <algorithm>

#include "pictures/PictureLoading.h"

namespace cw {

bool loadPrintsPicture(
    TPrintsData &item, const QString &fileName, MessageSink &messages, QSize wanted)
{
    item.fileName = fileName;
    QImage image;
    PictureReduction reduction;
    const ReductionKind kind = item.transparent ? ReductionKind::Sample : ReductionKind::Average;
    if (!LoadPictureFile(image, fileName, messages, wanted, reduction, kind))
        return false;
    item.bitmap = std::move(image);
    item.bitmapReduction = reduction.factor;
    item.bitmapKind = reduction.kind;
    item.pixelWidth = reduction.fullSize.width();
    item.pixelHeight = reduction.fullSize.height();
    item.printWidth = item.pixelWidth;
    item.printHeight = item.pixelHeight;
    item.cacheRect = PixelRect { 0, 0, item.pixelWidth, item.pixelHeight };
    item.posX = 0;
    item.posY = 0;
    return true;
}

ArcPlacement keptArc(ArcPlacement arc)
{
    arc.radiusTenths = std::clamp(arc.radiusTenths, 0, kDiscRadiusMaxTenths);
    int a = arc.angleTenths % 3600;
    if (a > kDiscAngleLimitTenths)
        a -= 3600;
    else if (a < -kDiscAngleLimitTenths)
        a += 3600;
    arc.angleTenths = a;
    return arc;
}

} // namespace cw

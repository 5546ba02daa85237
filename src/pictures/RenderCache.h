#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "pictures/PictureReduction.h"

namespace cw {

// The render cache of a picture drawn on a page: the part of the decoded
// picture a surface shows, and that part stretched to the size it was last
// drawn at.

// Left, top, right, bottom in picture pixels (right and bottom exclusive).
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PixelRect &) const = default;
};

// A picture's render-cache bitmap stretched to the size a canvas draws it at,
// kept beside the render cache so that redrawing the same part at the same
// size does not stretch it again. `sourceKey` is the cacheKey() of the bitmap
// it was made from: a reloaded or recropped bitmap never matches.
struct StretchedPicture
{
    QImage image;
    qint64 sourceKey = 0;
};

// The part of a picture its bleed needs (the pixels beyond the trim, as far
// as the bleed reaches), kept like the render cache so that redrawing a bled
// page does not read the picture file again.
struct BleedPart
{
    QImage image;
    PixelRect rect; // picture pixels the image holds, whole blocks of `factor`
    int factor = 1; // the reduction of the image's pixels
    ReductionKind kind = ReductionKind::Average; // and how it was reduced
    // The picture it was taken from: its file and its size.
    QString fileName;
    QSize pictureSize;
};

} // namespace cw

#pragma once

#include <QRect>

#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"

namespace cw {

// How far a surface continues past its outer trim edges when printed with a
// bleed, in target pixels; 0 on an edge where it meets another surface (the
// fold of the front sheet, the spine lines of the back strip).
struct SurfaceBleed
{
    int left = 0, top = 0, right = 0, bottom = 0;
    // The surface's trim rectangle on the canvas (right and bottom exclusive).
    QRect trim;

    bool any() const { return left > 0 || top > 0 || right > 0 || bottom > 0; }
    // The trim rectangle grown by the bleed on its bleeding edges.
    QRect extended() const { return trim.adjusted(-left, -top, right, bottom); }
};

// The bleed of a surface whose trim is (left, top) .. (right, bottom)
// exclusive, `mm` millimetres past each edge asked for.
SurfaceBleed surfaceBleed(const PageScale &s, int mm, int left, int top, int right, int bottom,
    bool bleedLeft, bool bleedTop, bool bleedRight, bool bleedBottom);

// Draws the bleed of a picture drawn at `body` (canvas pixels) from the
// visible part `window`: on each bleeding edge its window reaches, the picture
// continues to the bleed's end with its own pixels beyond the trim where it
// has them and its outermost pixels repeated where it has none; on an edge it
// reaches that does not bleed, up to the trim where the body stops short of
// it. A picture with a transparent colour keeps it transparent there. The
// body itself is not drawn again. The pixels are those of the reduction the body
// may be drawn from (see pictureReductionNeeded), so a huge picture is never
// read whole for its bleed: they are taken from the bitmap while it holds the
// whole picture at that reduction or a finer one, otherwise from the
// picture's bleed cache, read from the file when that does not hold them.
void drawPictureBleed(LabelCanvas &canvas, const PictureRef &pic, const PictureWindow &window,
    const QRect &body, int surfaceWidth, int surfaceHeight, const SurfaceBleed &bleed,
    PictureFileReader &reader);

} // namespace cw

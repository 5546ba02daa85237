#pragma once

#include "document/LabelDocument.h"
#include "render/Geometry.h"
#include "render/PictureBleed.h"

namespace cw {

class LabelCanvas;

// Pieces that the front and the back page draw alike.
namespace pageparts {

// A real pixel coordinate truncated toward zero and cut to the int range:
// positions read from a file are not range-checked, and a value far off the
// page must stay far off rather than overflow.
int truncToPixel(double v);

// Fills (left, top, right, bottom) with one colour: pen and brush both take it.
void fill(LabelCanvas &canvas, ColorRef color, int left, int top, int right, int bottom);
// Fills a surface's trim rectangle grown by its bleed.
void fillBled(LabelCanvas &canvas, ColorRef color, const SurfaceBleed &bleed);
// Black solid pen and brush: every line drawn after the backgrounds uses it.
void blackPenAndBrush(LabelCanvas &canvas);

// One one-pixel column of a vertical label edge at x: the boundary line from
// `top` to `bottom` when asked for, then the trim marks `marks` pixels above
// the top and below the bottom (from 15 to 5 mm out when they are whole).
void verticalEdge(LabelCanvas &canvas, int x, int top, int bottom, bool boundaryLine,
    const MarkSpan &marks);
// One one-pixel row of a horizontal label edge at y, from `left` to `right`,
// with its trim marks `marks` pixels off both ends.
void horizontalEdge(LabelCanvas &canvas, int y, int left, int right, bool boundaryLine,
    const MarkSpan &marks);
// One one-pixel column of a fold at x: the dashed fold line from `top` to
// `bottom` when asked for, and the dashed fold marks `marks` pixels above and
// below, which are always drawn.
void foldColumn(LabelCanvas &canvas, const PageScale &s, int x, int top, int bottom, bool foldLine,
    const MarkSpan &marks);

// A label title (front cover or back label) in its position mode. `inset` is
// the rectangle that modes 0..2 use; custom positions are measured from
// (faceLeft, top) and reach to (faceRight, bottom).
void drawLabelTitle(LabelCanvas &canvas, const TitleSettings &title, const PageScale &s,
    int insetLeft, int insetTop, int insetRight, int insetBottom, int faceLeft, int faceRight,
    int top, int bottom);

// A title written along a spine from spineLeft to spineRight, top to bottom.
// The font's cell height is `cellHeight`; `upward` picks the reading direction.
void drawSpineTitle(LabelCanvas &canvas, const TitleSettings &title, const PageScale &s,
    int spineLeft, int spineRight, int top, int bottom, int cellHeight, bool upward);

} // namespace pageparts

} // namespace cw

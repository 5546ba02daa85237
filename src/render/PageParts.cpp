#include "render/PageParts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/LabelCanvas.h"

namespace cw {

namespace pageparts {

int truncToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(std::trunc(v));
}

void fill(LabelCanvas &canvas, ColorRef color, int left, int top, int right, int bottom)
{
    canvas.SetPen(color);
    canvas.SetBrush(color);
    canvas.Rectangle(left, top, right, bottom);
}

void fillBled(LabelCanvas &canvas, ColorRef color, const SurfaceBleed &bleed)
{
    const QRect r = bleed.extended();
    fill(canvas, color, r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void blackPenAndBrush(LabelCanvas &canvas)
{
    canvas.SetPen(kBlack);
    canvas.SetBrush(kBlack);
}

namespace {
void line(LabelCanvas &canvas, int x0, int y0, int x1, int y1)
{
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}
} // namespace

void verticalEdge(LabelCanvas &canvas, int x, int top, int bottom, bool boundaryLine,
    const MarkSpan &marks)
{
    if (boundaryLine)
        line(canvas, x, top, x, bottom);
    line(canvas, x, top - marks.to, x, top - marks.from);
    line(canvas, x, bottom + marks.from, x, bottom + marks.to);
}

void horizontalEdge(LabelCanvas &canvas, int y, int left, int right, bool boundaryLine,
    const MarkSpan &marks)
{
    if (boundaryLine)
        line(canvas, left, y, right, y);
    line(canvas, left - marks.to, y, left - marks.from, y);
    line(canvas, right + marks.from, y, right + marks.to, y);
}

void foldColumn(LabelCanvas &canvas, const PageScale &s, int x, int top, int bottom, bool foldLine,
    const MarkSpan &marks)
{
    const int dash = std::max(1, mmToPixels(0.5, s.ky));
    if (foldLine)
        for (int y = top; y < bottom; y += 2 * dash)
            line(canvas, x, y, x, std::min(y + dash, bottom));
    // The marks' last dash is not shortened.
    for (int y = top - marks.to; y < top - marks.from; y += 2 * dash)
        line(canvas, x, y, x, y + dash);
    for (int y = bottom + marks.from; y < bottom + marks.to; y += 2 * dash)
        line(canvas, x, y, x, y + dash);
}

void drawLabelTitle(LabelCanvas &canvas, const TitleSettings &title, const PageScale &s,
    int insetLeft, int insetTop, int insetRight, int insetBottom, int faceLeft, int faceRight,
    int top, int bottom)
{
    using H = LabelCanvas::HAlign;
    using V = LabelCanvas::VAlign;
    canvas.SetFont(title.font);
    canvas.SetBrushClear();
    switch (title.posMode) {
    case TitlePosition::Top:
        canvas.DrawTextInRect(
            title.text, insetLeft, insetTop, insetRight, insetBottom, H::Center, V::Top);
        return;
    case TitlePosition::Centre:
        canvas.DrawTextInRect(
            title.text, insetLeft, insetTop, insetRight, insetBottom, H::Center, V::Center);
        return;
    case TitlePosition::Bottom:
        canvas.DrawTextInRect(
            title.text, insetLeft, insetTop, insetRight, insetBottom, H::Center, V::Bottom);
        return;
    case TitlePosition::Custom: {
        // The horizontal origin is added as a real number before truncation;
        // the vertical offset is truncated first.
        const int x = truncToPixel(faceLeft + title.customX * s.kx);
        const int y = truncToPixel(top + std::trunc(title.customY * s.ky));
        if (title.customXUse && title.customYUse)
            canvas.DrawTextInRect(title.text, x, y, faceRight, bottom, H::Left, V::Top);
        else if (title.customXUse)
            canvas.DrawTextInRect(title.text, x, top, faceRight, bottom, H::Left, V::Center);
        else if (title.customYUse)
            canvas.DrawTextInRect(title.text, faceLeft, y, faceRight, bottom, H::Center, V::Top);
        // Neither set: there is no position to draw at.
        return;
    }
    }
}

void drawSpineTitle(LabelCanvas &canvas, const TitleSettings &title, const PageScale &s,
    int spineLeft, int spineRight, int top, int bottom, int cellHeight, bool upward)
{
    canvas.SetFont(title.font);
    canvas.SetBrushClear();
    canvas.SelectRotatedFont(upward ? 900 : 2700, cellHeight);
    const int w = canvas.TextWidth(title.text);
    const int len = bottom - top;
    const int mm1x = mmToPixels(1.0, s.kx);
    const int mm1y = mmToPixels(1.0, s.ky);
    const int mm2y = mmToPixels(2.0, s.ky);
    // Formed as real numbers so that an offset far beyond the spine cannot
    // overflow; whole pixels either way.
    const double off = std::trunc(title.offset * s.ky);
    int x = 0, y = 0;
    if (upward) {
        x = spineLeft + mm1x;
        switch (title.posMode) {
        case TitlePosition::Top:
            y = bottom - mm1y;
            break;
        case TitlePosition::Centre:
            y = bottom - mm1y - (len - w) / 2;
            break;
        case TitlePosition::Bottom:
            y = top + mm2y + w;
            break;
        case TitlePosition::Custom:
            y = truncToPixel(bottom - mm1y - off);
            break;
        }
    } else {
        x = spineRight - mm1x;
        switch (title.posMode) {
        case TitlePosition::Top:
            y = top + mm1y;
            break;
        case TitlePosition::Centre:
            y = top + mm1y + (len - w) / 2;
            break;
        case TitlePosition::Bottom:
            y = bottom - mm2y - w;
            break;
        case TitlePosition::Custom:
            y = truncToPixel(top + mm1y + off);
            break;
        }
    }
    canvas.TextOutClipped(
        spineLeft + mm1x, top + mm1y, spineRight - mm1x, bottom - mm1y, x, y, title.text);
    canvas.RestoreFont();
}

} // namespace pageparts

} // namespace cw

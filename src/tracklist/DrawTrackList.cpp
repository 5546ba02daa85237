#include "tracklist/DrawTrackList.h"

#include <algorithm>
#include <cmath>

#include "base/DiscStock.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

namespace {

constexpr ColorRef kRingGrey = 0x00A0A0A0;

// trunc toward zero into the int range (layouts from files are not
// range-checked, so products may be far outside it).
long long truncLL(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double limit = 4.0e18;
    if (v > limit)
        return (long long)limit;
    if (v < -limit)
        return -(long long)limit;
    return (long long)std::trunc(v);
}

int toInt(long long v)
{
    return int(std::clamp<long long>(v, -0x7fffffffLL - 1, 0x7fffffffLL));
}

int trunci(double v)
{
    return toInt(truncLL(v));
}

LabelCanvas::HAlign hAlign(int align)
{
    switch (align) {
    case 2:
        return LabelCanvas::HAlign::Center;
    case 3:
        return LabelCanvas::HAlign::Right;
    default:
        return LabelCanvas::HAlign::Left;
    }
}

// One cell: its font goes onto the canvas; the text is drawn only for a known
// alignment.
void drawCell(LabelCanvas &canvas, const TListCell &cell, long long left, long long top,
    long long right, int bottom)
{
    canvas.SetFont(cell.font);
    if (cell.align < 1 || cell.align > 3)
        return;
    canvas.DrawTextInRect(cell.text, toInt(left), toInt(top), toInt(right), bottom,
        hAlign(cell.align), LabelCanvas::VAlign::Top);
}

} // namespace

void DrawTrackList(LabelCanvas &canvas, const QList<TListData> &rows, const ListLayout &layout,
    int printableHeight, int faceLeft, int faceTop, double sx, double sy)
{
    const long long x0 = faceLeft + truncLL((layout.posX + 1.0) * sx);
    const long long yStart = faceTop + truncLL((layout.posY + 1.0) * sy);
    const int yBottom = toInt(faceTop + truncLL(1 * sy) + truncLL(printableHeight * sy) - 1);
    const long long ruleThickness = truncLL(std::max(1.0, 0.2 * sy));
    const long long ruleOffset = truncLL(1.4 * sy);
    const long long ruleHeight = truncLL(3 * sy);
    const int n = layout.columnCount;
    long long y = yStart;

    for (const TListData &row : rows) {
        canvas.SetBrushClear();
        long long xEnd = x0;
        bool drawn = true;
        if (n == 1) {
            xEnd = truncLL(layout.width2 * sx + x0 - 1);
            if (row.kind != 1) {
                const TListCell &c = row.columns[1];
                drawCell(canvas, c, x0, y, xEnd, yBottom);
                y += canvas.TextHeight(c.text);
            }
        } else if (n == 2 || n == 3) {
            double span = double(layout.width1) + layout.space1 + layout.width2;
            if (n == 3)
                span += double(layout.space2) + layout.width3;
            xEnd = x0 + truncLL(span * sx) - 1;
            if (row.kind == 1) {
                // the rule below
            } else if (!row.separate) {
                const TListCell &c = row.columns[1];
                drawCell(canvas, c, x0, y, xEnd, yBottom);
                y += canvas.TextHeight(c.text);
            } else {
                drawCell(
                    canvas, row.columns[0], x0, y, x0 + truncLL(layout.width1 * sx) - 1, yBottom);
                const long long c2 = x0 + truncLL((double(layout.width1) + layout.space1) * sx) - 1;
                drawCell(
                    canvas, row.columns[1], c2, y, c2 + truncLL(layout.width2 * sx) - 1, yBottom);
                if (n == 3) {
                    const long long c3 = x0
                        + truncLL(
                            (double(layout.width1) + layout.space1 + layout.width2 + layout.space2)
                            * sx)
                        - 1;
                    drawCell(canvas, row.columns[2], c3, y, c3 + truncLL(layout.width3 * sx) - 1,
                        yBottom);
                }
                // Every drawn text is measured with the font of the last cell.
                int height = 0;
                for (int k = 0; k < n; ++k)
                    height = std::max(height, canvas.TextHeight(row.columns[size_t(k)].text));
                y += height;
            }
        } else {
            drawn = false;
        }
        if (drawn && row.kind == 1) {
            for (long long j = 0; j < ruleThickness; ++j) {
                const int ry = toInt(y + ruleOffset + j);
                canvas.MoveTo(toInt(x0), ry);
                canvas.LineTo(toInt(xEnd), ry);
            }
            y += ruleHeight;
        }
        y = truncLL(double(y) + layout.lineSpacing * 0.1 * sy);
        if (y > yBottom)
            break;
    }
}

namespace {

// A dotted one-pixel outline of the rectangle (right and bottom exclusive):
// every other pixel along the border, going round clockwise from the
// top-left corner.
void dottedOutline(LabelCanvas &canvas, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    long long step = 0;
    auto dot = [&](int x, int y) {
        if (step++ % 2 == 0) {
            canvas.MoveTo(x, y);
            canvas.LineTo(x + 1, y);
        }
    };
    const int r = right - 1, b = bottom - 1;
    for (int x = left; x <= r; ++x)
        dot(x, top);
    for (int y = top + 1; y <= b; ++y)
        dot(r, y);
    if (b > top)
        for (int x = r - 1; x >= left; --x)
            dot(x, b);
    if (r > left)
        for (int y = b - 1; y > top; --y)
            dot(left, y);
}

} // namespace

void DrawListLayoutPreview(LabelCanvas &canvas, const ListLayout &layout, int columnCount,
    int surface, int imageWidth, int imageHeight)
{
    const double s = kListPreviewScale;
    const double w = listLabelWidthMm(surface), h = listLabelHeightMm(surface);

    canvas.SetPen(kWhite);
    canvas.SetBrush(kWhite);
    canvas.Rectangle(0, 0, imageWidth, imageHeight);

    const int left = (imageWidth - trunci(w * s)) / 2;
    const int top = (imageHeight - trunci(h * s)) / 2;
    const int right = left + trunci(w * s);
    const int bottom = top + trunci(h * s);
    const int t = trunci(std::max(1.0, 0.2 * s));
    canvas.SetPen(kBlack);
    canvas.SetBrush(kBlack);
    canvas.Rectangle(left, top, left + t, bottom + 1);
    canvas.Rectangle(right - t + 1, top, right + 1, bottom + 1);
    canvas.Rectangle(left, top, right + 1, top + t);
    canvas.Rectangle(left, bottom - t + 1, right + 1, bottom + 1);
    if (surface == kListSurfaceDisc) {
        // The disc's square shows the ring of the first label sheet, so that
        // the columns can be placed between the hole and the rim.
        const LabelSheetProduct &sheet = labelSheets().front();
        const int cx = (left + right) / 2, cy = (top + bottom) / 2;
        canvas.SetPen(kRingGrey);
        canvas.SetBrushClear();
        for (double diameter : { sheet.outerMm, sheet.holeMm }) {
            const int r = trunci(diameter / 2 * s);
            canvas.Ellipse(cx - r, cy - r, cx + r, cy + r);
        }
        canvas.SetPen(kBlack);
    }

    const ListColumnUse use = listColumnUse(columnCount);
    struct Column
    {
        bool used;
        long long offset, width;
    };
    const long long w1 = layout.width1, w2 = layout.width2, s1 = layout.space1;
    const Column columns[3] = {
        { use.width1, 0, w1 },
        { use.width2, columnCount == 1 ? 0 : w1 + s1, w2 },
        { use.width3, w1 + s1 + w2 + layout.space2, layout.width3 },
    };
    canvas.SetBrushClear();
    const int colTop = toInt(top + truncLL((layout.posY + 1.0) * s));
    const int colBottom = bottom - trunci(s);
    for (const Column &c : columns) {
        if (!c.used)
            continue;
        const double x = double(layout.posX) + 1 + double(c.offset);
        dottedOutline(canvas, toInt(left + truncLL(x * s)), colTop,
            toInt(left + truncLL((x + double(c.width)) * s)), colBottom);
    }
}

} // namespace cw

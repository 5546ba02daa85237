#pragma once

#include <QVector>

#include "base/CaseFormat.h"
#include "base/Printer.h"
#include "base/Units.h"
#include "document/LabelDocument.h"

namespace cw {

// The page geometry of the renderers. The units and the printer's resolution
// are in base/, the case's sheets and panels in the format table
// (base/CaseFormat.h); ComputeSurfacePixels is in document/LabelDocument.h.

// Pixels per millimetre and frame line widths for a target resolution.
struct PageScale
{
    double kx = 0, ky = 0;
    double lineX = 1, lineY = 1;
};
PageScale pageScale(int targetDpiX, int targetDpiY);

// A panel placed on a page, in pixels. (left, top, right, bottom) is the
// rectangle its background fills; a panel at the sheet's right or bottom
// edge reaches to the sheet's (R, B). trimRight and trimBottom are where the
// panel's trim ends: its neighbour's first pixel, or the pixel beyond the
// sheet. width is the panel's own width in pixels.
struct PanelPixels
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int trimRight = 0, trimBottom = 0;
    int width = 0;
};

// A sheet of a format centred on a printable area. The panels' pixel edges
// are the sums of their truncated widths and heights, left to right and top
// to bottom; (L, T) is the sheet's first pixel, B its last row, and R its
// right edge: its last column, or the column beyond it when the sheet says so.
// folds are the columns where two panels join, left to right.
struct SheetGeometry
{
    int L = 0, T = 0, R = 0, B = 0;
    QVector<PanelPixels> panels; // in the sheet's panel order
    QVector<int> folds;
};
SheetGeometry computeSheetGeometry(
    const CaseSheet &sheet, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

// The jewel case's two sheets in the terms their renderers have always used.
struct FrontPageGeometry
{
    int W = 0, H = 0, L = 0, T = 0, R = 0, B = 0;
};
FrontPageGeometry computeFrontPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

struct BackPageGeometry
{
    int H = 0, T = 0, B = 0, L = 0, X1 = 0, X2 = 0, X3 = 0;
};
BackPageGeometry computeBackPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

// The trim marks reach this far outside a page's block, from this far out.
constexpr double kTrimMarkReachMm = 15.0;
constexpr double kTrimMarkGapMm = 5.0;
// Marks shortened to the paper's room begin this far past the bleed and show
// at least this much of their length.
constexpr double kShortMarkGapMm = 1.0;
constexpr double kShortMarkLengthMm = 2.0;

// Where a sheet's trim marks lie along one axis: from `from` to `to` pixels
// outside the trim.
struct MarkSpan
{
    int from = 0, to = 0;
    bool operator==(const MarkSpan &) const = default;
};

// A sheet's trim marks on a printable area: `across` for the marks off the
// left and right ends of the top and bottom edges, `down` for those above and
// below the sheet (its side edges and folds). On an axis whose room (the
// pixels between the sheet and the nearer edge of the area) holds them, the
// marks run from 5 to 15 mm out. With less room, a sheet of whole marks does
// not fit; any other sheet's marks run from 1 mm past the bleed to the
// area's edge, and the sheet fits while they show at least 2 mm.
struct SheetMarks
{
    MarkSpan across, down;
    bool fits = false;
};
SheetMarks sheetMarks(const CaseSheet &sheet, const SheetGeometry &g, const PageScale &s,
    int bleedMm, int pageWidth, int pageHeight);

// The printable area a sheet needs to hold its block, its bleed and its trim
// marks, in pixels at the target resolution (the smallest area on which the
// renderers, centring the block, keep every mark as sheetMarks asks), and in
// millimetres as the user reads it (the sheet with 15.0 mm on each side for
// whole marks, else with its bleed and 3.0 mm more).
struct PageExtent
{
    int width = 0, height = 0;
    double widthMm = 0, heightMm = 0;
};
PageExtent pageExtentWithMarks(const CaseSheet &sheet, int bleedMm, int targetDpiX, int targetDpiY);
// Whether a printable area of pageWidth x pageHeight pixels holds the sheet
// with its bleed and its trim marks.
bool pageFitsWithMarks(const CaseSheet &sheet, int bleedMm, int targetDpiX, int targetDpiY,
    int pageWidth, int pageHeight);
// The same for the jewel case's back sheet or front sheet.
PageExtent pageExtentWithMarks(bool backPage, int targetDpiX, int targetDpiY);
bool pageFitsWithMarks(bool backPage, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

} // namespace cw

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

// The trim marks reach this far outside a page's block.
constexpr double kTrimMarkReachMm = 15.0;

// The printable area a page needs to hold its block and its trim marks, in
// pixels at the target resolution (the smallest area on which the renderers,
// centring the block, keep every mark), and in millimetres as the user reads
// it (the block and 15.0 mm on each side).
struct PageExtent
{
    int width = 0, height = 0;
    double widthMm = 0, heightMm = 0;
};
PageExtent pageExtentWithMarks(bool backPage, int targetDpiX, int targetDpiY);
// Whether a printable area of pageWidth x pageHeight pixels holds the page
// with its trim marks.
bool pageFitsWithMarks(bool backPage, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

} // namespace cw

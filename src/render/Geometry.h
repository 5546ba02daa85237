#pragma once

#include "base/Printer.h"
#include "base/Units.h"
#include "document/LabelDocument.h"

namespace cw {

// The page geometry of the renderers. The units, the surfaces' sizes and the
// printer's resolution are in base/; ComputeSurfacePixels is in
// document/LabelDocument.h.

// Pixels per millimetre and frame line widths for a target resolution.
struct PageScale
{
    double kx = 0, ky = 0;
    double lineX = 1, lineY = 1;
};
PageScale pageScale(int targetDpiX, int targetDpiY);

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

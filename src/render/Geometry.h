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

} // namespace cw

#include "render/Geometry.h"

#include <cmath>

namespace cw {

using namespace geom;

PageScale pageScale(int targetDpiX, int targetDpiY)
{
    PageScale s;
    s.kx = targetDpiX * kInchPerMm;
    s.ky = targetDpiY * kInchPerMm;
    s.lineX = kFrameLineMm * s.kx;
    s.lineY = kFrameLineMm * s.ky;
    if (s.lineX < 1.0)
        s.lineX = 1.0;
    if (s.lineY < 1.0)
        s.lineY = 1.0;
    return s;
}

FrontPageGeometry computeFrontPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    PageScale s = pageScale(targetDpiX, targetDpiY);
    FrontPageGeometry g;
    g.W = mmToPixels(kFaceWidthMm, s.kx);
    g.H = mmToPixels(kFaceHeightMm, s.ky);
    g.L = (pageWidth - 2 * g.W) / 2;
    g.T = (pageHeight - g.H) / 2;
    g.R = g.L + 2 * g.W - 1;
    g.B = g.T + g.H - 1;
    return g;
}

BackPageGeometry computeBackPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    PageScale s = pageScale(targetDpiX, targetDpiY);
    BackPageGeometry g;
    g.H = mmToPixels(kBackHeightMm, s.ky);
    g.T = (pageHeight - g.H) / 2;
    g.B = g.T + g.H - 1;
    g.L = (pageWidth - mmToPixels(kBackStripWidthMm, s.kx)) / 2;
    g.X1 = g.L + mmToPixels(kSpineWidthMm, s.kx);
    g.X2 = g.X1 + mmToPixels(kBackWidthMm, s.kx);
    g.X3 = g.X2 + mmToPixels(kSpineWidthMm, s.kx);
    return g;
}

} // namespace cw

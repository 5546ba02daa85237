#include "render/Geometry.h"

#include <algorithm>
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

bool pageFitsWithMarks(bool backPage, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    const int reachX = mmToPixels(kTrimMarkReachMm, s.kx);
    const int reachY = mmToPixels(kTrimMarkReachMm, s.ky);
    int left = 0, right = 0, top = 0, bottom = 0;
    if (backPage) {
        const BackPageGeometry g
            = computeBackPageGeometry(targetDpiX, targetDpiY, pageWidth, pageHeight);
        left = g.L, right = g.X3, top = g.T, bottom = g.B;
    } else {
        const FrontPageGeometry g
            = computeFrontPageGeometry(targetDpiX, targetDpiY, pageWidth, pageHeight);
        left = g.L, right = g.R, top = g.T, bottom = g.B;
    }
    return left - reachX >= 0 && right + reachX <= pageWidth - 1 && top - reachY >= 0
        && bottom + reachY <= pageHeight - 1;
}

PageExtent pageExtentWithMarks(bool backPage, int targetDpiX, int targetDpiY)
{
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    const int reachX = mmToPixels(kTrimMarkReachMm, s.kx);
    const int reachY = mmToPixels(kTrimMarkReachMm, s.ky);
    PageExtent e;
    e.widthMm = (backPage ? kBackStripWidthMm : 2 * kFaceWidthMm) + 2 * kTrimMarkReachMm;
    e.heightMm = (backPage ? kBackHeightMm : kFaceHeightMm) + 2 * kTrimMarkReachMm;
    // The block's pixels and the marks on both sides come close; the
    // renderers' centring decides the last pixels, so they are found by
    // asking the rule itself from just below that size.
    const int blockWidth = backPage ? mmToPixels(kBackStripWidthMm, s.kx)
                                    : 2 * mmToPixels(kFaceWidthMm, s.kx);
    const int blockHeight
        = mmToPixels(backPage ? kBackHeightMm : kFaceHeightMm, s.ky);
    const int tall = blockHeight + 2 * reachY + 8;
    e.width = std::max(0, blockWidth + 2 * reachX - 8);
    while (!pageFitsWithMarks(backPage, targetDpiX, targetDpiY, e.width, tall))
        ++e.width;
    e.height = std::max(0, blockHeight + 2 * reachY - 8);
    while (!pageFitsWithMarks(backPage, targetDpiX, targetDpiY, e.width, e.height))
        ++e.height;
    return e;
}

} // namespace cw

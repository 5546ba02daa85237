#include "base/Units.h"

#include <cmath>

namespace cw {

using namespace geom;

double surfaceWidthMm(Surface s)
{
    switch (s) {
    case Surface::Top:
        return kFaceWidthMm;
    case Surface::Bottom:
        return kBackWidthMm;
    default:
        return kSpineWidthMm;
    }
}

double surfaceHeightMm(Surface s)
{
    switch (s) {
    case Surface::Top:
        return kFaceHeightMm;
    case Surface::Bottom:
        return kBackHeightMm;
    default:
        return kSpineHeightMm;
    }
}

int mmToPixels(double mm, double k)
{
    return int(std::trunc(mm * k));
}

SurfacePixels surfacePixelsAt(int dpiX, int dpiY)
{
    auto across = [&](double mm) { return int(std::trunc(dpiX * kInchPerMm * mm)); };
    auto down = [&](double mm) { return int(std::trunc(dpiY * kInchPerMm * mm)); };
    SurfacePixels p;
    p.topWidth = across(kFaceWidthMm);
    p.topHeight = down(kFaceHeightMm);
    p.bottomWidth = across(kBackWidthMm);
    p.bottomHeight = down(kBackHeightMm);
    p.sideWidth = across(kSpineWidthMm);
    p.sideHeight = down(kSpineHeightMm);
    return p;
}

QString formatMm(double mm)
{
    return QString::asprintf("%.1fmm", mm);
}

} // namespace cw

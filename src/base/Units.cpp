#include "base/Units.h"

#include <cmath>

namespace cw {

using namespace geom;

namespace {

const CasePanel &surfacePanel(Surface s, const CaseFormat &format)
{
    const CasePanel *p = format.panel(surfaceRole(s));
    return p ? *p : *jewelCaseFormat().panel(surfaceRole(s));
}

} // namespace

double surfaceWidthMm(Surface s, const CaseFormat &format)
{
    if (s == Surface::Disc)
        return kDiscDesignMm;
    return surfacePanel(s, format).widthMm;
}

double surfaceHeightMm(Surface s, const CaseFormat &format)
{
    if (s == Surface::Disc)
        return kDiscDesignMm;
    return surfacePanel(s, format).heightMm;
}

int mmToPixels(double mm, double k)
{
    return int(std::trunc(mm * k));
}

SurfacePixels surfacePixelsAt(int dpiX, int dpiY, const CaseFormat &format)
{
    auto across = [&](Surface s) {
        return int(std::trunc(dpiX * kInchPerMm * surfaceWidthMm(s, format)));
    };
    auto down = [&](Surface s) {
        return int(std::trunc(dpiY * kInchPerMm * surfaceHeightMm(s, format)));
    };
    SurfacePixels p;
    p.topWidth = across(Surface::Top);
    p.topHeight = down(Surface::Top);
    p.bottomWidth = across(Surface::Bottom);
    p.bottomHeight = down(Surface::Bottom);
    p.sideWidth = across(Surface::Left);
    p.sideHeight = down(Surface::Left);
    p.discWidth = int(std::trunc(dpiX * kInchPerMm * kDiscDesignMm));
    p.discHeight = int(std::trunc(dpiY * kInchPerMm * kDiscDesignMm));
    return p;
}

QString formatMm(double mm)
{
    return QString::asprintf("%.1fmm", mm);
}

} // namespace cw

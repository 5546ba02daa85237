#include "render/ArcText.h"

#include <cmath>
#include <numbers>

namespace cw {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

double arcSweepDegrees(double advance, double radius)
{
    if (radius <= 0)
        return 0;
    return advance / radius / kDegree;
}

QVector<ArcGlyph> layoutArc(const QVector<int> &advances, double radiusX, double radiusY,
    double centreDegrees, ArcSide side)
{
    QVector<ArcGlyph> glyphs;
    if (radiusX <= 0 || radiusY <= 0)
        return glyphs;
    // Angles are measured along the circle as drawn across (radiusX); the
    // letters' advances are pixels across too.
    double total = 0;
    for (int a : advances)
        total += a;
    const bool top = side == ArcSide::Top;
    const double home = top ? 0.0 : 180.0;
    const double half = arcSweepDegrees(total, radiusX) / 2;
    // Reading runs clockwise on the top and anticlockwise on the bottom.
    const double start = home + centreDegrees + (top ? -half : half);
    const double way = top ? 1.0 : -1.0;
    double before = 0;
    glyphs.reserve(advances.size());
    for (int a : advances) {
        const double phi = (start + way * arcSweepDegrees(before + a / 2.0, radiusX)) * kDegree;
        // The letter's middle on the circle, and the reading direction there.
        const double mx = radiusX * std::sin(phi), my = -radiusY * std::cos(phi);
        const double dx = way * std::cos(phi), dy = way * std::sin(phi);
        ArcGlyph g;
        g.x = mx - dx * a / 2.0;
        g.y = my - dy * a / 2.0;
        g.degrees = phi / kDegree - home;
        glyphs << g;
        before += a;
    }
    return glyphs;
}

} // namespace cw

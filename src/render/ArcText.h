#pragma once

#include <QVector>

namespace cw {

// Text set along a circle, letter by letter: each letter stands on the
// circle with its baseline along it, turned so that it stays upright to a
// reader looking at that part of the disc.

// A letter's place: where its baseline starts, relative to the circle's
// centre in pixels (x to the right, y downward), and how far it is turned
// clockwise, in degrees.
struct ArcGlyph
{
    double x = 0, y = 0, degrees = 0;
};

// Top: centred at 12 o'clock, reading clockwise, feet toward the centre.
// Bottom: centred at 6 o'clock, reading anticlockwise (left to right across
// the bottom), feet toward the rim.
enum class ArcSide { Top, Bottom };

// The angle, in degrees, that letters of `advance` pixels in all take up on
// a circle of `radius` pixels (0 for a radius that is not positive).
double arcSweepDegrees(double advance, double radius);

// Places letters of the given advances (pixels, in reading order) along a
// circle of radius radiusX across and radiusY down (pixels: the two may
// differ where the resolution does), centred on the angle `centreDegrees`
// clockwise from the side's home (12 o'clock for the top, 6 o'clock for the
// bottom). Each letter's middle lies on the circle; its baseline is the
// circle's tangent there.
QVector<ArcGlyph> layoutArc(const QVector<int> &advances, double radiusX, double radiusY,
    double centreDegrees, ArcSide side);

// A text longer than this share of its circle is set smaller until it fits.
constexpr double kArcMaxSweepDegrees = 160; // degrees

} // namespace cw

#pragma once

#include <functional>

#include "document/LabelDocument.h"

namespace cw {

class LabelCanvas;
class PictureFileReader;

// The ring a disc face is printed in: the outer and hole diameters of the
// label or of the disc's printable area, in millimetres.
struct DiscRingMm
{
    double outerMm = 117.0, holeMm = 41.0;
};

// How a disc face is drawn besides the document: the ring, the bleed (from
// the print options) and whether the ring's outline is drawn as a guide.
struct DiscDrawing
{
    DiscRingMm ring;
    int bleedMm = 0;
    bool guides = false;
};

// Draws the document's disc face with the disc's centre at (centreX,
// centreY) target pixels: its background, picture and texts, clipped to the
// ring (widened outward and into the hole by the bleed), and then, when
// asked, the outer and hole circles as thin gray guides. Its free prints and
// track list stand on the design square as on a label, under its texts. Only the picture's
// render cache changes. `reader` reads picture files on a cache miss (null:
// the program's loader without messages).
void DrawDisc(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    int targetDpiX, int targetDpiY, int centreX, int centreY, PictureFileReader *reader = nullptr);

// The radius, in millimetres, of a disc text's baseline at `points`: the one
// chosen for it, or the default, the ring's outer radius less 4 mm less the
// text's height (its point size in millimetres).
double discTextRadiusMm(const ArcPlacement &arc, const DiscRingMm &ring, int points);
inline double discTextRadiusMm(const TitleSettings &text, const DiscRingMm &ring, int points)
{
    return discTextRadiusMm(text.arc, ring, points);
}

// The point size a disc text on an arc is drawn at: its font's, made smaller
// one point at a time while the text takes up more than kArcMaxSweepDegrees
// of its circle. `widthAt` measures the text at a point size, in pixels
// across at `pixelsPerMmX`.
int fitDiscTextPoints(const FontSpec &font, const ArcPlacement &arc, const DiscRingMm &ring,
    double pixelsPerMmX, const std::function<int(int points)> &widthAt);
inline int fitDiscTextPoints(const TitleSettings &text, const DiscRingMm &ring, double pixelsPerMmX,
    const std::function<int(int points)> &widthAt)
{
    return fitDiscTextPoints(text.font, text.arc, ring, pixelsPerMmX, widthAt);
}

} // namespace cw

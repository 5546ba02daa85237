#pragma once

#include <QString>
#include <array>

#include "base/PreviewPage.h"

namespace cw {

// The four printed surfaces of a case: the front label's cover face (with
// the inside face beside it), the back label and the two spines; and the
// face of the disc itself, which every case may have besides.
enum class Surface { Top = 0, Bottom = 1, Left = 2, Right = 3, Disc = 4 };
// The case's surfaces, in the order the document file keeps them.
constexpr std::array<Surface, 4> kAllSurfaces
    = { Surface::Top, Surface::Bottom, Surface::Left, Surface::Right };
// Every surface of a document: the case's and the disc's.
constexpr std::array<Surface, 5> kDocumentSurfaces
    = { Surface::Top, Surface::Bottom, Surface::Left, Surface::Right, Surface::Disc };
// The disc face is designed on a square of the disc's own diameter, centred
// on the disc; the stock it is printed on clips it to its ring.
constexpr double kDiscDesignMm = 120.0;
// The control-name prefix of a surface: "Top", "Bottom", "Left", "Right".
QString surfacePrefix(Surface s);
// The preview page a surface is printed on.
constexpr PreviewPage surfacePage(Surface s)
{
    return s == Surface::Top ? PreviewPage::Front
        : s == Surface::Disc ? PreviewPage::Disc
                             : PreviewPage::Back;
}

// Surface sizes in reference pixels (see surfacePixelsAt in base/Units.h).
struct SurfacePixels
{
    int topWidth = 0, topHeight = 0;
    int bottomWidth = 0, bottomHeight = 0;
    int sideWidth = 0, sideHeight = 0;
    int discWidth = 0, discHeight = 0; // the disc's design square
    int width(Surface s) const;
    int height(Surface s) const;
};

} // namespace cw

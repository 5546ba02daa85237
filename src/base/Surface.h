#pragma once

#include <QString>
#include <array>

#include "base/PreviewPage.h"

namespace cw {

// The four printed surfaces of a jewel case: the front label's cover face
// (with the inside face beside it), the back label and the two spines.
enum class Surface { Top = 0, Bottom = 1, Left = 2, Right = 3 };
constexpr std::array<Surface, 4> kAllSurfaces
    = { Surface::Top, Surface::Bottom, Surface::Left, Surface::Right };
// The control-name prefix of a surface: "Top", "Bottom", "Left", "Right".
QString surfacePrefix(Surface s);
// The preview page a surface is printed on.
constexpr PreviewPage surfacePage(Surface s)
{
    return s == Surface::Top ? PreviewPage::Front : PreviewPage::Back;
}

// Surface sizes in reference pixels (see surfacePixelsAt in base/Units.h).
struct SurfacePixels
{
    int topWidth = 0, topHeight = 0;
    int bottomWidth = 0, bottomHeight = 0;
    int sideWidth = 0, sideHeight = 0;
    int width(Surface s) const;
    int height(Surface s) const;
};

} // namespace cw

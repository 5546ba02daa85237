#include "base/Surface.h"

namespace cw {

QString surfacePrefix(Surface s)
{
    switch (s) {
    case Surface::Top:
        return QStringLiteral("Top");
    case Surface::Bottom:
        return QStringLiteral("Bottom");
    case Surface::Left:
        return QStringLiteral("Left");
    case Surface::Right:
        return QStringLiteral("Right");
    case Surface::Disc:
        return QStringLiteral("Disc");
    }
    return QString();
}

int SurfacePixels::width(Surface s) const
{
    switch (s) {
    case Surface::Top:
        return topWidth;
    case Surface::Bottom:
        return bottomWidth;
    case Surface::Disc:
        return discWidth;
    default:
        return sideWidth;
    }
}

int SurfacePixels::height(Surface s) const
{
    switch (s) {
    case Surface::Top:
        return topHeight;
    case Surface::Bottom:
        return bottomHeight;
    case Surface::Disc:
        return discHeight;
    default:
        return sideHeight;
    }
}

} // namespace cw

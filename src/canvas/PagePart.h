#pragma once

#include <QPoint>

namespace cw {

// The things of a page that can be picked in the preview and moved.
enum class PartKind { Title = 0, Picture = 1, List = 2, PrintText = 3, PrintPicture = 4 };

// One thing of a page as the renderers name it while they draw it.
// `owner` is the surface (base/Surface.h) for titles, pictures and lists,
// the free-print list (0 cover, 1 inside, 2 back) for free-print items;
// `index` is the item's index in its list (-1 otherwise; for the disc's
// texts 0 the title and 1 the subtitle). A list's owner is
// the surface whose list layout it uses: 0 the inside face, 1 the back label.
// `origin` is the canvas point the thing's stored position is measured from.
struct PagePart
{
    PartKind kind = PartKind::Title;
    int owner = 0;
    int index = -1;
    QPoint origin;
    // A text set along a circle (the disc's arcs): its baseline's radius in
    // canvas pixels about `origin`, the circle's centre, and whether it runs
    // along the bottom of the circle. 0 for everything else.
    int arcRadius = 0;
    bool arcBottom = false;

    // The same thing, wherever it was drawn from.
    bool sameThing(const PagePart &o) const
    {
        return kind == o.kind && owner == o.owner && index == o.index;
    }
};

} // namespace cw

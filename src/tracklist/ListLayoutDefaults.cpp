#include "tracklist/TListData.h"

namespace cw {

ListLayout defaultListLayout(int index)
{
    ListLayout l;
    if (index == 1)
        l.width2 = 87;
    if (index == 2) {
        // The disc's list: three narrower columns, centred across the disc
        // just below a 41 mm hole (28..92 mm of the 120 mm square, from 82 mm
        // down), where the ring is wide enough for a short list.
        l.posX = 27;
        l.posY = 81;
        l.width1 = 5;
        l.width2 = 44;
        l.width3 = 11;
    }
    return l;
}

std::array<int, 9> layoutValues(const ListLayout &l)
{
    return { l.columnCount, l.posX, l.posY, l.width1, l.width2, l.width3, l.space1, l.space2,
             l.lineSpacing };
}

ListLayout layoutFromValues(const std::array<int, 9> &v)
{
    ListLayout l;
    l.columnCount = v[0];
    l.posX = v[1];
    l.posY = v[2];
    l.width1 = v[3];
    l.width2 = v[4];
    l.width3 = v[5];
    l.space1 = v[6];
    l.space2 = v[7];
    l.lineSpacing = v[8];
    return l;
}

} // namespace cw

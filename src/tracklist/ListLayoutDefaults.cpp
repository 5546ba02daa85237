#include "tracklist/TListData.h"

ListLayout defaultListLayout(int index)
{
    ListLayout l;
    if (index == 1)
        l.width2 = 87;
    return l;
}

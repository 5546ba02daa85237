#include "base/BookletImposition.h"

#include <algorithm>
#include <iterator>

namespace cw {

bool isBookletPageCount(int pages)
{
    return std::find(std::begin(kBookletPageCounts), std::end(kBookletPageCounts), pages)
        != std::end(kBookletPageCounts);
}

QVector<BookletSheet> bookletSheets(int pages)
{
    QVector<BookletSheet> sheets;
    if (pages < 4 || !isBookletPageCount(pages))
        return sheets;
    for (int k = 1; k <= pages / 4; ++k)
        sheets.append(
            BookletSheet { { pages - 2 * k + 2, 2 * k - 1 }, { 2 * k, pages - 2 * k + 1 } });
    return sheets;
}

} // namespace cw

#include <gtest/gtest.h>

#include "base/BookletImposition.h"

using namespace cw;

// Each sheet's front and back, outermost first: nested and folded, the
// sheets give the pages in order.
TEST(BookletImposition, SheetsCarryTheirSpreadsInFoldingOrder)
{
    const std::pair<int, QVector<BookletSheet>> rows[] = {
        { 4, { { { 4, 1 }, { 2, 3 } } } },
        { 8, { { { 8, 1 }, { 2, 7 } }, { { 6, 3 }, { 4, 5 } } } },
        { 12, { { { 12, 1 }, { 2, 11 } }, { { 10, 3 }, { 4, 9 } }, { { 8, 5 }, { 6, 7 } } } },
        { 16,
            { { { 16, 1 }, { 2, 15 } }, { { 14, 3 }, { 4, 13 } }, { { 12, 5 }, { 6, 11 } },
                { { 10, 7 }, { 8, 9 } } } },
    };
    for (const auto &[pages, sheets] : rows)
        EXPECT_EQ(bookletSheets(pages), sheets) << pages;
    // The plain insert and counts the booklet does not offer have no sheets.
    for (int pages : { 2, 0, -4, 6, 20 }) {
        EXPECT_TRUE(bookletSheets(pages).isEmpty()) << pages;
        EXPECT_EQ(isBookletPageCount(pages), pages == 2) << pages;
    }
}

#pragma once

#include <QVector>

namespace cw {

// How the pages of a folded booklet lie on its sheets. A booklet of N pages
// (a multiple of 4) is printed on N / 4 sheets, each with one spread on its
// front and one on its back; nested and folded, the sheets give pages
// 1 … N in order. Page 1 is the cover, page N the inside of the back cover:
// the outer sheet's front shows them side by side, [N | 1].

// The page counts a booklet may have: 2 (the plain front insert, printed on
// one side as a single spread) and 4, 8, 12 and 16.
constexpr int kBookletPageCounts[] = { 2, 4, 8, 12, 16 };
bool isBookletPageCount(int pages);

// One side of a sheet: the page on its left half and on its right half.
struct BookletSpread
{
    int left = 0, right = 0;
    bool operator==(const BookletSpread &) const = default;
};

struct BookletSheet
{
    BookletSpread front, back;
    bool operator==(const BookletSheet &) const = default;
};

// The sheets of a booklet of `pages` pages, outermost first: sheet k
// (1-based) has [N-2k+2 | 2k-1] on its front and [2k | N-2k+1] on its back
// (8 pages: [8|1] and [2|7], then [6|3] and [4|5]). Empty for a count that
// is not a multiple of 4 from 4 to 16.
QVector<BookletSheet> bookletSheets(int pages);

} // namespace cw

#pragma once

#include <QString>

#include "base/CaseFormat.h"

namespace cw {

// A CD case's front insert as a booklet: its pages are the size of one face
// (the cover panel), page 1 the cover and page N the inside face, and the
// pages between them new. The booklet is printed on its sheets' sides (see
// base/BookletImposition.h), each a spread of two pages laid out as the
// format's front sheet is: the left page where the inside face is, the right
// page where the cover is.

// The format's front sheet when the format may be a booklet: a sheet that
// holds only the inside face on its left and the cover on its right, of one
// size. Null for any other format.
const CaseSheet *bookletFrontSheet(const CaseFormat &format);

// The format printed as a booklet of `pages` pages: the front sheet is
// replaced by the booklet's sides, outermost sheet first and each sheet's
// front before its back ("front", "front-reverse", "front-2",
// "front-2-reverse", …), whose panels are the pages on them; the other
// sheets follow as they were. A page panel keeps the cover's or the inside
// face's id and role for pages 1 and N; the pages between are "page-K" with
// the role Page and no list of the format's own. For a format that is no
// booklet, or a page count that is not 4, 8, 12 or 16, the format itself.
// Built once per format and count and kept for the run.
const CaseFormat &bookletCaseFormat(const CaseFormat &format, int pages);

// The booklet's pages one by one, in reading order: sheets "page-1" …
// "page-N", each one page panel with every edge an outer trim edge. A format
// that is no booklet gives the format itself; 2 pages give the cover and
// the inside face.
const CaseFormat &bookletReadingFormat(const CaseFormat &format, int pages);

// Whether sheet `sheet` of a format is the back of one of a booklet's
// sheets (printed on the reverse of the side before it).
bool isBookletBackSide(const CaseFormat &format, int sheet);

// The sheet of `format` on which page `page` of its booklet is printed; -1
// when none is.
int bookletSheetOfPage(const CaseFormat &format, int page);

// The booklet as it is read, for the preview: page 1 alone, the spreads
// [2|3], [4|5] … each as the pages face each other (laid out as the front
// sheet), and page N alone, on sheets of the front sheet's size ("pages-1",
// "pages-2-3", …, "pages-N"); then the format's other sheets. A page alone
// lies at the sheet's left, trimmed all round, and is drawn in the middle. A format that
// is no booklet, or 2 pages, gives the format itself.
const CaseFormat &bookletSpreadFormat(const CaseFormat &format, int pages);
QString bookletSpreadId(int first, int last);

// The id of a booklet side: sheet `sheet` (1: the outermost), front or back.
QString bookletSideId(int sheet, bool back);
// The id of page `page` alone ("page-3").
QString bookletPageId(int page);

} // namespace cw

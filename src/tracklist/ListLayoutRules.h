#pragma once

#include <QString>

#include "tracklist/TListData.h"

namespace cw {

// Surfaces that carry a track list: 0 the front (Top), 1 the back (Bottom),
// 2 the disc face.
constexpr int kListSurfaceTop = 0;
constexpr int kListSurfaceBottom = 1;
constexpr int kListSurfaceDisc = 2;
constexpr int kListSurfaceCount = 3;

// The printable area of a list in whole millimetres: the label less 1 mm on
// every side, cut to whole millimetres. The disc's list (2) stands on the
// disc's 120 mm design square; any other surface but 1 counts as the front.
int listPrintableWidth(int surface);
int listPrintableHeight(int surface);
// The size of the label the list is on, in millimetres (the jewel case's
// panel: the inside face for the front, the back label for the back; the
// design square for the disc).
double listLabelWidthMm(int surface);
double listLabelHeightMm(int surface);

constexpr int kMaxLineSpacing = 50;

// Resetting a document to a new one: values 1-8 take the surface's defaults,
// the line spacing keeps its value (the disc's takes its default too).
void resetListLayout(ListLayout &layout, int surface);

// Which of the layout values count for a column count.
struct ListColumnUse
{
    bool width1 = false, width2 = false, width3 = false;
    bool space1 = false, space2 = false;
};
ListColumnUse listColumnUse(int columnCount);

// Start of each column relative to the list origin, in millimetres; 0 for a
// column that is not in use.
struct ListColumnStarts
{
    int column1 = 0, column2 = 0, column3 = 0;
};
ListColumnStarts listColumnStarts(const ListLayout &layout, int columnCount);

// The maxima the layout window shows. `counts` says which labels are
// refreshed; a value that does not count keeps its label's last text.
struct ListMaxima
{
    int posX = 0, posY = 0;
    int width1 = 0, width2 = 0, width3 = 0;
    int space1 = 0, space2 = 0;
    int lineSpacing = kMaxLineSpacing;
    ListColumnUse counts;
    int free = 0; // the room left after the resets
};

// Computes the maxima for the window's current entries and column count.
// Widths and gaps that no longer fit are set to 0 in `values` first (two
// columns: width1 and space1; three: width1, width3, space1, space2; one
// column: nothing), as the window does.
ListMaxima computeListMaxima(
    ListLayout &values, int columnCount, int printableWidth, int printableHeight);

// "(最大 %03d)"
QString formatMaximum(int value);
// "%03dmm"
QString formatListMm(int value);

// The information group of the layout window.
struct ListInfo
{
    QString printableWidth; // "ﾘｽﾄ印刷可能幅"
    QString printableHeight; // "ﾘｽﾄ印刷可能高"
    QString column1, column2, column3; // "ｾﾊﾟﾚｰﾀ1印刷位置" .. "ｾﾊﾟﾚｰﾀ3印刷位置"
};
ListInfo computeListInfo(const ListLayout &values, int columnCount, int surface);

} // namespace cw

#pragma once

#include <QList>
#include <array>

#include "fonts/BulkFontChange.h"
#include "tracklist/TListData.h"

namespace cw {

// The list editor's state that new rows take their values from: the
// alignment chosen for each cell and each cell's default font.
struct ListEditorDefaults
{
    std::array<int, 3> align = { 1, 1, 1 };
    std::array<FontSpec, 3> fonts = { defaultFont(), defaultFont(), defaultFont() };
};

// A new row as the editor's "new" and "insert" commands make it, for a
// surface with `columnCount` columns.
TListData newListRow(const ListEditorDefaults &defaults, int columnCount);

// Row-list operations. Operations with an index do nothing and return false
// when the index (or the place a row would move to) is outside the list.
void appendRow(QList<TListData> &rows, const TListData &row);
bool insertRowBefore(QList<TListData> &rows, qsizetype index, const TListData &row);
bool deleteRow(QList<TListData> &rows, qsizetype index);
bool moveRowUp(QList<TListData> &rows, qsizetype index);
bool moveRowDown(QList<TListData> &rows, qsizetype index);
void clearRows(QList<TListData> &rows);

// Recomputes the editor's `enabled` flags of every row for a column count:
// separated rows get (on, on, on) at three columns and (on, on, off) at two;
// every other row (one column, or not separated) gets (off, on, off). The
// row kind is not considered. Counts outside 1..3 leave the flags alone.
void refreshColumnFlags(QList<TListData> &rows, int columnCount);

// What choosing a column count in the layout window does to the rows: cells 1
// and 3 of every row are switched on or off by the count alone (one column:
// both off; two: cell 1 on, cell 3 off; three: both on), whatever the row's
// `separate` and `kind`.
void applyColumnCountToRows(QList<TListData> &rows, int columnCount);

// The bulk font change of one cell (`column` 0..2) over every row, separator
// rows and switched-off cells included. When the switches ask for it and
// `defaultFont` is given, the same change is made to it.
void bulkChangeColumnFont(QList<TListData> &rows, int column, const FontSpec &chosen,
    const BulkFontChangeSwitches &switches, FontSpec *defaultFont = nullptr);

} // namespace cw

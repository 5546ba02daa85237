#include "tracklist/ListRows.h"

namespace cw {

TListData newListRow(const ListEditorDefaults &defaults, int columnCount)
{
    TListData row;
    row.separate = columnCount != 1;
    row.kind = 0;
    for (size_t k = 0; k < 3; ++k) {
        row.columns[k].text.clear();
        row.columns[k].align = defaults.align[k];
        row.columns[k].font = defaults.fonts[k];
    }
    row.columns[0].enabled = columnCount != 1;
    row.columns[1].enabled = true;
    row.columns[2].enabled = columnCount == 3;
    return row;
}

void appendRow(QList<TListData> &rows, const TListData &row)
{
    rows.append(row);
}

bool insertRowBefore(QList<TListData> &rows, qsizetype index, const TListData &row)
{
    if (index < 0 || index >= rows.size())
        return false;
    rows.insert(index, row);
    return true;
}

bool deleteRow(QList<TListData> &rows, qsizetype index)
{
    if (index < 0 || index >= rows.size())
        return false;
    rows.removeAt(index);
    return true;
}

bool moveRowUp(QList<TListData> &rows, qsizetype index)
{
    if (index <= 0 || index >= rows.size())
        return false;
    rows.swapItemsAt(index - 1, index);
    return true;
}

bool moveRowDown(QList<TListData> &rows, qsizetype index)
{
    if (index < 0 || index + 1 >= rows.size())
        return false;
    rows.swapItemsAt(index, index + 1);
    return true;
}

void clearRows(QList<TListData> &rows)
{
    rows.clear();
}

void refreshColumnFlags(QList<TListData> &rows, int columnCount)
{
    if (columnCount < 1 || columnCount > 3)
        return;
    for (TListData &row : rows) {
        const bool columns = row.separate && columnCount != 1;
        row.columns[0].enabled = columns;
        row.columns[1].enabled = true;
        row.columns[2].enabled = columns && columnCount == 3;
    }
}

void applyColumnCountToRows(QList<TListData> &rows, int columnCount)
{
    for (TListData &row : rows) {
        row.columns[0].enabled = columnCount >= 2;
        row.columns[2].enabled = columnCount >= 3;
    }
}

void bulkChangeColumnFont(QList<TListData> &rows, int column, const FontSpec &chosen,
    const BulkFontChangeSwitches &switches, FontSpec *defaultFont)
{
    if (column < 0 || column > 2)
        return;
    for (TListData &row : rows) {
        TListCell &cell = row.columns[size_t(column)];
        cell.font = applyBulkFontChange(cell.font, chosen, switches);
    }
    if (switches.changeDefault && defaultFont)
        *defaultFont = applyBulkFontChange(*defaultFont, chosen, switches);
}

} // namespace cw

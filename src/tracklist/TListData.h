#pragma once

#include <QString>
#include <array>

class QFont;

#include "fonts/Font.h"

namespace cw {

// One cell of a track-list row.
struct TListCell
{
    QString text;
    int align = 1; // 1 left, 2 centre, 3 right; anything else: not drawn
    FontSpec font = defaultFont();
    bool enabled = false; // list-editor state only, never stored or drawn

    bool operator==(const TListCell &) const = default;
};

// One track-list row.
struct TListData
{
    bool separate = true; // printed in the layout's columns; false: only cell 2, full width
    int kind = 0; // 0 text row, 1 separator rule
    std::array<TListCell, 3> columns; // columns[0] is cell 1, columns[1] the main cell 2

    // Stores a font into cell `column` (0..2): the QFont's face, size and
    // style flags with the given colour and character set. Other indexes are
    // ignored.
    void setColumnFont(int column, const QFont &font, ColorRef color, int charset);
    void setColumnFont(int column, const FontSpec &font);
    // Puts cell `column`'s font onto a QFont (face, size, default pitch, then
    // each style flag set or cleared); the cell's colour and character set are
    // returned through the pointers when given.
    void applyColumnFont(
        int column, QFont &font, ColorRef *color = nullptr, int *charset = nullptr) const;

    bool operator==(const TListData &) const = default;
};

// The nine whole numbers of a list layout, in file order.
struct ListLayout
{
    int columnCount = 3;
    int posX = 3;
    int posY = 0;
    int width1 = 9;
    int width2 = 70;
    int width3 = 30;
    int space1 = 2;
    int space2 = 2;
    int lineSpacing = 0; // tenths of a millimetre

    bool operator==(const ListLayout &) const = default;
};

// Defaults: index 0 the front (Top), index 1 the back (Bottom), index 2 the
// disc face.
ListLayout defaultListLayout(int index);

// The nine values in file order, and back.
std::array<int, 9> layoutValues(const ListLayout &l);
ListLayout layoutFromValues(const std::array<int, 9> &v);

} // namespace cw

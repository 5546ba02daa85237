#include "tracklist/TListData.h"

#include "fonts/FontQt.h"

namespace cw {

namespace {
bool validColumn(int column)
{
    return column >= 0 && column < 3;
}
} // namespace

void TListData::setColumnFont(int column, const QFont &font, ColorRef color, int charset)
{
    if (validColumn(column))
        columns[size_t(column)].font = fontSpecFromQFont(font, color, charset);
}

void TListData::setColumnFont(int column, const FontSpec &font)
{
    if (validColumn(column))
        columns[size_t(column)].font = font;
}

void TListData::applyColumnFont(int column, QFont &font, ColorRef *color, int *charset) const
{
    if (!validColumn(column))
        return;
    const FontSpec &fontSpec = columns[size_t(column)].font;
    applyFontSpec(fontSpec, font);
    if (color)
        *color = fontSpec.color;
    if (charset)
        *charset = fontSpec.charset;
}

} // namespace cw

#include "fonts/FontQt.h"

#include <cmath>

namespace cw {

void applyFontSpec(const FontSpec &fontSpec, QFont &font)
{
    font.setFamily(fontSpec.name);
    if (fontSpec.size > 0)
        font.setPointSize(fontSpec.size);
    font.setStyleHint(QFont::AnyStyle);
    font.setFixedPitch(false);
    font.setBold(fontSpec.bold);
    font.setItalic(fontSpec.italic);
    font.setUnderline(fontSpec.underline);
    font.setStrikeOut(fontSpec.strikeOut);
}

QFont toQFont(const FontSpec &fontSpec)
{
    QFont f;
    applyFontSpec(fontSpec, f);
    return f;
}

FontSpec fontSpecFromQFont(const QFont &font, ColorRef color, int charset)
{
    FontSpec s;
    s.charset = charset;
    s.color = color;
    s.name = font.family();
    if (font.pointSize() > 0)
        s.size = font.pointSize();
    else if (font.pixelSize() > 0)
        s.size = int(std::lround(font.pixelSize() * 72.0 / 96.0));
    s.bold = font.weight() >= QFont::Bold;
    s.italic = font.italic();
    s.underline = font.underline();
    s.strikeOut = font.strikeOut();
    return s;
}

} // namespace cw

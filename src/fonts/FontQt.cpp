#include "fonts/FontQt.h"

#include <cmath>

void applyFontSpec(const FontSpec &spec, QFont &font)
{
    font.setFamily(spec.name);
    if (spec.size > 0)
        font.setPointSize(spec.size);
    font.setStyleHint(QFont::AnyStyle);
    font.setFixedPitch(false);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
}

QFont toQFont(const FontSpec &spec)
{
    QFont f;
    applyFontSpec(spec, f);
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

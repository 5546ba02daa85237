#include "fonts/FontQt.h"

#include <QFontDatabase>
#include <cmath>

#include "fonts/FontCharsets.h"

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

void applyFontCharset(int charset, QFont &font)
{
    const QFontDatabase::WritingSystem system = charsetWritingSystem(charset);
    if (system == QFontDatabase::Any)
        return;
    const QString face = font.families().value(0, font.family());
    if (QFontDatabase::writingSystems(face).contains(system))
        return;
    const QStringList candidates = QFontDatabase::families(system);
    for (const QString &family : candidates) {
        if (QFontDatabase::isPrivateFamily(family) || family == face)
            continue;
        font.setFamilies({ face, family });
        return;
    }
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

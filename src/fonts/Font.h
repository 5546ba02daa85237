#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

namespace cw {

// A colour value 0x00BBGGRR. With the top bit set (0x80000000 | n) it names
// the system colour n, resolved when drawing.
using ColorRef = std::uint32_t;

constexpr ColorRef kWindowTextColor = 0x80000008u;
constexpr ColorRef kWhite = 0x00FFFFFFu;
constexpr ColorRef kBlack = 0x00000000u;

constexpr bool isSystemColor(ColorRef c)
{
    return (c & 0x80000000u) != 0;
}

// The colour to draw with: system colours resolved to the standard desktop
// scheme (window text black, window white, ...), so that printed labels do not
// depend on the desktop theme.
QColor resolveColor(ColorRef c);
// 0x00BBGGRR of an opaque QColor.
ColorRef toColorRef(const QColor &c);

// A font as documents, templates and the font dialog keep it.
struct FontSpec
{
    QString name;
    int size = 9; // points
    ColorRef color = kWindowTextColor;
    int charset = 128; // Windows character-set code (128: Shift-JIS)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontSpec &) const = default;
};

// "ＭＳ Ｐゴシック", 9 points, Shift-JIS, window-text colour, no style.
FontSpec defaultFont();

// Installs the substitutions that draw the standard Japanese faces documents
// name ("ＭＳ Ｐゴシック" and its kin) with metric-compatible faces available
// here. Idempotent.
void installFontSubstitutions();

} // namespace cw

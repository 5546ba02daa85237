#pragma once

#include <QFont>

#include "fonts/Font.h"

namespace cw {

// Conversions between a FontSpec and a QFont. A QFont holds the face, the
// size and the style flags; the colour and the character set have no place in
// it and stay with the FontSpec.

// Puts a FontSpec onto a QFont: face, size in points, default pitch, then
// bold, italic, underline and strike-out, each set or cleared. A size of 0 or
// less leaves the QFont's size as it was (Qt refuses such sizes).
void applyFontSpec(const FontSpec &fontSpec, QFont &font);
QFont toQFont(const FontSpec &fontSpec);

// The FontSpec of a QFont with the given colour and character set. A font
// sized in pixels is converted to points at 96 dpi, rounded.
FontSpec fontSpecFromQFont(const QFont &font, ColorRef color, int charset);

} // namespace cw

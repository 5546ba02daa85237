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

// A QFont cannot hold a character set; what it can hold is which families
// to draw from. When the face does not cover the writing system of
// `charset`, the first installed family that does is put after the face, so
// that the characters the face lacks are drawn from a face of that set (and
// not from whatever the font engine would fall back to). A face that covers
// the set, and a set without a writing system, leave the font as it is.
void applyFontCharset(int charset, QFont &font);

// The FontSpec of a QFont with the given colour and character set. A font
// sized in pixels is converted to points at 96 dpi, rounded.
FontSpec fontSpecFromQFont(const QFont &font, ColorRef color, int charset);

} // namespace cw

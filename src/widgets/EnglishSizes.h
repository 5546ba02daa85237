#pragma once

class QWidget;

namespace cw {

// Windows and groups whose fixed size was chosen for their Japanese texts.
// With the English interface such a widget grows to what its layout needs, so
// that no English text is cut off; with the Japanese interface it keeps its
// size exactly. Call it once the widget's contents are in its layout; only
// the fixed dimensions grow, never shrink.
void growForEnglish(QWidget *widget);

// The width a fixed-width panel needs for `naturalWidth` of English text, or
// `japaneseWidth` with the Japanese interface (and whenever it is enough).
int widthForEnglish(int japaneseWidth, int naturalWidth);

} // namespace cw

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace cw {

// Wrapping many lines of text within a width, for the free-print text blocks.
// Everything is in whole pixels of one resolution; the caller measures.

// The width in pixels one line of text takes (the font's advance).
using TextWidthFn = std::function<int(const QString &)>;

// The lines of `text` within `width` pixels. Every line break of the text
// ends a line ('\n'; an empty text is one empty line). Within a line the
// longest start that fits is kept and the rest wraps:
// - after spaces (' ', tab, U+3000): the spaces at a wrap are dropped, those
//   that begin the text's own line stay;
// - between any two characters where one is East Asian (kana, kanji,
//   full-width forms and the like, U+2E80 and above), except before closing
//   marks and small kana ("、", "。", "」", "ー", "っ", ")", "." …) and after
//   opening brackets ("「", "（", "(" …), which stay with their neighbour;
// - nowhere else: a Latin word stays whole.
// A line with no such place that fits is broken between characters, at the
// longest start that fits, at least one character (a surrogate pair and a
// character with its combining marks stay together). Trailing spaces are
// never part of a line. A width below 1 gives one character a line.
QStringList wrapText(const QString &text, const TextWidthFn &measure, int width);

// How many of `count` lines fit a box `boxHeight` pixels high: line i (from
// 0) starts at trunc(i * lineHeight * spacingPercent / 100) and fits when it
// ends (start + lineHeight) at or above the box's bottom.
int linesThatFit(int count, int lineHeight, int spacingPercent, int boxHeight);

// Where line i starts below the block's top: trunc(i * lineHeight *
// spacingPercent / 100), in 64-bit arithmetic.
int lineTop(int i, int lineHeight, int spacingPercent);

} // namespace cw

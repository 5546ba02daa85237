#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

#include "document/LabelDocument.h"
#include "document/TPrintsData.h"

namespace cw {

// The free-print text block (TPrintsData kind PrintsTextBlock): its limits,
// how its lines are laid out, and how its text is kept in a document file.
namespace textblock {
constexpr int kMinSize = 1; // mm, width and height
constexpr int kMaxSize = 999;
constexpr int kMinSpacing = 50; // percent of the line height
constexpr int kMaxSpacing = 400;
constexpr int kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2;
// The most bytes of text one file line of a block holds (its UTF-8 with the
// escapes, before the continuation mark): well within the 1,023-byte lines
// of a 1.08 file.
constexpr int kFileLineBytes = 1000;
} // namespace textblock

// A text as a block keeps it: CR LF, CR, U+2028 and U+2029 each become '\n'.
QString blockText(const QString &typed);

// A block's lines at one resolution: the text wrapped within the box's width
// with the item's font at that resolution (text/TextWrap.h), and how many of
// them the box's height holds.
struct TextBlockLayout
{
    QStringList lines; // every wrapped line
    int shown = 0; // the first `shown` lines fit the box and are drawn
    int boxWidth = 0, boxHeight = 0; // trunc(dpi / 25.399 * mm)
    int lineHeight = 0; // the font's ascent + descent in pixels

    int cut() const { return int(lines.size()) - shown; }
};
TextBlockLayout layoutTextBlock(const QString &text, const FontSpec &font, int widthMm,
    int heightMm, int spacingPercent, int dpiX, int dpiY);
TextBlockLayout layoutTextBlock(const TPrintsData &item, int dpiX, int dpiY);

// The editor's note on lines that do not fit: "3行が収まりません"; empty
// when every line fits.
QString cutLinesMessage(int cut);

// Where a line `lineWidth` pixels wide starts in a box from `left`,
// `boxWidth` pixels wide: at left, centred (half the difference, truncated),
// or ending at the box's right edge.
int alignedLineX(int left, int boxWidth, int lineWidth, int align);

// The block's text as lines of a document file: each of its lines with "\"
// written "\\", a line longer than textblock::kFileLineBytes bytes cut into
// pieces each but the last ending in a lone "\" (it goes on in the next file
// line). An empty text is no file line at all.
QStringList textBlockFileLines(const QString &text);
// The text back from such lines; nothing for a "\" followed by anything but
// "\" or the line's end, and for a last line that goes on.
std::optional<QString> textFromBlockFileLines(const QStringList &lines);

// The block line before the text lines in a file: "<width> <height> <align>
// <spacing> <number of text lines>", five whole numbers, one space apart.
struct TextBlockHeader
{
    int width = 0, height = 0, align = 0, spacing = 0, lines = 0;
};
QString textBlockHeaderLine(const TPrintsData &item, int lineCount);
// Nothing unless the line is exactly that, with every value within its limits.
std::optional<TextBlockHeader> parseTextBlockHeader(const QByteArray &raw);

// Whether any free-print list of the document holds a text block.
bool hasTextBlock(const LabelDocument &doc);

} // namespace cw

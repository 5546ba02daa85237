#pragma once

#include <QFontDatabase>
#include <QList>
#include <QString>

namespace cw {

// Windows character-set codes as documents store them, and their names in
// the font dialog's "書体の種類" list.

// The name of a code; a code without a name is shown as its decimal number.
QString charsetName(int code);
// The code of a name; a name without a code is read as a decimal number
// (0 when it holds none).
int charsetCode(const QString &name);

// Latin character sets beyond Western European that a family may cover,
// found from its letters.
struct LatinCoverage
{
    bool centralEuropean = false; // 238
    bool turkish = false; // 162
    bool baltic = false; // 186
};

// The character-set codes of a family with the given writing systems, in the
// order the writing systems are reported, each code once: Latin 0 (followed
// by 238, 162 and 186 as `latin` says), Greek 161, Cyrillic 204, Vietnamese
// 163, Japanese 128, Korean 129, Simplified Chinese 134, Traditional Chinese
// 136, Hebrew 177, Arabic 178, Thai 222, Symbol 2. Writing systems without a
// code are left out; a family left with none gets "ﾃﾞﾌｫﾙﾄ" (1).
QList<int> charsetsOfWritingSystems(
    const QList<QFontDatabase::WritingSystem> &systems, LatinCoverage latin = {});

// The writing system a character-set code stands for (the inverse of the
// list above; the extra Latin sets are Latin); Any for a code without one
// (1 "default", OEM, Mac, unknown codes).
QFontDatabase::WritingSystem charsetWritingSystem(int code);

// Which of the extra Latin sets the family's own glyphs (not fallbacks)
// cover, from a few letters peculiar to each.
LatinCoverage latinCoverageOf(const QString &family);

} // namespace cw

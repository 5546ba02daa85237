#pragma once

#include <QByteArray>
#include <array>
#include <optional>
#include <vector>

#include "document/TPrintsData.h"
#include "fonts/Font.h"

namespace cw::docfile {

// The values of a document file's lines as the reader takes them, and the
// section headers it knows.

// The leading decimal number of a line: optional blanks, a sign, digits, an
// optional fraction and exponent. No number gives 0.
double parseVersion(const QByteArray &raw);

// Reads `count` blank-separated decimal numbers. A number that is not there
// or does not parse is 0, and so is every number after it; values beyond the
// range of int are cut to it.
std::vector<int> parseNumbers(const QByteArray &raw, int count);
int parseNumber(const QByteArray &raw);

// A colour written as hexadecimal; no hexadecimal digits gives 0, more than
// eight keep the last eight.
ColorRef parseColour(const QByteArray &raw);

// The directions of the "[Case]" section's line "SpineText <left> <right>":
// exactly the word, then two numbers 0..2, each after one blank. nullopt for
// any other line.
std::optional<std::array<int, 2>> parseSpineTextLine(const QByteArray &raw);

// A disc item's arc as its position line keeps it: 1 the top arc, 2 the
// bottom arc, 0 (or any other number) straight at its position.
int arcNumber(DiscTextPlace place);
DiscTextPlace arcPlaceFrom(int number);

enum class Section {
    None,
    PrintSetting,
    Dpi,
    TopLabel,
    BottomLabel,
    LeftTitle,
    RightTitle,
    Top1Prints,
    Top2Prints,
    BottomPrints,
    List,
    Disc, // 1.08: the disc face
    DiscPrints, // 1.08: the disc face's free prints
    Booklet, // 1.08: the front insert's page count
    Page, // 1.08: a booklet's inner page, one section each
    PagePrints, // 1.08: the free prints of the page before
    PagePicture // 1.08: the picture of the page before, when it has one
};

// The section a header line opens; None for any other line.
Section sectionOf(const QByteArray &raw);
// The sections that hold a list of records.
bool isListSection(Section s);

} // namespace cw::docfile

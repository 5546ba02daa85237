#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "fonts/Font.h"

namespace cw {

// The font families the font dialog lists, with the character sets and sizes
// it offers for each.

// The sizes every character set of a scalable family offers.
const QList<int> &standardFontSizes();

struct FontCharsetSizes
{
    int code = 0; // Windows character-set code
    QList<int> sizes; // points, ascending

    bool operator==(const FontCharsetSizes &) const = default;
};

struct FontFamilyEntry
{
    QString name;
    bool trueType = false; // scalable outline family: drawn with the mark
    QList<FontCharsetSizes> charsets; // in the order the platform reports them
    // Database names whose extra Latin sets (238, 162, 186) are still to be
    // read from their glyphs; reading opens the font file, so it waits until
    // the family is shown (see resolveCharsets).
    QStringList latinToProbe;

    // Index into `charsets` of a code, or -1.
    int charsetIndex(int code) const;
    bool operator==(const FontFamilyEntry &) const = default;
};

// One family as the font database reports it.
struct FontFaceInfo
{
    QString family; // "Name" or, for one of several foundries, "Name [foundry]"
    bool scalable = true;
    bool outline = true; // smoothly scalable (TrueType, OpenType, Type 1)
    QList<int> charsets;
    QList<int> pointSizes; // the sizes of a bitmap family
    bool probeLatin = false; // extra Latin sets to be read from the glyphs
};

// "C059 [urw]" -> "C059"; a name without a foundry stays as it is.
QString familyWithoutFoundry(const QString &family);

// The family list: scalable families first, each character set with the
// standard sizes; then bitmap families with their own sizes, unless a family
// of that name is already listed. Foundries of one family fold into one entry
// whose character sets are those of every foundry, in the order met. Sorted
// by name, ignoring case.
QList<FontFamilyEntry> buildFamilyList(const QList<FontFaceInfo> &faces);

// Reads the extra Latin sets of an entry still waiting for them and puts
// them after its Latin set (0), each once.
void resolveCharsets(FontFamilyEntry &entry);

// The families of the font database (private application fonts left out).
QList<FontFaceInfo> installedFontFaces();
QList<FontFamilyEntry> installedFontFamilies();

// The row of `name`: an exact match, else one that differs only in case; -1.
int findFamily(const QList<FontFamilyEntry> &families, const QString &name);

// Makes the list hold `font` as it is, so that a dialog opened on it and
// closed unchanged gives back the same font, and returns its row:
// - a face that is not installed (documents name the faces of the platform
//   they were written on) is listed under its own name with the character
//   sets and sizes of the face that draws it here;
// - the font's character set is added to its family when the family does not
//   report it, with the sizes of the family's first character set.
int ensureFamilyListed(QList<FontFamilyEntry> &families, const FontSpec &font);

} // namespace cw

#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include "fonts/FontFamilies.h"
#include "fonts/Font.h"

namespace cw {

// The font dialog's lists and what each of its events does to them, without
// widgets. The preview font carries every choice; "OK" returns it.

// The 16 named colours of the colour list; row 16 is "ｶｽﾀﾑ".
constexpr int kNamedFontColors = 16;
constexpr int kCustomColorRow = 16;
QString fontColorCaption(int row);
ColorRef fontColorValue(int row); // rows 0..15

// "Regular", "Italic", "Bold", "Bold Italic".
const QStringList &fontStyleNames();
// 3 bold and italic, 1 italic only, 2 bold only, else 0.
int fontStyleIndex(const FontSpec &font);

// The 12 x 12 mark drawn before scalable outline families: black and grey
// pixels on `background` (the window colour, or the highlight colour for the
// selected row).
QImage trueTypeMark(const QColor &background);

// The largest size the dialog takes; larger typed sizes are ignored like 0.
constexpr int kMaxFontSize = 1638;

// A size as typed: leading blanks and one sign allowed, reading stops at the
// first non-digit; no digits give 0.
int parseFontSize(const QString &text);

class FontDialogModel
{
public:
    // Opening on `font`: the font's face is listed (see ensureFamilyListed)
    // and chosen, its character set, style, size and colour selected.
    FontDialogModel(QList<FontFamilyEntry> families, const FontSpec &font);

    const QList<FontFamilyEntry> &families() const { return m_families; }
    int familyRow() const { return m_familyRow; }
    QString faceName() const { return m_faceName; }
    QStringList kindNames() const;
    int kindRow() const { return m_kindRow; }
    QStringList sizeTexts() const;
    int sizeRow() const { return m_sizeRow; }
    QString sizeText() const { return m_sizeText; }
    int styleIndex() const { return m_styleIndex; }
    int colorRow() const { return m_colorRow; }
    ColorRef customColor() const { return m_customColor; }
    // The colour a row's swatch is drawn with.
    ColorRef rowColor(int row) const;
    int size() const { return m_size; }
    int charset() const { return m_charset; }
    // The preview's font: the result of "OK".
    const FontSpec &preview() const { return m_preview; }

    // FontBoxClick: the family's character sets and sizes, its name as face.
    void chooseFamily(int row);
    // KindBoxChange.
    void chooseKind(int row);
    // StyleBoxClick.
    void chooseStyle(int index);
    // SizeBoxClick: the row's text becomes the size text.
    void chooseSizeRow(int row);
    // SizeEditChange.
    void setSizeText(const QString &text);
    // ColorBoxChange for a named row; for "ｶｽﾀﾑ" the preview takes the custom
    // colour, set beforehand by setCustomColor when the colour dialog ended
    // with OK.
    void chooseColorRow(int row);
    void setCustomColor(ColorRef color) { m_customColor = color; }
    // FontNameEditChange.
    void setFaceName(const QString &name);
    void setStrikeOut(bool on) { m_preview.strikeOut = on; }
    void setUnderline(bool on) { m_preview.underline = on; }

private:
    QList<FontFamilyEntry> m_families;
    FontSpec m_preview;
    QString m_faceName;
    int m_familyRow = -1;
    int m_kindRow = -1;
    int m_sizeRow = -1;
    QString m_sizeText;
    int m_styleIndex = 0;
    int m_size = 0;
    int m_charset = 0;
    int m_colorRow = kCustomColorRow;
    ColorRef m_customColor = 0;

    void selectSizeRow();
};

} // namespace cw

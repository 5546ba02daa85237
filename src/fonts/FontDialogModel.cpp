#include "fonts/FontDialogModel.h"

#include "base/UiText.h"
#include "fonts/FontCharsets.h"

namespace cw {

namespace {

struct NamedColor
{
    const char *caption;
    ColorRef color;
};

const NamedColor kColors[kNamedFontColors] = {
    { QT_TRANSLATE_NOOP("cw::UiText", "黒"), 0x000000 },
    { QT_TRANSLATE_NOOP("cw::UiText", "茶"), 0x000080 },
    { QT_TRANSLATE_NOOP("cw::UiText", "緑"), 0x008000 },
    { QT_TRANSLATE_NOOP("cw::UiText", "ｵﾘｰﾌﾞ"), 0x008080 },
    { QT_TRANSLATE_NOOP("cw::UiText", "紺"), 0x800000 },
    { QT_TRANSLATE_NOOP("cw::UiText", "紫"), 0x800080 },
    { QT_TRANSLATE_NOOP("cw::UiText", "青緑"), 0x808000 },
    { QT_TRANSLATE_NOOP("cw::UiText", "灰色"), 0x808080 },
    { QT_TRANSLATE_NOOP("cw::UiText", "銀色"), 0xC0C0C0 },
    { QT_TRANSLATE_NOOP("cw::UiText", "赤"), 0x0000FF },
    { QT_TRANSLATE_NOOP("cw::UiText", "黄緑"), 0x00FF00 },
    { QT_TRANSLATE_NOOP("cw::UiText", "黄"), 0x00FFFF },
    { QT_TRANSLATE_NOOP("cw::UiText", "青"), 0xFF0000 },
    { QT_TRANSLATE_NOOP("cw::UiText", "赤紫"), 0xFF00FF },
    { QT_TRANSLATE_NOOP("cw::UiText", "水色"), 0xFFFF00 },
    { QT_TRANSLATE_NOOP("cw::UiText", "白"), 0xFFFFFF },
};

// K black, G grey, . background.
const char *const kTrueTypeMark[12] = {
    "GGGGGGGG....",
    "GG.GG.GG....",
    "G..GG..G....",
    "G..GKKKKKKKK",
    "...GKK.KK.KK",
    "...GK..KK..K",
    "...GK..KK..K",
    "...GG..KK...",
    ".GGGGGGKK...",
    ".......KK...",
    ".......KK...",
    ".....KKKKKK.",
};

} // namespace

QImage trueTypeMark(const QColor &background)
{
    QImage image(12, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const char c = kTrueTypeMark[y][x];
            const QColor color = c == 'K' ? QColor(0, 0, 0) : c == 'G' ? QColor(128, 128, 128) : background;
            image.setPixelColor(x, y, color);
        }
    }
    return image;
}

QString fontColorCaption(int row)
{
    if (row >= 0 && row < kNamedFontColors)
        return UiText::tr(kColors[row].caption);
    return UiText::tr("ｶｽﾀﾑ");
}

ColorRef fontColorValue(int row)
{
    return row >= 0 && row < kNamedFontColors ? kColors[row].color : 0;
}

const QStringList &fontStyleNames()
{
    static const QStringList names = { QStringLiteral("Regular"), QStringLiteral("Italic"),
        QStringLiteral("Bold"), QStringLiteral("Bold Italic") };
    return names;
}

int fontStyleIndex(const FontSpec &font)
{
    if (font.bold && font.italic)
        return 3;
    if (font.italic)
        return 1;
    if (font.bold)
        return 2;
    return 0;
}

int parseFontSize(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // Saturates instead of overflowing on very long digit runs.
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > 0x7FFFFFFF)
            value = 0x7FFFFFFF;
    }
    return int(negative ? -value : value);
}

FontDialogModel::FontDialogModel(QList<FontFamilyEntry> families, const FontSpec &font)
    : m_families(std::move(families))
    , m_preview(font)
{
    m_familyRow = ensureFamilyListed(m_families, font);
    m_faceName = font.name;
    m_styleIndex = fontStyleIndex(font);
    m_size = font.size;
    m_charset = font.charset;
    m_sizeText = QString::number(font.size);
    m_customColor = font.color;
    m_colorRow = kCustomColorRow;
    for (int row = 0; row < kNamedFontColors; ++row) {
        if (kColors[row].color == font.color) {
            m_colorRow = row;
            break;
        }
    }
    chooseFamily(m_familyRow);
}

QStringList FontDialogModel::kindNames() const
{
    QStringList names;
    if (m_familyRow >= 0) {
        for (const FontCharsetSizes &c : m_families[m_familyRow].charsets)
            names.append(charsetName(c.code));
    }
    return names;
}

QStringList FontDialogModel::sizeTexts() const
{
    QStringList texts;
    if (m_familyRow >= 0 && m_kindRow >= 0) {
        for (int size : m_families[m_familyRow].charsets[m_kindRow].sizes)
            texts.append(QString::number(size));
    }
    return texts;
}

ColorRef FontDialogModel::rowColor(int row) const
{
    return row == kCustomColorRow ? m_customColor : fontColorValue(row);
}

void FontDialogModel::chooseFamily(int row)
{
    if (row < 0 || row >= m_families.size())
        return;
    m_familyRow = row;
    resolveCharsets(m_families[row]);
    const FontFamilyEntry &family = m_families[row];
    m_kindRow = family.charsetIndex(m_charset);
    if (m_kindRow < 0 && !family.charsets.isEmpty()) {
        m_kindRow = 0;
        m_charset = family.charsets.first().code;
    }
    m_preview.charset = m_charset;
    selectSizeRow();
    setFaceName(family.name);
}

void FontDialogModel::chooseKind(int row)
{
    if (m_familyRow < 0 || row < 0 || row >= m_families[m_familyRow].charsets.size())
        return;
    m_charset = m_families[m_familyRow].charsets[row].code;
    m_preview.charset = m_charset;
    chooseFamily(m_familyRow);
}

void FontDialogModel::chooseStyle(int index)
{
    if (index < 0 || index > 3)
        return;
    m_styleIndex = index;
    m_preview.bold = index >= 2;
    m_preview.italic = index == 1 || index == 3;
}

void FontDialogModel::chooseSizeRow(int row)
{
    const QStringList texts = sizeTexts();
    if (row < 0 || row >= texts.size())
        return;
    setSizeText(texts[row]);
}

void FontDialogModel::setSizeText(const QString &text)
{
    m_sizeText = text;
    m_size = parseFontSize(text);
    m_sizeRow = int(sizeTexts().indexOf(text));
    // 0 (no digits), negative and oversized values leave the preview's size.
    if (m_size > 0 && m_size <= kMaxFontSize)
        m_preview.size = m_size;
}

void FontDialogModel::selectSizeRow()
{
    m_sizeRow = int(sizeTexts().indexOf(QString::number(m_size)));
}

void FontDialogModel::chooseColorRow(int row)
{
    if (row < 0 || row > kCustomColorRow)
        return;
    m_colorRow = row;
    m_preview.color = rowColor(row);
}

void FontDialogModel::setFaceName(const QString &name)
{
    m_faceName = name;
    m_preview.name = name;
}

} // namespace cw

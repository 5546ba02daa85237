#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "canvas/QPainterCanvas.h"

using namespace cw;

namespace {

FontSpec styled()
{
    FontSpec f = defaultFont();
    f.name = QStringLiteral("ＭＳ 明朝");
    f.size = 40;
    f.color = 0x000000FF; // red
    f.bold = true;
    f.italic = true;
    f.underline = true;
    f.strikeOut = true;
    return f;
}

} // namespace

TEST(RotatedFont, KeepsFaceStylesAndColour)
{
    QImage img(10, 10, QImage::Format_RGB32);
    QPainterCanvas c(&img, 300, 300);
    c.SetFont(styled());
    const QFont before = c.currentFont();
    c.SelectRotatedFont(900, 47);
    const QFont &f = c.currentFont();
    EXPECT_EQ(f.family(), before.family());
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("IPAMincho"));
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_TRUE(f.strikeOut());
    EXPECT_EQ(c.currentFontColor(), QColor(255, 0, 0));
    c.RestoreFont();
    EXPECT_EQ(c.currentFont(), before);
    EXPECT_EQ(c.currentFontScale(), 1.0);
}

TEST(RotatedFont, CellHeightIsExactWhateverThePointSize)
{
    QImage img(10, 10, QImage::Format_RGB32);
    QPainterCanvas c(&img, 300, 300);
    for (const QString &face : { QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ 明朝") }) {
        for (int points : { 6, 9, 40, 72 }) {
            FontSpec f = defaultFont();
            f.name = face;
            f.size = points;
            c.SetFont(f);
            // 15: a spine at 96 dpi, 47 at 300 dpi, 94 at 600 dpi; and every
            // height between.
            for (int cell = 5; cell <= 120; ++cell) {
                c.SelectRotatedFont(2700, cell);
                ASSERT_EQ(c.TextHeight(QStringLiteral("Ag")), cell)
                    << face.toStdString() << points << cell;
                // The font itself is the largest whole pixel size that fits.
                QFontMetrics fm(c.currentFont());
                EXPECT_LE(fm.ascent() + fm.descent(), cell);
                QFont bigger = c.currentFont();
                bigger.setPixelSize(bigger.pixelSize() + 1);
                QFontMetrics fb(bigger);
                EXPECT_GT(fb.ascent() + fb.descent(), cell);
                c.RestoreFont();
            }
        }
    }
}

TEST(RotatedFont, TextWidthScalesWithTheCell)
{
    QImage img(10, 10, QImage::Format_RGB32);
    QPainterCanvas c(&img, 300, 300);
    c.SetFont(defaultFont());
    c.SelectRotatedFont(900, 47);
    const double scale = c.currentFontScale();
    EXPECT_GE(scale, 1.0);
    EXPECT_LT(scale, 1.1);
    const QString text = QStringLiteral("背表紙タイトル");
    const int natural = QFontMetrics(c.currentFont()).horizontalAdvance(text);
    EXPECT_EQ(c.TextWidth(text), int(std::lround(natural * scale)));
    // Height kept (cell 0): the font and its scale stay as they were.
    c.RestoreFont();
    c.SelectRotatedFont(450, 0);
    EXPECT_EQ(c.currentFontScale(), 1.0);
    EXPECT_EQ(c.currentFont().pixelSize(), fontPixelHeight(9, 300));
}

TEST(RotatedFont, UpwardTextFillsTheCellAcrossTheSpine)
{
    // A 47-pixel cell turned upward from (10, 590): the ink lies in columns
    // 10 .. 56 and above row 590, in the font's colour.
    QImage img(80, 600, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainterCanvas c(&img, 300, 300);
        FontSpec f = defaultFont();
        f.color = 0x000000FF;
        c.SetFont(f);
        c.SetBrushClear();
        c.SelectRotatedFont(900, 47);
        c.TextOutClipped(0, 0, 80, 600, 10, 590, QStringLiteral("■■■■"));
        c.RestoreFont();
    }
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ink |= QRect(x, y, 1, 1);
                ASSERT_GT(qRed(img.pixel(x, y)), qGreen(img.pixel(x, y)));
            }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 56);
    EXPECT_LE(ink.bottom(), 590);
    // Four full blocks read upward: taller than wide.
    EXPECT_GT(ink.height(), 3 * ink.width());
}

TEST(FontFaces, StandardJapaneseFacesDrawWithTheIpaFaces)
{
    struct Pair
    {
        const char16_t *name;
        const char *face;
    };
    const Pair pairs[] = {
        { u"ＭＳ Ｐゴシック", "IPAPGothic" },
        { u"ＭＳ ゴシック", "IPAGothic" },
        { u"ＭＳ 明朝", "IPAMincho" },
        { u"ＭＳ Ｐ明朝", "IPAPMincho" },
        { u"MS PGothic", "IPAPGothic" },
        { u"MS Gothic", "IPAGothic" },
        { u"MS Mincho", "IPAMincho" },
        { u"MS PMincho", "IPAPMincho" },
    };
    for (const Pair &p : pairs) {
        FontSpec f = defaultFont();
        f.name = QString::fromUtf16(p.name);
        QFont font = QPainterCanvas::makeFont(f, 300);
        EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(p.face)) << f.name.toStdString();
        // 9 points at 300 dpi: 37.5 -> 38 pixels of character height.
        EXPECT_EQ(font.pixelSize(), 38);
    }
}

namespace {

// Dark pixels of `text` drawn at `points` on a 300-dpi image.
int inkOf(const QString &text, int points, bool bold)
{
    QImage img(1400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainterCanvas c(&img, 300, 300);
        FontSpec f = defaultFont();
        f.size = points;
        f.bold = bold;
        c.SetFont(f);
        c.SetBrushClear();
        c.DrawTextInRect(
            text, 0, 0, 1400, 200, LabelCanvas::HAlign::Left, LabelCanvas::VAlign::Top);
    }
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ink += qGray(img.pixel(x, y)) < 128;
    return ink;
}

} // namespace

TEST(FontFaces, BoldStaysBoldAtLargeSizes)
{
    // The IPA faces have no bold style: bold is made by thickening the
    // glyphs, small (cached) and large (outlined) alike.
    const QString text = QStringLiteral("夜明けのうた");
    for (int points : { 9, 28 }) { // 38 and 117 pixels at 300 dpi
        const int regular = inkOf(text, points, false);
        const int bold = inkOf(text, points, true);
        EXPECT_GT(bold, regular * 6 / 5) << points;
    }
}

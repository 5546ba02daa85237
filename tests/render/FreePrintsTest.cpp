#include <gtest/gtest.h>

#include <QFontMetrics>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"

using namespace cw;

namespace {

TPrintsData textItem(const QString &text, int x, int y, ColorRef color = 0, int angle = 0)
{
    TPrintsData t;
    t.kind = 0;
    t.text = text;
    t.textX = x;
    t.textY = y;
    t.angle = angle;
    t.font.color = color;
    t.font.size = 20;
    return t;
}

QStringList drawCover(LabelDocument &doc, int dpi = 300)
{
    RecordingCanvas c(dpi, dpi);
    CountingReader reader;
    if (dpi == 300)
        DrawFrontPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    else
        DrawFrontPage(c, doc, optionsOff(), dpi, dpi, 1046, 604, &reader);
    return c.lines();
}

QImage paintFront(LabelDocument &doc)
{
    QImage page(1046, 604, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainterCanvas c(&page, 96, 96);
        CountingReader reader;
        DrawFrontPage(c, doc, optionsOff(), 96, 96, 1046, 604, &reader);
    }
    return page;
}

} // namespace

TEST(DrawFreePrints, ItemsAreDrawnLastFirstSoTheFirstIsOnTop)
{
    LabelDocument doc = emptyDocument();
    doc.top.useCoverPrints = true;
    doc.coverPrints = { textItem("one", 10, 10, 0x0000FF), textItem("two", 11, 11, 0x00FF00),
        textItem("three", 12, 12, 0xFF0000) };
    QStringList got = drawCover(doc);
    QStringList texts = linesStarting(got, "DrawTextInRect");
    // trunc(1753 + 12 * 11.8115) = 1894, trunc(534 + 12 * 11.8115) = 675 ...
    EXPECT_EQ(texts,
        (QStringList { "DrawTextInRect 1894 675 3181 1944 left top three",
            "DrawTextInRect 1882 663 3181 1944 left top two",
            "DrawTextInRect 1871 652 3181 1944 left top one" }));
    // Each item sets its own font and a clear brush first.
    const int i = got.indexOf("DrawTextInRect 1871 652 3181 1944 left top one");
    EXPECT_EQ(got[i - 2], "SetFont 20 128 000000ff 0 0 0 0 ＭＳ Ｐゴシック");
    EXPECT_EQ(got[i - 1], "SetBrush clear");
}

TEST(DrawFreePrints, OverlappingTextsShowTheFirstOnTop)
{
    // The same full block at the same place in three colours: the first
    // item's colour is what stays on the page.
    LabelDocument doc = emptyDocument(96);
    doc.top.useCoverPrints = true;
    const QString block = QStringLiteral("■■");
    doc.coverPrints = { textItem(block, 10, 10, 0x0000FF), textItem(block, 10, 10, 0x00FF00),
        textItem(block, 10, 10, 0xFF0000) };
    QImage page = paintFront(doc);
    // trunc(523 + 37.797) = 560, trunc(76 + 37.797) = 113; 20 pt = 27 px.
    int red = 0, other = 0;
    for (int y = 113; y < 113 + 27; ++y)
        for (int x = 560; x < 620; ++x) {
            const QRgb p = page.pixel(x, y) & 0xFFFFFF;
            if (p == 0xFF0000)
                ++red;
            else if (p == 0x00FF00 || p == 0x0000FF)
                ++other;
        }
    EXPECT_GT(red, 300);
    EXPECT_EQ(other, 0);
}

TEST(DrawFreePrints, TextStaysOnItsFaceAndInsideItsOwnRectangle)
{
    // An inside-face text running past the fold is cut at the fold.
    LabelDocument doc = emptyDocument(96);
    doc.top.useInsidePrints = true;
    doc.insidePrints = { textItem(QString(40, QChar(u'■')), 100, 50) };
    QImage page = paintFront(doc);
    bool inkLeftOfFold = false;
    for (int y = 76; y < 526; ++y) {
        for (int x = 500; x < 523; ++x)
            inkLeftOfFold |= (page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        for (int x = 523; x < 540; ++x)
            ASSERT_EQ(page.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
    }
    EXPECT_TRUE(inkLeftOfFold);
}

TEST(DrawFreePrints, TurnedTextUsesARotatedFontClippedToTheFace)
{
    LabelDocument doc = emptyDocument();
    doc.top.useCoverPrints = true;
    doc.coverPrints = { textItem("up", 20, 30, 0, 90) };
    QStringList got = drawCover(doc);
    const int i = got.indexOf("SelectRotatedFont 900 0");
    ASSERT_GE(i, 0);
    // The whole cover face as the clip; the reference point at
    // (trunc(1753 + 236.23), trunc(534 + 354.34)).
    EXPECT_EQ(got[i + 1], "TextOutClipped 1753 534 3181 1944 1989 888 up");
    EXPECT_EQ(got[i + 2], "RestoreFont");
}

TEST(DrawFreePrints, TextAt90DegreesReadsUpwardAndIsCutAtTheFaceEdge)
{
    LabelDocument doc = emptyDocument(96);
    doc.top.useCoverPrints = true;
    // Reference point 3 mm below the face's top: the upward text of about
    // 27 px x 10 characters runs far past the top and is cut there.
    doc.coverPrints = { textItem(QString(10, QChar(u'■')), 20, 3, 0x000000FF, 90) };
    QImage page = paintFront(doc);
    const int x0 = int(523 + 20 * (96 / 25.399)); // 598
    const int y0 = int(76 + 3 * (96 / 25.399)); // 87
    QRect ink;
    for (int y = 0; y < 604; ++y)
        for (int x = 0; x < 1046; ++x)
            if (qRed(page.pixel(x, y)) > 128 && qGreen(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1); // the red text, not the black marks
    ASSERT_FALSE(ink.isEmpty());
    // Turned counter-clockwise about (x0, y0): the text's cell lies right of
    // x0 and above y0, and nothing shows above the face's top edge.
    EXPECT_GE(ink.left(), x0);
    EXPECT_LE(ink.right(), x0 + 27);
    EXPECT_LE(ink.bottom(), y0);
    EXPECT_EQ(ink.top(), 76);
}

TEST(DrawFreePrints, PictureItemsDrawWithTheirTransparentColour)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument();
    doc.top.useInsidePrints = true;
    TPrintsData pic;
    pic.kind = 1;
    pic.fileName = saveImage(dir, "item.bmp", coordinateImage(30, 20));
    pic.pixelWidth = 30;
    pic.pixelHeight = 20;
    pic.printWidth = 60;
    pic.printHeight = 40;
    pic.posX = 5;
    pic.posY = 7;
    pic.transparent = true;
    pic.transColor = 0x00FFFFFF;
    TPrintsData none; // a picture item without a file draws nothing
    none.kind = 1;
    none.printWidth = none.printHeight = 10;
    doc.insidePrints = { pic, none };
    QStringList got = drawCover(doc);
    EXPECT_EQ(linesStarting(got, "Stretch"),
        QStringList { "StretchPictureTransparent 329 541 389 581 30 20 00ffffff" });
    // The picture is clipped to the inside face's size in reference pixels.
    EXPECT_EQ(doc.insidePrints[0].cacheRect, (PixelRect { 0, 0, 30, 20 }));
    doc.insidePrints[0].posX = 1429 - 30; // half of it over the fold
    got = drawCover(doc);
    EXPECT_EQ(linesStarting(got, "Stretch"),
        QStringList { "StretchPictureTransparent 1723 541 1753 581 15 20 00ffffff" });
    EXPECT_EQ(doc.insidePrints[0].cacheRect, (PixelRect { 0, 0, 15, 20 }));
}

TEST(DrawFreePrints, TransparentPixelsLeaveTheBackgroundOnThePage)
{
    QTemporaryDir dir;
    QImage img(4, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(0, 255, 0));
    img.setPixel(2, 0, qRgb(255, 0, 0));
    img.setPixel(3, 0, qRgb(0, 0, 255));
    LabelDocument doc = emptyDocument(96);
    doc.top.backgroundColor1 = 0x00808080;
    doc.top.useCoverPrints = true;
    TPrintsData pic;
    pic.kind = 1;
    pic.fileName = saveImage(dir, "t.bmp", img);
    pic.pixelWidth = 4;
    pic.pixelHeight = 1;
    pic.printWidth = 8;
    pic.printHeight = 2;
    pic.transparent = true;
    pic.transColor = 0x000000FF; // red
    doc.coverPrints = { pic };
    QImage page = paintFront(doc);
    const int y = 76;
    EXPECT_EQ(page.pixel(523, y) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(page.pixel(524, y + 1) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(page.pixel(525, y) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(page.pixel(527, y) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(page.pixel(529, y + 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(page.pixel(531, y) & 0xFFFFFF, 0x808080u); // right of the picture
}

// Twenty kana in IPA Gothic, 12 points (50 pixels at 300 dpi, lines 54
// high), in a box of 20 x 15 mm at (10, 10) mm: four kana a line, three
// lines of five fit; each is placed by the block's alignment.
TEST(DrawFreePrints, ATextBlockDrawsTheLinesThatFitPlacedByItsAlignment)
{
    LabelDocument doc = emptyDocument();
    doc.top.useCoverPrints = true;
    TPrintsData b;
    b.kind = PrintsTextBlock;
    b.text = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    b.textX = b.textY = 10;
    b.blockWidth = 20;
    b.blockHeight = 15;
    b.lineSpacing = 100;
    b.font.name = QStringLiteral("IPAGothic");
    b.font.size = 12;
    // The box runs from trunc(1753 + 10 * 11.8115) = 1871 to trunc(1753 +
    // 30 * 11.8115) = 2107, 236 pixels; a line of four kana is 200.
    for (const auto &[align, x] : { std::pair { 0, 1871 }, { 1, 1889 }, { 2, 1907 } }) {
        b.blockAlign = align;
        doc.coverPrints = { b };
        const QString at = QStringLiteral("TextOutClipped 1753 534 3181 1944 %1 ").arg(x);
        EXPECT_EQ(linesStarting(drawCover(doc), "TextOutClipped"),
            (QStringList { at + "652 あいうえ", at + "706 おかきく", at + "760 けこさし" }))
            << align;
    }
    // The same lines at 600 dpi: the box from trunc(3507 + 10 * 23.623) =
    // 3743 to 4215, 472 pixels, lines of 400 ending at its right edge,
    // 108 pixels apart from trunc(1069 + 10 * 23.623) = 1305.
    RecordingCanvas fine(600, 600);
    CountingReader reader;
    DrawFrontPage(fine, doc, optionsOff(), 600, 600, 7014, 4960, &reader);
    const QString at = QStringLiteral("TextOutClipped 3507 1069 6364 3890 3815 ");
    EXPECT_EQ(linesStarting(fine.lines(), "TextOutClipped"),
        (QStringList { at + "1305 あいうえ", at + "1413 おかきく", at + "1521 けこさし" }));

    // The back label draws its blocks too.
    doc.coverPrints.clear();
    doc.bottom.usePrints = true;
    doc.backPrints = { b };
    RecordingCanvas back(300, 300);
    DrawBackPage(back, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    EXPECT_EQ(linesStarting(back.lines(), "TextOutClipped").size(), 3);
}

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "render/DrawFrontPage.h"
#include "canvas/RecordingCanvas.h"

using namespace cw;

namespace {

QStringList drawFront(LabelDocument &doc, const PrintOptions &o, int dpi, int w, int h,
    PictureFileReader *reader = nullptr)
{
    RecordingCanvas c(dpi, dpi);
    CountingReader quiet;
    DrawFrontPage(c, doc, o, dpi, dpi, w, h, reader ? reader : &quiet);
    return c.lines();
}

} // namespace

// 96 dpi on the preview page: W 457, H 451, L 66, T 76, R 979, B 526;
// 15 mm = 56 px, 5 mm = 18 px across and down, dash 1 px, one-pixel lines.
TEST(DrawFrontPage, EmptyPageAt96DpiIsTwoFillsEightTrimMarksAndTwoFoldMarks)
{
    LabelDocument doc = emptyDocument();
    QStringList expected = {
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 523 76 979 526", // cover face
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 66 76 523 526", // inside face
        "SetPen 00000000",
        "SetBrush 00000000",
    };
    expected << seg(66, 20, 66, 58) << seg(66, 544, 66, 582); // left edge marks
    expected << dashes(523, 20, 58, 1) << dashes(523, 544, 582, 1); // fold marks
    expected << seg(979, 20, 979, 58) << seg(979, 544, 979, 582); // right edge marks
    expected << seg(10, 76, 48, 76) << seg(997, 76, 1035, 76); // top edge marks
    expected << seg(10, 526, 48, 526) << seg(997, 526, 1035, 526); // bottom edge marks
    const QStringList got = drawFront(doc, optionsOff(), 96, 1046, 604);
    EXPECT_EQ(got, expected);
    // Eight solid trim marks, and 19 dashes above and 19 below the fold:
    // 20, 22, ..., 56 and 544, 546, ..., 580, each one pixel long.
    EXPECT_EQ(linesStarting(got, "MoveTo").size(), 8 + 19 + 19);
    EXPECT_EQ(linesStarting(got, "MoveTo 523 ").size(), 19 + 19);
    EXPECT_EQ(got[got.indexOf("MoveTo 523 56") + 1], "LineTo 523 57");
    EXPECT_EQ(got[got.indexOf("MoveTo 523 580") + 1], "LineTo 523 581");
    EXPECT_FALSE(got.contains("MoveTo 523 58"));
    EXPECT_FALSE(got.contains("MoveTo 523 582"));
}

// 300 dpi on an A4 landscape sheet (3507 x 2480): W 1429, H 1411, L 324, T 534,
// R 3181, B 1944; lines two pixels thick, 15 mm = 177 px, 5 mm = 59 px, dash 5.
TEST(DrawFrontPage, EmptyPageAt300DpiDrawsEveryFrameLineTwoPixelsThick)
{
    LabelDocument doc = emptyDocument();
    QStringList expected = {
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 1753 534 3181 1944",
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 324 534 1753 1944",
        "SetPen 00000000",
        "SetBrush 00000000",
    };
    for (int x : { 324, 325 })
        expected << seg(x, 357, x, 475) << seg(x, 2003, x, 2121);
    // The fold sits half a line left of L + W = 1753.
    for (int x : { 1752, 1753 })
        expected << dashes(x, 357, 475, 5) << dashes(x, 2003, 2121, 5);
    for (int x : { 3180, 3181 })
        expected << seg(x, 357, x, 475) << seg(x, 2003, x, 2121);
    for (int y : { 534, 535 })
        expected << seg(147, y, 265, y) << seg(3240, y, 3358, y);
    for (int y : { 1943, 1944 })
        expected << seg(147, y, 265, y) << seg(3240, y, 3358, y);
    const QStringList got = drawFront(doc, optionsOff(), 300, 3507, 2480);
    EXPECT_EQ(got, expected);
    // 12 dashes per column above the fold: 357, 367, ..., 467, the last
    // reaching 472 (not shortened); 12 below: 2003, 2013, ..., 2113, the
    // last reaching 2118.
    for (int x : { 1752, 1753 }) {
        EXPECT_EQ(linesStarting(got, QStringLiteral("MoveTo %1 ").arg(x)).size(), 12 + 12) << x;
        EXPECT_EQ(got[got.indexOf(QStringLiteral("MoveTo %1 467").arg(x)) + 1],
            QStringLiteral("LineTo %1 472").arg(x));
        EXPECT_EQ(got[got.indexOf(QStringLiteral("MoveTo %1 2113").arg(x)) + 1],
            QStringLiteral("LineTo %1 2118").arg(x));
        EXPECT_FALSE(got.contains(QStringLiteral("MoveTo %1 477").arg(x)));
    }
}

TEST(DrawFrontPage, BoundaryAndFoldLinesFollowTheirOptions)
{
    LabelDocument doc = emptyDocument();
    PrintOptions o = optionsOff();
    o.boundaryLines = true;
    QStringList got = drawFront(doc, o, 96, 1046, 604);
    // Each edge: the boundary line comes first, then the edge's two marks.
    int left = got.indexOf("MoveTo 66 76");
    ASSERT_GE(left, 0);
    EXPECT_EQ(got[left + 1], "LineTo 66 526");
    EXPECT_EQ(got[left + 2], "MoveTo 66 20");
    EXPECT_TRUE(got.contains("MoveTo 979 76"));
    EXPECT_EQ(got[got.indexOf("MoveTo 66 526") + 1], "LineTo 979 526"); // bottom edge
    EXPECT_EQ(got[got.indexOf("MoveTo 66 76", left + 1) + 1], "LineTo 979 76"); // top edge
    EXPECT_FALSE(got.contains("MoveTo 523 76")); // no fold line

    o = optionsOff();
    o.foldLines = true;
    got = drawFront(doc, o, 96, 1046, 604);
    // The fold line: dashes from T while y < B, the last one cut at B.
    const QStringList fold = dashes(523, 76, 526, 1);
    const int first = got.indexOf("MoveTo 523 76");
    ASSERT_GE(first, 0);
    EXPECT_EQ(got.mid(first, fold.size()), fold);
    // 225 pieces, 76, 78, ..., 524, besides the 19 + 19 marks above and below.
    EXPECT_EQ(linesStarting(got, "MoveTo 523 ").size(), 225 + 19 + 19);
    EXPECT_EQ(got[got.indexOf("MoveTo 523 524") + 1], "LineTo 523 525");
    EXPECT_FALSE(got.contains("MoveTo 523 526"));
    EXPECT_FALSE(got.contains("MoveTo 66 76"));
}

TEST(DrawFrontPage, FoldLinePieceIsShortenedAtTheBottom)
{
    // 600 dpi: W 2858, H 2822, L 649, T 1069, B 3890, dash 11, four-pixel
    // lines with the fold two pixels left of L + W, at x = 3505. Pieces
    // start at 1069 + 22 n: n = 128 gives 3885, the last below B (3907 is
    // past it), and that piece is cut at B, 5 pixels long instead of 11.
    LabelDocument doc = emptyDocument();
    PrintOptions o = optionsOff();
    o.foldLines = true;
    QStringList got = drawFront(doc, o, 600, 7014, 4960);
    const int before = got.indexOf("MoveTo 3505 3863");
    ASSERT_GE(before, 0);
    EXPECT_EQ(got[before + 1], "LineTo 3505 3874"); // a whole piece
    const int i = got.indexOf("MoveTo 3505 3885");
    ASSERT_GE(i, 0);
    EXPECT_EQ(got[i + 1], "LineTo 3505 3890"); // min(3885 + 11, B)
    EXPECT_FALSE(got.contains("MoveTo 3505 3907"));
    // 129 pieces (n = 0 ... 128) on each of the line's four columns, 3505 to 3508.
    for (int x : { 3505, 3506, 3507, 3508 }) {
        QStringList pieces;
        for (const QString &l : linesStarting(got, QStringLiteral("MoveTo %1 ").arg(x)))
            if (const int y = l.section(' ', 2).toInt(); y >= 1069 && y < 3890)
                pieces << l;
        EXPECT_EQ(pieces.size(), 129) << x;
    }
}

namespace {

LabelDocument titledDocument(int mode, bool useX = false, int cx = 0, bool useY = false, int cy = 0)
{
    LabelDocument doc = emptyDocument();
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("下");
    doc.top.title.posMode = TitlePosition(mode);
    doc.top.title.customXUse = useX;
    doc.top.title.customX = cx;
    doc.top.title.customYUse = useY;
    doc.top.title.customY = cy;
    return doc;
}

QStringList titleLines(LabelDocument doc)
{
    return linesStarting(drawFront(doc, optionsOff(), 300, 3507, 2480), "DrawTextInRect");
}

} // namespace

// At 300 dpi the cover face spans 1753 .. 3181, T 534 .. B 1944; 5 mm = 59 px.
TEST(DrawFrontPage, TitleModesOnTheCoverFace)
{
    EXPECT_EQ(titleLines(titledDocument(0)),
        QStringList { "DrawTextInRect 1753 593 3181 1885 center top 下" });
    EXPECT_EQ(titleLines(titledDocument(1)),
        QStringList { "DrawTextInRect 1753 593 3181 1885 center center 下" });
    // "下": the text's bottom sits 5.0 mm above the face's bottom edge.
    EXPECT_EQ(titleLines(titledDocument(2)),
        QStringList { "DrawTextInRect 1753 593 3181 1885 center bottom 下" });
    // Custom: x = trunc(1753 + 10 * 11.8115) = 1871; y = 534 + trunc(20 * 11.8115) = 770.
    EXPECT_EQ(titleLines(titledDocument(3, true, 10, true, 20)),
        QStringList { "DrawTextInRect 1871 770 3181 1944 left top 下" });
    EXPECT_EQ(titleLines(titledDocument(3, true, 10, false, 20)),
        QStringList { "DrawTextInRect 1871 534 3181 1944 left center 下" });
    // Only "縦": centred across the whole cover face.
    EXPECT_EQ(titleLines(titledDocument(3, false, 10, true, 20)),
        QStringList { "DrawTextInRect 1753 770 3181 1944 center top 下" });
    // Neither: nothing is drawn, though the font and brush are still set.
    LabelDocument neither = titledDocument(3, false, 10, false, 20);
    QStringList none = drawFront(neither, optionsOff(), 300, 3507, 2480);
    EXPECT_TRUE(linesStarting(none, "DrawTextInRect").isEmpty());
    EXPECT_EQ(linesStarting(none, "SetFont").size(), 1);
}

TEST(DrawFrontPage, CustomTitleAddsTheOriginAsARealNumber)
{
    // At 96 dpi the cover starts at 523 and 7 mm is 26.458 px:
    // x = trunc(523 + 26.458) = 549, y = 76 + trunc(26.458) = 102.
    LabelDocument doc = titledDocument(3, true, 7, true, 7);
    QStringList got = linesStarting(drawFront(doc, optionsOff(), 96, 1046, 604), "DrawTextInRect");
    EXPECT_EQ(got, QStringList { "DrawTextInRect 549 102 979 526 left top 下" });
}

TEST(DrawFrontPage, TitleIsNotDrawnWhenSwitchedOff)
{
    LabelDocument doc = titledDocument(1);
    doc.top.title.use = false;
    QStringList got = drawFront(doc, optionsOff(), 300, 3507, 2480);
    EXPECT_TRUE(linesStarting(got, "DrawTextInRect").isEmpty());
    EXPECT_TRUE(linesStarting(got, "SetFont").isEmpty());
}

TEST(DrawFrontPage, LayerOrderIsBackgroundPicturePrintsTitleFrame)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument();
    doc.top.backgroundColor1 = 0x00112233;
    doc.top.backgroundColor2 = 0x00445566;
    doc.top.picture.use = true;
    doc.top.picture.fileName = saveImage(dir, "p.bmp", coordinateImage(100, 100));
    doc.top.picture.pixelWidth = doc.top.picture.pixelHeight = 100;
    doc.top.picture.printWidth = doc.top.picture.printHeight = 300;
    doc.top.useCoverPrints = true;
    doc.top.useInsidePrints = true;
    TPrintsData cover;
    cover.text = "cover";
    doc.coverPrints = { cover };
    TPrintsData inside;
    inside.text = "inside";
    doc.insidePrints = { inside };
    doc.top.title.use = true;
    doc.top.title.text = "title";
    QStringList got = drawFront(doc, optionsOff(), 300, 3507, 2480);
    auto at = [&](const QString &prefix) {
        for (int i = 0; i < got.size(); ++i)
            if (got[i].startsWith(prefix))
                return i;
        return -1;
    };
    EXPECT_EQ(got[0], "SetPen 00112233");
    EXPECT_EQ(got[3], "SetPen 00445566");
    EXPECT_LT(at("SetPen 00000000"), at("StretchPicture"));
    EXPECT_LT(at("StretchPicture"), at("DrawTextInRect 1753 534 3181 1944 left top cover"));
    EXPECT_LT(
        at("DrawTextInRect 1753 534"), at("DrawTextInRect 324 534 1753 1944 left top inside"));
    EXPECT_LT(
        at("DrawTextInRect 324 534"), at("DrawTextInRect 1753 593 3181 1885 center center title"));
    EXPECT_LT(at("DrawTextInRect 1753 593"), at("MoveTo"));
    // The picture lands at the cover face's origin, 300 reference pixels square.
    EXPECT_EQ(linesStarting(got, "StretchPicture"),
        QStringList { "StretchPicture 1753 534 2053 834 100 100" });
}

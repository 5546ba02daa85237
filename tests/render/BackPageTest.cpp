#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "render/DrawBackPage.h"
#include "canvas/RecordingCanvas.h"

using namespace cw;

namespace {

QStringList drawBack(LabelDocument &doc, const PrintOptions &o, int dpi = 300, int w = 3507,
    int h = 2480, PictureFileReader *reader = nullptr)
{
    RecordingCanvas c(dpi, dpi);
    CountingReader quiet;
    DrawBackPage(c, doc, o, dpi, dpi, w, h, reader ? reader : &quiet);
    return c.lines();
}

// Records like RecordingCanvas, but measures text by a rule that makes the
// positions worked out by hand: each character is as wide as the cell height
// of the turned font selected, and text measured with no turned font
// selected is 0 wide.
class CellWideCanvas : public RecordingCanvas
{
public:
    using RecordingCanvas::RecordingCanvas;
    int TextWidth(const QString &text) override
    {
        return m_cells.isEmpty() ? 0 : int(text.size()) * m_cells.last();
    }
    void SelectRotatedFont(int escapement, int cellHeight) override
    {
        RecordingCanvas::SelectRotatedFont(escapement, cellHeight);
        m_cells.append(cellHeight);
    }
    void RestoreFont() override
    {
        RecordingCanvas::RestoreFont();
        if (!m_cells.isEmpty())
            m_cells.removeLast();
    }

private:
    QList<int> m_cells;
};

} // namespace

// 96 dpi on the preview page: H 444, T 80, B 523, L 240, X1 262, X2 783, X3 805.
TEST(DrawBackPage, EmptyPageAt96DpiIsThreeFillsEightTrimMarksAndFourFoldMarks)
{
    LabelDocument doc = emptyDocument();
    QStringList expected = {
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 240 80 262 523", // left spine
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 262 80 783 523", // back label
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 783 80 805 523", // right spine
        "SetPen 00000000",
        "SetBrush 00000000",
    };
    expected << seg(240, 24, 240, 62) << seg(240, 541, 240, 579);
    expected << dashes(262, 24, 62, 1) << dashes(262, 541, 579, 1);
    expected << dashes(783, 24, 62, 1) << dashes(783, 541, 579, 1);
    expected << seg(805, 24, 805, 62) << seg(805, 541, 805, 579);
    expected << seg(184, 80, 222, 80) << seg(823, 80, 861, 80);
    expected << seg(184, 523, 222, 523) << seg(823, 523, 861, 523);
    EXPECT_EQ(drawBack(doc, optionsOff(), 96, 1046, 604), expected);
}

// 300 dpi on A4 landscape: H 1387, T 546, B 1932, L 868, X1 938, X2 2567, X3 2637.
TEST(DrawBackPage, EmptyPageAt300DpiWithEveryLine)
{
    LabelDocument doc = emptyDocument();
    PrintOptions o = optionsOff();
    o.boundaryLines = true;
    o.foldLines = true;
    QStringList expected = {
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 868 546 938 1932",
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 938 546 2567 1932",
        "SetPen 00ffffff",
        "SetBrush 00ffffff",
        "Rectangle 2567 546 2637 1932",
        "SetPen 00000000",
        "SetBrush 00000000",
    };
    for (int x : { 868, 869 })
        expected << seg(x, 546, x, 1932) << seg(x, 369, x, 487) << seg(x, 1991, x, 2109);
    for (int x : { 937, 938, 2566, 2567 }) // both folds, half a line left of X1 and X2
        expected << dashes(x, 546, 1932, 5) << dashes(x, 369, 487, 5) << dashes(x, 1991, 2109, 5);
    // The right boundary line ends on column X3 itself.
    for (int x : { 2636, 2637 })
        expected << seg(x, 546, x, 1932) << seg(x, 369, x, 487) << seg(x, 1991, x, 2109);
    for (int y : { 546, 547, 1931, 1932 })
        expected << seg(868, y, 2637, y) << seg(691, y, 809, y) << seg(2696, y, 2814, y);
    EXPECT_EQ(drawBack(doc, o), expected);
}

namespace {
LabelDocument backTitled(int mode, bool useX = false, int cx = 0, bool useY = false, int cy = 0)
{
    LabelDocument doc = emptyDocument();
    doc.bottom.title.use = true;
    doc.bottom.title.text = QStringLiteral("裏");
    doc.bottom.title.posMode = TitlePosition(mode);
    doc.bottom.title.customXUse = useX;
    doc.bottom.title.customX = cx;
    doc.bottom.title.customYUse = useY;
    doc.bottom.title.customY = cy;
    return doc;
}
QStringList texts(LabelDocument doc)
{
    return linesStarting(drawBack(doc, optionsOff()), "DrawTextInRect");
}
} // namespace

TEST(DrawBackPage, BackTitleModesLieBetweenTheFolds)
{
    // Inset: (X1 - 1 + 2, T + 59, X2 - 1, B - 59).
    EXPECT_EQ(
        texts(backTitled(0)), QStringList { "DrawTextInRect 939 605 2566 1873 center top 裏" });
    EXPECT_EQ(
        texts(backTitled(1)), QStringList { "DrawTextInRect 939 605 2566 1873 center center 裏" });
    EXPECT_EQ(
        texts(backTitled(2)), QStringList { "DrawTextInRect 939 605 2566 1873 center bottom 裏" });
    // trunc(938 + 5 * 11.8115) = 997; 546 + trunc(30 * 11.8115) = 546 + 354.
    EXPECT_EQ(texts(backTitled(3, true, 5, true, 30)),
        QStringList { "DrawTextInRect 997 900 2567 1932 left top 裏" });
    EXPECT_EQ(texts(backTitled(3, true, 5, false, 30)),
        QStringList { "DrawTextInRect 997 546 2567 1932 left center 裏" });
    EXPECT_EQ(texts(backTitled(3, false, 5, true, 30)),
        QStringList { "DrawTextInRect 938 900 2567 1932 center top 裏" });
    EXPECT_TRUE(texts(backTitled(3, false, 5, false, 30)).isEmpty());
}

TEST(DrawBackPage, BackTitleLinkedToTheFrontFollowsTheFrontSwitch)
{
    LabelDocument doc = backTitled(1);
    doc.bottom.titleSameAsFront = true;
    doc.top.title.use = false;
    EXPECT_TRUE(texts(doc).isEmpty());
    doc.top.title.use = true;
    EXPECT_EQ(texts(doc).size(), 1);
    // Unlinked, the front's switch does not matter.
    doc.bottom.titleSameAsFront = false;
    doc.top.title.use = false;
    EXPECT_EQ(texts(doc).size(), 1);
}

namespace {
LabelDocument spineTitled(int mode, int offset = 0)
{
    LabelDocument doc = emptyDocument();
    for (SurfaceSettings *s : { &doc.left, &doc.right }) {
        s->title.use = true;
        s->title.posMode = TitlePosition(mode);
        s->title.offset = offset;
        s->title.font.size = 40; // the spine decides the height, not the points
    }
    doc.left.title.text = QStringLiteral("LEFT SPINE");
    doc.right.title.text = QStringLiteral("RIGHT SPINE");
    return doc;
}
QStringList onlySpineLines(const QStringList &lines)
{
    QStringList out;
    for (const QString &l : lines)
        if (l.startsWith("SelectRotatedFont") || l.startsWith("TextOutClipped")
            || l.startsWith("RestoreFont"))
            out << l;
    return out;
}
QStringList spineLines(LabelDocument doc, bool same = false)
{
    PrintOptions o = optionsOff();
    o.spinesSameDirection = same;
    return onlySpineLines(drawBack(doc, o));
}
// The spine lines with text measured by CellWideCanvas: at 300 dpi a
// character is 47 px, "LEFT SPINE" 470 px and "RIGHT SPINE" 517 px.
QStringList spineLinesCellWide(LabelDocument doc)
{
    CellWideCanvas c(300, 300);
    CountingReader quiet;
    DrawBackPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &quiet);
    return onlySpineLines(c.lines());
}
} // namespace

// Spines at 300 dpi: 70 px wide; the cell is 70 - trunc(2 mm) = 70 - 23 = 47.
// 1 mm = 11 px, 2 mm = 23 px down; the clip is 1 mm inside each spine:
// left (879, 557, 927, 1921), right (2578, 557, 2626, 1921).
TEST(DrawBackPage, SpineTitlesReadUpOnTheLeftAndDownOnTheRight)
{
    EXPECT_EQ(spineLines(spineTitled(0)),
        (QStringList { "SelectRotatedFont 900 47",
            "TextOutClipped 879 557 927 1921 879 1921 LEFT SPINE", "RestoreFont",
            "SelectRotatedFont 2700 47", "TextOutClipped 2578 557 2626 1921 2626 557 RIGHT SPINE",
            "RestoreFont" }));
}

TEST(DrawBackPage, SpinesInTheSameDirectionBothReadDownward)
{
    EXPECT_EQ(spineLines(spineTitled(0), true),
        (QStringList { "SelectRotatedFont 2700 47",
            "TextOutClipped 879 557 927 1921 927 557 LEFT SPINE", "RestoreFont",
            "SelectRotatedFont 2700 47", "TextOutClipped 2578 557 2626 1921 2626 557 RIGHT SPINE",
            "RestoreFont" }));
}

// The spine runs from 546 to 1932, 1386 px; the clip and the start sit 1 mm
// (11 px) inside its ends, 557 and 1921.
TEST(DrawBackPage, SpineTitleModesCentreAndEnd)
{
    // "中央": the left title starts (1386 - 470) / 2 = 458 above 1921; the
    // right one (1386 - 517) / 2 = 434 (434.5 truncated) below 557.
    QStringList got = spineLinesCellWide(spineTitled(1));
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[1], "TextOutClipped 879 557 927 1921 879 1463 LEFT SPINE");
    EXPECT_EQ(got[4], "TextOutClipped 2578 557 2626 1921 2626 991 RIGHT SPINE");
    // "下": the text ends 2 mm (23 px) from the end where reading ends:
    // 546 + 23 + 470 on the left, 1932 - 23 - 517 on the right.
    got = spineLinesCellWide(spineTitled(2));
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[1], "TextOutClipped 879 557 927 1921 879 1039 LEFT SPINE");
    EXPECT_EQ(got[4], "TextOutClipped 2578 557 2626 1921 2626 1392 RIGHT SPINE");

    // With the fonts themselves, one text on both spines: whatever its width
    // w, the left start is 1921 - d and the right one 557 + d in the middle
    // (d = (1386 - w) / 2), and 569 + w and 1909 - w at the end, so the two
    // starts add up to 2478 in both modes.
    for (int mode : { 1, 2 }) {
        LabelDocument doc = spineTitled(mode);
        doc.left.title.text = doc.right.title.text = QStringLiteral("SPINE");
        got = spineLines(doc);
        ASSERT_EQ(got.size(), 6);
        const int left = got[1].section(' ', 6, 6).toInt();
        const int right = got[4].section(' ', 6, 6).toInt();
        EXPECT_EQ(left + right, 2478) << mode;
        EXPECT_GT(mode == 1 ? 1921 - left : left - 569, 0) << mode; // the text has a width
    }
}

TEST(DrawBackPage, SpineTitleWithOffsetTenStartsElevenMillimetresIn)
{
    // 1 mm inset (11 px) plus trunc(10 * 11.8115) = 118 px.
    QStringList got = spineLines(spineTitled(3, 10));
    EXPECT_EQ(got[1], "TextOutClipped 879 557 927 1921 879 1803 LEFT SPINE");
    EXPECT_EQ(got[4], "TextOutClipped 2578 557 2626 1921 2626 675 RIGHT SPINE");
}

TEST(DrawBackPage, LongSpineTitleCentredStaysNearTheMiddle)
{
    LabelDocument doc = spineTitled(1);
    doc.right.title.text = QString(59, QChar(u'長'));
    // 59 characters of 47 px, 2773 px: longer than the spine's 1386. A
    // negative half difference, (1386 - 2773) / 2 = -693 (-693.5 truncated
    // toward zero), moves the start above the top: 557 - 693 = -136. The
    // clip cuts both ends 1 mm inside the spine; the text's middle, -136 +
    // 1386 = 1250, is the spine's middle 1239 moved by the 1 mm inset.
    QStringList got = spineLinesCellWide(doc);
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[4], "TextOutClipped 2578 557 2626 1921 2626 -136 " + doc.right.title.text);
}

TEST(DrawBackPage, LinkedSpineTitlesFollowTheTitleTheyCopy)
{
    LabelDocument doc = spineTitled(0);
    doc.top.title.use = false;
    doc.right.titleSameAsLeft = true;
    doc.left.title.use = false;
    EXPECT_TRUE(spineLines(doc).isEmpty());
    doc.left.title.use = true;
    EXPECT_EQ(spineLines(doc).size(), 6);
    // Linked to the front: off while the front title is off.
    doc.left.titleSameAsFront = true;
    EXPECT_EQ(spineLines(doc).size(), 3); // the right one still prints
    doc.right.titleSameAsFront = true;
    EXPECT_TRUE(spineLines(doc).isEmpty());
    doc.top.title.use = true;
    EXPECT_EQ(spineLines(doc).size(), 6);
}

TEST(DrawBackPage, LinkedPicturesAreNotPrintedWhileTheLeaderIsOff)
{
    QTemporaryDir dir;
    const QString file = saveImage(dir, "p.bmp", coordinateImage(40, 40));
    LabelDocument doc = emptyDocument();
    for (PicturePlacement *p : { &doc.bottom.picture, &doc.left.picture, &doc.right.picture }) {
        p->use = true;
        p->fileName = file;
        p->pixelWidth = p->pixelHeight = 40;
        p->printWidth = p->printHeight = 40;
    }
    doc.bottom.pictureSameAsFront = true;
    doc.right.pictureSameAsLeft = true;
    doc.top.picture.use = false;
    doc.left.picture.use = false;
    EXPECT_TRUE(linesStarting(drawBack(doc, optionsOff()), "StretchPicture").isEmpty());
    doc.top.picture.use = true;
    doc.left.picture.use = true;
    EXPECT_EQ(linesStarting(drawBack(doc, optionsOff()), "StretchPicture"),
        (QStringList { "StretchPicture 938 546 978 586 40 40",
            "StretchPicture 868 546 908 586 40 40", "StretchPicture 2567 546 2607 586 40 40" }));
    // Links off: each follows its own switch only.
    doc.bottom.pictureSameAsFront = false;
    doc.right.pictureSameAsLeft = false;
    doc.top.picture.use = false;
    doc.left.picture.use = false;
    EXPECT_EQ(linesStarting(drawBack(doc, optionsOff()), "StretchPicture").size(), 2);
}

TEST(DrawBackPage, SpinePictureNeedsAPictureButNotAName)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument();
    doc.left.picture.use = true;
    doc.left.picture.fileName = saveImage(dir, "p.bmp", coordinateImage(10, 10));
    doc.left.picture.printWidth = doc.left.picture.printHeight = 10;
    // pixelWidth 0: nothing loaded, nothing drawn.
    EXPECT_TRUE(linesStarting(drawBack(doc, optionsOff()), "StretchPicture").isEmpty());
    doc.left.picture.pixelWidth = doc.left.picture.pixelHeight = 10;
    EXPECT_EQ(linesStarting(drawBack(doc, optionsOff()), "StretchPicture").size(), 1);
    // The back picture needs its file name.
    doc.bottom.picture = doc.left.picture;
    doc.bottom.picture.fileName.clear();
    EXPECT_EQ(linesStarting(drawBack(doc, optionsOff()), "StretchPicture").size(), 1);
}

TEST(DrawBackPage, BackPrintsFollowTheirSwitch)
{
    LabelDocument doc = emptyDocument();
    TPrintsData t;
    t.text = "back";
    t.textX = 2;
    t.textY = 3;
    doc.backPrints = { t };
    EXPECT_TRUE(linesStarting(drawBack(doc, optionsOff()), "DrawTextInRect").isEmpty());
    doc.bottom.usePrints = true;
    // trunc(938 + 2 * 11.8115) = 961, trunc(546 + 3 * 11.8115) = 581.
    EXPECT_EQ(linesStarting(drawBack(doc, optionsOff()), "DrawTextInRect"),
        QStringList { "DrawTextInRect 961 581 2567 1932 left top back" });
}

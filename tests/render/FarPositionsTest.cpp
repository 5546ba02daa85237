#include <gtest/gtest.h>

#include <limits>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"

using namespace cw;

// Positions read from a document file are not range-checked; values far off
// the page must still give defined coordinates (cut to the int range) rather
// than overflow.

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

QStringList front(LabelDocument &doc)
{
    RecordingCanvas c(300, 300);
    CountingReader reader;
    DrawFrontPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    return c.lines();
}

QStringList back(LabelDocument &doc)
{
    RecordingCanvas c(300, 300);
    CountingReader reader;
    DrawBackPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    return c.lines();
}

LabelDocument coverText(int x, int y, int angle)
{
    LabelDocument doc = emptyDocument();
    doc.top.useCoverPrints = true;
    TPrintsData t;
    t.kind = 0;
    t.text = QStringLiteral("T");
    t.textX = x;
    t.textY = y;
    t.angle = angle;
    doc.coverPrints.append(t);
    return doc;
}

} // namespace

// The cover face at 300 dpi: 1753 .. 3181, T 534, B 1944.
TEST(FarPositions, FreePrintTextBeyondTheIntRangeIsCutToIt)
{
    LabelDocument far = coverText(kMax, kMax, 0);
    EXPECT_EQ(linesStarting(front(far), "DrawTextInRect"),
        QStringList { "DrawTextInRect 2147483647 2147483647 3181 1944 left top T" });
    LabelDocument before = coverText(kMin, kMin, 0);
    EXPECT_EQ(linesStarting(front(before), "DrawTextInRect"),
        QStringList { "DrawTextInRect -2147483648 -2147483648 3181 1944 left top T" });
    LabelDocument turned = coverText(kMax, kMax, 90);
    EXPECT_EQ(linesStarting(front(turned), "TextOutClipped"),
        QStringList { "TextOutClipped 1753 534 3181 1944 2147483647 2147483647 T" });
}

TEST(FarPositions, HugeTextAngleTurnsByItsRemainderOfAFullCircle)
{
    // 2147483647 = 5965232 * 360 + 127; -2147483648 = -5965232 * 360 - 128.
    LabelDocument big = coverText(0, 0, kMax);
    EXPECT_EQ(
        linesStarting(front(big), "SelectRotatedFont"), QStringList { "SelectRotatedFont 1270 0" });
    LabelDocument negative = coverText(0, 0, kMin);
    EXPECT_EQ(linesStarting(front(negative), "SelectRotatedFont"),
        QStringList { "SelectRotatedFont -1280 0" });
    // Ordinary angles keep their tenths of a degree.
    LabelDocument ordinary = coverText(0, 0, 359);
    EXPECT_EQ(linesStarting(front(ordinary), "SelectRotatedFont"),
        QStringList { "SelectRotatedFont 3590 0" });
}

TEST(FarPositions, CustomTitlePositionBeyondTheIntRangeIsCutToIt)
{
    LabelDocument doc = emptyDocument();
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("表");
    doc.top.title.posMode = TitlePosition::Custom;
    doc.top.title.customXUse = true;
    doc.top.title.customX = kMax;
    doc.top.title.customYUse = true;
    doc.top.title.customY = kMax;
    EXPECT_EQ(linesStarting(front(doc), "DrawTextInRect"),
        QStringList { "DrawTextInRect 2147483647 2147483647 3181 1944 left top 表" });
    doc.top.title.customX = kMin;
    doc.top.title.customY = kMin;
    EXPECT_EQ(linesStarting(front(doc), "DrawTextInRect"),
        QStringList { "DrawTextInRect -2147483648 -2147483648 3181 1944 left top 表" });
}

// Spines at 300 dpi: left 868 .. 938, right 2567 .. 2637, T 546, B 1932.
TEST(FarPositions, SpineTitleOffsetBeyondTheIntRangeIsCutToIt)
{
    LabelDocument doc = emptyDocument();
    for (SurfaceSettings *s : { &doc.left, &doc.right }) {
        s->title.use = true;
        s->title.text = QStringLiteral("S");
        s->title.posMode = TitlePosition::Custom;
        s->title.offset = kMax;
    }
    // Upward from the bottom: far above the top; downward from the top: far below.
    EXPECT_EQ(linesStarting(back(doc), "TextOutClipped"),
        (QStringList { "TextOutClipped 879 557 927 1921 879 -2147483648 S",
            "TextOutClipped 2578 557 2626 1921 2626 2147483647 S" }));
    for (SurfaceSettings *s : { &doc.left, &doc.right })
        s->title.offset = kMin;
    EXPECT_EQ(linesStarting(back(doc), "TextOutClipped"),
        (QStringList { "TextOutClipped 879 557 927 1921 879 2147483647 S",
            "TextOutClipped 2578 557 2626 1921 2626 -2147483648 S" }));
}

namespace {

// Draws with `draw` on a white 200 x 60 image at 96 dpi.
template<typename Draw> QImage painted(Draw draw)
{
    QImage img(200, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainterCanvas c(&img, 96, 96);
        FontSpec f = defaultFont();
        f.size = 20;
        f.color = 0;
        c.SetFont(f);
        c.SetBrushClear();
        c.SetPen(0);
        c.SetBrush(0);
        draw(c);
    }
    return img;
}

int darkPixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

} // namespace

// A rectangle reaching to the far end of the int range is drawn as far as
// the image shows it, exactly as one that starts at the image's edge.
TEST(FarPositions, PainterCanvasDrawsRectanglesReachingFarOff)
{
    const QImage near = painted([](QPainterCanvas &c) { c.Rectangle(0, 10, 100, 20); });
    const QImage far = painted([](QPainterCanvas &c) { c.Rectangle(kMin, 10, 100, 20); });
    EXPECT_EQ(darkPixels(near), 100 * 10);
    EXPECT_EQ(far, near);
    const QImage wide = painted([](QPainterCanvas &c) { c.Rectangle(kMin, 10, kMax, 20); });
    EXPECT_EQ(darkPixels(wide), 200 * 10);
}

TEST(FarPositions, PainterCanvasPlacesTextInARectReachingFarOff)
{
    // Right-aligned text ends at the rectangle's right edge wherever its left
    // edge lies.
    const QImage near = painted([](QPainterCanvas &c) {
        c.DrawTextInRect(QStringLiteral("WW"), 0, 0, 150, 60, LabelCanvas::HAlign::Right,
            LabelCanvas::VAlign::Top);
    });
    const QImage far = painted([](QPainterCanvas &c) {
        c.DrawTextInRect(QStringLiteral("WW"), kMin, 0, 150, 60, LabelCanvas::HAlign::Right,
            LabelCanvas::VAlign::Top);
    });
    EXPECT_GT(darkPixels(near), 50);
    EXPECT_EQ(far, near);
    // Clipped text whose clip rectangle starts far off.
    const QImage clippedNear = painted(
        [](QPainterCanvas &c) { c.TextOutClipped(0, 0, 150, 60, 10, 5, QStringLiteral("WW")); });
    const QImage clippedFar = painted([](QPainterCanvas &c) {
        c.TextOutClipped(kMin, kMin, 150, 60, 10, 5, QStringLiteral("WW"));
    });
    EXPECT_GT(darkPixels(clippedNear), 50);
    EXPECT_EQ(clippedFar, clippedNear);
    // A line from far off to the right edge of the image.
    const QImage line = painted([](QPainterCanvas &c) {
        c.MoveTo(kMin, 30);
        c.LineTo(kMax, 30);
    });
    EXPECT_EQ(darkPixels(line), 200);
}

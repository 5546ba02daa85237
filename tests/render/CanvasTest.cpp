#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"

using namespace cw;

namespace {

QImage whiteImage(int w, int h, int dpi = 96)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int dpm = int(dpi / 0.0254 + 0.5);
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    return img;
}

bool isWhite(const QImage &img, int x, int y)
{
    return (img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
}

// The bounding box of the non-white pixels.
QRect inkBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!isWhite(img, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(QPainterCanvas, RectangleFillsExactlyToTheExclusiveEdges)
{
    QImage img = whiteImage(20, 20);
    {
        QPainterCanvas c(&img, 96, 96);
        c.SetPen(0x000000FF);
        c.SetBrush(0x000000FF);
        c.Rectangle(3, 4, 10, 12);
    }
    EXPECT_EQ(inkBox(img), QRect(QPoint(3, 4), QPoint(9, 11)));
    EXPECT_EQ(img.pixel(3, 4) & 0xFFFFFF, 0xFF0000u); // 0x000000FF is red
    EXPECT_TRUE(isWhite(img, 10, 11));
    EXPECT_TRUE(isWhite(img, 9, 12));
}

TEST(QPainterCanvas, LineToLeavesItsEndPixelUnset)
{
    QImage img = whiteImage(20, 20);
    {
        QPainterCanvas c(&img, 96, 96);
        c.SetPen(0);
        c.MoveTo(2, 5);
        c.LineTo(12, 5); // across
        c.MoveTo(15, 2);
        c.LineTo(15, 9); // down
        c.MoveTo(8, 18);
        c.LineTo(3, 18); // leftward
    }
    EXPECT_FALSE(isWhite(img, 2, 5));
    EXPECT_FALSE(isWhite(img, 11, 5));
    EXPECT_TRUE(isWhite(img, 12, 5));
    EXPECT_FALSE(isWhite(img, 15, 8));
    EXPECT_TRUE(isWhite(img, 15, 9));
    EXPECT_FALSE(isWhite(img, 8, 18));
    EXPECT_FALSE(isWhite(img, 4, 18));
    EXPECT_TRUE(isWhite(img, 3, 18));
    // Nothing but the lines was drawn.
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ink += !isWhite(img, x, y);
    EXPECT_EQ(ink, 10 + 7 + 5);
}

TEST(QPainterCanvas, StretchingIsNearestNeighbourWithHardEdges)
{
    QImage src(2, 2, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(255, 0, 0));
    src.setPixel(1, 0, qRgb(0, 255, 0));
    src.setPixel(0, 1, qRgb(0, 0, 255));
    src.setPixel(1, 1, qRgb(0, 0, 0));
    QImage img = whiteImage(10, 10);
    {
        QPainterCanvas c(&img, 96, 96);
        c.StretchPicture(src, 1, 1, 6, 6);
    }
    // x 0..4 of the 5-pixel destination: source columns 0,0,0,1,1 (x * 2 / 5).
    const QRgb expected[5][5] = {
        { 0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00 },
        { 0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00 },
        { 0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00 },
        { 0x0000FF, 0x0000FF, 0x0000FF, 0x000000, 0x000000 },
        { 0x0000FF, 0x0000FF, 0x0000FF, 0x000000, 0x000000 },
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img.pixel(1 + x, 1 + y) & 0xFFFFFF, expected[y][x]) << x << "," << y;
    EXPECT_EQ(inkBox(img), QRect(1, 1, 5, 5));
}

TEST(QPainterCanvas, AlphaIsDroppedNotBlended)
{
    QImage src(1, 1, QImage::Format_ARGB32);
    src.setPixel(0, 0, qRgba(10, 20, 30, 0));
    QImage img = whiteImage(4, 4);
    {
        QPainterCanvas c(&img, 96, 96);
        c.StretchPicture(src, 0, 0, 2, 2);
    }
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0x0A141Eu);
}

TEST(QPainterCanvas, TransparentStretchLeavesTheTransparentColourUntouched)
{
    QImage src(2, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(0, 0, 0)); // the transparent colour
    src.setPixel(1, 0, qRgb(0, 128, 255));
    QImage img = whiteImage(8, 4);
    img.setPixel(1, 1, qRgb(200, 100, 50));
    {
        QPainterCanvas c(&img, 96, 96);
        c.StretchPictureTransparent(src, 0, 0, 8, 4, 0x00000000);
    }
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0xC86432u); // untouched
    EXPECT_TRUE(isWhite(img, 3, 3));
    EXPECT_EQ(img.pixel(4, 0) & 0xFFFFFF, 0x0080FFu);
    EXPECT_EQ(img.pixel(7, 3) & 0xFFFFFF, 0x0080FFu);
}

TEST(QPainterCanvas, FontHeightFollowsTheCanvasResolution)
{
    EXPECT_EQ(fontPixelHeight(9, 300), 38); // 37.5 rounds away from zero
    EXPECT_EQ(fontPixelHeight(9, 96), 12);
    EXPECT_EQ(fontPixelHeight(10, 600), 83);
    FontSpec f = defaultFont();
    QFont q = QPainterCanvas::makeFont(f, 300);
    EXPECT_EQ(q.pixelSize(), 38);
    f.bold = true;
    f.underline = true;
    q = QPainterCanvas::makeFont(f, 96);
    EXPECT_EQ(q.pixelSize(), 12);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());
}

TEST(QPainterCanvas, StandardJapaneseFacesAreDrawnWithTheIpaFaces)
{
    QFont q = QPainterCanvas::makeFont(defaultFont(), 96);
    EXPECT_EQ(QFontInfo(q).family(), QStringLiteral("IPAPGothic"));
    FontSpec mincho = defaultFont();
    mincho.name = QStringLiteral("ＭＳ 明朝");
    EXPECT_EQ(
        QFontInfo(QPainterCanvas::makeFont(mincho, 96)).family(), QStringLiteral("IPAMincho"));
}

TEST(QPainterCanvas, TextIsClippedToItsRectangle)
{
    QImage img = whiteImage(200, 60);
    {
        QPainterCanvas c(&img, 96, 96);
        FontSpec f = defaultFont();
        f.size = 20;
        f.color = 0;
        c.SetFont(f);
        c.SetBrushClear();
        c.DrawTextInRect(QStringLiteral("WWWWWWWWWW"), 10, 10, 60, 50, LabelCanvas::HAlign::Left,
            LabelCanvas::VAlign::Top);
    }
    QRect box = inkBox(img);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_GE(box.left(), 10);
    EXPECT_LE(box.right(), 59);
    EXPECT_EQ(box.right(), 59); // the text runs to the clip edge
    EXPECT_GE(box.top(), 10);
    EXPECT_LE(box.bottom(), 49);
}

TEST(QPainterCanvas, RotatedTextAt900ReadsUpwardFromItsReferencePoint)
{
    QImage img = whiteImage(100, 200);
    {
        QPainterCanvas c(&img, 96, 96);
        FontSpec f = defaultFont();
        f.size = 14;
        f.color = 0;
        c.SetFont(f);
        c.SetBrushClear();
        c.SelectRotatedFont(900, 0);
        c.TextOutClipped(0, 0, 100, 200, 30, 150, QStringLiteral("ABCDEFG"));
        c.RestoreFont();
    }
    QRect box = inkBox(img);
    ASSERT_FALSE(box.isEmpty());
    // Turned counter-clockwise: the text runs upward from y = 150 and its
    // cell lies right of x = 30 (the top of the letters faces left).
    EXPECT_LE(box.bottom(), 150);
    EXPECT_GE(box.left(), 30);
    EXPECT_GT(box.height(), box.width() * 2);
    EXPECT_LT(box.top(), 110);
}

TEST(QPainterCanvas, CellHeightSetsAscentPlusDescent)
{
    QFont base = QPainterCanvas::makeFont(defaultFont(), 300);
    for (int cell : { 12, 47, 70 }) {
        QFont f = QPainterCanvas::fontWithCellHeight(base, cell);
        QFontMetrics fm(f);
        EXPECT_LE(fm.ascent() + fm.descent(), cell);
        EXPECT_GE(fm.ascent() + fm.descent(), cell - 1) << cell;
    }
}

TEST(QPainterCanvas, CopyBitmapRegionCropsAndPadsWithWhite)
{
    QImage src(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.setPixel(x, y, qRgb(x * 10, y * 10, 0));
    QImage part = CopyBitmapRegion(src, QRect(2, 1, 3, 2));
    ASSERT_EQ(part.size(), QSize(3, 2));
    EXPECT_EQ(part.pixel(0, 0) & 0xFFFFFF, 0x140A00u);
    EXPECT_EQ(part.pixel(1, 1) & 0xFFFFFF, 0x1E1400u);
    EXPECT_EQ(part.pixel(2, 0) & 0xFFFFFF, 0xFFFFFFu); // outside the source
    EXPECT_TRUE(CopyBitmapRegion(src, QRect(0, 0, 0, 5)).isNull());
}

TEST(RecordingCanvas, RecordsEveryCallAsOneLine)
{
    RecordingCanvas c(300, 300);
    c.SetPen(0x80000008);
    c.SetBrush(0x00FFFFFF);
    c.SetBrushClear();
    c.Rectangle(1, 2, 3, 4);
    c.MoveTo(5, 6);
    c.LineTo(7, 6);
    FontSpec f = defaultFont();
    f.bold = true;
    c.SetFont(f);
    c.DrawTextInRect(QStringLiteral("a b"), 0, 0, 10, 10, LabelCanvas::HAlign::Center,
        LabelCanvas::VAlign::Bottom);
    c.TextOutClipped(0, 0, 10, 10, 2, 3, QStringLiteral("表"));
    c.SelectRotatedFont(2700, 47);
    c.RestoreFont();
    QImage pic(3, 2, QImage::Format_RGB32);
    c.StretchPicture(pic, 0, 0, 6, 4);
    c.StretchPictureTransparent(pic, 0, 0, 6, 4, 0x00FF00FF);
    const QStringList expected = {
        "SetPen 80000008",
        "SetBrush 00ffffff",
        "SetBrush clear",
        "Rectangle 1 2 3 4",
        "MoveTo 5 6",
        "LineTo 7 6",
        QStringLiteral("SetFont 9 128 80000008 1 0 0 0 ＭＳ Ｐゴシック"),
        "DrawTextInRect 0 0 10 10 center bottom a b",
        QStringLiteral("TextOutClipped 0 0 10 10 2 3 表"),
        "SelectRotatedFont 2700 47",
        "RestoreFont",
        "StretchPicture 0 0 6 4 3 2",
        "StretchPictureTransparent 0 0 6 4 3 2 00ff00ff",
    };
    EXPECT_EQ(c.lines(), expected);
}

TEST(RecordingCanvas, MeasuresTextLikeThePaintingCanvas)
{
    RecordingCanvas rec(300, 300);
    QImage img = whiteImage(10, 10, 300);
    QPainterCanvas paint(&img, 300, 300);
    FontSpec f = defaultFont();
    rec.SetFont(f);
    paint.SetFont(f);
    EXPECT_EQ(
        rec.TextWidth(QStringLiteral("Track 01")), paint.TextWidth(QStringLiteral("Track 01")));
    EXPECT_EQ(rec.TextHeight(QStringLiteral("X")), paint.TextHeight(QStringLiteral("X")));
    EXPECT_GT(rec.TextWidth(QStringLiteral("Track 01")), 60);
    rec.SelectRotatedFont(900, 47);
    EXPECT_LE(rec.TextHeight(QStringLiteral("X")), 47);
    EXPECT_GE(rec.TextHeight(QStringLiteral("X")), 46);
}

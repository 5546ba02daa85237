#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawFrontPage.h"
#include "render/DrawSurfacePicture.h"

using namespace cw;

namespace {

PictureRef placed(int posX, int posY, int printW, int printH, int pixW, int pixH)
{
    PictureRef r;
    r.posX = posX;
    r.posY = posY;
    r.printWidth = printW;
    r.printHeight = printH;
    r.pixelWidth = pixW;
    r.pixelHeight = pixH;
    return r;
}

const PictureScale k300 { 300, 300, 300, 300 };

} // namespace

TEST(DrawSurfacePicture, WindowOfAPicturePartlyOutsideItsSurface)
{
    // 100 x 50 picture printed at 200 x 100 from (-50, -20) on the front face.
    PictureWindow w = computePictureWindow(placed(-50, -20, 200, 100, 100, 50), 1429, 1411, k300);
    ASSERT_FALSE(w.empty);
    EXPECT_EQ(w.source, (PixelRect { 25, 10, 100, 50 }));
    EXPECT_EQ(w.destination, QRect(0, 0, 150, 80));
    // Over the right and bottom edges: cut at the surface size.
    w = computePictureWindow(placed(1400, 1400, 200, 100, 100, 50), 1429, 1411, k300);
    EXPECT_EQ(w.source, (PixelRect { 0, 0, 14, 5 }));
    EXPECT_EQ(w.destination, QRect(1400, 1400, 29, 11));
}

TEST(DrawSurfacePicture, PrintingAt600DpiDoublesEveryOffset)
{
    PictureWindow w = computePictureWindow(
        placed(100, 50, 200, 100, 100, 50), 1429, 1411, PictureScale { 300, 300, 600, 600 });
    EXPECT_EQ(w.source, (PixelRect { 0, 0, 100, 50 }));
    EXPECT_EQ(w.destination, QRect(QPoint(200, 100), QPoint(599, 299)));
    // Truncation after the multiplication: 7 * 96 / 300 = 2.24 -> 2.
    w = computePictureWindow(
        placed(7, 7, 301, 301, 10, 10), 1429, 1411, PictureScale { 300, 300, 96, 96 });
    EXPECT_EQ(w.destination, QRect(QPoint(2, 2), QPoint(97, 97))); // 308 * 96 / 300 = 98
}

TEST(DrawSurfacePicture, NothingToDrawForZeroSizesAndPicturesOutsideTheSurface)
{
    EXPECT_TRUE(computePictureWindow(placed(0, 0, 0, 100, 10, 10), 1429, 1411, k300).empty);
    EXPECT_TRUE(computePictureWindow(placed(0, 0, 100, 0, 10, 10), 1429, 1411, k300).empty);
    EXPECT_TRUE(computePictureWindow(placed(0, 0, 100, 100, 0, 0), 1429, 1411, k300).empty);
    EXPECT_TRUE(computePictureWindow(placed(1429, 0, 100, 100, 10, 10), 1429, 1411, k300).empty);
    EXPECT_TRUE(computePictureWindow(placed(-100, 0, 100, 100, 10, 10), 1429, 1411, k300).empty);
    EXPECT_TRUE(computePictureWindow(placed(0, -200, 100, 100, 10, 10), 1429, 1411, k300).empty);
    // Nine reference pixels of a 10-pixel picture printed 1000 wide are no
    // whole picture pixel: nothing to crop.
    EXPECT_TRUE(computePictureWindow(placed(1420, 0, 1000, 100, 10, 10), 1429, 1411, k300).empty);
    // Extreme values from a file do not overflow.
    PictureWindow w = computePictureWindow(
        placed(-2000000000, 0, 2000000100, 100, 60000, 10), 1429, 1411, k300);
    ASSERT_FALSE(w.empty);
    EXPECT_EQ(w.source.right, 60000);
    EXPECT_EQ(w.source.left, 59999);
}

namespace {

struct CoverFixture
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument();
    CountingReader reader;

    CoverFixture(int posX, int posY, int printW, int printH, int pixW = 100, int pixH = 100)
    {
        PicturePlacement &p = doc.top.picture;
        p.use = true;
        p.bitmap = coordinateImage(pixW, pixH);
        p.fileName = saveImage(dir, "cover.bmp", p.bitmap);
        p.pixelWidth = pixW;
        p.pixelHeight = pixH;
        p.sourceRect = PixelRect { 0, 0, pixW, pixH }; // as after loading
        p.printWidth = printW;
        p.printHeight = printH;
        p.posX = posX;
        p.posY = posY;
    }
    QStringList draw()
    {
        RecordingCanvas c(300, 300);
        DrawFrontPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
        return c.lines();
    }
};

} // namespace

TEST(DrawSurfacePicture, DrawingTheSamePageTwiceCropsThePictureHeldOnce)
{
    CoverFixture f(-50, 0, 200, 200);
    QStringList first = f.draw();
    // The bitmap held the whole picture: the part is taken from it.
    EXPECT_EQ(f.reader.loads, 0);
    EXPECT_EQ(f.reader.copies, 1);
    // The cache now holds only the visible part: columns 25..99.
    EXPECT_EQ(f.doc.top.picture.sourceRect, (PixelRect { 25, 0, 100, 100 }));
    EXPECT_EQ(f.doc.top.picture.bitmap.size(), QSize(75, 100));
    EXPECT_EQ(qRed(f.doc.top.picture.bitmap.pixel(0, 0)), 25);
    QStringList second = f.draw();
    EXPECT_EQ(f.reader.loads, 0);
    EXPECT_EQ(f.reader.copies, 1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(linesStarting(second, "StretchPicture"),
        QStringList { "StretchPicture 1753 534 1903 734 75 100" });
    // Moving the picture changes the visible part, which the cropped bitmap
    // does not hold: read the file.
    f.doc.top.picture.posX = -100;
    f.draw();
    EXPECT_EQ(f.reader.loads, 1);
    EXPECT_EQ(f.doc.top.picture.sourceRect, (PixelRect { 50, 0, 100, 100 }));
    // Moving it within the surface keeps the visible part: no read.
    f.doc.top.picture.posX = -100;
    f.doc.top.picture.posY = 300;
    f.draw();
    EXPECT_EQ(f.reader.loads, 1);
}

TEST(DrawSurfacePicture, AWhollyVisiblePictureJustLoadedIsNotReadAgain)
{
    CoverFixture f(10, 10, 100, 100);
    QStringList got = f.draw();
    EXPECT_EQ(f.reader.loads, 0);
    EXPECT_EQ(linesStarting(got, "StretchPicture"),
        QStringList { "StretchPicture 1763 544 1863 644 100 100" });
}

TEST(DrawSurfacePicture, ZeroPrintSizeOrAPictureOutsideDrawsNothingButThePage)
{
    for (auto [x, y, w, h] : { std::array { 0, 0, 0, 100 }, std::array { 0, 0, 100, 0 },
             std::array { 1429, 0, 100, 100 }, std::array { 0, -100, 100, 100 } }) {
        CoverFixture f(x, y, w, h);
        QStringList got = f.draw();
        EXPECT_TRUE(linesStarting(got, "StretchPicture").isEmpty());
        EXPECT_EQ(f.reader.loads, 0);
        EXPECT_EQ(linesStarting(got, "Rectangle").size(), 2);
        EXPECT_EQ(linesStarting(got, "MoveTo").size(), 2 * (8 + 2 * 12));
    }
}

TEST(DrawSurfacePicture, FallsBackToCroppingInPlaceWhenTheCopyFails)
{
    CoverFixture f(-50, 0, 200, 200);
    f.reader.failCopy = true;
    QStringList got = f.draw();
    EXPECT_EQ(f.reader.crops, 1);
    EXPECT_EQ(f.doc.top.picture.sourceRect, (PixelRect { 25, 0, 100, 100 }));
    EXPECT_EQ(f.doc.top.picture.bitmap.size(), QSize(75, 100));
    EXPECT_EQ(linesStarting(got, "StretchPicture"),
        QStringList { "StretchPicture 1753 534 1903 734 75 100" });
}

TEST(DrawSurfacePicture, WhenCroppingFailsTooThePictureIsLeftOutAndTheCacheStaysTrue)
{
    CoverFixture f(-50, 0, 200, 200);
    f.reader.failCopy = true;
    f.reader.failCrop = true;
    QStringList got = f.draw();
    EXPECT_TRUE(linesStarting(got, "StretchPicture").isEmpty());
    // The bitmap holds the whole picture again, and the cache says so.
    EXPECT_EQ(f.doc.top.picture.sourceRect, (PixelRect { 0, 0, 100, 100 }));
    EXPECT_EQ(f.doc.top.picture.bitmap.size(), QSize(100, 100));
    EXPECT_EQ(linesStarting(got, "MoveTo").size(), 2 * (8 + 2 * 12)); // the page goes on
}

TEST(DrawSurfacePicture, AnUnreadableFileDrawsNothingAndKeepsTheCache)
{
    CoverFixture f(0, 0, 200, 200);
    f.doc.top.picture.bitmap = QImage(50, 50, QImage::Format_RGB32);
    f.doc.top.picture.sourceRect = PixelRect { 0, 0, 50, 50 };
    QFile::remove(f.doc.top.picture.fileName);
    QStringList got = f.draw();
    EXPECT_EQ(f.reader.loads, 1);
    EXPECT_TRUE(linesStarting(got, "StretchPicture").isEmpty());
    EXPECT_EQ(f.doc.top.picture.sourceRect, (PixelRect { 0, 0, 50, 50 }));
    EXPECT_EQ(f.doc.top.picture.bitmap.size(), QSize(50, 50));
}

namespace {

// Draws the cover picture onto a white 96-dpi page of a 96-dpi document and
// returns the page.
QImage paintCover(CoverFixture &f)
{
    f.doc.dpiX = f.doc.dpiY = 96;
    QImage page(1046, 604, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainterCanvas c(&page, 96, 96);
        DrawFrontPage(c, f.doc, optionsOff(), 96, 96, 1046, 604, &f.reader);
    }
    return page;
}

} // namespace

TEST(DrawSurfacePicture, APicturePartlyOutsideKeepsItsScale)
{
    // 100 x 100 picture at twice its size; the cover face starts at (523, 76).
    CoverFixture inside(20, 30, 200, 200);
    CoverFixture outside(-50, -30, 200, 200);
    QImage a = paintCover(inside);
    QImage b = paintCover(outside);
    // Surface pixel (sx, sy) shows picture pixel ((sx - posX) / 2, (sy - posY) / 2).
    for (int sx : { 0, 1, 2, 3, 40, 99, 149 }) {
        for (int sy : { 0, 1, 5, 100, 169 }) {
            const QRgb pb = b.pixel(523 + sx, 76 + sy);
            EXPECT_EQ(qRed(pb), (sx + 50) / 2) << sx << "," << sy;
            EXPECT_EQ(qGreen(pb), (sy + 30) / 2) << sx << "," << sy;
        }
    }
    for (int sx : { 20, 21, 100, 219 }) {
        const QRgb pa = a.pixel(523 + sx, 76 + 30);
        EXPECT_EQ(qRed(pa), (sx - 20) / 2);
    }
    // Nothing of the picture left of the surface's left edge or above its top.
    EXPECT_EQ(b.pixel(522, 100) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(b.pixel(600, 75) & 0xFFFFFF, 0xFFFFFFu);
    // Right of the picture (150 surface pixels wide) the face stays white.
    EXPECT_EQ(b.pixel(523 + 150, 100) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(b.pixel(523 + 149, 100) & 0xFFFFFF, 0xFFFFFFu);
}

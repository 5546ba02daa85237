#include <QBuffer>

#include "PictureTestUtil.h"

using namespace cw;

namespace {

TEST(CropBitmap, TwoHundredFiftyRowsGoInStripsOf100And100And50)
{
    const QImage source = patternImage(120, 300);
    QImage bitmap = source;
    CropTrace trace;
    ASSERT_TRUE(CropBitmap(bitmap, 7, 20, 113, 270, &trace));
    EXPECT_EQ(trace.stripRows, (QList<int> { 100, 100, 50 }));
    ASSERT_EQ(bitmap.size(), QSize(106, 250));
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 106; ++x)
            ASSERT_EQ(bitmap.pixel(x, y) & 0xffffff, source.pixel(x + 7, y + 20) & 0xffffff)
                << x << "," << y;
}

TEST(CropBitmap, ResultIsA24BitPictureAt3780PixelsPerMetre)
{
    QImage bitmap = patternImage(10, 10);
    ASSERT_TRUE(CropBitmap(bitmap, 1, 2, 6, 5));
    EXPECT_EQ(bitmap.size(), QSize(5, 3));
    EXPECT_EQ(bitmap.dotsPerMeterX(), 3780);
    EXPECT_EQ(bitmap.dotsPerMeterY(), 3780);
}

TEST(CropBitmap, IndexedAndAlphaPicturesCropToTheirColours)
{
    const QImage rgb = patternImage(31, 17);
    for (QImage::Format f : { QImage::Format_Indexed8, QImage::Format_ARGB32, QImage::Format_Mono,
             QImage::Format_RGB888 }) {
        QImage source = rgb.convertToFormat(f);
        QImage bitmap = source;
        ASSERT_TRUE(CropBitmap(bitmap, 3, 4, 29, 15)) << f;
        ASSERT_EQ(bitmap.size(), QSize(26, 11));
        const QImage expected = source.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 26; ++x)
                ASSERT_EQ(bitmap.pixel(x, y) & 0xffffff, expected.pixel(x + 3, y + 4) & 0xffffff)
                    << f << " " << x << "," << y;
    }
}

TEST(CropBitmap, RectangleIsClippedToTheBitmapAndAnEmptyOneChangesNothing)
{
    const QImage source = patternImage(20, 10);
    QImage bitmap = source;
    ASSERT_TRUE(CropBitmap(bitmap, -5, -5, 4, 30));
    EXPECT_EQ(bitmap.size(), QSize(4, 10));
    EXPECT_EQ(bitmap.pixel(3, 9) & 0xffffff, source.pixel(3, 9) & 0xffffff);

    bitmap = source;
    EXPECT_FALSE(CropBitmap(bitmap, 5, 5, 5, 8));
    EXPECT_FALSE(CropBitmap(bitmap, 25, 0, 30, 8));
    EXPECT_FALSE(CropBitmap(bitmap, 8, 6, 4, 2));
    EXPECT_EQ(bitmap, source);
    QImage empty;
    EXPECT_FALSE(CropBitmap(empty, 0, 0, 1, 1));
}

TEST(CropBitmap, NeedsNoFolderToWriteIn)
{
    // With no temporary folder to write in (a file in its place, which not
    // even the superuser can create files in), a crop still takes place.
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/dev/null");
    QImage bitmap = patternImage(30, 20);
    const bool cropped = CropBitmap(bitmap, 2, 3, 12, 8);
    qputenv("TMPDIR", saved);
    EXPECT_TRUE(cropped);
    EXPECT_EQ(bitmap.size(), QSize(10, 5));
}

// The pixels a crop keeps are those the picture holds, as a BMP file of it
// stores them: red, green and blue as stored (alpha dropped, premultiplied
// colours taken back), for every format, with rows of every padding and
// strips that do not start at the picture's top.
TEST(CropBitmap, EveryFormatKeepsTheColoursItsBmpFileHolds)
{
    // Pixels with partial and no alpha, beside opaque ones.
    QImage translucent(53, 211, QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, qRgba((x * 5) & 255, (y * 3) & 255, (x * y) & 255, (x + y) * 7 & 255));
    QImage indexedAlpha = patternImage(53, 211).convertToFormat(QImage::Format_Indexed8);
    QList<QRgb> table = indexedAlpha.colorTable();
    for (int i = 0; i < table.size(); i += 3)
        table[i] = qRgba(qRed(table[i]), qGreen(table[i]), qBlue(table[i]), i % 256);
    indexedAlpha.setColorTable(table);
    const QList<QPair<const char *, QImage>> sources = {
        { "ARGB32 translucent", translucent },
        { "ARGB32 premultiplied", translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied) },
        { "RGBA64", translucent.convertToFormat(QImage::Format_RGBA64) },
        { "indexed with alpha", indexedAlpha },
        { "grey", patternImage(53, 211).convertToFormat(QImage::Format_Grayscale8) },
        { "RGB16", patternImage(53, 211).convertToFormat(QImage::Format_RGB16) },
        { "mono LSB", patternImage(53, 211).convertToFormat(QImage::Format_MonoLSB) },
    };
    struct Rect
    {
        int left, top, right, bottom;
    };
    // Widths of 1, 2, 3 and 4 bytes short of a multiple of 4; 1 to 201 rows.
    const Rect rects[] = { { 0, 0, 53, 211 }, { 5, 7, 6, 8 }, { 1, 10, 3, 111 },
        { 52, 0, 53, 211 }, { 20, 3, 43, 204 }, { 11, 110, 15, 211 } };
    for (const auto &[name, source] : sources) {
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, "BMP")) << name;
        QImage stored;
        ASSERT_TRUE(stored.loadFromData(file, "BMP")) << name;
        stored = stored.convertToFormat(QImage::Format_RGB32);
        for (const Rect &r : rects) {
            QImage bitmap = source;
            ASSERT_TRUE(CropBitmap(bitmap, r.left, r.top, r.right, r.bottom)) << name;
            ASSERT_EQ(bitmap.size(), QSize(r.right - r.left, r.bottom - r.top)) << name;
            EXPECT_EQ(bitmap.format(), QImage::Format_RGB32) << name;
            for (int y = 0; y < bitmap.height(); ++y)
                for (int x = 0; x < bitmap.width(); ++x)
                    ASSERT_EQ(bitmap.pixel(x, y),
                        stored.pixel(x + r.left, y + r.top) | 0xff000000u)
                        << name << " " << r.left << "," << r.top << " at " << x << "," << y;
        }
    }
}

} // namespace

#include <QBuffer>
#include <QFileInfo>

#include "PictureTestUtil.h"

using namespace cw;

namespace {

TEST(CropBitmap, TwoHundredFiftyRowsGoInStripsOf100And100And50AndLeaveNoFile)
{
    const QImage source = patternImage(120, 300);
    QImage bitmap = source;
    CropTrace trace;
    ASSERT_TRUE(CropBitmap(bitmap, 7, 20, 113, 270, &trace));
    EXPECT_EQ(trace.stripRows, (QList<int> { 100, 100, 50 }));
    EXPECT_FALSE(trace.temporaryFile.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(trace.temporaryFile));
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

TEST(CropBitmap, OutputIsWrittenIn16384ByteChunks)
{
    // 3 x 1000 bytes a row, 100 rows a strip: 300000 bytes, 19 chunks a strip.
    QImage bitmap = patternImage(1000, 100);
    CropTrace trace;
    ASSERT_TRUE(CropBitmap(bitmap, 0, 0, 1000, 100, &trace));
    EXPECT_EQ(trace.stripRows, QList<int> { 100 });
    EXPECT_EQ(trace.chunkWrites, 19);
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

TEST(CropBitmap, TwoCropsUseDifferentFiles)
{
    QImage a = patternImage(4, 4), b = patternImage(4, 4);
    CropTrace ta, tb;
    ASSERT_TRUE(CropBitmap(a, 0, 0, 2, 2, &ta));
    ASSERT_TRUE(CropBitmap(b, 0, 0, 2, 2, &tb));
    EXPECT_NE(ta.temporaryFile, tb.temporaryFile);
}

} // namespace

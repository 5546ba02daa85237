#include <QImage>
#include <gtest/gtest.h>

#include "canvas/LabelCanvas.h"
#include "pictures/PixelMemory.h"

using namespace cw;

namespace {

QImage numbered(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x * 7 + y) & 0xff));
    return img;
}

bool readsPixelsOf(const QImage &part, const QImage &source)
{
    const uchar *begin = source.constBits();
    const uchar *end = begin + source.sizeInBytes();
    return part.constBits() >= begin && part.constBits() < end;
}

} // namespace

TEST(PixelMemory, NewImagesHaveTheirSizeBelowAndAboveTheMappedBlockSize)
{
    // 100 x 100 comes from the heap, 1100 x 1000 (4.4 MB) is mapped.
    for (const QSize size : { QSize(100, 100), QSize(1100, 1000) }) {
        QImage img = newPixelImage(size.width(), size.height(), QImage::Format_RGB32);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.size(), size);
        EXPECT_EQ(img.bytesPerLine(), size.width() * 4);
        img.fill(qRgb(1, 2, 3));
        img.setPixel(size.width() - 1, size.height() - 1, qRgb(9, 8, 7));
        EXPECT_EQ(img.pixel(0, 0), qRgb(1, 2, 3));
        EXPECT_EQ(img.pixel(size.width() - 1, size.height() - 1), qRgb(9, 8, 7));
    }
    // A 1-bit picture's rows are padded to 32 bits.
    EXPECT_EQ(newPixelImage(33, 2, QImage::Format_Mono).bytesPerLine(), 8);
}

TEST(PixelMemory, ImpossibleImagesAreNull)
{
    EXPECT_TRUE(newPixelImage(0, 10, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(newPixelImage(10, -1, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(newPixelImage(10, 10, QImage::Format_Invalid).isNull());
    // 2^31 x 2^31 pixels: the size overflows before anything is asked for.
    EXPECT_TRUE(newPixelImage(INT_MAX, INT_MAX, QImage::Format_RGB32).isNull());
}

TEST(PixelMemory, LargeBlocksStartZeroedAndOnAHugePage)
{
    const size_t bytes = kLargePixelBlock + 12345;
    auto *p = static_cast<unsigned char *>(allocatePixelBlock(bytes, false));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % (2u << 20), 0u);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[bytes - 1], 0);
    p[bytes - 1] = 0xab;
    freePixelBlock(p, bytes);
    auto *z = static_cast<unsigned char *>(allocatePixelBlock(16, true));
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z[15], 0);
    freePixelBlock(z, 16);
}

TEST(PixelMemory, ASharedPartReadsTheSourceAndNeverWritesIt)
{
    const QImage source = numbered(50, 40);
    const QRect rect(7, 5, 30, 20);
    QImage part = sharedImagePart(source, rect);
    ASSERT_FALSE(part.isNull());
    EXPECT_TRUE(readsPixelsOf(part, source));
    EXPECT_EQ(part, source.copy(rect));

    // Writing to the part makes it a picture of its own.
    part.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_FALSE(readsPixelsOf(part, source));
    EXPECT_EQ(source.pixel(7, 5), numbered(50, 40).pixel(7, 5));
}

TEST(PixelMemory, ASharedPartKeepsThePixelsAliveAfterTheSourceGoes)
{
    QImage part;
    {
        QImage source = numbered(20, 10);
        part = sharedImagePart(source, QRect(10, 2, 10, 8));
        source = QImage();
    }
    EXPECT_EQ(part, numbered(20, 10).copy(10, 2, 10, 8));
}

TEST(PixelMemory, PartsOutsideTheSourceOrOfOtherFormatsAreRefused)
{
    const QImage source = numbered(10, 10);
    EXPECT_TRUE(sharedImagePart(source, QRect(5, 5, 6, 1)).isNull());
    EXPECT_TRUE(sharedImagePart(source, QRect(-1, 0, 2, 2)).isNull());
    EXPECT_TRUE(sharedImagePart(source, QRect(0, 0, 0, 2)).isNull());
    EXPECT_TRUE(
        sharedImagePart(source.convertToFormat(QImage::Format_RGB888), QRect(0, 0, 2, 2)).isNull());
}

// The visible part of a picture drawn on a surface: read in place when it is
// at least half of the picture or the picture is held elsewhere too, copied
// when it is a small part of a picture held nowhere else (so that the rest
// can be freed). The pixels are the same either way.
TEST(PixelMemory, CopyBitmapRegionSharesWhenCopyingWouldFreeNothing)
{
    struct Case
    {
        QRect rect;
        bool heldElsewhere;
        bool shared;
    };
    const Case cases[] = {
        { QRect(0, 0, 50, 20), false, true }, // exactly half
        { QRect(3, 4, 45, 30), false, true },
        { QRect(0, 0, 49, 20), false, false }, // just under half
        { QRect(10, 10, 5, 5), false, false },
        { QRect(10, 10, 5, 5), true, true },
    };
    for (const Case &c : cases) {
        QImage source = numbered(50, 40);
        QImage other;
        if (c.heldElsewhere)
            other = source;
        const QImage part = CopyBitmapRegion(source, c.rect);
        EXPECT_EQ(readsPixelsOf(part, source), c.shared)
            << c.rect.width() << "x" << c.rect.height();
        EXPECT_EQ(part, numbered(50, 40).copy(c.rect));
    }
}

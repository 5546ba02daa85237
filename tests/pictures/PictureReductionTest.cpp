// Pictures decoded at the size the page needs: the reduction rule, the
// block average, the program's BMP decoder reducing rows as they come, the
// zero-alpha rule, and a decompression bomb within its memory budget.
#include <QBuffer>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "pictures/BmpDecoder.h"
#include "pictures/PictureReduction.h"
#include "pictures/PixelMemory.h"

using namespace cw;

namespace {

constexpr quint64 kPlenty = quint64(1) << 30;

struct ReductionCase
{
    QSize full, wanted;
    int factor;
};

// The largest of 1, 2, 4, 8 that leaves at least the wanted pixels per side.
TEST(PictureReduction, TheFactorLeavesAtLeastTheWantedPixels)
{
    const ReductionCase cases[] = {
        { { 12000, 9000 }, { 1429, 1411 }, 4 }, // a photograph as a 300-dpi cover: 9000 < 8 x 1411
        { { 12000, 12000 }, { 1429, 1411 }, 8 },
        { { 14000, 14000 }, { 1429, 1411 }, 8 }, // 8 is the largest factor
        { { 1600, 1600 }, { 1429, 1411 }, 1 }, // fewer than twice the pixels: whole
        { { 2858, 2822 }, { 1429, 1411 }, 2 }, // exactly twice both ways
        { { 2857, 2822 }, { 1429, 1411 }, 1 }, // one pixel short across
        { { 8000, 6000 }, { 70, 1387 }, 4 }, // a spine: the height decides
        { { 8000, 6000 }, { 1629, 1387 }, 4 },
        { { 640, 480 }, { 1429, 1411 }, 1 }, // smaller than the surface
        { { 12000, 9000 }, QSize(), 1 }, // no size wanted: the whole picture
        { { 12000, 9000 }, { 0, 0 }, 1 },
    };
    for (const ReductionCase &c : cases)
        EXPECT_EQ(pictureReductionFor(c.full, c.wanted), c.factor)
            << c.full.width() << "x" << c.full.height() << " for " << c.wanted.width() << "x"
            << c.wanted.height();
}

// Asking for wantedSizeFor(full, f) gives f back: the size the renderer asks
// for is the factor it chose.
TEST(PictureReduction, TheWantedSizeOfAFactorGivesThatFactor)
{
    for (const QSize full : { QSize(8, 8), QSize(9, 31), QSize(12001, 9000), QSize(3000, 17),
             QSize(14000, 14000), QSize(1023, 1025) })
        for (int f : { 1, 2, 4, 8 }) {
            if (full.width() < f || full.height() < f)
                continue;
            EXPECT_EQ(pictureReductionFor(full, wantedSizeFor(full, f)), f)
                << full.width() << "x" << full.height() << " at " << f;
        }
}

TEST(PictureReduction, SizesRoundUpSoTheLastBlockMayBeNarrower)
{
    EXPECT_EQ(reducedPictureSize(QSize(12000, 9000), 4), QSize(3000, 2250));
    EXPECT_EQ(reducedPictureSize(QSize(12001, 9001), 8), QSize(1501, 1126));
    EXPECT_EQ(reducedPictureSize(QSize(7, 5), 1), QSize(7, 5));
    EXPECT_EQ(reducedPictureSize(QSize(1, 1), 8), QSize(1, 1));
}

// Every reduced pixel is the rounded average of its block, halves rounding
// up, the narrower blocks at the right and bottom edges averaging only what
// they hold. The 5 x 3 picture below by 2: blocks of 4, 2, 2 and 1 pixels.
TEST(PictureReduction, ReducedPixelsAreTheirBlocksAverage)
{
    const QRgb rows[3][5] = {
        { qRgb(0, 200, 0), qRgb(10, 200, 0), qRgb(20, 200, 0), qRgb(30, 200, 0), qRgb(40, 200, 0) },
        { qRgb(1, 170, 0), qRgb(11, 170, 1), qRgb(21, 170, 2), qRgb(31, 170, 3), qRgb(41, 170, 4) },
        { qRgb(2, 140, 0), qRgb(12, 140, 2), qRgb(22, 140, 4), qRgb(32, 140, 6), qRgb(42, 140, 8) },
    };
    QImage img(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, rows[y][x]);
    const QRgb expected[2][3] = {
        // (0+10+1+11)/4 = 5.5, (0+0+0+1)/4 = 0.25; 102/4 = 25.5, 5/4 = 1.25;
        // the two-pixel edge block (40+41)/2 = 40.5, (0+4)/2 = 2.
        { qRgb(6, 185, 0), qRgb(26, 185, 1), qRgb(41, 185, 2) },
        // The bottom row of blocks holds one row: (2+12)/2, (22+32)/2, and
        // the corner block its single pixel.
        { qRgb(7, 140, 1), qRgb(27, 140, 5), qRgb(42, 140, 8) },
    };
    const QImage r = reducePicture(img, 2);
    ASSERT_EQ(r.size(), QSize(3, 2));
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 3; ++bx)
            EXPECT_EQ(r.pixel(bx, by) & 0xffffff, expected[by][bx] & 0xffffff)
                << bx << "," << by << ": " << std::hex << r.pixel(bx, by);
    EXPECT_EQ(reducePicture(img, 1).cacheKey(), img.cacheKey()); // 1 is the picture itself
}

// Sampling keeps each block's middle pixel: column w / 2 and row h / 2 of
// a w x h block, the narrower edge blocks included. A 5 x 3 picture by 2
// keeps columns 1, 3 and 4 of rows 1 and 2, with its colours unchanged.
TEST(PictureReduction, SampledPixelsAreTheirBlocksMiddlePixels)
{
    QImage img(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, qRgb(10 * x + y, 200 - 30 * y, x * y));
    const QImage r = reducePicture(img, 2, ReductionKind::Sample);
    ASSERT_EQ(r.size(), QSize(3, 2));
    const int columns[3] = { 1, 3, 4 }, rows[2] = { 1, 2 };
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 3; ++bx)
            EXPECT_EQ(r.pixel(bx, by), img.pixel(columns[bx], rows[by])) << bx << "," << by;
    // By 8, a 13 x 11 picture keeps (4, 4), (10, 4), (4, 9) and (10, 9).
    const QImage big = patternImage(13, 11);
    const QImage r8 = reducePicture(big, 8, ReductionKind::Sample);
    ASSERT_EQ(r8.size(), QSize(2, 2));
    EXPECT_EQ(r8.pixel(0, 0), big.pixel(4, 4) | 0xff000000u);
    EXPECT_EQ(r8.pixel(1, 0), big.pixel(10, 4) | 0xff000000u);
    EXPECT_EQ(r8.pixel(0, 1), big.pixel(4, 9) | 0xff000000u);
    EXPECT_EQ(r8.pixel(1, 1), big.pixel(10, 9) | 0xff000000u);
}

// Rows never given (a file cut short) count as white, as whole pictures
// leave them.
TEST(PictureReduction, RowsNeverGivenCountAsWhite)
{
    QImage out(2, 2, QImage::Format_RGB32);
    out.fill(Qt::white);
    RowReducer reducer(out, QSize(4, 4), 2);
    const QRgb black[4] = { qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0) };
    reducer.addRow(0, black); // one of the first block row's two rows
    reducer.finish();
    EXPECT_EQ(out.pixel(0, 0) & 0xffffff, qRgb(128, 128, 128) & 0xffffff); // (0 + 255) / 2 rounded
    EXPECT_EQ(out.pixel(1, 1) & 0xffffff, 0xffffffu); // never touched
}

// A BMP file of the given picture: 24 bits bottom-up, or 32 bits top-down.
QByteArray bmpOf(const QImage &img, int bits, bool topDown = false)
{
    QByteArray b;
    auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
    const int w = img.width(), h = img.height();
    const int row = (w * bits / 8 + 3) / 4 * 4;
    b.append("BM");
    u32(quint32(54 + row * h));
    u32(0);
    u32(54);
    u32(40);
    u32(quint32(w));
    u32(quint32(topDown ? -h : h));
    u16(1);
    u16(quint16(bits));
    u32(0);
    u32(quint32(row * h));
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);
    for (int n = 0; n < h; ++n) {
        const int y = topDown ? n : h - 1 - n;
        QByteArray r;
        for (int x = 0; x < w; ++x) {
            const QRgb c = img.pixel(x, y);
            r.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
            if (bits == 32)
                r.append(char(0));
        }
        r.append(QByteArray(row - r.size(), '\0'));
        b.append(r);
    }
    return b;
}

// Reducing rows as they are decoded gives exactly the block average (or the
// blocks' middle pixels) of the whole picture, bottom-up or top-down, and the
// whole picture is never held.
TEST(PictureReduction, TheBmpDecoderReducesRowsAsTheyCome)
{
    const QImage picture = patternImage(203, 157);
    for (const auto &[bits, topDown] : { std::pair { 24, false }, std::pair { 32, true } }) {
        const QByteArray file = bmpOf(picture, bits, topDown);
        QImage whole;
        ASSERT_EQ(decodeBmp(file, whole, kPlenty), BmpStatus::Ok);
        for (const auto &[wanted, factor] : { std::pair { QSize(50, 39), 4 },
                 std::pair { QSize(100, 70), 2 }, std::pair { QSize(25, 19), 8 },
                 std::pair { QSize(120, 10), 1 } }) {
            for (ReductionKind kind : { ReductionKind::Average, ReductionKind::Sample }) {
                QImage reduced;
                PictureReduction got;
                ASSERT_EQ(decodeBmp(file, reduced, kPlenty, wanted, &got, kind), BmpStatus::Ok);
                EXPECT_EQ(got.fullSize, QSize(203, 157));
                EXPECT_EQ(got.factor, factor) << bits;
                QString why;
                EXPECT_TRUE(sameRgb(reduced, reducePicture(whole, factor, kind), &why))
                    << bits << " bits at " << factor << (kind == ReductionKind::Sample ? " sampled" : "")
                    << ": " << why.toStdString();
            }
        }
    }
}

// An RLE8 picture reduced: runs, an end-of-line, a delta over rows and the
// undefined pixels it leaves, the same as reducing the whole one.
TEST(PictureReduction, CompressedBmpRowsReduceAsTheWholePicture)
{
    QByteArray b;
    auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
    const QByteArray rle = QByteArray::fromHex("0801" "0402" "0000" "0203" "0002" "0203" "0601"
                                               "0000" "0001");
    b.append("BM");
    u32(quint32(54 + 1024 + rle.size()));
    u32(0);
    u32(54 + 1024);
    u32(40);
    u32(12);
    u32(9);
    u16(1);
    u16(8);
    u32(1); // RLE8
    u32(quint32(rle.size()));
    u32(3780);
    u32(3780);
    u32(256);
    u32(0);
    for (int i = 0; i < 256; ++i)
        u32(quint32(i * 40 % 256 | (i * 90 % 256) << 8 | (i * 10) % 256 << 16));
    b.append(rle);
    QImage whole;
    ASSERT_EQ(decodeBmp(b, whole, kPlenty), BmpStatus::Ok);
    for (ReductionKind kind : { ReductionKind::Average, ReductionKind::Sample }) {
        QImage reduced;
        PictureReduction got;
        ASSERT_EQ(decodeBmp(b, reduced, kPlenty, QSize(6, 4), &got, kind), BmpStatus::Ok);
        ASSERT_EQ(got.factor, 2);
        QString why;
        EXPECT_TRUE(sameRgb(reduced, reducePicture(whole, 2, kind), &why)) << why.toStdString();
    }
}

// A 16-bit file with a 1-bit alpha mask: alpha 0 in every pixel means the
// writer left the channel unused, and the picture is opaque; one pixel with
// alpha set keeps the flattening onto white for all of them.
TEST(PictureReduction, AlphaZeroEverywhereReadsAsOpaque)
{
    auto file = [](bool oneOpaque) {
        QByteArray b;
        auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
        auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
        b.append("BM");
        u32(14 + 56 + 4 * 2);
        u32(0);
        u32(14 + 56);
        u32(56); // a header holding four masks
        u32(2);
        u32(2);
        u16(1);
        u16(16);
        u32(3); // bit fields
        u32(8);
        u32(3780);
        u32(3780);
        u32(0);
        u32(0);
        for (quint32 mask : { 0x7c00u, 0x03e0u, 0x001fu, 0x8000u })
            u32(mask);
        // Bottom row: pure red, pure blue; top row: black, green (5 bits of 31: 10).
        u16(0x7c00);
        u16(oneOpaque ? 0x801f : 0x001f);
        u16(0x0000);
        u16(0x0140);
        return b;
    };
    QImage opaque;
    ASSERT_EQ(decodeBmp(file(false), opaque, kPlenty), BmpStatus::Ok);
    EXPECT_EQ(opaque.pixel(0, 1) & 0xffffff, 0xff0000u); // red
    EXPECT_EQ(opaque.pixel(1, 1) & 0xffffff, 0x0000ffu); // blue
    EXPECT_EQ(opaque.pixel(0, 0) & 0xffffff, 0x000000u); // black
    EXPECT_EQ(opaque.pixel(1, 0) & 0xffffff, quint32(qRgb(0, 82, 0)) & 0xffffff); // 10 of 31
    QImage masked;
    ASSERT_EQ(decodeBmp(file(true), masked, kPlenty), BmpStatus::Ok);
    EXPECT_EQ(masked.pixel(1, 1) & 0xffffff, 0x0000ffu); // the one opaque pixel
    for (const QPoint p : { QPoint(0, 1), QPoint(0, 0), QPoint(1, 0) })
        EXPECT_EQ(masked.pixel(p) & 0xffffff, 0xffffffu) << p.x() << "," << p.y(); // alpha 0: white
}

// 118 bytes claiming 12000 x 12000 pixels of 4 bits, without a single row:
// read for a 300-dpi cover it is held at an eighth per side, and no block
// the size of the whole picture is ever asked for.
TEST(PictureReduction, ATinyBmpClaimingAHugePictureCostsOnlyItsReducedSize)
{
    QByteArray b;
    auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
    b.append("BM");
    u32(118);
    u32(0);
    u32(118);
    u32(40);
    u32(12000);
    u32(12000);
    u16(1);
    u16(4);
    u32(0);
    u32(0);
    u32(3780);
    u32(3780);
    u32(16);
    u32(0);
    for (int i = 0; i < 16; ++i)
        u32(quint32(i * 0x111111));
    ASSERT_EQ(b.size(), 118);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bomb.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();

    resetLargestPixelBlock();
    RecordingMessages messages;
    QImage image;
    PictureReduction got;
    ASSERT_TRUE(LoadPictureFile(image, path, messages, QSize(1429, 1411), got));
    EXPECT_EQ(got.fullSize, QSize(12000, 12000));
    EXPECT_EQ(got.factor, 8);
    EXPECT_EQ(image.size(), QSize(1500, 1500));
    EXPECT_EQ(image.pixel(700, 700) & 0xffffff, 0xffffffu); // no rows: white paper
    // 1500 x 1500 x 4 bytes is 9 MB; the whole picture would be 576 MB.
    EXPECT_LE(largestPixelBlock(), size_t(1500) * 1500 * 4);
}

} // namespace

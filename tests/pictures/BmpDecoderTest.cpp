// The program's BMP reader against the BMP suite's expected renders.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "pictures/BmpDecoder.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"

using namespace cw;

namespace {

QString suite(const QString &name)
{
    return QStringLiteral(CASEWRIGHT_TEST_DATA "/bmpsuite/") + name;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

constexpr quint64 kPlenty = 1ull << 26;

// An expected render with its alpha flattened onto white, as the reader does.
QImage reference(const QString &png)
{
    const QImage src(suite("reference/" + png));
    EXPECT_FALSE(src.isNull()) << png.toStdString();
    return flattenedOnWhite(src);
}

// How many pixels differ by more than `tolerance` in a channel, and the
// first of them.
int differences(const QImage &a, const QImage &b, QString &first, int tolerance = 0)
{
    if (a.size() != b.size()) {
        first = QStringLiteral("size %1x%2, expected %3x%4")
                    .arg(a.width())
                    .arg(a.height())
                    .arg(b.width())
                    .arg(b.height());
        return -1;
    }
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))) > tolerance
                || std::abs(qGreen(a.pixel(x, y)) - qGreen(b.pixel(x, y))) > tolerance
                || std::abs(qBlue(a.pixel(x, y)) - qBlue(b.pixel(x, y))) > tolerance)
                if (n++ == 0)
                    first = QStringLiteral("(%1,%2) %3, expected %4")
                                .arg(x)
                                .arg(y)
                                .arg(a.pixel(x, y) & 0xffffff, 6, 16, QLatin1Char('0'))
                                .arg(b.pixel(x, y) & 0xffffff, 6, 16, QLatin1Char('0'));
    return n;
}

} // namespace

TEST(BmpDecoder, EverySuiteFileWithAnExpectedRenderMatchesOne)
{
    // File, then the renders that count as right (the suite gives several
    // where the result is a matter of choice).
    const QList<QPair<QString, QStringList>> cases = {
        { "g/pal1.bmp", { "pal1.png" } },
        { "g/pal1wb.bmp", { "pal1.png" } },
        { "g/pal1bg.bmp", { "pal1bg.png" } },
        { "q/pal1p1.bmp", { "pal1p1.png" } },
        { "q/pal2.bmp", { "pal2.png" } },
        { "q/pal2color.bmp", { "pal2color.png" } },
        { "g/pal4.bmp", { "pal4.png" } },
        { "g/pal4gs.bmp", { "pal4gs.png" } },
        { "g/pal4rle.bmp", { "pal4.png" } },
        { "q/pal4rletrns.bmp", { "pal4rletrns.png", "pal4rletrns-0.png", "pal4rletrns-b.png" } },
        { "q/pal4rlecut.bmp", { "pal4rlecut.png", "pal4rlecut-0.png", "pal4rlecut-b.png" } },
        { "g/pal8.bmp", { "pal8.png" } },
        { "g/pal8-0.bmp", { "pal8.png" } },
        { "g/pal8gs.bmp", { "pal8gs.png" } },
        { "g/pal8rle.bmp", { "pal8.png" } },
        { "q/pal8rletrns.bmp", { "pal8rletrns.png", "pal8rletrns-0.png", "pal8rletrns-b.png" } },
        { "q/pal8rlecut.bmp", { "pal8rlecut.png", "pal8rlecut-0.png", "pal8rlecut-b.png" } },
        { "g/pal8w126.bmp", { "pal8w126.png" } },
        { "g/pal8w125.bmp", { "pal8w125.png" } },
        { "g/pal8w124.bmp", { "pal8w124.png" } },
        { "g/pal8topdown.bmp", { "pal8.png" } },
        { "q/pal8offs.bmp", { "pal8.png" } },
        { "q/pal8oversizepal.bmp", { "pal8.png" } },
        { "g/pal8nonsquare.bmp", { "pal8nonsquare-e.png" } }, // pixels as stored
        { "g/pal8os2.bmp", { "pal8.png" } },
        { "q/pal8os2-sz.bmp", { "pal8.png" } },
        { "q/pal8os2-hs.bmp", { "pal8.png" } },
        { "q/pal8os2sp.bmp", { "pal8.png" } },
        { "q/pal8os2v2.bmp", { "pal8.png" } },
        { "q/pal8os2v2-16.bmp", { "pal8.png" } },
        { "q/pal8os2v2-sz.bmp", { "pal8.png" } },
        { "q/pal8os2v2-40sz.bmp", { "pal8.png" } },
        { "q/rgb24rle24.bmp", { "pal8.png" } },
        { "g/pal8v4.bmp", { "pal8.png" } },
        { "g/pal8v5.bmp", { "pal8.png" } },
        { "g/rgb16.bmp", { "rgb16.png" } },
        { "g/rgb16bfdef.bmp", { "rgb16.png" } },
        { "g/rgb16-565.bmp", { "rgb16-565.png" } },
        { "g/rgb16-565pal.bmp", { "rgb16-565.png" } },
        { "q/rgb16faketrns.bmp", { "rgb16.png" } },
        { "q/rgb16-231.bmp", { "rgb16-231.png" } },
        { "q/rgb16-3103.bmp", { "rgb16-3103.png" } },
        { "q/rgba16-4444.bmp", { "rgba16-4444.png" } },
        { "q/rgba16-5551.bmp", { "rgba16-5551.png" } },
        { "q/rgba16-1924.bmp", { "rgba16-1924.png" } },
        { "g/rgb24.bmp", { "rgb24.png" } },
        { "g/rgb24pal.bmp", { "rgb24.png" } },
        { "q/rgb24largepal.bmp", { "rgb24.png" } },
        { "g/rgb32.bmp", { "rgb24.png" } },
        { "g/rgb32bfdef.bmp", { "rgb24.png" } },
        { "g/rgb32bf.bmp", { "rgb24.png" } },
        { "q/rgb32h52.bmp", { "rgb24.png" } },
        { "q/rgb32-xbgr.bmp", { "rgb24.png" } },
        { "q/rgb32fakealpha.bmp", { "rgb24.png" } },
        { "q/rgb32-111110.bmp", { "rgb24.png" } },
        { "q/rgb32-7187.bmp", { "rgb32-7187.png" } },
        { "q/rgba32-1.bmp", { "rgba32.png" } },
        { "q/rgba32-2.bmp", { "rgba32.png" } },
        { "q/rgba32-1010102.bmp", { "rgba32-1010102.png" } },
        { "q/rgba32-81284.bmp", { "rgba32-81284.png" } },
        { "q/rgba32-61754.bmp", { "rgba32-61754.png" } },
        { "q/rgba32abf.bmp", { "rgba32.png" } },
        { "q/rgba32h56.bmp", { "rgba32.png" } },
        { "b/rgb16-880.bmp", { "rgb16-880.png" } },
    };
    for (const auto &[file, renders] : cases) {
        QImage image;
        ASSERT_EQ(decodeBmp(fileBytes(suite(file)), image, kPlenty), BmpStatus::Ok)
            << file.toStdString();
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        QStringList why;
        bool matched = false;
        // The 11-bit channels of this file were made from finer values than
        // its nominal 8-bit render holds: a few of them round the other way.
        const int tolerance = file == "q/rgb32-111110.bmp" ? 1 : 0;
        for (const QString &png : renders) {
            QString first;
            const int n = differences(image, reference(png), first, tolerance);
            matched = matched || n == 0;
            why.append(png + ": " + QString::number(n) + " pixels differ, first " + first);
        }
        EXPECT_TRUE(matched) << file.toStdString() << "\n" << why.join('\n').toStdString();
    }
}

TEST(BmpDecoder, DamagedFilesNeverCrashAndCutFilesKeepWhatTheyHold)
{
    const QStringList bad = { "badbitcount", "badbitssize", "baddens1", "baddens2", "badfilesize",
        "badheadersize", "badpalettesize", "badplanes", "badrle4", "badrle4bis", "badrle4ter",
        "badrle", "badrlebis", "badrleter", "badwidth", "pal8badindex", "reallybig", "rletopdown",
        "shortfile" };
    for (const QString &name : bad) {
        QImage image;
        const BmpStatus status = decodeBmp(fileBytes(suite("b/" + name + ".bmp")), image, kPlenty);
        EXPECT_EQ(status == BmpStatus::Ok, !image.isNull()) << name.toStdString();
    }
    QImage image;
    EXPECT_EQ(decodeBmp(fileBytes(suite("b/reallybig.bmp")), image, kPlenty), BmpStatus::TooLarge);
    EXPECT_EQ(decodeBmp(fileBytes(suite("b/badwidth.bmp")), image, kPlenty), BmpStatus::NotBmp);
    // A file cut inside its pixels keeps the rows that are there, as Qt's
    // reader did; the rows it lacks are white.
    const QByteArray cut = fileBytes(suite("b/shortfile.bmp"));
    ASSERT_EQ(decodeBmp(cut, image, kPlenty), BmpStatus::Ok);
    const QImage qt = QImage::fromData(cut, "BMP").convertToFormat(QImage::Format_RGB32);
    const int whole = (cut.size() - 62) / 16; // 1-bit rows of 127 pixels, bottom-up
    QString first;
    EXPECT_EQ(differences(
                  image.copy(0, 64 - whole, 127, whole), qt.copy(0, 64 - whole, 127, whole), first),
        0)
        << first.toStdString();
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    // Embedded JPEG or PNG data, and what is not a BMP file at all.
    EXPECT_EQ(decodeBmp(fileBytes(suite("q/rgb24png.bmp")), image, kPlenty), BmpStatus::NotBmp);
    EXPECT_EQ(decodeBmp(QByteArray("BM"), image, kPlenty), BmpStatus::NotBmp);
    EXPECT_EQ(decodeBmp(QByteArray("GIF89a"), image, kPlenty), BmpStatus::NotBmp);
}

// A 32-bit file with an alpha mask (a 108-byte header holding the masks):
// its pixels are flattened onto white.
TEST(BmpDecoder, AlphaIsFlattenedOntoWhite)
{
    const QImage cases = onWhiteCasesImage();
    const int n = cases.width();
    QByteArray b;
    auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
    b.append("BM");
    u32(14 + 108 + 4 * n);
    u32(0);
    u32(14 + 108);
    u32(108); // header size
    u32(quint32(n));
    u32(1); // one row
    u16(1);
    u16(32);
    u32(3); // bit fields
    u32(quint32(4 * n));
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);
    for (quint32 mask : { 0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0xff000000u })
        u32(mask);
    u32(0x73524742); // sRGB
    b.append(QByteArray(36 + 12, '\0')); // end points and gamma, unused
    for (int x = 0; x < n; ++x) {
        const QRgb c = cases.pixel(x, 0);
        b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(char(qAlpha(c)));
    }
    QImage image;
    ASSERT_EQ(decodeBmp(b, image, kPlenty), BmpStatus::Ok);
    expectOnWhiteCases(image, "bmp");
}

TEST(BmpDecoder, ChannelsWidenByScalingNotByShifting)
{
    EXPECT_EQ(widenBmpChannel(0x7c00, 0x7c00), 255); // 5 bits full
    EXPECT_EQ(widenBmpChannel(0x03e0, 0x07e0), 125); // 31 of 63: 125.48
    EXPECT_EQ(widenBmpChannel(0x1, 0x1), 255);
    EXPECT_EQ(widenBmpChannel(0x2, 0x6), 85); // 1 of 3
    EXPECT_EQ(widenBmpChannel(0xffffffff, 0), 0);
    EXPECT_EQ(widenBmpChannel(0x3ff00000, 0x3ff00000), 255); // 10 bits
    EXPECT_EQ(widenBmpChannel(1690u << 21, 0xffe00000), 211); // 11 bits: 210.53
}

TEST(BmpDecoder, PictureFilesLoadThroughTheProgramsOwnReader)
{
    // Each of these came out wrong or not at all through Qt's reader: 16-bit
    // white as grey 248, alpha ignored, a 56-byte header, 2 bits, RLE24.
    const QList<QPair<QString, QString>> cases = {
        { "g/rgb16.bmp", "rgb16.png" },
        { "q/rgba32h56.bmp", "rgba32.png" },
        { "q/pal2.bmp", "pal2.png" },
        { "q/rgb24rle24.bmp", "pal8.png" },
        { "q/rgb16-231.bmp", "rgb16-231.png" },
    };
    SusieHost::instance().unload();
    for (const auto &[file, png] : cases) {
        RecordingMessages messages;
        QImage bitmap;
        ASSERT_TRUE(LoadPictureFile(bitmap, suite(file), messages)) << file.toStdString();
        QString first;
        EXPECT_EQ(differences(bitmap, reference(png), first), 0)
            << file.toStdString() << ": " << first.toStdString();
    }
}

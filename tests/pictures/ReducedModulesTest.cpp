// The decoder modules asked for a picture at a reduced size through the
// decoder helper: the factor, the file's own size, pixels close to the
// whole picture's block average, a module without the extension reduced by
// the host, and a decompression bomb within its memory budget.
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <cmath>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "pictures/DecoderHelper.h"
#include "pictures/PictureReduction.h"
#include "pictures/PictureThumbnail.h"

using namespace cw;

namespace {

// A smooth picture with some detail: what a photograph is like.
QImage photoLike(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                qRgb(x * 255 / w, y * 255 / h,
                    128 + int(100 * std::sin(x / 40.0) * std::cos(y / 30.0))));
    return img;
}

// Mean and largest absolute difference per channel of two same-size pictures.
struct Difference
{
    double mean = 0;
    int max = 0;
};
Difference difference(const QImage &a, const QImage &b)
{
    Difference d;
    if (a.size() != b.size())
        return { 255, 255 };
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int c : { qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q) }) {
                sum += std::abs(c);
                d.max = std::max(d.max, std::abs(c));
            }
        }
    d.mean = double(sum) / (3.0 * a.width() * a.height());
    return d;
}

class ReducedModules : public HostTest
{
protected:
    void SetUp() override { SusieHost::instance().load(realModuleDir()); }
};

// JPEG (the library's scaled decoding), WebP (its scaled decoding), PNG and
// TIFF (rows averaged as they come) give the size the rule asks for and pixels
// within a small difference of the whole picture reduced by block averages;
// sampled, exactly the whole picture's middle pixels.
TEST_F(ReducedModules, EachFormatGivesTheFactorTheRuleAsksFor)
{
    const QImage picture = photoLike(1203, 901);
    struct Case
    {
        const char *format;
        int quality;
        double meanAtMost;
    };
    for (const Case c : { Case { "JPEG", 95, 3.0 }, Case { "WEBP", 95, 4.0 },
             Case { "PNG", -1, 0.0 }, Case { "TIFF", -1, 0.0 } }) {
        const QString file = path(QStringLiteral("p.") + QString::fromLatin1(c.format).toLower());
        ASSERT_TRUE(picture.save(file, c.format, c.quality)) << c.format;
        RecordingMessages messages;
        QImage whole;
        ASSERT_TRUE(LoadPictureFile(whole, file, messages)) << c.format;
        for (const auto &[wanted, factor] : { std::pair { QSize(300, 225), 4 },
                 std::pair { QSize(150, 100), 8 }, std::pair { QSize(600, 450), 2 },
                 std::pair { QSize(700, 100), 1 } }) {
            QImage reduced;
            PictureReduction got;
            ASSERT_TRUE(LoadPictureFile(reduced, file, messages, wanted, got)) << c.format;
            EXPECT_EQ(got.fullSize, QSize(1203, 901)) << c.format;
            EXPECT_EQ(got.factor, factor) << c.format;
            EXPECT_EQ(reduced.size(), reducedPictureSize(QSize(1203, 901), factor)) << c.format;
            const Difference d = difference(reduced, reducePicture(whole, factor));
            EXPECT_LE(d.mean, c.meanAtMost) << c.format << " at " << factor << " max " << d.max;
            if (c.meanAtMost == 0) { // rows averaged in the module: the same sums
                EXPECT_EQ(d.max, 0) << c.format << " at " << factor;
            }
            // Sampled, every format gives exactly the whole picture's pixels:
            // JPEG and WebP, whose modules cannot sample, are decoded whole
            // and sampled by the host.
            QImage sampled;
            ASSERT_TRUE(LoadPictureFile(
                sampled, file, messages, wanted, got, ReductionKind::Sample))
                << c.format;
            EXPECT_EQ(got.factor, factor) << c.format;
            QString why;
            EXPECT_TRUE(sameRgb(sampled, reducePicture(whole, factor, ReductionKind::Sample), &why))
                << c.format << " sampled at " << factor << ": " << why.toStdString();
        }
        EXPECT_TRUE(messages.messages.isEmpty());
    }
}

// A module without the extension decodes the whole picture; the host
// reduces it before the program gets it.
TEST_F(ReducedModules, AModuleWithoutTheExtensionIsReducedByTheHost)
{
    ModuleFolder folder({ QStringLiteral("tm_good:a.spi") });
    SusieHost::instance().load(folder.path());
    const QString file = path(QStringLiteral("p.tst"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(testPicture(64, 48, qRgb(10, 20, 30)));
    f.close();
    RecordingMessages messages;
    QImage image;
    PictureReduction got;
    ASSERT_TRUE(LoadPictureFile(image, file, messages, QSize(16, 12), got));
    EXPECT_EQ(got.fullSize, QSize(64, 48));
    EXPECT_EQ(got.factor, 4);
    EXPECT_EQ(image.size(), QSize(16, 12));
    EXPECT_EQ(image.pixel(5, 5) & 0xffffff, quint32(qRgb(10, 20, 30)) & 0xffffff);
}

// The resident memory the decoder helper reached, from the kernel's count.
qint64 helperPeakResidentBytes()
{
    const pid_t pid = DecoderHelper::instance().helperPid();
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// 10000 x 10000 pixels that compress to almost nothing: read for a 300-dpi
// cover the helper holds a quarter per side of it, never the 400 MB of the
// whole picture. Its memory is counted by the kernel (its peak resident size).
// A PNG of 37 x 23 pixels whose text chunk claims a gigabyte: the decoder
// allocates no more than a real chunk needs, and the cut file is broken.
TEST_F(ReducedModules, AChunkClaimingAGigabyteCostsNothing)
{
    if (decoderPlacement() != DecoderPlacement::Helper)
        GTEST_SKIP() << "decoding in this process";
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photoLike(37, 23).save(&png, "PNG"));
    // The signature and the header chunk, then a text chunk's length and type.
    QByteArray file = png.data().left(8 + 25);
    file.append(QByteArray::fromHex("40000025") + "tEXt" + "Comment");
    const QString name = path(QStringLiteral("chunk.png"));
    ASSERT_TRUE(writeAll(name, file));
    DecoderHelper &helper = DecoderHelper::instance();
    helper.setHelperPath(helper.helperPath());
    SusieHost::instance().load(realModuleDir());
    for (const QSize wanted : { QSize(), QSize(10, 5) }) {
        RecordingMessages messages;
        QImage image;
        PictureReduction got;
        EXPECT_FALSE(LoadPictureFile(image, name, messages, wanted, got));
        EXPECT_EQ(messages.messages,
            QStringList { "ファイル(" + name + ")は壊れているため読み込めません" });
    }
    const qint64 peak = helperPeakResidentBytes();
    ASSERT_GT(peak, 0);
    EXPECT_LT(peak, qint64(100) << 20);
}

TEST_F(ReducedModules, AHugePngThatCompressesToNothingStaysWithinItsBudget)
{
    if (decoderPlacement() != DecoderPlacement::Helper)
        GTEST_SKIP() << "decoding in this process";
    const QString file = path(QStringLiteral("bomb.png"));
    {
        QImage mono(10000, 10000, QImage::Format_Mono);
        mono.fill(0);
        ASSERT_TRUE(mono.save(file, "PNG"));
    }
    ASSERT_LT(QFileInfo(file).size(), 200 * 1024);
    // A fresh helper, so that its peak is this picture's.
    DecoderHelper &helper = DecoderHelper::instance();
    helper.setHelperPath(helper.helperPath());
    SusieHost::instance().load(realModuleDir());
    RecordingMessages messages;
    QImage image;
    PictureReduction got;
    ASSERT_TRUE(LoadPictureFile(image, file, messages, QSize(1429, 1411), got));
    EXPECT_EQ(got.fullSize, QSize(10000, 10000));
    EXPECT_EQ(got.factor, 4);
    EXPECT_EQ(image.size(), QSize(2500, 2500));
    const qint64 peak = helperPeakResidentBytes();
    ASSERT_GT(peak, 0);
    EXPECT_LT(peak, qint64(200) << 20);

    // The picture dialog's preview of it, in a fresh helper too: Qt's PNG
    // reader cannot decode smaller, so the program's loader reduces it.
    helper.setHelperPath(helper.helperPath());
    SusieHost::instance().load(realModuleDir());
    const PictureThumbnail thumbnail = loadPictureThumbnail(file, QSize(200, 150));
    ASSERT_TRUE(thumbnail.valid);
    EXPECT_EQ(thumbnail.fullSize, QSize(10000, 10000));
    EXPECT_EQ(thumbnail.image.size(), QSize(150, 150));
    const qint64 thumbnailPeak = helperPeakResidentBytes();
    ASSERT_GT(thumbnailPeak, 0);
    EXPECT_LT(thumbnailPeak, qint64(200) << 20);
}

} // namespace

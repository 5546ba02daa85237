#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/ProgramFolders.h"

using namespace cw;

namespace {
using Result = CliResult;
Result runPictureCli(const QStringList &args)
{
    return runCasewrightCli(args);
}
} // namespace

TEST(CliPictures, FilterWithTheProgramsModules)
{
    Result r = runPictureCli({ "filter", "--plugins", programModuleFolder() });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
        "画像|*.gif;*.heic;*.heif;*.avif;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.tif;*.tiff;*.webp"
        ";*.bmp|BMP(*.bmp)|*.bmp"
        "|GIF|*.gif|HEIF / AVIF|*.heic;*.heif;*.avif|JPEG|*.jpg;*.jpeg;*.jpe;*.jfif|PNG|*.png"
        "|TIFF|*.tif;*.tiff|WebP|*.webp\n");
}

TEST(CliPictures, FilterWithoutModules)
{
    QTemporaryDir empty;
    Result r = runPictureCli({ "filter", "--plugins", empty.path() });
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "画像|;*.bmp|BMP(*.bmp)|*.bmp\n");
}

TEST(CliPictures, DecodeGivesTheSizeAndWritesAPng)
{
    QTemporaryDir dir;
    QImage img(31, 17, QImage::Format_RGB32);
    img.fill(qRgb(200, 10, 20));
    ASSERT_TRUE(img.save(dir.filePath("a.jpg"), "JPEG"));
    // The modules of the program's module folder are found without --plugins.
    Result r = runPictureCli({ "decode", dir.filePath("a.jpg"), "--png", dir.filePath("o.png") });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "31x17\n");
    QImage out(dir.filePath("o.png"));
    EXPECT_EQ(out.size(), QSize(31, 17));
}

TEST(CliPictures, DecodeFailuresGiveTheMessageAndStatus1)
{
    QTemporaryDir dir;
    Result r = runPictureCli({ "decode", dir.filePath("none.png") });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.endsWith("ファイル(" + dir.filePath("none.png") + ")がありません\n"))
        << r.err.toStdString();
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(Qt::white);
    ASSERT_TRUE(img.save(dir.filePath("a.png"), "PNG"));
    r = runPictureCli({ "decode", dir.filePath("a.png"), "--plugins", dir.path() });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.endsWith(
        "ファイル(" + dir.filePath("a.png") + ")は利用できない画像形式です(Pluginがありません)\n"))
        << r.err.toStdString();
    r = runPictureCli({ "decode" });
    EXPECT_EQ(r.code, 2);
}

// The command line loads a decoder module only when the modules before it
// have turned the picture down, and the HEIF module opens libheif (with its
// video codecs) only to decode: a JPEG maps neither libheif nor the modules
// after jpeg.spi. The dynamic loader's own record tells what was loaded.
TEST(CliPictures, DecodingLoadsOnlyTheModulesItNeeds)
{
    QTemporaryDir dir;
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(qRgb(20, 120, 200));
    ASSERT_TRUE(img.save(dir.filePath("a.jpg"), "JPEG"));
    ASSERT_TRUE(img.save(dir.filePath("a.png"), "PNG"));
    QProcess enc;
    enc.start("heif-enc", { dir.filePath("a.png"), "-o", dir.filePath("a.heic") });
    ASSERT_TRUE(enc.waitForFinished(60000) && enc.exitCode() == 0);

    qputenv("LD_DEBUG", "files");
    const Result jpeg = runPictureCli({ "decode", dir.filePath("a.jpg") });
    const Result heic = runPictureCli({ "decode", dir.filePath("a.heic") });
    qunsetenv("LD_DEBUG");
    ASSERT_EQ(jpeg.code, 0);
    EXPECT_EQ(jpeg.out, "16x8\n");
    auto loaded = [](const Result &r, const char *name) {
        return r.err.contains(QStringLiteral("file=") + QLatin1String(name))
            || r.err.contains(QStringLiteral("/") + QLatin1String(name) + QStringLiteral(" [0];"));
    };
    EXPECT_TRUE(loaded(jpeg, "jpeg.spi")) << jpeg.err.toStdString();
    EXPECT_TRUE(loaded(jpeg, "heif.spi"));
    for (const char *later : { "png.spi", "tiff.spi", "webp.spi", "libheif.so", "libtiff.so" })
        EXPECT_FALSE(loaded(jpeg, later)) << later;

    ASSERT_EQ(heic.code, 0) << heic.err.toStdString();
    EXPECT_EQ(heic.out, "16x8\n");
    EXPECT_TRUE(loaded(heic, "libheif.so"));
}

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "pictures/PictureDialogRules.h"
#include "pictures/PictureThumbnail.h"

using namespace cw;

namespace {

TEST(PictureDialogRules, MulDivRoundsToNearest)
{
    struct Case
    {
        int a, b, c, result;
    };
    for (const Case &c : { Case { 200, 153, 400, 77 }, // 76.5
             Case { 200, 141, 400, 71 }, // 70.5
             Case { 1, 1, 3, 0 }, Case { 2, 1, 3, 1 }, Case { -3, 1, 2, -2 },
             Case { 7, 1, -2, -4 }, Case { 1, 1, 0, -1 }, Case { 65536, 65536, 1, -1 } })
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(PictureDialogRules, PaintBoxDrawsUnscaledCentredOrStretchedFromTheCorner)
{
    const QSize box(153, 141);
    EXPECT_EQ(paintBoxTarget(QSize(100, 50), box), QRect(26, 45, 100, 50));
    EXPECT_EQ(paintBoxTarget(QSize(153, 141), box), QRect(0, 0, 153, 141));
    EXPECT_EQ(paintBoxTarget(QSize(400, 200), box), QRect(0, 0, 153, 77));
    EXPECT_EQ(paintBoxTarget(QSize(200, 400), box), QRect(0, 0, 71, 141));
    // Square and too tall for the box: fitted to the height.
    EXPECT_EQ(paintBoxTarget(QSize(150, 150), box), QRect(0, 0, 141, 141));
    // Never past the box's edge: a nearly square wide picture, a square one
    // in a tall box.
    EXPECT_EQ(paintBoxTarget(QSize(200, 190), box), QRect(0, 0, 148, 141));
    EXPECT_EQ(paintBoxTarget(QSize(600, 600), QSize(153, 330)), QRect(0, 0, 153, 153));
    EXPECT_TRUE(paintBoxTarget(QSize(0, 0), box).isEmpty());
    EXPECT_EQ(paintBoxTextOrigin(QSize(40, 13), box), QPoint(56, 64));
}

TEST(PictureDialogRules, PreviewWindowSizeIsCapped)
{
    EXPECT_EQ(previewWindowClientSize(QSize(800, 300)), QSize(616, 316));
    EXPECT_EQ(previewWindowClientSize(QSize(599, 439)), QSize(615, 455));
    EXPECT_EQ(previewWindowClientSize(QSize(600, 440)), QSize(616, 456));
    EXPECT_FALSE(previewWindowClientSize(QSize()).isValid());
}

TEST(PictureDialogRules, LabelAndStartFolder)
{
    EXPECT_EQ(pictureSizeLabel(QSize(4000, 3000), true), " (4000x3000)");
    EXPECT_EQ(pictureSizeLabel(QSize(), false), QStringLiteral("画像:"));
    QTemporaryDir pics, docs;
    EXPECT_EQ(pictureStartFolder(pics.filePath("a.jpg"), docs.filePath("d.cwr")), pics.path());
    EXPECT_EQ(pictureStartFolder(QString(), docs.filePath("d.cwr")), docs.path());
    EXPECT_EQ(pictureStartFolder("/no/such/folder/a.jpg", docs.filePath("d.cwr")), docs.path());
    EXPECT_EQ(pictureStartFolder(QString(), QString()), QString());
}

TEST(PictureDialogRules, PickedColourIsThePixelAsBGR)
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(pickedPixelColor(img, QPoint(3, 3)), 0x00332211u);
    EXPECT_EQ(pickedPixelColor(img, QPoint(4, 0)), std::nullopt);
}

TEST(PictureThumbnail, LargeJpegIsDecodedAtTheDrawnSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.jpg");
    QImage img(4000, 3000, QImage::Format_RGB32);
    img.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(img.save(path, "JPEG", 80));
    const PictureThumbnail t = loadPictureThumbnail(path, QSize(153, 141));
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.fullSize, QSize(4000, 3000));
    EXPECT_LE(t.image.width(), 153);
    EXPECT_LE(t.image.height(), 115);
}

TEST(PictureThumbnail, ModulesDecodeWhatQtCannotAndNothingIsReported)
{
    ModuleFolder modules({ "tm_good:a.spi" });
    SusieHost::instance().load(modules.path() + "/");
    QTemporaryDir dir;
    const QString path = dir.filePath("p.cwtp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(testPicture(321, 123, qRgb(1, 2, 3)));
    f.close();
    const PictureThumbnail t = loadPictureThumbnail(path, QSize(153, 141));
    EXPECT_TRUE(t.valid);
    EXPECT_EQ(t.fullSize, QSize(321, 123));
    EXPECT_EQ(loadPictureWhole(path).size(), QSize(321, 123));
    SusieHost::instance().unload();
    EXPECT_FALSE(loadPictureThumbnail(path, QSize(153, 141)).valid);
    EXPECT_FALSE(loadPictureThumbnail(dir.path(), QSize(153, 141)).valid);
    EXPECT_FALSE(loadPictureThumbnail(dir.filePath("none.png"), QSize(153, 141)).valid);
}

TEST(PictureThumbnail, OnlyTheNewestRequestIsAnswered)
{
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        QImage img(800 + i, 600, QImage::Format_RGB32);
        img.fill(Qt::white);
        files.append(dir.filePath(QStringLiteral("%1.png").arg(i)));
        ASSERT_TRUE(img.save(files.last()));
    }
    ThumbnailLoader loader;
    QSignalSpy spy(&loader, &ThumbnailLoader::ready);
    for (const QString &f : files)
        loader.request(f, QSize(153, 141));
    loader.waitForIdle();
    QCoreApplication::sendPostedEvents(&loader);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), files.last());
    EXPECT_EQ(spy.at(0).at(1).value<PictureThumbnail>().fullSize, QSize(803, 600));
}

} // namespace

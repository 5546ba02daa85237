#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/QtUserDialogs.h"
#include "pictures/PictureLoading.h"
#include "pictures/PictureTestUtil.h"
#include "pictures/SusieHost.h"
#include "pictures/ui/TOpenPictureDialogEx.h"
#include "pictures/ui/TTransColGet.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {

QString savePicture(const QTemporaryDir &dir, const QString &name, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(40, 90, 200));
    const QString path = dir.filePath(name);
    EXPECT_TRUE(img.save(path));
    return path;
}

class PictureDialogTest : public ::testing::Test
{
protected:
    void select(const QString &path)
    {
        dialog.showSelection(path);
        dialog.waitForPreview();
    }
    QTemporaryDir dir;
    TOpenPictureDialogEx dialog;
};

TEST_F(PictureDialogTest, IsQtsOwnDialogWithThePaneOnTheRight)
{
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    dialog.setPictureFilter(pictureOpenDialogFilter());
    dialog.setStartFolder(dir.path());
    dialog.show();
    QCoreApplication::processEvents();
    auto *panel = dialog.findChild<QWidget *>("PicturePanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), 169);
    EXPECT_GE(panel->height(), 200);
    auto *files = dialog.findChild<QWidget *>("listView");
    ASSERT_NE(files, nullptr);
    EXPECT_GT(panel->mapTo(&dialog, QPoint()).x(), files->mapTo(&dialog, QPoint()).x());
    EXPECT_EQ(dialog.directory().absolutePath(), dir.path());
    EXPECT_EQ(dialog.previewButton()->size(), QSize(23, 22));
    EXPECT_EQ(dialog.previewButton()->toolTip(), QStringLiteral("プレビュー"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.previewButton())->text(QAccessible::Name),
        QStringLiteral("プレビュー"));
}

TEST_F(PictureDialogTest, SelectionShowsTheSizeOrNothing)
{
    EXPECT_EQ(dialog.pictureLabel()->text(), QString());
    EXPECT_FALSE(dialog.previewButton()->isEnabled());
    select(savePicture(dir, "a.png", 100, 50));
    EXPECT_EQ(dialog.pictureLabel()->text(), " (100x50)");
    EXPECT_TRUE(dialog.previewButton()->isEnabled());
    EXPECT_EQ(dialog.paintBox()->pictureSize(), QSize(100, 50));

    // Not a picture, and a folder: "画像:" and "(なし)", no message.
    const QString text = dir.filePath("notes.txt");
    writeAll(text, "hello");
    for (const QString &path : { text, dir.path() }) {
        select(savePicture(dir, "b.png", 10, 10));
        select(path);
        EXPECT_EQ(dialog.pictureLabel()->text(), QStringLiteral("画像:")) << path.toStdString();
        EXPECT_FALSE(dialog.previewButton()->isEnabled());
        EXPECT_TRUE(dialog.paintBox()->target().isEmpty());
    }
}

TEST_F(PictureDialogTest, LargePhotosDecodeInTheBackgroundAndTheNewestSelectionWins)
{
    const QString small = savePicture(dir, "small.png", 64, 48);
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(qRgb(90, 120, 30));
    const QString big = dir.filePath("big.jpg");
    ASSERT_TRUE(photo.save(big, "JPEG", 85));
    // The answer arrives through the event loop, never inside the call.
    dialog.showSelection(big);
    EXPECT_EQ(dialog.pictureLabel()->text(), QString());
    dialog.waitForPreview();
    EXPECT_EQ(dialog.pictureLabel()->text(), " (4000x3000)");
    // Arrowing on before the decode ends: only the last file is shown.
    dialog.showSelection(big);
    dialog.showSelection(small);
    dialog.waitForPreview();
    EXPECT_EQ(dialog.pictureLabel()->text(), " (64x48)");
    EXPECT_EQ(dialog.shownFile(), small);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.pictureLabel()->text(), " (64x48)");
}

TEST_F(PictureDialogTest, PaintBoxFollowsTheDrawingRules)
{
    dialog.show();
    QCoreApplication::processEvents();
    dialog.paintBox()->setFixedSize(153, 141);
    QCoreApplication::processEvents();
    const std::pair<QSize, QRect> cases[] = { { QSize(100, 50), QRect(26, 45, 100, 50) },
        { QSize(400, 200), QRect(0, 0, 153, 77) }, { QSize(200, 400), QRect(0, 0, 71, 141) } };
    for (auto [size, target] : cases) {
        select(savePicture(dir, QStringLiteral("%1.png").arg(size.width()), size.width(), size.height()));
        EXPECT_EQ(dialog.paintBox()->target(), target);
        // What is on screen: the picture's colour inside the target, none outside.
        const QImage shot = dialog.paintBox()->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(target.center())), QColor(40, 90, 200));
        EXPECT_NE(QColor(shot.pixel(152, 140)), QColor(40, 90, 200)) << size.width();
    }
}

TEST_F(PictureDialogTest, APluginOnlyFormatShowsItsSize)
{
    ModuleFolder modules({ "tm_good:a.spi" });
    SusieHost::instance().load(modules.path() + "/");
    const QString path = dir.filePath("p.cwtp");
    writeAll(path, testPicture(640, 480, qRgb(1, 2, 3)));
    select(path);
    EXPECT_EQ(dialog.pictureLabel()->text(), " (640x480)");
    EXPECT_TRUE(dialog.previewButton()->isEnabled());
    SusieHost::instance().unload();
}

TEST_F(PictureDialogTest, PreviewWindowSizesAndTheApostropheKey)
{
    for (auto [w, h, cw, ch] : { std::tuple { 800, 300, 616, 316 }, { 599, 439, 615, 455 } }) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        TPicturePreviewWindow preview(img);
        EXPECT_EQ(preview.size(), QSize(cw, ch));
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("プレビュー"));
        EXPECT_EQ(preview.objectName(), "PreviewForm");
        EXPECT_EQ(preview.findChild<QLabel *>("Image")->pixmap().size(), QSize(w, h));
        preview.show();
        QTest::sendKeyEvent(QTest::Click, &preview, Qt::Key_Apostrophe, QString(QChar(0x27)),
            Qt::NoModifier);
        EXPECT_FALSE(preview.isVisible());
    }
    // The button opens it modally with the picture shown.
    select(savePicture(dir, "c.png", 30, 20));
    QSize shown;
    QTimer::singleShot(0, [&] {
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = w->size();
            w->reject();
        }
    });
    QTest::mouseClick(dialog.previewButton(), Qt::LeftButton);
    EXPECT_EQ(shown, QSize(46, 36));
}

// A picture of two colours: red on the left half, blue on the right.
QImage twoColours()
{
    QImage img(600, 100, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 100; ++y)
        for (int x = 300; x < 600; ++x)
            img.setPixel(x, y, qRgb(0, 0, 255));
    return img;
}

TEST(TransColGet, ClickPicksThePixelAndTheLastColourIsKeptAfterACancel)
{
    QWidget owner;
    QtUserDialogs dialogs(&owner);
    ColorRef seenSecondTime = 0;
    // First use: pick blue, then cancel.
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TTransColGet *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), "Casewright");
        EXPECT_EQ(picker->size(), QSize(383, 243));
        EXPECT_EQ(picker->findChild<QScrollArea *>("ScrollBox1")->size(), QSize(320, 240));
        EXPECT_EQ(picker->transColor()->size(), QSize(33, 33));
        EXPECT_EQ(picker->image()->size(), QSize(600, 100));
        QTest::mouseClick(picker->image(), Qt::RightButton, Qt::NoModifier, QPoint(310, 5));
        EXPECT_EQ(picker->color(), 0x00ff0000u);
        QTest::mouseClick(picker->findChild<QPushButton *>("Button2"), Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.pickTransparentColor(twoColours()), std::nullopt);
    // Second use: blue is still there; pick red and accept.
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TTransColGet *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        seenSecondTime = picker->color();
        QTest::mouseClick(picker->image(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        QTest::mouseClick(picker->findChild<QPushButton *>("Button1"), Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.pickTransparentColor(twoColours()), 0x000000ffu);
    EXPECT_EQ(seenSecondTime, 0x00ff0000u);
}

TEST(TransColGet, ControlsAreNamed)
{
    TTransColGet picker;
    for (auto [name, text] : { std::pair { "Button1", "取込" }, { "Button2", "ｷｬﾝｾﾙ" },
             { "TransColor", "透明色" } }) {
        auto *w = picker.findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name),
            QString::fromUtf8(text));
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&picker)->role(), QAccessible::Dialog);
}

} // namespace

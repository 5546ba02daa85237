#include "MainWindowHarness.h"

#include <QPushButton>

#include "render/DocumentPages.h"
#include "render/RenderPreviewPage.h"
#include "render/ui/TPreviewWindow.h"
#include "TestSupport.h"

using namespace cw;

// The main window's own preview: every edit reaches it with its page.
TEST_F(MainWindowTest, EditsReachThePreviewWithTheirPage)
{
    window->setPreviewRefresher(nullptr); // the window's own preview window
    showWindow();
    TPreviewWindow *preview = window->previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->isVisible());

    click("PreviewShow");
    ASSERT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->state().previewPage(), PreviewPage::Front);
    EXPECT_EQ(preview->drawCount(), 1);

    // A back-label edit while the front shows draws nothing.
    click("BottomTitleUse");
    EXPECT_EQ(preview->drawCount(), 1);
    // A front edit redraws the front.
    click("TopTitleUse");
    EXPECT_EQ(preview->drawCount(), 2);
    type("TopTitle", QStringLiteral("A"));
    EXPECT_EQ(preview->drawCount(), 3);

    // Showing the back page, then a spine edit redraws it.
    QTest::mouseClick(preview->findChild<QPushButton *>("PreviewBottomShow"), Qt::LeftButton);
    EXPECT_EQ(preview->drawCount(), 4);
    click("LeftTitleUse");
    EXPECT_EQ(preview->drawCount(), 5);

    // While hidden, edits wait for the next showing and then draw once.
    preview->hide();
    click("RightTitleUse");
    click("BottomTitleUse");
    EXPECT_EQ(preview->drawCount(), 5);
    click("PreviewShow");
    EXPECT_EQ(preview->drawCount(), 6);
}

// The main window takes the printer's resolution each time it is shown (it is
// shown again when an editor closes); the preview shows the page at the new one.
TEST_F(MainWindowTest, APrinterResolutionTakenOnShowingRedrawsThePreview)
{
    window->setPreviewRefresher(nullptr);
    showWindow();
    click("PreviewShow");
    TPreviewWindow *preview = window->previewWindow();
    const int drawn = preview->drawCount();

    // Shown again at the same resolution: nothing to redraw.
    window->hide();
    window->show();
    EXPECT_EQ(preview->drawCount(), drawn);

    printer.dpiX = 600;
    printer.dpiY = 720;
    window->hide();
    window->show();
    EXPECT_EQ(window->document().dpiX, 600);
    EXPECT_EQ(window->document().dpiY, 720);
    EXPECT_EQ(preview->drawCount(), drawn + 1);
    QImage fresh(preview->bitmap().size(), QImage::Format_RGB32);
    fresh.fill(Qt::white);
    RenderPreviewPage(preview->state().previewPage(), fresh,
        documentPageDrawer(window->document(), &window->printOptions()));
    EXPECT_EQ(preview->bitmap().convertToFormat(QImage::Format_RGB32), fresh);
}

namespace {

int blackPixels(const QImage &page)
{
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            n += (rgb.pixel(x, y) & 0xffffff) == 0;
    return n;
}

} // namespace

// A picture too large to read at once: when a larger print size needs more of
// its pixels, the window goes on at once with the page drawn without it, the
// picture is read in the background, and the page is drawn again with it, as
// a fresh drawing of the document has it.
TEST_F(MainWindowTest, AHugePictureIsReadAgainWithoutHoldingTheWindow)
{
    window->setPreviewRefresher(nullptr);
    showWindow();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.bmp"));
    ASSERT_TRUE(writeAll(path, largeRleBmp()));
    click("TopGraphicUse");
    dialogs.pictureAnswer = path;
    click("TopGraphicFileSelect");
    ASSERT_EQ(window->document().top.picture.pixelWidth, 6000);
    click("PreviewShow");
    TPreviewWindow *preview = window->previewWindow();
    const int withPicture = blackPixels(preview->bitmap());
    ASSERT_GT(withPicture, 10000);
    EXPECT_FALSE(window->picturesLoading());

    // Twice the print size needs every pixel of the file.
    auto *width = find<QLineEdit>("TopGraphicWidth2");
    width->setFocus();
    width->selectAll();
    type("TopGraphicWidth2", QStringLiteral("9000"));
    pressEnter("TopGraphicWidth2");
    const int drawn = preview->drawCount();
    EXPECT_LT(blackPixels(preview->bitmap()), withPicture / 10); // drawn without it for now

    window->waitForPictures();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->picturesLoading());
    EXPECT_EQ(preview->drawCount(), drawn + 1);
    EXPECT_GE(blackPixels(preview->bitmap()), withPicture); // the face covered again
    QImage fresh(preview->bitmap().size(), QImage::Format_RGB32);
    fresh.fill(Qt::white);
    RenderPreviewPage(preview->state().previewPage(), fresh,
        documentPageDrawer(window->document(), &window->printOptions()));
    EXPECT_EQ(preview->bitmap().convertToFormat(QImage::Format_RGB32), fresh);
    EXPECT_EQ(window->document().top.picture.pixelWidth, 6000);
    EXPECT_EQ(window->document().top.picture.printWidth, 9000);
}

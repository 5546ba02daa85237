#include "MainWindowHarness.h"

#include <QPushButton>

#include "render/ui/TPreviewWindow.h"

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

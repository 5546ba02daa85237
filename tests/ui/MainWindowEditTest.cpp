#include <QKeyEvent>
#include <QRadioButton>

#include "MainWindowHarness.h"

using namespace cw;

TEST_F(MainWindowTest, Typing250IntoTheLeftOffsetLeaves115)
{
    showWindow();
    click("LeftTitleUse");
    click("LeftTitlePos3");
    ASSERT_TRUE(enabled("LeftTitleOffset"));
    EXPECT_TRUE(enabled("LeftTitleOffsetCaption"));
    EXPECT_TRUE(enabled("LeftTitleOffsetUnit"));
    selectAllAndType("LeftTitleOffset", QStringLiteral("250"));
    EXPECT_EQ(text("LeftTitleOffset"), QStringLiteral("115"));
    EXPECT_EQ(window->document().left.title.offset, 115);
}

TEST_F(MainWindowTest, TheLeftOffsetIsCarriedToTheLinkedRightSpine)
{
    showWindow();
    click("LeftTitleUse");
    click("LeftTitlePos3");
    click("RightTitleUse");
    click("RightSameLeft");
    ASSERT_TRUE(checked("RightSameLeft"));
    // The right spine follows the left: its own offset is not editable.
    EXPECT_FALSE(enabled("RightTitleOffset"));
    selectAllAndType("LeftTitleOffset", QStringLiteral("250"));
    EXPECT_EQ(text("LeftTitleOffset"), QStringLiteral("115"));
    EXPECT_EQ(text("RightTitleOffset"), QStringLiteral("115"));
    EXPECT_EQ(window->document().right.title.offset, 115);
    EXPECT_TRUE(checked("RightTitlePos3"));
}

TEST_F(MainWindowTest, TheRightSpinesLinksExcludeEachOther)
{
    showWindow();
    click("RightTitleUse");
    EXPECT_TRUE(enabled("RightSameTitle"));
    EXPECT_TRUE(enabled("RightSameLeft"));
    click("RightSameTitle");
    EXPECT_FALSE(enabled("RightSameLeft"));
    EXPECT_FALSE(enabled("RightTitle"));
    EXPECT_TRUE(enabled("RightTitlePos"));
    click("RightSameTitle");
    EXPECT_TRUE(enabled("RightSameLeft"));
    click("RightSameLeft");
    EXPECT_FALSE(enabled("RightSameTitle"));
    EXPECT_FALSE(enabled("RightTitlePos"));
    click("RightTitleUse");
    EXPECT_FALSE(enabled("RightSameTitle"));
    EXPECT_FALSE(enabled("RightSameLeft"));
    EXPECT_TRUE(checked("RightSameLeft"));
}

TEST_F(MainWindowTest, JapaneseTypedIntoTheFrontTitleReachesBothLinkedSpines)
{
    showWindow();
    click("TopTitleUse");
    click("LeftTitleUse");
    click("LeftSameTitle");
    click("RightTitleUse");
    click("RightSameLeft");
    refresher.pages.clear();
    type("TopTitle", QStringLiteral("夏の歌"));
    EXPECT_EQ(window->document().top.title.text, QStringLiteral("夏の歌"));
    EXPECT_EQ(text("LeftTitle"), QStringLiteral("夏の歌"));
    EXPECT_EQ(text("RightTitle"), QStringLiteral("夏の歌"));
    EXPECT_EQ(window->document().right.title.text, QStringLiteral("夏の歌"));
    // Each keystroke refreshes the front page and, carried over, the back.
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Front));
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Back));
}

TEST_F(MainWindowTest, RightSameLeftWithTheLeftTitleOffCopiesNothing)
{
    showWindow();
    click("RightTitleUse");
    type("RightTitle", QStringLiteral("right"));
    click("LeftTitleUse");
    type("LeftTitle", QStringLiteral("left"));
    click("LeftTitleUse"); // off again
    click("RightSameLeft");
    EXPECT_EQ(text("RightTitle"), QStringLiteral("right"));
}

TEST_F(MainWindowTest, BackSameTitleFollowsTheFrontModeButNotItsLaterCustomValues)
{
    showWindow();
    click("TopTitleUse");
    click("BottomTitleUse");
    click("BottomSameTitle");
    EXPECT_FALSE(enabled("BottomTitle"));
    click("TopTitlePos3");
    EXPECT_TRUE(checked("BottomTitlePos3"));
    click("TopTitlePosXUse");
    selectAllAndType("TopTitlePosX", QStringLiteral("42"));
    EXPECT_EQ(window->document().top.title.customX, 42);
    EXPECT_EQ(text("BottomTitlePosX"), QStringLiteral("0"));
    EXPECT_EQ(window->document().bottom.title.customX, 0);
}

TEST_F(MainWindowTest, CustomPositionTakesItsValueAtOnceAndRefreshesOnEnter)
{
    showWindow();
    click("TopTitleUse");
    click("TopTitlePos3");
    click("TopTitlePosYUse");
    ASSERT_TRUE(enabled("TopTitlePosY"));
    EXPECT_TRUE(enabled("TopTitlePosYUnit"));
    EXPECT_FALSE(enabled("TopTitlePosX"));
    refresher.pages.clear();
    selectAllAndType("TopTitlePosY", QStringLiteral("37"));
    EXPECT_EQ(window->document().top.title.customY, 37);
    EXPECT_TRUE(refresher.pages.isEmpty());

    auto *edit = find<QLineEdit>("TopTitlePosY");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(enter.isAccepted()); // consumed: it does not reach the window
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_TRUE(edit->hasFocus() || !edit->window()->isActiveWindow());
}

TEST_F(MainWindowTest, SwitchingATitleOffAndOnKeepsItsTextAndPosition)
{
    showWindow();
    click("BottomTitleUse");
    type("BottomTitle", QStringLiteral("abc"));
    click("BottomTitlePos2");
    click("BottomTitleUse");
    EXPECT_FALSE(enabled("BottomTitle"));
    click("BottomTitleUse");
    EXPECT_EQ(text("BottomTitle"), QStringLiteral("abc"));
    EXPECT_TRUE(checked("BottomTitlePos2"));
}

TEST_F(MainWindowTest, AFontChosenForTheFrontReachesTheLinkedBack)
{
    showWindow();
    click("TopTitleUse");
    click("BottomTitleUse");
    click("BottomSameTitle");
    FontSpec chosen = defaultFont();
    chosen.name = QStringLiteral("IPAMincho");
    chosen.size = 20;
    chosen.bold = true;
    dialogs.fontAnswer = chosen;
    click("TopTitleFontSet");
    ASSERT_EQ(dialogs.fontStarts.size(), 1);
    EXPECT_EQ(dialogs.fontStarts[0], defaultFont());
    EXPECT_EQ(window->document().top.title.font, chosen);
    EXPECT_EQ(window->document().bottom.title.font, chosen);

    // Cancelled: nothing changes.
    dialogs.fontAnswer.reset();
    click("TopTitleFontSet");
    EXPECT_EQ(window->document().top.title.font, chosen);
}

TEST_F(MainWindowTest, ListAndPrintSwitchesEnableTheirEditorButtons)
{
    showWindow();
    QList<int> lists, prints;
    QObject::connect(
        window.get(), &TMainWindow::listEditRequested, [&](int side) { lists.append(side); });
    QObject::connect(
        window.get(), &TMainWindow::printsEditRequested, [&](int list) { prints.append(list); });
    click("UseBottomList");
    EXPECT_TRUE(enabled("BottomListEdit"));
    EXPECT_EQ(refresher.pages.last(), PreviewPage::Back);
    click("BottomListEdit");
    refresher.pages.clear();
    click("UseTop2Prints");
    EXPECT_TRUE(enabled("Top2PrintsEdit"));
    EXPECT_FALSE(enabled("Top1PrintsEdit"));
    // A free-print switch redraws its page, so the preview never shows
    // items that no longer print.
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Front }));
    click("Top2PrintsEdit");
    EXPECT_EQ(lists, QList<int>({ 1 }));
    EXPECT_EQ(prints, QList<int>({ 1 }));
}

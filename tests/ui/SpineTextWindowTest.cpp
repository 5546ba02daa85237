// "背文字の向き" on the spine tabs: an entry chosen by keys or by clicking is
// one step; the list shows the direction the title runs without choosing it.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>

#include "MainWindowHarness.h"
#include "document/DocumentWriter.h"

TEST_F(MainWindowTest, KeysAndAClickChooseASpineTextDirectionAsOneStepEach)
{
    showWindow();
    auto *left = find<QComboBox>("LeftSpineText");
    auto *right = find<QComboBox>("RightSpineText");
    // The jewel case's own: the left spine reads up, the right one down.
    EXPECT_EQ(std::pair(left->currentIndex(), right->currentIndex()), std::pair(1, 0));
    EXPECT_FALSE(left->isEnabled());
    click("LeftTitleUse");
    click("RightTitleUse");
    refresher.pages.clear();
    reveal(left);
    left->setFocus();
    QTest::keyClick(left, Qt::Key_Up);
    EXPECT_EQ(window->document().left.spineText, SpineText::TopToBottom);
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: 背文字の向き(背表紙(左))"));
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Back }));

    reveal(right);
    QTest::mouseClick(right, Qt::LeftButton);
    QAbstractItemView *view = right->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    QTest::qWait(QApplication::doubleClickInterval() + 50); // not the opening click's release
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
        view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_EQ(window->document().right.spineText, SpineText::BottomToTop);
    EXPECT_EQ(window->editor().history().undoCount(), 4);
    window->undoAction()->trigger();
    EXPECT_EQ(window->document().right.spineText, SpineText::CaseOwn);
    EXPECT_EQ(right->currentIndex(), 0);
    EXPECT_EQ(window->editor().history().redoCount(), 1);
}

TEST_F(MainWindowTest, TheSpineTextListShowsTheDocumentAndTheOptionWithoutChoosing)
{
    showWindow();
    auto *left = find<QComboBox>("LeftSpineText");
    // "背表紙同方向印刷" turns the left title down: shown, not chosen.
    click("SideTitleSameTop");
    EXPECT_EQ(left->currentIndex(), 0);
    EXPECT_EQ(window->document().left.spineText, SpineText::CaseOwn);
    click("SideTitleSameTop");
    EXPECT_EQ(left->currentIndex(), 1);

    LabelDocument chosen;
    chosen.left.spineText = SpineText::TopToBottom;
    chosen.right.spineText = SpineText::BottomToTop;
    QTemporaryDir dir;
    NullMessageSink quiet;
    ASSERT_TRUE(saveDocument(chosen, dir.filePath("a.cwr"), quiet));
    ASSERT_TRUE(window->openDocument(dir.filePath("a.cwr")));
    EXPECT_EQ(std::pair(left->currentIndex(), find<QComboBox>("RightSpineText")->currentIndex()),
        std::pair(0, 1));
    // A wrap's spine reads down unless chosen otherwise; it has no right spine.
    find<QComboBox>("CaseType")->setCurrentIndex(caseFormatIds().indexOf("dvd-14"));
    EXPECT_FALSE(find<QWidget>("RightSpineText")->isEnabledTo(window.get()));
    window->document().left.spineText = SpineText::BottomToTop;
    window->syncFromDocument();
    EXPECT_EQ(left->currentIndex(), 1);
    window->document().left.spineText = SpineText::CaseOwn;
    window->syncFromDocument();
    EXPECT_EQ(left->currentIndex(), 0);
    EXPECT_EQ(window->document().left.spineText, SpineText::CaseOwn);
    EXPECT_EQ(window->editor().history().undoCount(), 1); // the case change only
}

// "背文字の向き" on the spine tabs: choosing an entry by keys or by clicking is
// one step of the document; the list shows the direction the title runs
// (the case's and the print option's until one is chosen) without choosing it.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>

#include "MainWindowHarness.h"
#include "document/DocumentWriter.h"

namespace {

class SpineTextWindowTest : public MainWindowTest
{
protected:
    QComboBox *list(const char *name) { return find<QComboBox>(name); }
    DocumentHistory &history() { return window->editor().history(); }
    void chooseByClicking(QComboBox *combo, int row)
    {
        reveal(combo);
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView *view = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        // The release of the opening click is not taken as a choice.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        QTRY_VERIFY(!view->window()->isVisible());
    }
};

} // namespace

TEST_F(SpineTextWindowTest, KeysAndAClickChooseADirectionAsOneStepEach)
{
    showWindow();
    QComboBox *left = list("LeftSpineText");
    QComboBox *right = list("RightSpineText");
    EXPECT_EQ(left->itemText(0), QStringLiteral("上から下"));
    EXPECT_EQ(left->itemText(1), QStringLiteral("下から上"));
    // The jewel case's own: the left spine reads up, the right one down.
    EXPECT_EQ(left->currentIndex(), 1);
    EXPECT_EQ(right->currentIndex(), 0);
    EXPECT_FALSE(left->isEnabled());
    click("LeftTitleUse");
    click("RightTitleUse");
    ASSERT_TRUE(left->isEnabled());
    const qsizetype steps = history().undoCount();
    refresher.pages.clear();

    reveal(left);
    left->setFocus();
    QTest::keyClick(left, Qt::Key_Up);
    EXPECT_EQ(window->document().left.spineText, SpineText::TopToBottom);
    EXPECT_EQ(history().undoCount(), steps + 1);
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: 背文字の向き(背表紙(左))"));
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Back }));

    chooseByClicking(right, 1);
    EXPECT_EQ(window->document().right.spineText, SpineText::BottomToTop);
    EXPECT_EQ(history().undoCount(), steps + 2);

    // Undo shows the case's own direction again and leaves the step to redo.
    window->undoAction()->trigger();
    EXPECT_EQ(window->document().right.spineText, SpineText::CaseOwn);
    EXPECT_EQ(right->currentIndex(), 0);
    EXPECT_EQ(history().redoCount(), 1);
    window->redoAction()->trigger();
    EXPECT_EQ(right->currentIndex(), 1);
    EXPECT_EQ(history().undoCount(), steps + 2);
}

TEST_F(SpineTextWindowTest, TheListShowsTheDocumentAndTheOptionWithoutChoosing)
{
    showWindow();
    QComboBox *left = list("LeftSpineText");
    QComboBox *right = list("RightSpineText");
    // "背表紙同方向印刷" turns the left title down: the list shows it, and the
    // document still follows the case.
    click("SideTitleSameTop");
    EXPECT_EQ(left->currentIndex(), 0);
    EXPECT_EQ(window->document().left.spineText, SpineText::CaseOwn);
    click("SideTitleSameTop");
    EXPECT_EQ(left->currentIndex(), 1);
    EXPECT_FALSE(history().canUndo());

    // A file's directions are shown as read; reading starts a new history.
    LabelDocument chosen;
    chosen.left.spineText = SpineText::TopToBottom;
    chosen.right.spineText = SpineText::BottomToTop;
    QTemporaryDir dir;
    const QString path = dir.filePath("chosen.cwr");
    NullMessageSink quiet;
    ASSERT_TRUE(saveDocument(chosen, path, quiet));
    ASSERT_TRUE(window->openDocument(path));
    EXPECT_EQ(left->currentIndex(), 0);
    EXPECT_EQ(right->currentIndex(), 1);
    EXPECT_FALSE(history().canUndo());

    // A wrap has no right spine: its list is disabled and keeps the value.
    find<QComboBox>("CaseType")->setCurrentIndex(caseFormatIds().indexOf("dvd-14"));
    EXPECT_FALSE(right->isEnabledTo(window.get()));
    EXPECT_EQ(right->currentIndex(), 1);
    window->document().left.spineText = SpineText::BottomToTop;
    window->syncFromDocument();
    EXPECT_EQ(left->currentIndex(), 1);
    window->document().left.spineText = SpineText::CaseOwn;
    window->syncFromDocument();
    EXPECT_EQ(left->currentIndex(), 0); // the wrap's spine reads down
    EXPECT_EQ(window->document().left.spineText, SpineText::CaseOwn);
    EXPECT_EQ(history().undoCount(), 1); // the case change only
}

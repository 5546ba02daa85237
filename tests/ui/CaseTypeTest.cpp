// The options tab's "ケースの種類": choosing the slim case by clicking its
// entry disables the back and spine tabs (their values stay), and undo
// brings the jewel case back.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "MainWindowHarness.h"
#include "document/DocumentWriter.h"
#include "render/ui/TPreviewWindow.h"

namespace {

class CaseTypeTest : public MainWindowTest
{
protected:
    QTabWidget *tabs() { return find<QTabWidget>("PageControl"); }
    // Whether each of the five tabs can be chosen, in tab order.
    QList<bool> tabsEnabled()
    {
        QList<bool> out;
        for (int i = 0; i < tabs()->count(); ++i)
            out << tabs()->isTabEnabled(i);
        return out;
    }
    // Opens the list with a click and clicks the entry `row`, as the user does.
    void chooseByClicking(QComboBox *combo, int row)
    {
        reveal(combo);
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView *view = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        // The list takes no release within a double-click time of the click
        // that opened it (that release belongs to the opening click).
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        QTRY_VERIFY(!view->window()->isVisible());
    }
    DocumentHistory &history() { return window->editor().history(); }
};

} // namespace

TEST_F(CaseTypeTest, TheListNamesTheCasesAndCarriesItsLabel)
{
    auto *combo = find<QComboBox>("CaseType");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->accessibleName(), QStringLiteral("ケースの種類"));
    EXPECT_EQ(find<QGroupBox>("CaseTypeGroup")->title(), QStringLiteral("ケースの種類"));
    QStringList names;
    for (int i = 0; i < combo->count(); ++i)
        names << combo->itemText(i);
    EXPECT_EQ(names,
        QStringList({ "CDジュエルケース", "CDスリムケース", "DVDトールケース(14mm)",
            "DVDスリムケース(9mm)", "DVDスリムケース(7mm)", "DVDスリムケース(5mm)",
            "Blu-rayケース(12mm)", "Blu-rayケース(14mm)", "カスタムケース" }));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(tabsEnabled(), QList<bool>({ true, true, true, true, true, true, false }));
}

TEST_F(CaseTypeTest, ClickingTheSlimCaseDisablesTheBackTabsAndUndoEnablesThem)
{
    showWindow();
    click("BottomTitleUse");
    type("BottomTitle", QStringLiteral("裏の題"));
    const qsizetype steps = history().undoCount();
    auto *combo = find<QComboBox>("CaseType");
    refresher.pages.clear();

    chooseByClicking(combo, 1);
    EXPECT_EQ(window->document().caseFormat, QStringLiteral("cd-slim"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(history().undoCount(), steps + 1);
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: ケースの種類の変更"));
    // Tabs in order: front, back, left spine, right spine, disc, options.
    // The back's are disabled, not removed, and keep their values; the disc
    // goes with every case.
    EXPECT_EQ(tabsEnabled(), QList<bool>({ true, false, false, false, true, true, false }));
    EXPECT_EQ(tabs()->count(), 7);
    EXPECT_FALSE(find<QWidget>("BottomTitle")->isEnabledTo(window.get()));
    EXPECT_EQ(text("BottomTitle"), QStringLiteral("裏の題"));
    EXPECT_FALSE(enabled("BottomLabelBGColor"));
    EXPECT_TRUE(enabled("TopLabelBGColor1"));
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Front));

    // Undo shows the jewel case in the list without choosing it again: the
    // step stays to be redone.
    window->undoAction()->trigger();
    EXPECT_EQ(window->document().caseFormat, QStringLiteral("cd-jewel"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(history().undoCount(), steps);
    EXPECT_EQ(history().redoCount(), 1);
    EXPECT_EQ(tabsEnabled(), QList<bool>({ true, true, true, true, true, true, false }));
    EXPECT_TRUE(find<QWidget>("BottomTitle")->isEnabledTo(window.get()));
    EXPECT_EQ(window->document().bottom.title.text, QStringLiteral("裏の題"));

    window->redoAction()->trigger();
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(history().undoCount(), steps + 1);
    EXPECT_EQ(tabsEnabled(), QList<bool>({ true, false, false, false, true, true, false }));
}

TEST_F(CaseTypeTest, AnyWayOfChangingTheListIsOneStep)
{
    showWindow();
    auto *combo = find<QComboBox>("CaseType");
    // A program or an accessibility client setting the entry.
    combo->setCurrentIndex(1);
    EXPECT_EQ(window->document().caseFormat, QStringLiteral("cd-slim"));
    EXPECT_EQ(history().undoCount(), 1);
    // The keyboard.
    reveal(combo);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(window->document().caseFormat, QStringLiteral("cd-jewel"));
    EXPECT_EQ(history().undoCount(), 2);
    // Opening a jewel-case file while the slim case is shown shows the jewel case.
    combo->setCurrentIndex(1);
    QTemporaryDir dir;
    const QString path = dir.filePath("jewel.cwr");
    LabelDocument jewel;
    NullMessageSink quiet;
    ASSERT_TRUE(saveDocument(jewel, path, quiet));
    ASSERT_TRUE(window->openDocument(path));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(tabsEnabled(), QList<bool>({ true, true, true, true, true, true, false }));
    EXPECT_FALSE(history().canUndo());
}

// The custom case's sizes: shown for it alone, mirrored from the document,
// taken on Enter or when left as one undoable step each.
TEST_F(CaseTypeTest, TheCustomCaseSizesAreTypedIntoTheirFieldsAndUndone)
{
    showWindow();
    auto *combo = find<QComboBox>("CaseType");
    reveal(combo);
    EXPECT_FALSE(find<QWidget>("CasePanelWidth")->isVisible());
    combo->setCurrentIndex(combo->findData(QStringLiteral("custom-wrap")));
    EXPECT_TRUE(find<QWidget>("CaseSpineWidth")->isVisible());
    EXPECT_EQ(text("CasePanelHeight"), QStringLiteral("183.0"));
    const qsizetype steps = history().undoCount();

    selectAllAndType("CasePanelWidth", QStringLiteral("140"));
    pressEnter("CasePanelWidth");
    EXPECT_EQ(window->document().caseSize, (CaseSize { 1400, 1830, 140 }));
    EXPECT_EQ(text("CasePanelWidth"), QStringLiteral("140.0"));
    EXPECT_EQ(find<QLabel>("TopWidth")->text(), QStringLiteral("1653"));
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: ケースの寸法の変更"));
    selectAllAndType("CaseSpineWidth", QStringLiteral("0"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason); // leaving takes it
    QCoreApplication::sendEvent(find<QWidget>("CaseSpineWidth"), &leave);
    EXPECT_EQ(window->document().caseSize.spineWidth, 0);
    EXPECT_FALSE(tabs()->isTabEnabled(2)); // no left spine without a width

    selectAllAndType("CasePanelHeight", QStringLiteral("300.1")); // out of range
    pressEnter("CasePanelHeight");
    EXPECT_EQ(text("CasePanelHeight"), QStringLiteral("183.0"));
    EXPECT_EQ(history().undoCount(), steps + 2);

    // Undo shows the sizes without taking them again.
    window->undoAction()->trigger();
    window->undoAction()->trigger();
    EXPECT_EQ(text("CasePanelWidth"), QStringLiteral("129.5"));
    EXPECT_EQ(text("CaseSpineWidth"), QStringLiteral("14.0"));
    EXPECT_TRUE(tabs()->isTabEnabled(2));
    EXPECT_EQ(window->document().caseSize, defaultCaseSize());
    EXPECT_EQ(history().redoCount(), 2);
    combo->setCurrentIndex(0);
    EXPECT_FALSE(find<QWidget>("CasePanelWidth")->isVisible());
    EXPECT_FALSE(find<QWidget>("CasePanelWidth")->isEnabled());
}

// "内側も印刷" is offered for a case with a sheet for the wrap's reverse: a
// click prints the reverse and lets the preview show it on its back page.
// Another case keeps the value and offers the box disabled.
TEST_F(CaseTypeTest, PrintTheInsideFollowsTheCaseAndOffersThePreviewsBackPage)
{
    window->setPreviewRefresher(nullptr); // the window's own preview window
    showWindow();
    auto *inside = find<QCheckBox>("InsidePrint");
    EXPECT_EQ(inside->text(), QStringLiteral("内側も印刷"));
    EXPECT_FALSE(inside->isEnabledTo(window.get()));
    EXPECT_FALSE(find<QWidget>("InsidePrintNote")->isEnabledTo(window.get()));
    EXPECT_FALSE(inside->isChecked());
    find<QComboBox>("CaseType")->setCurrentIndex(2);
    ASSERT_EQ(window->document().caseFormat, QStringLiteral("dvd-14"));
    EXPECT_TRUE(inside->isEnabledTo(window.get()));
    EXPECT_TRUE(find<QWidget>("InsidePrintNote")->isEnabledTo(window.get()));

    click("PreviewShow");
    TPreviewWindow *preview = window->previewWindow();
    // The window grew to hold the wrap's page whole, and stays when the
    // jewel case comes back.
    EXPECT_EQ(preview->size(), QSize(632, 469));
    EXPECT_EQ(preview->findChild<QWidget *>(QStringLiteral("ScrollBox"))->height(), 469 - 32);
    auto *back = preview->findChild<QPushButton *>(QStringLiteral("PreviewBottomShow"));
    EXPECT_FALSE(back->isEnabled());
    const qsizetype steps = history().undoCount();

    click("InsidePrint");
    EXPECT_TRUE(window->printOptions().printInside);
    EXPECT_EQ(QSettings().value("InsidePrint").toInt(), 1);
    EXPECT_TRUE(back->isEnabled());
    // A print switch is a setting, not a step of the document.
    EXPECT_EQ(history().undoCount(), steps);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(preview->state().previewPage(), PreviewPage::Back);

    // Set by a program or an accessibility client: the same; the inside
    // page gives way to the wrap.
    const int drawn = preview->drawCount();
    inside->setChecked(false);
    EXPECT_FALSE(window->printOptions().printInside);
    EXPECT_EQ(QSettings().value("InsidePrint").toInt(), 0);
    EXPECT_FALSE(back->isEnabled());
    EXPECT_EQ(preview->state().previewPage(), PreviewPage::Front);
    EXPECT_EQ(preview->drawCount(), drawn + 1);

    // The jewel case keeps the value and offers the box disabled.
    inside->setChecked(true);
    find<QComboBox>("CaseType")->setCurrentIndex(0);
    EXPECT_FALSE(inside->isEnabledTo(window.get()));
    EXPECT_TRUE(inside->isChecked());
    EXPECT_TRUE(window->printOptions().printInside);
    EXPECT_TRUE(back->isEnabled());
    EXPECT_EQ(preview->size(), QSize(632, 469));
}

// "編集(&E)": undo and redo through the main window's menu and keys, and the
// same keys in the windows that stand in for it.
#include <QAction>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>

#include "MainWindowHarness.h"
#include "document/DocumentControls.h"
#include "prints/ui/TPrintsList.h"
#include "render/ui/TPreviewWindow.h"
#include "tracklist/ui/TListSetWindow.h"
#include "tracklist/ui/TListWindow.h"
#include "widgets/CommitEdit.h"

namespace {

class UndoTest : public MainWindowTest
{
protected:
    void showActive(QWidget *w)
    {
        w->show();
        // The offscreen platform does not activate a dialog whose owner is
        // hidden, as the editors' owner is; a window manager does.
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    void showMain()
    {
        showWindow();
        showActive(window.get());
    }
    // A key as the user presses it: to the widget that has the focus.
    void keys(QWidget *target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        if (QWidget *focus = target->window()->focusWidget())
            target = focus;
        QTest::keyClick(target, key, mods);
    }
    DocumentHistory &history() { return window->editor().history(); }
};

} // namespace

TEST_F(UndoTest, TheEditMenuStandsBetweenFileAndHelpWithBothItemsPlainAndDisabled)
{
    QStringList menus;
    for (QAction *a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus,
        QStringList({ QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("編集(&E)"),
            QStringLiteral("ﾍﾙﾌﾟ(&H)") }));
    QAction *undo = window->undoAction();
    QAction *redo = window->redoAction();
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(&R)"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>({ QKeySequence(QStringLiteral("Ctrl+Z")) }));
    EXPECT_EQ(redo->shortcuts(),
        QList<QKeySequence>({ QKeySequence(QStringLiteral("Ctrl+Y")),
            QKeySequence(QStringLiteral("Ctrl+Shift+Z")) }));
}

TEST_F(UndoTest, TheItemsNameTheStepAndTheFieldShowsTheDocumentAfterEachCommand)
{
    showMain();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("夜明け"));
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: タイトル(表レーベル)"));
    EXPECT_EQ(history().undoCount(), 2) << "typing in one field is one step";

    refresher.pages.clear();
    window->undoAction()->trigger();
    EXPECT_EQ(text("TopTitle"), QString());
    EXPECT_EQ(window->document().top.title.text, QString());
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Front));
    EXPECT_EQ(window->redoAction()->text(), QStringLiteral("やり直し: タイトル(表レーベル)"));
    EXPECT_TRUE(window->redoAction()->isEnabled());

    window->redoAction()->trigger();
    EXPECT_EQ(text("TopTitle"), QStringLiteral("夜明け"));
    window->undoAction()->trigger();
    window->undoAction()->trigger();
    EXPECT_FALSE(checked("TopTitleUse"));
    EXPECT_FALSE(enabled("TopTitle")) << "the enabling rules hold after an undo";
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_FALSE(window->undoAction()->isEnabled());
}

TEST_F(UndoTest, CtrlZInATitleFieldUndoesTheDocumentAndBothRedoKeysRedo)
{
    showMain();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("abc"));
    auto *edit = find<QLineEdit>("TopTitle");
    ASSERT_TRUE(edit->hasFocus());
    keys(edit, Qt::Key_Z);
    EXPECT_EQ(window->document().top.title.text, QString());
    EXPECT_EQ(edit->text(), QString());
    keys(edit, Qt::Key_Y);
    EXPECT_EQ(window->document().top.title.text, QStringLiteral("abc"));
    keys(edit, Qt::Key_Z);
    keys(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("abc"));
}

TEST_F(UndoTest, TypedTextNotYetTakenRevertsItsOwnFieldFirst)
{
    showMain();
    click("BottomTitleUse");
    auto *width = find<CommitEdit>("TopGraphicWidth2");
    const QString shown = width->text();
    if (!width->isEnabled())
        click("TopGraphicUse");
    const qsizetype steps = history().undoCount();
    type("TopGraphicWidth2", QStringLiteral("77"));
    keys(width, Qt::Key_Z);
    EXPECT_EQ(width->text(), shown);
    EXPECT_EQ(history().undoCount(), steps) << "the document was not touched";
    keys(width, Qt::Key_Z);
    EXPECT_LT(history().undoCount(), steps) << "the second undo is the document's";
}

TEST_F(UndoTest, UndoingALinkShowsTheControlsAsAfterLoadingTheSameDocument)
{
    showMain();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("Album"));
    click("BottomTitleUse");
    click("BottomSameTitle");
    EXPECT_EQ(text("BottomTitle"), QStringLiteral("Album"));
    window->undoAction()->trigger();
    EXPECT_FALSE(checked("BottomSameTitle"));
    EXPECT_EQ(text("BottomTitle"), QString());
    const ControlStates expected = enabledStates(window->document());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (QWidget *w = window->findChild<QWidget *>(it.key())) {
            EXPECT_EQ(w->isEnabled(), it.value()) << it.key().toStdString();
        }
    }
}

TEST_F(UndoTest, NewStartsAnEmptyHistory)
{
    showMain();
    click("TopTitleUse");
    dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
    window->NewMenuClick();
    EXPECT_FALSE(window->undoAction()->isEnabled());
    EXPECT_FALSE(history().canUndo());
}

TEST_F(UndoTest, TheListEditorTakesTheSameKeysAndShowsTheRowsAgain)
{
    showMain();
    window->listWindow()->openFor(0);
    TListWindow *list = window->listWindow();
    showActive(list);
    window->listWindow()->ListNewClick();
    window->listWindow()->ListNewClick();
    ASSERT_EQ(list->rowView()->model()->rowCount(), 2);
    keys(list->rowView(), Qt::Key_Z);
    EXPECT_EQ(window->document().listRows.size(), 1);
    EXPECT_EQ(list->rowView()->model()->rowCount(), 1);
    EXPECT_EQ(list->editor().selected(), -1);
    keys(list->rowView(), Qt::Key_Y);
    EXPECT_EQ(list->rowView()->model()->rowCount(), 2);
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: 新規(リスト)"));
    list->close();
}

TEST_F(UndoTest, TheFreePrintEditorAndThePreviewTakeTheSameKeys)
{
    showMain();
    window->openPrintsEditor(0);
    TPrintsList *prints = window->printsEditor();
    showActive(prints);
    auto *newItem = prints->findChild<QPushButton *>(QStringLiteral("ListNew"));
    ASSERT_NE(newItem, nullptr);
    newItem->click();
    ASSERT_EQ(window->document().coverPrints.size(), 1);
    showActive(prints);
    prints->listBox()->setFocus();
    keys(prints->listBox(), Qt::Key_Z);
    EXPECT_TRUE(window->document().coverPrints.isEmpty());
    EXPECT_EQ(prints->listBox()->model()->rowCount(), 0);
    EXPECT_EQ(prints->editor().selected(), -1);
    prints->reject();

    TPreviewWindow *preview = window->previewWindow();
    showActive(preview);
    keys(preview, Qt::Key_Y);
    EXPECT_EQ(window->document().coverPrints.size(), 1);
    keys(preview, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->document().coverPrints.size(), 1) << "nothing left to redo";
    keys(preview, Qt::Key_Z);
    EXPECT_TRUE(window->document().coverPrints.isEmpty());
    preview->close();
}

TEST_F(UndoTest, ThePrintOptionsAreUserSettingsNotSteps)
{
    showMain();
    for (const char *option : { "TopLabelPrint", "BottomLabelPrint", "AreaLinePrint",
             "CutLinePrint", "SideTitleSameTop" })
        click(option);
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(window->undoAction()->isEnabled());
}

TEST_F(UndoTest, TheLayoutStoredByCloseIsOneStepThatTheListEditorShowsUndone)
{
    showMain();
    window->listWindow()->openFor(1);
    TListWindow *list = window->listWindow();
    list->ListSetClick();
    TListSetWindow *layout = list->listSetWindow();
    auto *posX = layout->findChild<QLineEdit *>(QStringLiteral("PrintPosX"));
    ASSERT_NE(posX, nullptr);
    const int before = window->document().listLayout[1].posX;
    posX->setFocus();
    posX->selectAll();
    const int typed = before == 1 ? 2 : 1;
    QTest::keyClicks(posX, QString::number(typed));
    layout->ListSetCloseClick();
    EXPECT_EQ(window->document().listLayout[1].posX, typed);
    EXPECT_EQ(window->undoAction()->text(), QStringLiteral("元に戻す: ﾘｽﾄ位置設定(裏レーベル)"));
    showActive(list);
    keys(list->rowView(), Qt::Key_Z);
    EXPECT_EQ(window->document().listLayout[1].posX, before);
    list->close();
}

TEST_F(UndoTest, TypedFreePrintTextNotYetTakenRevertsBeforeTheDocumentUndoes)
{
    showMain();
    window->openPrintsEditor(0);
    TPrintsList *prints = window->printsEditor();
    showActive(prints);
    prints->findChild<QPushButton *>(QStringLiteral("ListNew"))->click();
    auto *text = prints->findChild<CommitEdit *>(QStringLiteral("Text"));
    ASSERT_NE(text, nullptr);
    text->setFocus();
    for (QChar ch : QStringLiteral("夏"))
        QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(text->text(), QStringLiteral("夏"));
    keys(text, Qt::Key_Z);
    EXPECT_EQ(text->text(), QString());
    EXPECT_EQ(window->document().coverPrints.size(), 1) << "only the field went back";
    keys(text, Qt::Key_Z);
    EXPECT_TRUE(window->document().coverPrints.isEmpty());
    prints->reject();
}

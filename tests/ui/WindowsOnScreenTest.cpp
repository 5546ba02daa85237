#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "MainWindowHarness.h"
#include "app/HelpWindow.h"
#include "render/WindowPlacement.h"
#include "tracklist/ui/TListWindow.h"

using namespace cw;

namespace {

// Answers the next message box with `button` after recording it.
struct BoxSeen
{
    bool seen = false;
    int width = 0;
    QString title;
    QMessageBox::StandardButtons buttons;
};

void answerNextBox(BoxSeen &seen, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [&seen, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.seen = true;
        seen.width = box->frameGeometry().width();
        seen.title = box->windowTitle();
        seen.buttons = box->standardButtons();
        if (button == QMessageBox::Cancel)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(button)->click();
    });
}

int titleRoom(const QString &title)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    return widthForTitle(QFontMetrics(bold).horizontalAdvance(title));
}

TEST(MessageBoxes, AShortMessageLeavesTheTitleBarRoomForTheWholeTitle)
{
    QWidget parent;
    QtUserDialogs dialogs(&parent);
    BoxSeen seen;
    answerNextBox(seen, QMessageBox::Ok);
    dialogs.showMessage(QStringLiteral("x"));
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, QStringLiteral("Casewright"));
    EXPECT_GE(seen.width, titleRoom(seen.title));

    BoxSeen question;
    answerNextBox(question, QMessageBox::No);
    EXPECT_FALSE(dialogs.confirm(QStringLiteral("?"), QStringLiteral("終了確認")));
    ASSERT_TRUE(question.seen);
    EXPECT_GE(question.width, titleRoom(QStringLiteral("終了確認")));
}

TEST(MessageBoxes, TheSaveQuestionAnswersYesNoAndCancel)
{
    QWidget parent;
    QtUserDialogs dialogs(&parent);
    const QString text = QStringLiteral("変更を保存しますか？");
    struct Case
    {
        QMessageBox::StandardButton button;
        SaveChangesAnswer answer;
    };
    for (const Case &c : { Case { QMessageBox::Yes, SaveChangesAnswer::Save },
             Case { QMessageBox::No, SaveChangesAnswer::Discard },
             Case { QMessageBox::Cancel, SaveChangesAnswer::Cancel } }) {
        BoxSeen seen;
        answerNextBox(seen, c.button);
        EXPECT_EQ(dialogs.askSaveChanges(text, QStringLiteral("確認")), c.answer);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_GE(seen.width, titleRoom(QStringLiteral("確認")));
    }
}

// The main window stands near the screen's lower right corner.
class WindowsOnScreen : public MainWindowTest
{
protected:
    QRect available() { return window->screen()->availableGeometry(); }
    void showNearTheCorner()
    {
        showWindow();
        const QRect a = available();
        window->move(a.right() - window->frameGeometry().width() - 10,
            a.bottom() - window->frameGeometry().height() - 10);
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowsOnScreen, HelpOpensOverTheMainWindowWhollyOnTheScreen)
{
    showNearTheCorner();
    window->Contents1Click();
    HelpWindow *help = window->helpWindow();
    ASSERT_TRUE(help->isVisible());
    const QRect frame = help->frameGeometry();
    EXPECT_TRUE(available().contains(frame)) << frame.x() << "," << frame.y();
    EXPECT_EQ(frame, placedOver(window->frameGeometry(), frame.size(), available()));

    // Closed, moved off the screen by the user and opened again: back on it.
    help->close();
    help->move(available().right() - 100, available().bottom() - 50);
    window->Contents1Click();
    EXPECT_TRUE(available().contains(help->frameGeometry()));
}

TEST_F(WindowsOnScreen, TheListEditorOpensWhereTheMainWindowStoodButOnTheScreen)
{
    showNearTheCorner();
    const QPoint mainPos = window->pos();
    window->document().top.useList = true;
    window->syncFromDocument();
    click("TopListEdit");
    TListWindow *list = window->listWindow();
    ASSERT_TRUE(list->isVisible());
    const QRect frame = list->frameGeometry();
    EXPECT_TRUE(available().contains(frame));
    // Moved back only as far as the screen needs.
    EXPECT_EQ(frame, keptOnScreen(QRect(mainPos, frame.size()), available()));
    EXPECT_LT(frame.left(), mainPos.x());
    list->close();
}

} // namespace

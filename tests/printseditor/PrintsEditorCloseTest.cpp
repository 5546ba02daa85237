// Closing the free-print editor takes the value being typed, whichever way
// it closes; its check boxes follow every way of changing them.
#include <QCheckBox>
#include <QPushButton>

#include "AccessibleActions.h"
#include "PrintsEditorHarness.h"
#include "TestSupport.h"
#include "document/DocumentReader.h"
#include "text/TypedNumber.h"

using namespace cw;

namespace {

enum class CloseBy { Escape, FrameButton, CloseButtonAction };

class PrintsEditorClosing : public PrintsWindowTest, public ::testing::WithParamInterface<CloseBy>
{
protected:
    // Types into a field without leaving it (no Enter).
    void typeOnly(const char *name, const QString &text)
    {
        auto *edit = in<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void closeEditor()
    {
        switch (GetParam()) {
        case CloseBy::Escape:
            QTest::keyClick(editor->focusWidget(), Qt::Key_Escape);
            break;
        case CloseBy::FrameButton:
            editor->close();
            break;
        case CloseBy::CloseButtonAction:
            // Pressed by an assistive client the button does not take the
            // focus: the field is never left.
            pressByAction(in<QPushButton>("Button2"));
            break;
        }
        QCoreApplication::processEvents();
    }
};

TEST_P(PrintsEditorClosing, TakesTheValueTypedInTheFieldThatHasTheFocus)
{
    press("ListNew");
    enter("TextX", "8");
    typeOnly("TextX", "33");
    closeEditor();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items()[0].textX, 33);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A picture field, and the text itself.
    click("Top1PrintsEdit");
    showTab(1);
    typeOnly("GraphicPosY", "-12");
    closeEditor();
    EXPECT_EQ(items()[0].posY, -12);
    click("Top1PrintsEdit");
    showTab(0);
    typeOnly("Text", QStringLiteral("閉じる前の文字"));
    closeEditor();
    EXPECT_EQ(items()[0].text, QStringLiteral("閉じる前の文字"));
}

TEST_P(PrintsEditorClosing, ATextThatIsNoNumberGetsTheMessageAndTheEditorStaysOpen)
{
    press("ListNew");
    enter("TextY", "8");
    showTab(1);
    typeOnly("GraphicPosX", "-");
    closeEditor();
    ASSERT_EQ(dialogs.messages, QStringList { invalidNumberMessage("-") });
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(in<QLineEdit>("GraphicPosX")->text(), "0"); // the stored value again
    showTab(0);
    typeOnly("TextY", "");
    closeEditor();
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(items()[0].textY, 8);
    // The field shows the stored value; closing now closes.
    closeEditor();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(dialogs.messages.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(EveryWay, PrintsEditorClosing,
    ::testing::Values(CloseBy::Escape, CloseBy::FrameButton, CloseBy::CloseButtonAction));

TEST_F(PrintsWindowTest, TheCheckBoxesFollowTheirAccessibleActionsAndSetChecked)
{
    showTab(1);
    press("ListNew");
    dialogs.pictureAnswer = picture(300, 200);
    press("GraphicFileSelect");
    auto *transparent = in<QCheckBox>("Transparency");
    toggleByAction(transparent);
    EXPECT_TRUE(items()[0].transparent);
    EXPECT_TRUE(in("ColSelect")->isEnabled());
    pressByAction(transparent);
    EXPECT_FALSE(items()[0].transparent);
    EXPECT_FALSE(in("ColSelect")->isEnabled());
    transparent->setChecked(true);
    EXPECT_TRUE(items()[0].transparent);

    // The aspect lock is the window's own: the next size follows it.
    auto *aspect = in<QCheckBox>("SizeRateFixed");
    ASSERT_TRUE(aspect->isChecked());
    toggleByAction(aspect);
    enter("GraphicWidth2", "150");
    EXPECT_EQ(std::pair(items()[0].printWidth, items()[0].printHeight), std::pair(150, 200));
    pressByAction(aspect);
    enter("GraphicWidth2", "600");
    EXPECT_EQ(std::pair(items()[0].printWidth, items()[0].printHeight), std::pair(600, 400));

    // Selecting an item shows its state without changing any item.
    press("ListNew");
    EXPECT_FALSE(transparent->isChecked());
    EXPECT_TRUE(items()[0].transparent);
    EXPECT_FALSE(items()[1].transparent);

    // The saved file holds what the box shows.
    editor->editor().select(0);
    press("Button2");
    QTemporaryDir dir;
    dialogs.saveAnswer = dir.filePath("toggled.cwr");
    window->SaveAsMenuClick();
    LabelDocument back;
    RecordingMessages messages;
    DocumentEditor reader(back, &messages);
    RecordingProgress loading;
    ASSERT_EQ(loadDocument(reader, dir.filePath("toggled.cwr"), loading), LoadStatus::Loaded);
    ASSERT_EQ(back.coverPrints.size(), 2);
    EXPECT_TRUE(back.coverPrints[0].transparent);
    EXPECT_FALSE(back.coverPrints[1].transparent);
}

} // namespace

// The main window takes the value being typed when it closes or steps aside
// for an editor, as leaving the field would.
#include <QPushButton>

#include "AccessibleActions.h"
#include "prints/ui/TPrintsList.h"
#include "ui/MainWindowHarness.h"
#include "text/TypedNumber.h"

using namespace cw;

namespace {

class MainWindowClosing : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        showWindow();
        click("TopGraphicUse");
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(Qt::blue);
        dialogs.pictureAnswer = dir.filePath("p.bmp");
        ASSERT_TRUE(img.save(dialogs.pictureAnswer, "BMP"));
        click("TopGraphicFileSelect");
        ASSERT_TRUE(enabled("TopGraphicPosY"));
    }
    const PicturePlacement &picture() { return window->document().top.picture; }
    QTemporaryDir dir;
};

TEST_F(MainWindowClosing, TheFrameCloseTakesTheFieldBeforeTheExitQuestion)
{
    selectAllAndType("TopGraphicPosY", "25");
    dialogs.saveChangesAnswer = SaveChangesAnswer::Cancel;
    window->close();
    EXPECT_EQ(picture().posY, 25);
    // The value taken is a change: the question is whether to save it.
    ASSERT_EQ(dialogs.saveQuestions.size(), 1u);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(window->isVisible()); // the question was answered cancel
}

TEST_F(MainWindowClosing, ATextThatIsNoNumberKeepsTheWindowWithoutTheExitQuestion)
{
    const int stored = picture().posY;
    selectAllAndType("TopGraphicPosY", "-");
    dialogs.confirmAnswer = true;
    window->close();
    EXPECT_EQ(dialogs.messages, QStringList { invalidNumberMessage("-") });
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.saveQuestions.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(picture().posY, stored);
    EXPECT_EQ(text("TopGraphicPosY"), QString::number(stored));
}

TEST_F(MainWindowClosing, OpeningAnEditorFromAnAssistiveClientTakesTheField)
{
    click("UseTop1Prints");
    selectAllAndType("TopGraphicWidth2", "450");
    pressByAction(find<QPushButton>("Top1PrintsEdit"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(picture().printWidth, 450);
    window->printsEditor()->close();
    click("UseTopList");
    selectAllAndType("TopGraphicPosX", "-40");
    pressByAction(find<QPushButton>("TopListEdit"));
    QCoreApplication::processEvents();
    EXPECT_EQ(picture().posX, -40);
}

} // namespace

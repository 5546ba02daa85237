#include <QFile>
#include <QFileInfo>

#include "MainWindowHarness.h"
#include "TestSupport.h"

using namespace cw;

namespace {

const QString kSaveQuestion = QStringLiteral("変更を保存しますか？");
const QString kExitQuestion = QStringLiteral("終了してよろしいですか？");
const QString kNewQuestion = QStringLiteral("現在のデータが消えますがよろしいですか？");

// The three commands that let the document go: each asks whether to save a
// changed document and goes on, or stays, by the answer.
enum class Command { Exit, New, Open };

class SaveChangesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        // A document to open: the title "opened".
        other = dir.filePath(QStringLiteral("other.cwr"));
        LabelDocument doc;
        DocumentEditor ed(doc);
        ed.setTitleUse(Surface::Top, true);
        ed.setTitleText(Surface::Top, QStringLiteral("opened"));
        ASSERT_TRUE(ed.save(other));
        showWindow();
    }
    void change(const QString &title)
    {
        if (!checked("TopTitleUse"))
            click("TopTitleUse");
        selectAllAndType("TopTitle", title);
    }
    void run(Command c)
    {
        dialogs.openAnswer = other;
        switch (c) {
        case Command::Exit:
            window->ExitMenuClick();
            break;
        case Command::New:
            window->NewMenuClick();
            break;
        case Command::Open:
            window->OpenMenuClick();
            break;
        }
        QCoreApplication::processEvents();
    }
    // Whether the command went on: the program ended, or the document was
    // replaced by a new or the opened one.
    bool wentOn(Command c)
    {
        switch (c) {
        case Command::Exit:
            return !window->isVisible();
        case Command::New:
            return window->document().top.title.text.isEmpty();
        case Command::Open:
            return window->document().top.title.text == QStringLiteral("opened");
        }
        return false;
    }
    static const char *name(Command c)
    {
        return c == Command::Exit ? "exit" : c == Command::New ? "new" : "open";
    }
    QString caption(Command c)
    {
        return c == Command::Exit ? QStringLiteral("終了確認") : QStringLiteral("確認");
    }
    // The title the saved file holds.
    QString savedTitle(const QString &path)
    {
        LabelDocument doc;
        DocumentEditor ed(doc);
        RecordingProgress progress;
        EXPECT_TRUE(ed.load(path, progress));
        return doc.top.title.text;
    }

    QTemporaryDir dir;
    QString other;
};

const Command kCommands[] = { Command::Exit, Command::New, Command::Open };

TEST_F(SaveChangesTest, CancelKeepsTheChangedDocumentAndTheWindow)
{
    for (Command c : kCommands) {
        SCOPED_TRACE(name(c));
        change(QStringLiteral("mine"));
        dialogs.saveQuestions.clear();
        dialogs.saveChangesAnswer = SaveChangesAnswer::Cancel;
        run(c);
        ASSERT_EQ(dialogs.saveQuestions.size(), 1u);
        EXPECT_EQ(dialogs.saveQuestions[0].text, kSaveQuestion);
        EXPECT_EQ(dialogs.saveQuestions[0].caption, caption(c));
        EXPECT_TRUE(dialogs.questions.empty()) << "one question only";
        EXPECT_TRUE(dialogs.openFilters.isEmpty()) << "no file chosen to open";
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->document().top.title.text, QStringLiteral("mine"));
        EXPECT_TRUE(window->editor().history().isModified());
    }
}

TEST_F(SaveChangesTest, NoDropsTheChangesAndGoesOn)
{
    for (Command c : kCommands) {
        SCOPED_TRACE(name(c));
        window->show();
        change(QStringLiteral("dropped"));
        dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
        dialogs.saveQuestions.clear();
        dialogs.saveStarts.clear();
        run(c);
        EXPECT_EQ(dialogs.saveQuestions.size(), 1u);
        EXPECT_TRUE(dialogs.saveStarts.isEmpty()) << "nothing saved";
        EXPECT_TRUE(wentOn(c));
    }
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(SaveChangesTest, YesAsksForANameWhenThereIsNoneSavesAndGoesOn)
{
    for (Command c : kCommands) {
        SCOPED_TRACE(name(c));
        window->show();
        window->document().fileName.clear();
        change(QStringLiteral("kept"));
        dialogs.saveChangesAnswer = SaveChangesAnswer::Save;
        // The name dialog cancelled: nothing is saved and the command stays.
        dialogs.saveAnswer.clear();
        dialogs.saveStarts.clear();
        run(c);
        EXPECT_EQ(dialogs.saveStarts.size(), 1);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->document().top.title.text, QStringLiteral("kept"));

        const QString path = dir.filePath(QStringLiteral("%1.cwr").arg(QLatin1String(name(c))));
        dialogs.saveAnswer = path;
        run(c);
        EXPECT_EQ(dialogs.saveStarts.size(), 2);
        EXPECT_EQ(savedTitle(path), QStringLiteral("kept"));
        EXPECT_TRUE(wentOn(c));
    }
}

TEST_F(SaveChangesTest, YesSavesUnderTheDocumentsOwnName)
{
    for (Command c : kCommands) {
        SCOPED_TRACE(name(c));
        window->show();
        window->document().fileName.clear();
        const QString path = dir.filePath(QStringLiteral("own-%1.cwr").arg(QLatin1String(name(c))));
        dialogs.saveAnswer = path;
        change(QStringLiteral("first"));
        window->SaveMenuClick();
        ASSERT_EQ(window->document().fileName, path);
        change(QStringLiteral("second"));
        dialogs.saveStarts.clear();
        dialogs.saveChangesAnswer = SaveChangesAnswer::Save;
        run(c);
        EXPECT_TRUE(dialogs.saveStarts.isEmpty()) << "no name asked";
        EXPECT_EQ(savedTitle(path), QStringLiteral("second"));
        EXPECT_TRUE(wentOn(c));
    }
}

TEST_F(SaveChangesTest, UndoingBackToTheSavedStateAsksTheQuestionsOfAnUnchangedDocument)
{
    dialogs.confirmAnswer = false;
    // Nothing changed since the window opened.
    run(Command::Exit);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, kExitQuestion);
    EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("終了確認"));

    // Changed and taken back.
    change(QStringLiteral("x"));
    window->undoAction()->trigger();
    window->undoAction()->trigger();
    EXPECT_FALSE(window->editor().history().isModified());
    run(Command::Exit);
    run(Command::New);
    ASSERT_EQ(dialogs.questions.size(), 3u);
    EXPECT_EQ(dialogs.questions[1].text, kExitQuestion);
    EXPECT_EQ(dialogs.questions[2].text, kNewQuestion);
    // "開く" asks nothing of an unchanged document.
    run(Command::Open);
    EXPECT_EQ(dialogs.questions.size(), 3u);
    EXPECT_TRUE(dialogs.saveQuestions.empty());
    EXPECT_TRUE(wentOn(Command::Open));

    // Opened, changed, saved: unchanged again.
    change(QStringLiteral("y"));
    window->SaveMenuClick();
    EXPECT_EQ(window->document().fileName, other);
    dialogs.confirmAnswer = true;
    run(Command::Exit);
    EXPECT_TRUE(dialogs.saveQuestions.empty());
    EXPECT_EQ(dialogs.questions.back().text, kExitQuestion);
    EXPECT_FALSE(window->isVisible());
}

} // namespace

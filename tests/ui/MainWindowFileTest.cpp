#include <QFile>
#include <QFileInfo>

#include "MainWindowHarness.h"
#include "TestSupport.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {
const QString kNewQuestion = QStringLiteral("現在のデータが消えますがよろしいですか？");
const QString kExitQuestion = QStringLiteral("終了してよろしいですか？");
} // namespace

TEST_F(MainWindowTest, NewAnsweredNoChangesNothing)
{
    showWindow();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("keep"));
    // Saved: nothing is changed, and "新規作成" asks its own question.
    dialogs.saveAnswer = configDir.filePath(QStringLiteral("keep.cwr"));
    window->SaveMenuClick();
    dialogs.confirmAnswer = false;
    window->NewMenuClick();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, kNewQuestion);
    EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(text("TopTitle"), QStringLiteral("keep"));
    EXPECT_TRUE(checked("TopTitleUse"));
}

TEST_F(MainWindowTest, NewAnsweredYesResetsTitlesButKeepsColoursAndPrintSwitches)
{
    showWindow();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("gone"));
    click("TopTitlePos3");
    click("UseTop1Prints");
    click("UseTopList");
    dialogs.colorAnswer = 0x00336699u;
    QTest::mouseClick(find<ColorSwatch>("LeftTitleBGColor"), Qt::LeftButton);
    window->document().fileName = QStringLiteral("/tmp/old.cwr");

    dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
    refresher.pages.clear();
    window->NewMenuClick();
    EXPECT_EQ(window->document().fileName, QString());
    EXPECT_FALSE(checked("TopTitleUse"));
    EXPECT_EQ(text("TopTitle"), QString());
    EXPECT_TRUE(checked("TopTitlePos1"));
    EXPECT_FALSE(enabled("TopTitle"));
    EXPECT_FALSE(checked("UseTopList"));
    EXPECT_FALSE(enabled("TopListEdit"));
    // Kept: the free-print switch and the background colour.
    EXPECT_TRUE(checked("UseTop1Prints"));
    EXPECT_TRUE(enabled("Top1PrintsEdit"));
    EXPECT_EQ(find<ColorSwatch>("LeftTitleBGColor")->color(), 0x00336699u);
    EXPECT_EQ(window->document().left.backgroundColor1, 0x00336699u);
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Shown));
}

TEST_F(MainWindowTest, TitleBarCloseAsksTheExitQuestion)
{
    showWindow();
    dialogs.confirmAnswer = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, kExitQuestion);
    EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("終了確認"));

    dialogs.confirmAnswer = true;
    window->ExitMenuClick();
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[1].text, kExitQuestion);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, SaveOnANewDocumentOpensTheDialogAndCancelWritesNothing)
{
    QTemporaryDir dir;
    showWindow();
    dialogs.saveAnswer.clear();
    window->SaveMenuClick();
    ASSERT_EQ(dialogs.saveFilters.size(), 1);
    EXPECT_EQ(dialogs.saveFilters[0], QStringLiteral("Casewright Data(*.CWR)|*.cwr#cwr"));
    EXPECT_EQ(window->document().fileName, QString());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // Chosen: written there, and the next save asks nothing.
    const QString path = dir.filePath(QStringLiteral("new.cwr"));
    dialogs.saveAnswer = path;
    window->SaveMenuClick();
    EXPECT_EQ(window->document().fileName, path);
    EXPECT_TRUE(QFileInfo::exists(path));
    dialogs.saveAnswer = dir.filePath(QStringLiteral("other.cwr"));
    window->SaveMenuClick();
    EXPECT_EQ(dialogs.saveFilters.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("other.cwr"))));
}

TEST_F(MainWindowTest, SaveAsStartsFromTheDocumentsNameAndTakesTheNewOne)
{
    QTemporaryDir dir;
    showWindow();
    const QString first = dir.filePath(QStringLiteral("a.cwr"));
    const QString second = dir.filePath(QStringLiteral("b.cwr"));
    dialogs.saveAnswer = first;
    window->SaveAsMenuClick();
    dialogs.saveAnswer = second;
    window->SaveAsMenuClick();
    EXPECT_EQ(dialogs.saveStarts, QStringList({ QString(), first }));
    EXPECT_EQ(window->document().fileName, second);
    EXPECT_EQ(readAll(first), readAll(second));
}

TEST_F(MainWindowTest, OpenUsesTheDocumentFilterAndCancelChangesNothing)
{
    showWindow();
    click("TopTitleUse");
    dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
    dialogs.openAnswer.clear();
    window->OpenMenuClick();
    ASSERT_EQ(dialogs.openFilters.size(), 1);
    EXPECT_EQ(dialogs.openFilters[0],
        QStringLiteral("Casewright Data(*.CWR)|*.cwr|すべてのファイル(*.*)|*.*#cwr"));
    EXPECT_TRUE(checked("TopTitleUse"));
}

TEST_F(MainWindowTest, OpeningAMissingFileReportsItAndKeepsTheDocument)
{
    showWindow();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("mine"));
    dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
    dialogs.openAnswer = QStringLiteral("/nonexistent/folder/x.cwr");
    window->OpenMenuClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("ファイル(")));
    EXPECT_EQ(text("TopTitle"), QStringLiteral("mine"));
    EXPECT_EQ(window->document().fileName, QString());
}

TEST_F(MainWindowTest, OpeningTheDemoChangingATitleAndSavingWritesOnlyThatChange)
{
    const QString demo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");
    ASSERT_TRUE(QFileInfo::exists(demo));
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("demo.cwr"));
    // The demo names its pictures relative to its folder: the copy keeps them
    // beside it, and saving must write those names back as they were.
    const QDir examples = QFileInfo(demo).dir();
    QByteArray data = readAll(demo);
    for (const QString &name : examples.entryList({ QStringLiteral("*.png") }, QDir::Files))
        ASSERT_TRUE(QFile::copy(examples.filePath(name), dir.filePath(name)));
    ASSERT_TRUE(writeAll(copy, data));
    const QByteArray before = readAll(copy);

    showWindow();
    dialogs.openAnswer = copy;
    window->OpenMenuClick();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(window->document().fileName, copy);
    const QString oldTitle = text("TopTitle");
    ASSERT_FALSE(oldTitle.isEmpty());
    ASSERT_TRUE(enabled("TopTitle"));
    find<QLineEdit>("TopTitle")->setFocus();
    find<QLineEdit>("TopTitle")->end(false);
    type("TopTitle", QStringLiteral("！"));
    window->SaveMenuClick();
    EXPECT_TRUE(dialogs.saveFilters.isEmpty()); // no dialog: the document has a name
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();

    const QByteArray after = readAll(copy);
    QList<QByteArray> a = before.split('\n'), b = after.split('\n');
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            ++differing;
            EXPECT_EQ(b[i], sjis(oldTitle + QStringLiteral("！")) + '\r');
        }
    }
    // The front title, and the spines that follow it in the demo.
    EXPECT_GE(differing, 1);
    const int followers = int(window->document().bottom.titleSameAsFront)
        + int(window->document().left.titleSameAsFront)
        + int(window->document().right.titleSameAsFront);
    EXPECT_LE(differing, 1 + followers);
}

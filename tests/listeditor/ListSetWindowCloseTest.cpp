// The layout window takes the field being edited when "閉じる" is pressed
// without leaving it; its templates are saved where they are read again and
// only a chosen entry applies one.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>

#include "AccessibleActions.h"
#include "ListEditorHarness.h"
#include "TestSupport.h"
#include "app/QtUserDialogs.h"
#include "text/TypedNumber.h"

using namespace cw;

namespace {

// "閉じる" pressed by an assistive client: the field keeps the focus.
TEST_F(ListEditorTest, CloseTakesTheLineSpacingBeingTyped)
{
    openEditor(0, 3);
    openLayoutWindow();
    typeInto(lw("ListSpace"), "50");
    EXPECT_EQ(setWindow()->state().values().lineSpacing, 0); // not while typing
    pressByAction(lw<QPushButton>("ListSetClose"));
    EXPECT_FALSE(setWindow()->isVisible());
    EXPECT_EQ(layout(0).lineSpacing, 50);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListEditorTest, CloseWithATextThatIsNoNumberShowsTheMessageAndStaysOpen)
{
    layout(0).lineSpacing = 7;
    openEditor(0, 3);
    openLayoutWindow();
    replaceText(lw<QLineEdit>("ListSpace"), "5x");
    pressByAction(lw<QPushButton>("ListSetClose"));
    EXPECT_EQ(dialogs.messages, QStringList { invalidNumberMessage("5x") });
    EXPECT_TRUE(setWindow()->isVisible());
    EXPECT_EQ(lw<QLineEdit>("ListSpace")->text(), "7");
    pressByAction(lw<QPushButton>("ListSetClose"));
    EXPECT_FALSE(setWindow()->isVisible());
    EXPECT_EQ(layout(0).lineSpacing, 7);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(ListEditorTest, TheSaveDialogStartsInTheTemplateFolder)
{
    QTemporaryDir dir;
    window->templates().LoadTemplateFolder({ templateSaveFolder(), dir.path() });
    openEditor(0, 3);
    openLayoutWindow();
    pressLw("TemplateSave"); // cancelled
    ASSERT_EQ(dialogs.saveStarts.size(), 1);
    // The folder itself, with no file name.
    EXPECT_EQ(dialogs.saveStarts[0], templateSaveFolder() + QLatin1Char('/'));

    // With a current template: its file name in the folder.
    auto *box = lw<QComboBox>("TemplateLoad");
    box->setFocus();
    typeInto(box->lineEdit(), "saved");
    dialogs.saveAnswer = dir.filePath("saved.cwt");
    pressLw("TemplateSave");
    ASSERT_TRUE(QFile::exists(dir.filePath("saved.cwt")));
    pressLw("TemplateSave");
    EXPECT_EQ(dialogs.saveStarts.last(), templateSaveFolder() + QStringLiteral("/saved.cwt"));
}

TEST(SaveDialogStart, AFolderOpensWithAnEmptyNameAFileInItsFolderWithItsName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("templates"));
    const QString folder = dir.filePath("templates");
    const std::pair<QString, QString> cases[] = {
        { folder + QLatin1Char('/'), QString() },
        { folder + QStringLiteral("/mine.cwt"), QStringLiteral("mine.cwt") },
    };
    for (const auto &[start, name] : cases) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QtUserDialogs::startSaveDialogAt(dialog, start);
        EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(folder).canonicalPath())
            << start.toStdString();
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), name) << start.toStdString();
    }
}

TEST_F(ListEditorTest, ATemplateSavedWhereItIsNeverReadGetsTheMessageAndIsNotWritten)
{
    QTemporaryDir read, elsewhere;
    window->templates().LoadTemplateFolder({ read.path() });
    openEditor(0, 3);
    openLayoutWindow();
    dialogs.saveAnswer = elsewhere.filePath("lost.cwt");
    pressLw("TemplateSave");
    EXPECT_EQ(dialogs.messages, QStringList { templateFolderMessage({ read.path() }) });
    EXPECT_FALSE(QFile::exists(elsewhere.filePath("lost.cwt")));
    EXPECT_EQ(lw<QComboBox>("TemplateLoad")->count(), 0);
    // A path that names the read folder another way is read again.
    dialogs.saveAnswer = read.path() + QStringLiteral("/./kept.cwt");
    pressLw("TemplateSave");
    EXPECT_TRUE(QFile::exists(read.filePath("kept.cwt")));
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(ListEditorTest, TypingATemplateNameAppliesNoTemplate)
{
    QTemporaryDir dir;
    const ListTemplate alpha { QStringLiteral("alpha"), QStringLiteral("alpha.cwt"),
        { 2, 10, 5, 20, 50, 0, 4, 0, 3 } };
    ASSERT_TRUE(writeAll(dir.filePath("alpha.cwt"), listTemplateFileBytes(alpha.name, 0, alpha.layout)));
    window->templates().LoadTemplateFolder({ dir.path() });
    openEditor(0, 3);
    const ListLayout before = layout(0);
    openLayoutWindow();
    auto *box = lw<QComboBox>("TemplateLoad");
    ASSERT_EQ(box->count(), 1);
    // A prefix is not completed; Enter and leaving apply nothing.
    for (const QString &typed : { QStringLiteral("al"), QStringLiteral("alpha"), QStringLiteral("ALPHA") }) {
        box->setFocus();
        box->lineEdit()->selectAll();
        typeInto(box->lineEdit(), typed);
        EXPECT_EQ(box->currentText(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        lw("PrintPosX")->setFocus();
        EXPECT_EQ(layout(0), before) << typed.toStdString();
        EXPECT_EQ(setWindow()->state().values(), before) << typed.toStdString();
        EXPECT_EQ(window->templates().currentTemplate(0), -1);
    }
    EXPECT_TRUE(refresher.pages.isEmpty());
    // Choosing the entry (here with the arrow key) applies it, and the page
    // shown is drawn again with it while the window stays open.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(layout(0), alpha.layout);
    EXPECT_EQ(window->templates().currentTemplate(0), 0);
    EXPECT_TRUE(setWindow()->isVisible());
    EXPECT_EQ(refresher.pages, QList<PreviewPage> { PreviewPage::Shown });
}

} // namespace

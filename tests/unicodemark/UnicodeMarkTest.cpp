#include <QAccessible>
#include <QAction>
#include <QTemporaryDir>
#include <QToolButton>

#include "TestSupport.h"
#include "listeditor/ListEditorHarness.h"
#include "text/ui/UnicodeMark.h"

using namespace cw;

namespace {

const QString kQuestion = QStringLiteral(
    "この文書にはShift-JISで保存できない文字があります。新しい形式(1.07)で保存しますか？");

// The mark's own button inside the edit, as the user sees it.
QToolButton *markButton(QLineEdit *edit)
{
    for (QToolButton *b : edit->findChildren<QToolButton *>())
        if (b->defaultAction() && b->defaultAction()->objectName() == "UnicodeMarkAction")
            return b;
    return nullptr;
}

} // namespace

TEST_F(MainWindowTest, ATitleEditShowsTheMarkWhileItsTextNeedsTheUnicodeForm)
{
    showWindow();
    click("TopTitleUse");
    for (const char *name : { "TopTitle", "BottomTitle", "LeftTitle", "RightTitle" })
        ASSERT_NE(UnicodeMark::of(find<QLineEdit>(name)), nullptr) << name;
    auto *edit = find<QLineEdit>("TopTitle");
    UnicodeMark *mark = UnicodeMark::of(edit);
    ASSERT_NE(markButton(edit), nullptr);
    EXPECT_FALSE(markButton(edit)->isVisible());
    type("TopTitle", QStringLiteral("表 Caf"));
    EXPECT_FALSE(mark->isShown());
    type("TopTitle", QStringLiteral("é"));
    EXPECT_TRUE(mark->isShown());
    EXPECT_TRUE(markButton(edit)->isVisible());
    const QString tip
        = QStringLiteral("Shift-JISで保存できない文字があります: 「é」(6文字目)\n"
                         "保存するときに新しい形式(1.07)で保存するかどうかを確認します");
    EXPECT_EQ(mark->toolTip(), tip);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Description), tip);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(mark->isShown());
    EXPECT_FALSE(markButton(edit)->isVisible());
    EXPECT_TRUE(edit->accessibleDescription().isEmpty());
    // Text set by the program (a link copy) is marked too.
    type("TopTitle", QStringLiteral("ö"));
    click("BottomTitleUse");
    click("BottomSameTitle");
    EXPECT_TRUE(UnicodeMark::of(find<QLineEdit>("BottomTitle"))->isShown());
}

TEST_F(MainWindowTest, SavingTextOutsideCp932AsksOnceAndNoWritesNothing)
{
    QTemporaryDir dir;
    showWindow();
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("Björk"));
    const QString path = dir.filePath("b.cwr");
    dialogs.saveAnswer = path;
    dialogs.confirmAnswer = false;
    window->SaveMenuClick();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, kQuestion);
    EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(dialogs.messages,
        QStringList({ "ファイル(" + path
            + ")が記録できません\n表レーベル タイトル: 保存できない文字があります "
              "「ö」(3文字目)" }));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(window->document().fileName.isEmpty());

    dialogs.confirmAnswer = true;
    window->SaveMenuClick();
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(window->document().fileName, path);
    EXPECT_TRUE(readAll(path).startsWith("<Casewright Data File>\r\n1.07\r\n"));
    EXPECT_TRUE(readAll(path).contains("\r\nBjörk\r\n"));
}

TEST_F(ListEditorTest, ACellEditShowsTheMarkForItsText)
{
    rows().append(textRow("1", "a", "b"));
    rows().append(textRow("2", "plain", "c"));
    openEditor();
    clickRow(0);
    for (int k = 1; k <= 3; ++k) {
        auto *edit = ed<QLineEdit>(QStringLiteral("ListText%1").arg(k));
        ASSERT_NE(UnicodeMark::of(edit), nullptr);
        EXPECT_FALSE(UnicodeMark::of(edit)->isShown());
    }
    auto *edit = ed<QLineEdit>("ListText2");
    replaceText(edit, QStringLiteral("Crème"));
    EXPECT_EQ(rows()[0].columns[1].text, QStringLiteral("Crème"));
    EXPECT_TRUE(UnicodeMark::of(edit)->isShown());
    EXPECT_TRUE(UnicodeMark::of(edit)->toolTip().contains(QStringLiteral("「è」(3文字目)")));
    // Selecting another row shows its text, and the mark follows it.
    clickRow(1);
    EXPECT_EQ(edit->text(), QStringLiteral("plain"));
    EXPECT_FALSE(UnicodeMark::of(edit)->isShown());
    clickRow(0);
    EXPECT_TRUE(UnicodeMark::of(edit)->isShown());
}

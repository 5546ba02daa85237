// The free-print editor's text block tab: typed lines, the lines that do not
// fit, and a text read from a file.
#include <QApplication>
#include <QListView>
#include <QPlainTextEdit>

#include "PrintsEditorHarness.h"
#include "TestSupport.h"
#include "text/Cp932.h"

using namespace cw;

namespace {

class BlockWindowTest : public PrintsWindowTest
{
protected:
    void SetUp() override
    {
        PrintsWindowTest::SetUp();
        showTab(2);
        press("ListNew");
    }
    QPlainTextEdit *blockText() { return in<QPlainTextEdit>("BlockText"); }
};

} // namespace

TEST_F(BlockWindowTest, TwoTypedLinesBecomeTheBlocksTextWhenTheFieldIsLeft)
{
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items()[0].kind, PrintsTextBlock);
    enter("BlockHeight", "5");
    QApplication::setActiveWindow(editor); // focus moves only in the active window
    blockText()->setFocus();
    for (QChar ch : QStringLiteral("一行目\n二行目")) {
        if (ch == QLatin1Char('\n'))
            QTest::keyClick(blockText(), Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, blockText(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    // A 5 mm box holds one line of the default font; said while typing.
    EXPECT_EQ(label("BlockCut"), QStringLiteral("1行が収まりません"));
    EXPECT_EQ(items()[0].text, QString()) << "taken when the field is left";
    in<QLineEdit>("BlockWidth")->setFocus();
    EXPECT_EQ(items()[0].text, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data().toString(),
        QStringLiteral("Block 0, 0 mm 100,  5 一行目 …"));
    // One step: undo brings the empty block back, and the field shows it.
    window->undoAction()->trigger();
    EXPECT_EQ(items()[0].text, QString());
    EXPECT_EQ(blockText()->toPlainText(), QString());
}

TEST_F(BlockWindowTest, ACp932FileIsReadIntoTheBlockAndABinaryOneIsRefused)
{
    const QString lyrics = pictures.filePath("lyrics.txt");
    ASSERT_TRUE(writeAll(lyrics, cp932::encode(QStringLiteral("夜明けの歌\r\n二番")).bytes));
    dialogs.openAnswer = lyrics;
    press("BlockFileRead");
    EXPECT_EQ(items()[0].text, QStringLiteral("夜明けの歌\n二番"));
    EXPECT_EQ(blockText()->toPlainText(), QStringLiteral("夜明けの歌\n二番"));

    const QString binary = pictures.filePath("x.bin");
    ASSERT_TRUE(writeAll(binary, QByteArray("\x89PNG\0\0", 6)));
    dialogs.openAnswer = binary;
    press("BlockFileRead");
    EXPECT_EQ(dialogs.messages,
        QStringList { QStringLiteral("ファイル(%1)はテキストファイルではありません").arg(binary) });
    EXPECT_EQ(items()[0].text, QStringLiteral("夜明けの歌\n二番"));
}

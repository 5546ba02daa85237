// The free-print editor's text block tab: typed lines, fields, the lines
// that do not fit, and a text read from a file.
#include <QComboBox>
#include <QLabel>
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
    void typeInBlock(const QString &text)
    {
        blockText()->setFocus();
        for (QChar ch : text) {
            if (ch == QLatin1Char('\n'))
                QTest::keyClick(blockText(), Qt::Key_Return);
            else
                QTest::sendKeyEvent(
                    QTest::Click, blockText(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
};

} // namespace

TEST_F(BlockWindowTest, TwoTypedLinesBecomeTheBlocksTextWhenTheFieldIsLeft)
{
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items()[0].kind, PrintsTextBlock);
    typeInBlock(QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(items()[0].text, QString()) << "taken when the field is left";
    in<QLineEdit>("BlockWidth")->setFocus();
    EXPECT_EQ(items()[0].text, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data().toString(),
        QStringLiteral("Block 0, 0 mm 100,100 一行目 …"));

    // One step: undo brings the empty block back, and the field shows it.
    window->undoAction()->trigger();
    EXPECT_EQ(items()[0].text, QString());
    EXPECT_EQ(blockText()->toPlainText(), QString());
}

TEST_F(BlockWindowTest, TheFieldsSetTheBoxAndTheEditorCountsTheLinesCut)
{
    enter("BlockWidth", "30");
    enter("BlockHeight", "5");
    enter("LineSpacing", "150");
    in<QComboBox>("BlockAlign")->setCurrentIndex(1);
    const TPrintsData &b = items()[0];
    EXPECT_EQ(QList<int>({ b.blockWidth, b.blockHeight, b.lineSpacing, b.blockAlign }),
        QList<int>({ 30, 5, 150, 1 }));
    // The default font, 9 points, is 38 pixels high at 300 dpi: a box of 5 mm
    // (59 pixels) holds one line of the four.
    typeInBlock(QStringLiteral("1\n2\n3\n4"));
    EXPECT_EQ(label("BlockCut"), QStringLiteral("3行が収まりません"));
    enter("BlockHeight", "40");
    EXPECT_EQ(label("BlockCut"), QString());
}

TEST_F(BlockWindowTest, ACp932FileIsReadIntoTheBlockAndABinaryOneIsRefused)
{
    const QString lyrics = pictures.filePath("lyrics.txt");
    ASSERT_TRUE(writeAll(lyrics, cp932::encode(QStringLiteral("夜明けの歌\r\n二番")).bytes));
    dialogs.openAnswer = lyrics;
    press("BlockFileRead");
    EXPECT_EQ(items()[0].text, QStringLiteral("夜明けの歌\n二番"));
    EXPECT_EQ(blockText()->toPlainText(), QStringLiteral("夜明けの歌\n二番"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    const QString binary = pictures.filePath("x.bin");
    ASSERT_TRUE(writeAll(binary, QByteArray("\x89PNG\0\0", 6)));
    dialogs.openAnswer = binary;
    press("BlockFileRead");
    EXPECT_EQ(dialogs.messages,
        QStringList { QStringLiteral("ファイル(%1)はテキストファイルではありません").arg(binary) });
    EXPECT_EQ(items()[0].text, QStringLiteral("夜明けの歌\n二番"));
}

// The free-print text block: where its lines wrap and how many fit, for a
// known font; its text in the file's lines; its editor operations and their
// undo; reading its text from a file.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "document/DocumentEditor.h"
#include "document/DocumentWriter.h"
#include "document/TextBlock.h"
#include "prints/PrintsEditor.h"
#include "text/Cp932.h"
#include "text/TextWrap.h"

using namespace cw;

namespace {

// IPA Gothic at 12 points and 300 dpi: 50 pixels, full-width characters
// 50 pixels wide, half-width ones 25.
FontSpec ipaGothic()
{
    FontSpec f;
    f.name = QStringLiteral("IPAGothic");
    f.size = 12;
    return f;
}

QStringList wrapped(const QString &text, int width)
{
    const QFontMetrics m(QPainterCanvas::makeFont(ipaGothic(), 300));
    return wrapText(text, [&m](const QString &s) { return m.horizontalAdvance(s); }, width);
}

} // namespace

TEST(TextWrap, TheFontIsTheOneTheTableAssumes)
{
    const QFontMetrics m(QPainterCanvas::makeFont(ipaGothic(), 300));
    ASSERT_EQ(m.horizontalAdvance(QStringLiteral("あ")), 50);
    ASSERT_EQ(m.horizontalAdvance(QStringLiteral("a")), 25);
}

TEST(TextWrap, LinesBreakAtSpacesBetweenKanaAndWithinTooLongWords)
{
    struct Row
    {
        const char16_t *text;
        int width;
        QStringList lines;
    };
    const Row rows[] = {
        { u"The quick brown fox", 250, { "The quick", "brown fox" } },
        { u"The quick brown fox", 224, { "The", "quick", "brown", "fox" } },
        { u"あいうえおかきくけこ", 200, { "あいうえ", "おかきく", "けこ" } },
        { u"あいうえおかきくけこ", 199, { "あいう", "えおか", "きくけ", "こ" } },
        // No line begins with "、" or ends with "「".
        { u"あいう、えお", 150, { "あい", "う、え", "お" } },
        { u"あ「いう」", 100, { "あ", "「い", "う」" } },
        // A word wider than the line is cut between characters.
        { u"Extraordinarily", 100, { "Extr", "aord", "inar", "ily" } },
        { u"Love あいしてる", 200, { "Love あ", "いしてる" } },
        // The text's own breaks and empty lines stay; spaces at a wrap go,
        // those a line begins with stay.
        { u"a\n\nb", 1000, { "a", "", "b" } },
        { u"  ab cd", 100, { "  ab", "cd" } },
        { u"ab   \ncd", 1000, { "ab", "cd" } },
        { u"", 100, { "" } },
        // Narrower than one character: one character a line.
        { u"あい", 10, { "あ", "い" } },
    };
    for (const Row &r : rows) {
        const QString text = QString::fromUtf16(r.text);
        EXPECT_EQ(wrapped(text, r.width), r.lines) << text.toStdString() << " at " << r.width;
    }
}

TEST(TextWrap, ASurrogatePairAndACombiningMarkAreNeverSplit)
{
    // Ten pixels a UTF-16 unit: 𠮷 (U+20BB7) and "が" as か + U+3099 are 20.
    const TextWidthFn units = [](const QString &s) { return int(s.size()) * 10; };
    const QString kichi = QStringLiteral("𠮷"), ga = QStringLiteral("か\u3099");
    for (int width : { 30, 5 }) {
        EXPECT_EQ(wrapText(kichi.repeated(3), units, width), QStringList(3, kichi)) << width;
        EXPECT_EQ(wrapText(ga.repeated(3), units, width), QStringList(3, ga)) << width;
    }
}

TEST(TextWrap, LinesFitWhileTheyEndAboveTheBoxBottom)
{
    // Tops 0, 60, 120, 180, 240; the fifth ends at 290, the sixth at 350.
    EXPECT_EQ(linesThatFit(10, 50, 120, 300), 5);
    EXPECT_EQ(linesThatFit(10, 50, 120, 289), 4);
    EXPECT_EQ(linesThatFit(3, 50, 120, 300), 3);
    EXPECT_EQ(linesThatFit(10, 50, 100, 49), 0);
    // trunc(3 * 50 * 75 / 100) = 112: overlapping lines at 75 %.
    EXPECT_EQ(lineTop(3, 50, 75), 112);
    EXPECT_EQ(linesThatFit(10, 50, 75, 300), 7);
}

TEST(TextBlockLayout, TheBoxCutsAtTheLastWholeLineAndCountsTheRest)
{
    // 20 x 15 mm at 300 dpi: 236 x 177 pixels; four kana a line; lines
    // 54 pixels high (the face's ascent and descent) start at 0, 54, 108.
    const TextBlockLayout l = layoutTextBlock(QStringLiteral("あいうえおかきくけこさしすせそたちつてと"),
        ipaGothic(), 20, 15, 100, 300, 300);
    EXPECT_EQ(l.boxWidth, 236);
    EXPECT_EQ(l.boxHeight, 177);
    EXPECT_EQ(l.lineHeight, 54);
    EXPECT_EQ(l.lines.size(), 5);
    EXPECT_EQ(l.shown, 3);
    EXPECT_EQ(l.cut(), 2);
    EXPECT_EQ(cutLinesMessage(l.cut()), QStringLiteral("2行が収まりません"));
    EXPECT_EQ(cutLinesMessage(0), QString());
    // At 600 dpi the same lines, and the same cut.
    const TextBlockLayout fine = layoutTextBlock(QStringLiteral("あいうえおかきくけこさしすせそたちつてと"),
        ipaGothic(), 20, 15, 100, 600, 600);
    EXPECT_EQ(fine.lines, l.lines);
    EXPECT_EQ(fine.shown, 3);
}

TEST(TextBlockLayout, LinesAlignLeftCentredOrRight)
{
    // A box from 100, 236 wide; a line of 150.
    EXPECT_EQ(alignedLineX(100, 236, 150, textblock::kAlignLeft), 100);
    EXPECT_EQ(alignedLineX(100, 236, 150, textblock::kAlignCentre), 143);
    EXPECT_EQ(alignedLineX(100, 236, 150, textblock::kAlignRight), 186);
    EXPECT_EQ(alignedLineX(100, 236, 251, textblock::kAlignCentre), 93);
}

TEST(TextBlockFileLines, EscapesBackslashesAndCarriesLongLinesOn)
{
    EXPECT_EQ(textBlockFileLines(QString()), QStringList());
    EXPECT_EQ(textBlockFileLines(QStringLiteral("a\\b\n\nc\\")),
        (QStringList { "a\\\\b", "", "c\\\\" }));
    // 400 three-byte characters: 333 of them (999 bytes) a file line.
    const QString kana(400, QChar(u'あ'));
    const QStringList lines = textBlockFileLines(kana);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(333, QChar(u'あ')) + "\\");
    EXPECT_EQ(lines[1], QString(67, QChar(u'あ')));

    for (const QString &text : { QString(), QStringLiteral("\n"), QStringLiteral("a\\\n\\"),
             kana + "\\" + QString(2000, QChar('x')) + "\n\n" + QStringLiteral("𠮷").repeated(300) }) {
        const QStringList file = textBlockFileLines(text);
        for (const QString &l : file)
            EXPECT_LE(l.toUtf8().size(), textblock::kFileLineBytes + 1);
        EXPECT_EQ(textFromBlockFileLines(file), text);
    }
    EXPECT_EQ(textFromBlockFileLines({ "a\\n" }), std::nullopt);
    EXPECT_EQ(textFromBlockFileLines({ "a", "goes on\\" }), std::nullopt);
}

TEST(TextBlockFileLines, TheHeaderTakesFiveNumbersWithinTheirLimits)
{
    const std::optional<TextBlockHeader> h = parseTextBlockHeader("100 50 2 120 3");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->width, 100);
    EXPECT_EQ(h->height, 50);
    EXPECT_EQ(h->align, 2);
    EXPECT_EQ(h->spacing, 120);
    EXPECT_EQ(h->lines, 3);
    for (const char *bad : { "", "100 50 2 120", "100 50 2 120 3 4", "0 50 0 100 1",
             "1000 50 0 100 1", "100 50 3 100 1", "100 50 0 49 1", "100 50 0 401 1",
             "100 50 0 100 -1", "100  50 0 100 1", "100 50 0 100 01", "100 50 0 100 x" })
        EXPECT_FALSE(parseTextBlockHeader(bad)) << bad;
}

namespace {

struct BlockEditing : ::testing::Test
{
    BlockEditing()
        : ed(doc, &messages)
        , prints(doc)
    {
        doc.dpiX = doc.dpiY = 300;
        prints.setRecorder(&ed.history());
        prints.open(PrintsList::Inside);
    }
    QByteArray bytes() { return documentBytes(doc).data; }

    LabelDocument doc;
    RecordingMessages messages;
    DocumentEditor ed;
    PrintsEditor prints;
    QTemporaryDir dir;
};

} // namespace

TEST_F(BlockEditing, EachChangeIsOneStepAndUndoGivesTheSameBytes)
{
    const QByteArray empty = bytes();
    std::vector<QByteArray> states { empty };
    prints.newItem(PrintsTextBlock);
    states.push_back(bytes());
    const std::function<void()> edits[] = {
        [&] { prints.setText(QStringLiteral("一行目\r\n二行目\rthree")); },
        [&] { prints.setBlockWidth(1200); },
        [&] { prints.setBlockHeight(0); },
        [&] { prints.setBlockAlign(2); },
        [&] { prints.setLineSpacing(10); },
        [&] { prints.setTextX(7); },
    };
    for (const auto &edit : edits) {
        edit();
        states.push_back(bytes());
    }
    const TPrintsData &item = doc.insidePrints[0];
    EXPECT_EQ(item.text, QStringLiteral("一行目\n二行目\nthree"));
    EXPECT_EQ(item.blockWidth, 999);
    EXPECT_EQ(item.blockHeight, 1);
    EXPECT_EQ(item.blockAlign, 2);
    EXPECT_EQ(item.lineSpacing, 50);
    EXPECT_TRUE(states.back().startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncd-jewel\r\n"));
    EXPECT_EQ(ed.history().undoCount(), qsizetype(states.size() - 1));
    for (size_t i = states.size() - 1; i > 0; --i) {
        ed.history().undo();
        EXPECT_EQ(bytes(), states[i - 1]) << i;
    }
    EXPECT_TRUE(empty.startsWith("<Casewright Data File>\r\n1.06\r\n"));
    for (size_t i = 1; i < states.size(); ++i) {
        ed.history().redo();
        EXPECT_EQ(bytes(), states[i]) << i;
    }
}

TEST_F(BlockEditing, ATextBlockThatBecomesATextItemJoinsItsLines)
{
    prints.newItem(PrintsTextBlock);
    prints.setText(QStringLiteral("a\nb"));
    prints.setKind(PrintsText);
    EXPECT_EQ(doc.insidePrints[0].text, QStringLiteral("a b"));
    // A text item is no block: the block's fields are left alone.
    prints.setBlockWidth(20);
    EXPECT_EQ(doc.insidePrints[0].blockWidth, 100);
    EXPECT_TRUE(documentBytes(doc).data.startsWith("<Casewright Data File>\r\n1.06\r\n"));
}

TEST_F(BlockEditing, AFileIsReadAsUtf8OrCp932AndABadOneChangesNothing)
{
    prints.newItem(PrintsTextBlock);
    prints.setText(QStringLiteral("kept"));
    auto file = [&](const char *name, const QByteArray &data) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeAll(path, data));
        return path;
    };
    EXPECT_TRUE(prints.readBlockText(file("u.txt", "\xEF\xBB\xBF歌詞\r\nline 2\r\n\r\n"), messages));
    EXPECT_EQ(doc.insidePrints[0].text, QStringLiteral("歌詞\nline 2"));
    EXPECT_TRUE(prints.readBlockText(file("s.txt", cp932::encode(QStringLiteral("春の歌\n二番")).bytes), messages));
    EXPECT_EQ(doc.insidePrints[0].text, QStringLiteral("春の歌\n二番"));
    EXPECT_TRUE(messages.messages.isEmpty());
    const qsizetype steps = ed.history().undoCount();

    const QString missing = dir.filePath("none.txt");
    const QString big = file("big.txt", QByteArray(64 * 1024 + 1, 'a'));
    const QString binary = file("b.txt", QByteArray("PNG\0\x01\x02", 6));
    const QString neither = file("n.txt", "\x82\xA0\xFF\xFF");
    const std::pair<QString, QString> bad[] = {
        { missing, QStringLiteral("ファイル(%1)がオープンできません").arg(missing) },
        { dir.path(), QStringLiteral("ファイル(%1)がオープンできません").arg(dir.path()) },
        { big, QStringLiteral("ファイル(%1)が大きすぎます(最大64KB)").arg(big) },
        { binary, QStringLiteral("ファイル(%1)はテキストファイルではありません").arg(binary) },
        { neither, QStringLiteral("ファイル(%1)はテキストファイルではありません").arg(neither) },
    };
    for (const auto &[path, message] : bad) {
        messages.messages.clear();
        EXPECT_FALSE(prints.readBlockText(path, messages));
        EXPECT_EQ(messages.messages, QStringList { message });
        EXPECT_EQ(doc.insidePrints[0].text, QStringLiteral("春の歌\n二番"));
    }
    EXPECT_EQ(ed.history().undoCount(), steps);
}

// The free-print text block: where its lines wrap and how many fit, for a
// known font; its editor operations and their undo; reading its text from a
// file.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "document/DocumentEditor.h"
#include "document/DocumentWriter.h"
#include "document/TextBlock.h"
#include "prints/PrintsEditor.h"
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

// A long paste is wrapped with few measurements: the last place that fits is
// found by doubling and halving, not by measuring every character in turn.
TEST(TextWrap, ALongLineIsWrappedWithALogarithmicNumberOfMeasurements)
{
    int calls = 0;
    const auto tenEach = [&calls](const QString &s) {
        ++calls;
        return int(s.size()) * 10;
    };
    const QString kana = QString(2000, QChar(0x3042)); // "あ", a place to wrap after each
    EXPECT_EQ(wrapText(kana, tenEach, 2000), QStringList(10, QString(200, QChar(0x3042))));
    EXPECT_LT(calls, 300); // one by one: over 2,000
    calls = 0;
    const QString word(1000, QLatin1Char('x')); // no place to wrap: cut where it fills
    EXPECT_EQ(wrapText(word, tenEach, 2000), QStringList(5, QString(200, QLatin1Char('x'))));
    EXPECT_LT(calls, 200);
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
    EXPECT_EQ(QList<int>({ l.boxWidth, l.boxHeight, l.lineHeight, int(l.lines.size()), l.shown }),
        QList<int>({ 236, 177, 54, 5, 3 }));
    EXPECT_EQ(cutLinesMessage(l.cut()), QStringLiteral("2行が収まりません"));
    EXPECT_EQ(cutLinesMessage(0), QString());
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
    const TPrintsData &b = doc.insidePrints[0];
    EXPECT_EQ(b.text, QStringLiteral("一行目\n二行目\nthree"));
    EXPECT_EQ(QList<int>({ b.blockWidth, b.blockHeight, b.blockAlign, b.lineSpacing }),
        QList<int>({ 999, 1, 2, 50 })); // each within its limits
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
    prints.setBlockWidth(20); // no block: nothing
    EXPECT_EQ(doc.insidePrints[0].blockWidth, 100);
}

TEST_F(BlockEditing, AFileIsReadAsUtf8AndABadOneChangesNothing)
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
    EXPECT_TRUE(messages.messages.isEmpty());
    const qsizetype steps = ed.history().undoCount();

    const QString missing = dir.filePath("none.txt");
    const QString big = file("big.txt", QByteArray(64 * 1024 + 1, 'a'));
    const QString neither = file("n.txt", "\x82\xA0\xFF\xFF"); // neither UTF-8 nor CP932
    const std::pair<QString, QString> bad[] = {
        { missing, QStringLiteral("ファイル(%1)がオープンできません").arg(missing) },
        { big, QStringLiteral("ファイル(%1)が大きすぎます(最大64KB)").arg(big) },
        { neither, QStringLiteral("ファイル(%1)はテキストファイルではありません").arg(neither) },
    };
    for (const auto &[path, message] : bad) {
        messages.messages.clear();
        EXPECT_FALSE(prints.readBlockText(path, messages));
        EXPECT_EQ(messages.messages, QStringList { message });
        EXPECT_EQ(doc.insidePrints[0].text, QStringLiteral("歌詞\nline 2"));
    }
    EXPECT_EQ(ed.history().undoCount(), steps);
}

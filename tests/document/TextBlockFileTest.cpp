// Text blocks in the document file: a document with one is written as 1.08
// with the block's own lines after its item's, reads back to the same bytes,
// and a file whose block lines are wrong is refused before anything changes.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/TextBlock.h"

using namespace cw;

namespace {

QByteArray utf8FileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// The lines of a new document as 1.08 with `item` lines in [Top1Prints].
QStringList withCoverItem(const QStringList &item, const QString &version = "1.08")
{
    QStringList lines = kNewDocumentLines;
    lines[1] = version;
    insertLines(lines, lines.indexOf("[Top1Prints]") + 1, item);
    if (version == "1.08")
        insertLines(lines, 2, { "", "[Case]", "cd-jewel" });
    return lines;
}

const QStringList kItemLines = { "2", "", "5 6", "-2147483640 009 128 0 0 0 0", "ＭＳ Ｐゴシック",
    "0", "", "0 0", "0 0", "0 0" };

TPrintsData lyrics()
{
    TPrintsData b;
    b.kind = PrintsTextBlock;
    b.textX = 5;
    b.textY = 6;
    b.blockWidth = 80;
    b.blockHeight = 40;
    b.blockAlign = 1;
    b.lineSpacing = 150;
    b.text = QStringLiteral("Verse\\1\n\nこんにちは");
    return b;
}

} // namespace

TEST_F(FileFixture, ATextBlockIsWrittenAs108AndReadsBackToTheSameBytes)
{
    doc.coverPrints.append(lyrics());
    const QByteArray bytes = resaved(doc);
    EXPECT_EQ(bytes,
        utf8FileOf(withCoverItem(
            kItemLines + QStringList { "80 40 1 150 3", "Verse\\\\1", "", "こんにちは" })));

    // A text of any length: 3,000 kana on one line are three file lines.
    TPrintsData longer = lyrics();
    longer.text = QString(3000, QChar(u'あ')) + "\n\\";
    doc.backPrints.append(longer);
    const QByteArray more = resaved(doc);
    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    DocumentFileInfo info;
    ASSERT_EQ(readDocument(e2, more, "x.cwr", progress, &info), LoadStatus::Loaded);
    EXPECT_EQ(info.version, "1.08");
    ASSERT_EQ(back.coverPrints.size(), 1);
    ASSERT_EQ(back.backPrints.size(), 1);
    const TPrintsData &b = back.coverPrints[0];
    EXPECT_EQ(b.kind, PrintsTextBlock);
    EXPECT_EQ(b.text, lyrics().text);
    EXPECT_EQ(
        QList<int>({ b.textX, b.textY, b.blockWidth, b.blockHeight, b.blockAlign, b.lineSpacing }),
        QList<int>({ 5, 6, 80, 40, 1, 150 }));
    EXPECT_EQ(back.backPrints[0].text, longer.text);
    EXPECT_EQ(resaved(back), more);
    EXPECT_TRUE(messages.messages.isEmpty());

    // Without its blocks the document is written as today's file.
    doc.coverPrints.clear();
    doc.backPrints.clear();
    EXPECT_EQ(resaved(doc), fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, ABadTextBlockIsRefusedBeforeTheDocumentChanges)
{
    ed.setTitleText(Surface::Top, "before");
    doc.fileName = "/old/name.cwr";
    const QByteArray before = resaved(doc);
    const QStringList bad[] = {
        kItemLines + QStringList { "80 40 3 150 1", "x" }, // no such alignment
        kItemLines + QStringList { "80 40 1 150 1", "a\\b" }, // not an escape
        kItemLines + QStringList { "80 40 1 150 1", "goes on\\" }, // nothing follows
        kItemLines + QStringList { "80 40 1 150" }, // no line count
    };
    for (const QStringList &item : bad) {
        messages.messages.clear();
        const QString path = write("bad.cwr", utf8FileOf(withCoverItem(item)));
        EXPECT_EQ(load(path), LoadStatus::Damaged) << item.join('|').toStdString();
        EXPECT_EQ(messages.messages, QStringList { QStringLiteral("ファイル(%1)が異常です").arg(path) });
        EXPECT_EQ(resaved(doc), before);
        EXPECT_EQ(doc.fileName, "/old/name.cwr");
    }
    // The file ends inside the block's lines.
    QByteArray cut = utf8FileOf(withCoverItem(kItemLines + QStringList { "80 40 1 150 9", "x" }));
    cut.truncate(cut.indexOf("\r\nx\r\n") + 5);
    cut += "y\r\n";
    EXPECT_EQ(load(write("cut.cwr", cut)), LoadStatus::Damaged);
    EXPECT_EQ(resaved(doc), before);
}

TEST_F(FileFixture, BeforeVersion108AKindTwoIsATextItem)
{
    QStringList item = kItemLines;
    item[1] = "plain";
    ASSERT_EQ(load(write("old.cwr", utf8FileOf(withCoverItem(item, "1.07")))), LoadStatus::Loaded);
    ASSERT_EQ(doc.coverPrints.size(), 1);
    EXPECT_EQ(doc.coverPrints[0].kind, PrintsText);
    EXPECT_EQ(doc.coverPrints[0].text, "plain");
}

// Text blocks in the document file: written as 1.08 with the block's own
// lines after its item's, read back to the same bytes; a bad block is
// refused before anything changes.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"

using namespace cw;

namespace {

QByteArray utf8FileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// A new document's lines with `item` in [Top1Prints], as `version`.
QByteArray withCoverItem(const QStringList &item, const QString &version = "1.08")
{
    QStringList lines = kNewDocumentLines;
    lines[1] = version;
    insertLines(lines, lines.indexOf("[Top1Prints]") + 1, item);
    if (version == "1.08")
        insertLines(lines, 2, { "", "[Case]", "cd-jewel" });
    return utf8FileOf(lines);
}

const QStringList kItemLines = { "2", "", "5 6", "-2147483640 009 128 0 0 0 0", "ＭＳ Ｐゴシック",
    "0", "", "0 0", "0 0", "0 0" };

} // namespace

TEST_F(FileFixture, ATextBlockIsWrittenAs108AndReadsBackToTheSameBytes)
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
    doc.coverPrints.append(b);
    EXPECT_EQ(resaved(doc),
        withCoverItem(kItemLines + QStringList { "80 40 1 150 3", "Verse\\\\1", "", "こんにちは" }));

    // A text of any length: 3,000 kana on one line take three file lines.
    b.text = QString(3000, QChar(u'あ')) + "\n\\";
    doc.backPrints.append(b);
    const QByteArray bytes = resaved(doc);
    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(readDocument(e2, bytes, "x.cwr", progress), LoadStatus::Loaded);
    ASSERT_EQ(back.backPrints.size(), 1);
    const TPrintsData &r = back.backPrints[0];
    EXPECT_EQ(r.text, b.text);
    EXPECT_EQ(QList<int>({ r.kind, r.textX, r.textY, r.blockWidth, r.blockHeight, r.blockAlign,
                  r.lineSpacing }),
        QList<int>({ 2, 5, 6, 80, 40, 1, 150 }));
    EXPECT_EQ(resaved(back), bytes);

    // Without blocks the document is written as today's file.
    doc.coverPrints.clear();
    doc.backPrints.clear();
    EXPECT_EQ(resaved(doc), fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, ABadTextBlockIsRefusedBeforeTheDocumentChanges)
{
    ed.setTitleText(Surface::Top, "before");
    const QByteArray before = resaved(doc);
    QByteArray cut = withCoverItem(kItemLines + QStringList { "80 40 1 150 9", "x" });
    cut.truncate(cut.indexOf("\r\nx\r\n") + 5); // the file ends inside the block
    const QByteArray bad[] = {
        withCoverItem(kItemLines + QStringList { "80 40 3 150 1", "x" }), // no such alignment
        withCoverItem(kItemLines + QStringList { "80 40 1 150 1", "a\\b" }), // no such escape
        withCoverItem(kItemLines + QStringList { "80 40 1 150 1", "goes on\\" }), // to nothing
        withCoverItem(kItemLines + QStringList { "80 40 1 150" }), // no line count
        withCoverItem(kItemLines + QStringList { "1000 40 1 49 0" }), // beyond the limits
        cut,
    };
    for (const QByteArray &file : bad) {
        messages.messages.clear();
        const QString path = write("bad.cwr", file);
        EXPECT_EQ(load(path), LoadStatus::Damaged);
        EXPECT_EQ(messages.messages, QStringList { QStringLiteral("ファイル(%1)が異常です").arg(path) });
        EXPECT_EQ(resaved(doc), before);
    }
    // Before 1.08 a kind of 2 is a text item.
    QStringList item = kItemLines;
    item[1] = "plain";
    ASSERT_EQ(load(write("old.cwr", withCoverItem(item, "1.07"))), LoadStatus::Loaded);
    EXPECT_EQ(doc.coverPrints[0].kind, PrintsText);
    EXPECT_EQ(doc.coverPrints[0].text, "plain");
}

// The case format in the document file: a jewel-case document is written as
// before, any other case as version 1.08 with its "[Case]" section first; a
// case this program does not know is refused before the document changes.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentLineValues.h"

using namespace cw;

namespace {

// Lines joined with CR LF as UTF-8.
QByteArray utf8FileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// The lines of a new document of the case `id` in version 1.08.
QStringList caseLines(const QString &id)
{
    QStringList lines = { "<Casewright Data File>", "1.08", "", "[Case]", id };
    lines += kNewDocumentLines.mid(2);
    return lines;
}

void fillSome(DocumentEditor &ed)
{
    ed.document().fileName = "/old/name.cwr";
    ed.setTitleText(Surface::Top, "before");
    ed.setTitleText(Surface::Bottom, "back");
    ed.document().listRows.append(TListData());
}

} // namespace

TEST_F(FileFixture, ASlimDocumentIsWritten108InUtf8WithItsCaseFirst)
{
    doc.caseFormat = "cd-slim";
    EXPECT_EQ(documentBytes(doc).data, utf8FileOf(caseLines("cd-slim")));
    // Asking for UTF-8 gives the same: 1.08 has one form.
    EXPECT_EQ(documentBytes(doc, QString(), TextEncoding::Utf8).data,
        utf8FileOf(caseLines("cd-slim")));

    // Text CP932 cannot hold needs no question and no 1.07.
    ed.setTitleText(Surface::Top, "Café ☕");
    EXPECT_TRUE(fieldsNeedingUnicode(doc).isEmpty());
    const QString path = dir.filePath("slim.cwr");
    ASSERT_TRUE(saveDocument(doc, path, messages, UnicodeSave::Refuse));
    const QByteArray saved = readAll(path);
    EXPECT_TRUE(saved.startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncd-slim\r\n\r\n"
                                 "[Print Setting]\r\n"));
    EXPECT_TRUE(saved.contains("\r\nCafé ☕\r\n"));
    EXPECT_TRUE(messages.messages.isEmpty());

    // Back to the jewel case: the bytes of today's file.
    doc.caseFormat = "cd-jewel";
    ed.setTitleText(Surface::Top, "");
    EXPECT_EQ(documentBytes(doc).data, fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, A108FileReadsBackWithItsCaseAndWritesTheSameBytes)
{
    doc.caseFormat = "cd-slim";
    ed.setTitleText(Surface::Top, "表 Ü");
    ed.setTitleText(Surface::Left, "kept on the spine");
    const QByteArray first = resaved(doc);

    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    DocumentFileInfo info;
    ASSERT_EQ(readDocument(e2, first, "x.cwr", progress, &info), LoadStatus::Loaded);
    EXPECT_EQ(back.caseFormat, "cd-slim");
    EXPECT_EQ(info.version, "1.08");
    EXPECT_EQ(info.encoding, TextEncoding::Utf8);
    EXPECT_EQ(back.top.title.text, "表 Ü");
    EXPECT_EQ(back.left.title.text, "kept on the spine");
    EXPECT_EQ(resaved(back), first);

    // A jewel file read into the slim document makes it a jewel case again.
    ASSERT_EQ(readDocument(e2, fileOf(kNewDocumentLines), "y.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(back.caseFormat, "cd-jewel");
    EXPECT_EQ(resaved(back), fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, AReaderOf107RefusesA108FileByItsVersion)
{
    doc.caseFormat = "cd-slim";
    const QByteArray data = resaved(doc);
    const QByteArray versionLine = data.split('\n').at(1).trimmed();
    EXPECT_EQ(versionLine, "1.08");
    // The check a reader of 1.07 makes before it reads on, and its message.
    EXPECT_TRUE(docfile::isNewerVersion(docfile::parseVersion(versionLine), 1.07));
    EXPECT_FALSE(docfile::isNewerVersion(docfile::parseVersion("1.07"), 1.07));
    EXPECT_FALSE(docfile::isNewerVersion(docfile::parseVersion("1.06"), 1.07));
    EXPECT_TRUE(docfile::isNewerVersion(docfile::parseVersion("1.08"), 1.07));
    // This reader makes the same check with 1.08: the next version is refused
    // with the message every version gave.
    fillSome(ed);
    QByteArray newer = data;
    newer.replace("\r\n1.08\r\n", "\r\n1.09\r\n");
    EXPECT_EQ(readDocument(ed, newer, "x.cwr", progress), LoadStatus::WrongVersion);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)のバージョンが違います" }));
    EXPECT_EQ(doc.caseFormat, "cd-slim");
    EXPECT_EQ(doc.fileName, "/old/name.cwr");
}

TEST_F(FileFixture, AnUnknownCaseIsRefusedNamingItAndTheDocumentStaysAsItWas)
{
    fillSome(ed);
    const QByteArray before = resaved(doc);
    const QByteArray unknown = utf8FileOf(caseLines("dvd-keep"));
    EXPECT_EQ(readDocument(ed, unknown, "x.cwr", progress), LoadStatus::UnknownCaseFormat);
    EXPECT_EQ(messages.messages,
        QStringList({ "ファイル(x.cwr)のケースの種類(dvd-keep)はこのプログラムでは扱えません" }));
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(resaved(doc), before);
    EXPECT_EQ(doc.fileName, "/old/name.cwr");
    EXPECT_EQ(doc.listRows.size(), 1);

    // An id differing only in case or by a blank is another id.
    for (const char *id : { "CD-SLIM", "cd-slim ", "" }) {
        messages.messages.clear();
        EXPECT_EQ(readDocument(ed, utf8FileOf(caseLines(id)), "x.cwr", progress),
            LoadStatus::UnknownCaseFormat)
            << id;
        EXPECT_EQ(resaved(doc), before) << id;
    }

    // A 1.08 file whose first section is not its case is damaged, and read no further.
    QStringList noCase = caseLines("cd-slim");
    noCase.remove(3, 2); // "[Case]" and its id
    messages.messages.clear();
    EXPECT_EQ(readDocument(ed, utf8FileOf(noCase), "x.cwr", progress), LoadStatus::Damaged);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)が異常です" }));
    EXPECT_EQ(resaved(doc), before);
    EXPECT_EQ(doc.fileName, "/old/name.cwr");
    // Cut after the header.
    EXPECT_EQ(readDocument(ed, utf8FileOf(caseLines("cd-slim").mid(0, 4)), "x.cwr", progress),
        LoadStatus::Damaged);
    EXPECT_EQ(resaved(doc), before);

    // A "[Case]" section anywhere else is a stray line, in 1.08 as before it.
    QStringList late = caseLines("cd-slim");
    insertLines(late, int(late.indexOf("[DPI]")), { "[Case]", "cd-slim", "" });
    EXPECT_EQ(readDocument(ed, utf8FileOf(late), "x.cwr", progress), LoadStatus::Damaged);
    QStringList old = kNewDocumentLines;
    insertLines(old, 2, { "", "[Case]", "cd-slim" });
    EXPECT_EQ(readDocument(ed, fileOf(old), "x.cwr", progress), LoadStatus::Damaged);
}

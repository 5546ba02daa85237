#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

// Answers the save question and records it.
class ScriptedConfirm : public ConfirmSink
{
public:
    explicit ScriptedConfirm(bool answer)
        : m_answer(answer)
    { }
    bool confirm(const QString &text, const QString &caption) override
    {
        asked.append(caption + QLatin1Char('|') + text);
        return m_answer;
    }
    QStringList asked;

private:
    bool m_answer;
};

const QString kQuestion = QStringLiteral("確認|この文書にはShift-JISで保存できない文字があります。"
                                         "新しい形式(1.07)で保存しますか？");

struct UnicodeFixture : ::testing::Test
{
    UnicodeFixture()
        : ed(doc, &messages)
    {
        useResolution(doc);
    }
    static void useResolution(LabelDocument &d)
    {
        d.dpiX = d.dpiY = 300;
        d.surfacePixels = surfacePixelsAt(300, 300);
    }
    // Every text field of the document holds characters outside CP932.
    void fillEveryTextField()
    {
        const QString picture = dir.filePath(QStringLiteral("Björk—ü.bmp"));
        ASSERT_TRUE(writeAll(picture, readAll(CASEWRIGHT_TEST_DATA "/document/pic.bmp")));
        const FontSpec font { QStringLiteral("Café Sans"), 11, 0x00102030, 0, true, false, false,
            false };
        for (Surface s : kAllSurfaces) {
            ed.setTitleUse(s, true);
            ed.setTitleText(s, QStringLiteral("Motörhead — %1 😀").arg(int(s)));
            ed.setTitleFont(s, font);
            ed.setPictureUse(s, true);
            ed.loadSurfacePicture(s, picture);
        }
        TPrintsData text;
        text.text = QStringLiteral("Ça va · Ångström");
        text.font = font;
        TPrintsData pic = text;
        pic.kind = 1;
        pic.fileName = picture;
        for (QList<TPrintsData> *l : { &doc.coverPrints, &doc.insidePrints, &doc.backPrints })
            *l = { text, pic };
        TListData row;
        for (int c = 0; c < 3; ++c) {
            row.columns[c].text = QStringLiteral("Crème brûlée %1").arg(c);
            row.columns[c].font = font;
        }
        doc.listRows = { row, row };
    }

    QTemporaryDir dir;
    LabelDocument doc;
    RecordingMessages messages;
    RecordingProgress progress;
    DocumentEditor ed;
};

} // namespace

TEST_F(UnicodeFixture, YesWritesEveryFieldAs107InUtf8AndItReadsBack)
{
    fillEveryTextField();
    // The rule names every field that needs the Unicode form, with its letter.
    const QList<UnicodeField> fields = fieldsNeedingUnicode(doc);
    ASSERT_EQ(fields.size(), 4 * 3 + 3 * (2 + 3) + 2 * 3 * 2);
    EXPECT_EQ(fields[0].field, QStringLiteral("表レーベル タイトル"));
    EXPECT_EQ(fields[0].characters[0].character, U'ö');
    EXPECT_EQ(fields[0].characters[0].index, 3);

    const QString path = dir.filePath("unicode.cwr");
    ScriptedConfirm yes(true);
    ASSERT_TRUE(ed.save(path, &yes)) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(yes.asked, QStringList({ kQuestion }));
    const QByteArray file = readAll(path);
    EXPECT_TRUE(file.startsWith("<Casewright Data File>\r\n1.07\r\n\r\n[Print Setting]\r\n"));
    EXPECT_EQ(file.count("\r\n"), file.count('\n')); // CR LF throughout
    EXPECT_TRUE(file.contains("\r\nMotörhead — 0 😀\r\n"));
    // The same lines as the CP932 form would have, only in UTF-8.
    EXPECT_EQ(file.count("\r\n"),
        documentBytes(LabelDocument()).data.count("\r\n") + 2 * 10 * 3 + 2 * 13);

    LabelDocument back;
    useResolution(back);
    DocumentEditor e2(back, &messages);
    DocumentFileInfo info;
    ASSERT_EQ(loadDocument(e2, path, progress, &info), LoadStatus::Loaded);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(info.version, "1.07");
    EXPECT_EQ(info.encoding, TextEncoding::Utf8);
    EXPECT_EQ(controlValues(back), controlValues(doc));
    EXPECT_EQ(back.listRows, doc.listRows);
    for (const QList<TPrintsData> *l :
        { &back.coverPrints, &back.insidePrints, &back.backPrints }) {
        ASSERT_EQ(l->size(), 2);
        EXPECT_EQ((*l)[0].text, doc.coverPrints[0].text);
        EXPECT_EQ((*l)[0].font, doc.coverPrints[0].font);
        EXPECT_EQ((*l)[1].fileName, doc.coverPrints[1].fileName);
        EXPECT_EQ((*l)[1].pixelWidth, 4); // the picture was found and loaded
    }
    EXPECT_EQ(documentBytes(back, path, TextEncoding::Utf8).data, file);
}

TEST_F(UnicodeFixture, NoWritesNothingAndNamesTheFieldAndCharacter)
{
    const QString path = dir.filePath("keep.cwr");
    ASSERT_TRUE(writeAll(path, "old contents"));
    ed.setTitleText(Surface::Bottom, QStringLiteral("Café"));
    ScriptedConfirm no(false);
    EXPECT_FALSE(ed.save(path, &no));
    EXPECT_EQ(no.asked, QStringList({ kQuestion }));
    EXPECT_EQ(messages.messages,
        QStringList({ "ファイル(" + path
            + ")が記録できません\n裏レーベル タイトル: 保存できない文字があります "
              "「é」(4文字目)" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST_F(UnicodeFixture, ADocumentThatFitsIsWritten106WithoutAQuestion)
{
    ed.setTitleText(Surface::Top, QStringLiteral("表 ～ — ①"));
    EXPECT_TRUE(fieldsNeedingUnicode(doc).isEmpty());
    const QString path = dir.filePath("fits.cwr");
    ScriptedConfirm yes(true);
    ASSERT_TRUE(ed.save(path, &yes));
    EXPECT_TRUE(yes.asked.isEmpty());
    EXPECT_EQ(readAll(path), documentBytes(doc).data);
    EXPECT_TRUE(readAll(path).startsWith("<Casewright Data File>\r\n1.06\r\n"));
}

TEST_F(UnicodeFixture, TheUnicodeFormTakesLinesOf1023BytesWithTheirBreak)
{
    ScriptedConfirm yes(true);
    const QString path = dir.filePath("long.cwr");
    // "あ" is three bytes in UTF-8, "é" two: the longest text is 1,022 bytes.
    const QString longest = QString(340, QChar(0x3042)) + QStringLiteral("é");
    ASSERT_EQ(longest.toUtf8().size(), 1022);
    ed.setTitleText(Surface::Top, longest);
    ASSERT_TRUE(ed.save(path, &yes)) << messages.messages.join('\n').toStdString();
    LabelDocument back;
    useResolution(back);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_EQ(back.top.title.text, longest);

    ed.setTitleText(Surface::Top, longest + QLatin1Char('x'));
    EXPECT_FALSE(ed.save(path, &yes));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].endsWith(
        QStringLiteral("表レーベル タイトル: 長すぎます(1023バイト、最大1022バイト)")));
    EXPECT_EQ(back.top.title.text, longest); // the old file stayed

    // A CP932 document keeps its 254-byte limit, and length alone asks nothing.
    ScriptedConfirm never(true);
    ed.setTitleText(Surface::Top, QString(255, QLatin1Char('x')));
    EXPECT_FALSE(ed.save(path, &never));
    EXPECT_TRUE(never.asked.isEmpty());
}

TEST_F(UnicodeFixture, A107FileIsRefusedByA106ReaderAndNewerOnesByThisOne)
{
    ed.setTitleText(Surface::Top, QStringLiteral("Café"));
    const DocumentBytes utf8 = documentBytes(doc, QString(), TextEncoding::Utf8);
    ASSERT_TRUE(utf8.ok());
    // A reader of 1.06 sees its own header, then a version above 1.06: its
    // version message, before it reads any text.
    EXPECT_TRUE(utf8.data.startsWith("<Casewright Data File>\r\n1.07\r\n"));
    for (const char *newer : { "1.09", "1.1", "2" }) {
        QByteArray data = utf8.data;
        data.replace("\r\n1.07\r\n", QByteArray("\r\n") + newer + "\r\n");
        messages.messages.clear();
        EXPECT_EQ(readDocument(ed, data, "x.cwr", progress), LoadStatus::WrongVersion) << newer;
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)のバージョンが違います" }));
    }
    // The CP932 bytes of a 1.06 file read as CP932, and the same text as UTF-8
    // under 1.07.
    ed.setTitleText(Surface::Top, QStringLiteral("表"));
    LabelDocument back;
    useResolution(back);
    DocumentEditor e2(back, &messages);
    QByteArray data = documentBytes(doc).data;
    DocumentFileInfo info;
    ASSERT_EQ(readDocument(e2, data, "x.cwr", progress, &info), LoadStatus::Loaded);
    EXPECT_EQ(info.encoding, TextEncoding::Cp932);
    EXPECT_EQ(back.top.title.text, QStringLiteral("表"));
    data = documentBytes(doc, QString(), TextEncoding::Utf8).data;
    ASSERT_EQ(readDocument(e2, data, "x.cwr", progress, &info), LoadStatus::Loaded);
    EXPECT_EQ(info.encoding, TextEncoding::Utf8);
    EXPECT_EQ(back.top.title.text, QStringLiteral("表"));
}

TEST_F(UnicodeFixture, ALineBreakIsRefusedInEitherFormWithoutAQuestion)
{
    ed.setTitleText(Surface::Top, QStringLiteral("a\nb"));
    ScriptedConfirm yes(true);
    EXPECT_FALSE(ed.save(dir.filePath("x.cwr"), &yes));
    EXPECT_TRUE(yes.asked.isEmpty());
    // A lone surrogate has no UTF-8 form either: asked, then refused.
    ed.setTitleText(Surface::Top, QString(QChar(0xD800)));
    EXPECT_FALSE(ed.save(dir.filePath("x.cwr"), &yes));
    EXPECT_EQ(yes.asked.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.cwr")));
}

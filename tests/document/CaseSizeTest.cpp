// The custom case's sizes: one undoable step that lays the surfaces out
// again, typed text out of range refused naming the range, and the file's
// "Size" line checked before the document changes.
#include <gtest/gtest.h>

#include <QJsonDocument>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentJson.h"

using namespace cw;

namespace {

QByteArray jsonOf(const LabelDocument &d)
{
    return QJsonDocument(documentToJson(d)).toJson();
}

// A new custom-case document, UTF-8, with `caseLines` after the [Case] id.
QByteArray customFile(const QStringList &caseLines)
{
    QByteArray out;
    for (const QString &l :
        QStringList { "<Casewright Data File>", "1.08", "", "[Case]", "custom-wrap" } + caseLines
            + kNewDocumentLines.mid(2))
        out += l.toUtf8() + "\r\n";
    return out;
}

} // namespace

TEST_F(FileFixture, TheSizesChangeAsOneStepThatUndoesToTheSameBytes)
{
    ed.loadSurfacePicture(Surface::Top, write("pic.bmp", readAll(dataDir() + "/pic.bmp")));
    ed.setPictureUse(Surface::Top, true);
    ed.setPicturePosX(Surface::Top, 9);
    ed.setCaseFormat("custom-wrap");
    ed.applySizeMode(Surface::Top, PictureSizing::FitWidth);
    EXPECT_EQ(doc.top.picture.printWidth, 1529); // 129.5 mm at 300 dpi
    ed.history().clear();
    const QByteArray bytesBefore = resaved(doc), jsonBefore = jsonOf(doc);

    EXPECT_EQ(
        ed.setCaseSize({ 1300, 1840, 143 }).pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back })); // the wrap and its reverse
    EXPECT_EQ(ed.history().undoCount(), 1);
    EXPECT_EQ(ed.history().undoLabel(), "ケースの寸法の変更");
    // The surfaces take the sizes; the fitted picture fits again, its position stays.
    EXPECT_EQ(doc.surfacePixels.topHeight, 2173);
    EXPECT_EQ(doc.surfacePixels.sideWidth, 168);
    EXPECT_EQ(doc.top.picture.printWidth, 1535);
    EXPECT_EQ(doc.top.picture.posX, 9);
    const QByteArray bytesAfter = resaved(doc), jsonAfter = jsonOf(doc);
    EXPECT_TRUE(
        bytesAfter.startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncustom-wrap\r\n"
                              "Size 130.0 184.0 14.3\r\n\r\n[Print Setting]\r\n"));
    EXPECT_TRUE(jsonAfter.contains("\"caseSize\": \"130.0 184.0 14.3\""));

    ASSERT_TRUE(ed.history().undo().done);
    EXPECT_EQ(resaved(doc), bytesBefore);
    EXPECT_EQ(jsonOf(doc), jsonBefore);
    ASSERT_TRUE(ed.history().redo().done);
    EXPECT_EQ(resaved(doc), bytesAfter);
    EXPECT_EQ(jsonOf(doc), jsonAfter);

    // Sizes out of range, or a case that is not custom: nothing.
    EXPECT_TRUE(ed.setCaseSize({ 1300, 1840, 601 }).isEmpty());
    ed.setCaseFormat("dvd-14");
    EXPECT_TRUE(ed.setCaseSize({ 1500, 1500, 100 }).isEmpty());
    EXPECT_EQ(ed.history().undoCount(), 2);
    // The custom case chosen again has the sizes it had.
    ed.setCaseFormat("custom-wrap");
    EXPECT_EQ(resaved(doc), bytesAfter);
}

TEST_F(FileFixture, TypedSizesOutOfRangeOrNotNumbersAreRefusedNamingTheRange)
{
    ed.setCaseFormat("custom-wrap");
    const struct
    {
        CaseDimension which;
        const char *typed;
        int tenths; // -1: refused
    } rows[] = {
        { CaseDimension::PanelWidth, " 129 ", 1290 },
        { CaseDimension::SpineWidth, "0", 0 },
        { CaseDimension::PanelWidth, "19.9", -1 },
        { CaseDimension::PanelHeight, "150.25", -1 },
        { CaseDimension::PanelHeight, "１５０", -1 },
        { CaseDimension::SpineWidth, "60.1", -1 },
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.typed);
        messages.messages.clear();
        const QByteArray bytes = resaved(doc);
        const qsizetype steps = ed.history().undoCount();
        bool taken = r.tenths < 0;
        ed.commitCaseDimension(r.which, QString::fromUtf8(r.typed), &taken);
        EXPECT_EQ(taken, r.tenths >= 0);
        if (r.tenths >= 0) {
            EXPECT_EQ(caseDimension(doc.caseSize, r.which), r.tenths);
            continue;
        }
        const bool spine = r.which == CaseDimension::SpineWidth;
        EXPECT_EQ(messages.messages,
            QStringList({ QStringLiteral("'%1' は %2 までの数値(mm、小数1桁)ではありません")
                              .arg(QString::fromUtf8(r.typed),
                                  spine ? "0.0 から 60.0" : "20.0 から 300.0") }));
        EXPECT_EQ(resaved(doc), bytes);
        EXPECT_EQ(ed.history().undoCount(), steps);
    }
}

TEST_F(FileFixture, ACustomCaseIsReadBackWithItsSizesAndBadSizeLinesAreRefused)
{
    ed.setCaseFormat("custom-wrap");
    ed.setCaseSize({ 1221, 1999, 0 });
    const QByteArray saved = resaved(doc);
    EXPECT_EQ(saved, customFile({ "Size 122.1 199.9 0.0" }));
    // Read into a jewel document: its case, sizes and surfaces follow the file.
    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(readDocument(e2, saved, "x.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(back.caseSize, (CaseSize { 1221, 1999, 0 }));
    EXPECT_EQ(back.surfacePixels.topWidth, doc.surfacePixels.topWidth);
    EXPECT_EQ(jsonOf(back).replace("x.cwr", ""), jsonOf(doc));

    ed.document().fileName = "/old/name.cwr";
    const QByteArray before = resaved(doc);
    const QStringList bad[] = {
        {}, // a custom case without its sizes
        { "Size 129.50 183.0 14.0" },
        { "Size 129 183.0 14.0" },
        { "Size 129.5 183.0 14.0 " },
        { "Size 19.9 183.0 14.0" },
        { "Size 129.5 183.0 60.1" },
        { "Size 129.5 183.0 14.0", "Size 129.5 183.0 14.0" },
        { "Size 129.5 183.0 14.0", "Spine 1" },
    };
    for (const QStringList &lines : bad) {
        SCOPED_TRACE(lines.join(" | ").toStdString());
        messages.messages.clear();
        EXPECT_EQ(readDocument(ed, customFile(lines), "x.cwr", progress), LoadStatus::Damaged);
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)が異常です" }));
        EXPECT_EQ(resaved(doc), before);
        EXPECT_EQ(doc.fileName, "/old/name.cwr");
    }
    // Sizes in a file of a case that has none.
    QByteArray slim = customFile({ "Size 129.5 183.0 14.0" });
    slim.replace("custom-wrap", "cd-slim");
    EXPECT_EQ(readDocument(ed, slim, "x.cwr", progress), LoadStatus::Damaged);
    EXPECT_EQ(resaved(doc), before);
}

// The disc face in the document: its file section, its change operations
// and their undo.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "prints/PrintsEditor.h"
#include "prints/PrintsItems.h"

using namespace cw;

namespace {

// A new jewel-case document as version 1.08 with a disc section of `disc`
// lines before the list, in UTF-8.
QByteArray discFile(const QStringList &disc)
{
    QStringList lines = QStringList { "<Casewright Data File>", "1.08", "", "[Case]", "cd-jewel" }
        + kNewDocumentLines.mid(2);
    insertLines(lines, int(lines.size()) - 1, QStringList { "[Disc]" } + disc + QStringList { "" });
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

const QStringList kFontLines = { "-2147483640 009 128 0 0 0 0", "ＭＳ Ｐゴシック" };
// The end of a disc section without a track list or free prints, and its
// empty free-print section.
const QStringList kDefaultDiscLayout = { "3 027 081 005 044 011 002 002 000" };
const QStringList kNoListNorPrints
    = QStringList { "0 0" } + kDefaultDiscLayout + QStringList { "", "[DiscPrints]" };

} // namespace

TEST_F(FileFixture, ADiscFaceIsWrittenAs108AndReadBackByteForByte)
{
    const QByteArray jewel = resaved(doc);
    EXPECT_EQ(jewel, fileOf(kNewDocumentLines));
    EXPECT_EQ(ed.setDiscTextText(DiscText::Title, "Live 2026").pages,
        QList<PreviewPage>({ PreviewPage::Disc }));
    ed.setDiscTextUse(DiscText::Title, true);
    ed.setDiscTextPlace(DiscText::Subtitle, DiscTextPlace::Custom);
    ed.setDiscTextCustomPosition(DiscText::Subtitle, true, 12, false, 40);
    ed.setDiscTextArc(DiscText::Title, 455, -300);
    ed.setBackgroundColor(Swatch::Disc, 0x00336699);
    const QByteArray disc = resaved(doc);
    EXPECT_EQ(disc,
        discFile(QStringList { "00336699", "1", "Live 2026", "0 455 -300", "0 0", "0 0" } + kFontLines
            + QStringList { "0", "", "2 0 0", "1 12", "0 40" } + kFontLines
            + QStringList { "0", "", "0 0 0 0" } + kNoListNorPrints));
    EXPECT_EQ(ed.history().undoLabel(), "背景色設定(ディスク)");

    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, disc, "x.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(resaved(back), disc);
    EXPECT_TRUE(sameSurfaceSettings(back.disc, doc.disc));

    // Every step undone gives the jewel file again; redone, the disc file.
    while (ed.history().canUndo())
        ed.history().undo();
    EXPECT_EQ(resaved(doc), jewel);
    while (ed.history().canRedo())
        ed.history().redo();
    EXPECT_EQ(resaved(doc), disc);

    // A file without a disc section empties the disc face it is read into.
    ASSERT_EQ(readDocument(e2, jewel, "y.cwr", progress), LoadStatus::Loaded);
    EXPECT_FALSE(usesDiscFace(back));
    EXPECT_EQ(resaved(back), jewel);
}

// An arc's radius is kept within 0 .. 60.0 mm and its angle within
// -180.0 .. 180.0 degrees, the way round the circle it points.
TEST_F(FileFixture, AnArcIsKeptWithinItsRanges)
{
    const std::tuple<int, int, int, int> rows[] = { { 455, 0, 455, 0 }, { -5, 1800, 0, 1800 },
        { 601, -1800, 600, -1800 }, { 100, 1801, 100, -1799 }, { 100, -1810, 100, 1790 },
        { 100, 3600, 100, 0 }, { 100, 7250, 100, 50 } };
    for (const auto &[radius, angle, keptRadius, keptAngle] : rows) {
        ed.setDiscTextArc(DiscText::Subtitle, radius, angle);
        EXPECT_EQ(doc.disc.subtitle.arc.radiusTenths, keptRadius) << radius << " " << angle;
        EXPECT_EQ(doc.disc.subtitle.arc.angleTenths, keptAngle) << radius << " " << angle;
    }
    EXPECT_EQ(ed.history().undoLabel(), "位置(サブタイトル(ディスク))");
}

TEST_F(FileFixture, ADiscSectionHasNoPlaceInAnOlderFile)
{
    QStringList lines = kNewDocumentLines;
    insertLines(lines, int(lines.size()) - 1, { "[Disc]", "00ffffff", "" });
    ed.setDiscTextText(DiscText::Title, "kept");
    EXPECT_EQ(readDocument(ed, fileOf(lines), "old.cwr", progress), LoadStatus::Damaged);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(old.cwr)が異常です" }));
}

// "新規作成" empties the disc face too.
TEST_F(FileFixture, ANewDocumentHasAnEmptyDiscFace)
{
    ed.setDiscTextText(DiscText::Subtitle, "x");
    ed.setBackgroundColor(Swatch::Disc, 0);
    ASSERT_TRUE(usesDiscFace(doc));
    ed.resetToNew();
    EXPECT_FALSE(usesDiscFace(doc));
    EXPECT_EQ(doc.disc.subtitle.arc.place, DiscTextPlace::BottomArc);
}

// The disc's own track list and free prints: kept in its section and its
// free-print section, read back byte for byte, undone back to the jewel file.
TEST_F(FileFixture, TheDiscsListAndFreePrintsAreKeptWithItsFace)
{
    const QByteArray jewel = resaved(doc);
    EXPECT_EQ(ed.setUseList(Surface::Disc, true).pages, QList<PreviewPage>({ PreviewPage::Disc }));
    EXPECT_EQ(ed.history().undoLabel(), "リスト(ディスク)");
    ed.setUseDiscPrints(true);
    PrintsEditor prints(doc);
    prints.setRecorder(&ed.history());
    prints.open(PrintsList::Disc);
    ASSERT_TRUE(prints.newItem(PrintsText));
    prints.setText("Side A");
    prints.setTextX(30);
    EXPECT_EQ(ed.history().undoLabel(), "横(任意印刷(ディスク))");
    EXPECT_EQ(prints.refreshPage(), PreviewPage::Disc);
    const QByteArray disc = resaved(doc);
    const QString text = QString::fromUtf8(disc);
    EXPECT_TRUE(text.contains("\r\n0 0 0 0\r\n1 1\r\n3 027 081 005 044 011 002 002 000\r\n\r\n"
                              "[DiscPrints]\r\n0\r\nSide A\r\n30 0\r\n"))
        << text.toStdString();

    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, disc, "x.cwr", progress), LoadStatus::Loaded);
    EXPECT_TRUE(back.disc.useList && back.disc.usePrints);
    ASSERT_EQ(back.discPrints.size(), 1);
    EXPECT_EQ(back.discPrints[0].text, "Side A");
    EXPECT_EQ(resaved(back), disc);

    // A changed layout alone keeps the section; "新規作成" drops it all.
    while (ed.history().canUndo())
        ed.history().undo();
    EXPECT_EQ(resaved(doc), jewel);
    doc.listLayout[2].posY = 70;
    EXPECT_TRUE(usesDiscFace(doc));
    ed.resetToNew();
    EXPECT_FALSE(usesDiscFace(doc));
    EXPECT_EQ(resaved(doc), jewel);
}

// A disc section written before the disc had a track list ends after its
// picture: it is read with neither list nor free prints. Free prints have
// no place in an older file.
TEST_F(FileFixture, AnEarlierDiscSectionHasNoListAndOlderFilesNoDiscPrints)
{
    doc.listLayout[2].posX = 5;
    doc.disc.useList = true;
    const QStringList early = QStringList { "00336699", "1", "A", "0 0 0", "0 0", "0 0" }
        + kFontLines + QStringList { "0", "", "1 0 0", "0 0", "0 0" } + kFontLines
        + QStringList { "0", "", "0 0 0 0" };
    ASSERT_EQ(readDocument(ed, discFile(early), "early.cwr", progress), LoadStatus::Loaded);
    EXPECT_FALSE(doc.disc.useList);
    EXPECT_EQ(doc.listLayout[2], defaultListLayout(2));
    EXPECT_EQ(resaved(doc), discFile(early + kNoListNorPrints));

    QStringList lines = kNewDocumentLines;
    insertLines(lines, int(lines.size()) - 1, { "[DiscPrints]", "0", "" });
    EXPECT_EQ(readDocument(ed, fileOf(lines), "old.cwr", progress), LoadStatus::Damaged);
}

// Changing the resolution rescales the disc's picture and free prints as it
// does the labels'.
TEST_F(FileFixture, TheDiscFollowsAResolutionChange)
{
    doc.disc.picture.printWidth = 600;
    doc.disc.picture.posY = 90;
    TPrintsData item;
    item.posX = 300;
    doc.discPrints.append(item);
    doc.dpiX = doc.dpiY = 600;
    ed.convertToResolution(300, 300);
    EXPECT_EQ(doc.disc.picture.printWidth, 1200);
    EXPECT_EQ(doc.disc.picture.posY, 180);
    EXPECT_EQ(doc.discPrints[0].posX, 600);
}

// A disc text item along an arc keeps its arc on its position line; a
// straight one writes the line as every list's items do. Only the disc's
// text items take an arc.
TEST_F(FileFixture, ADiscTextItemOnAnArcKeepsItsArcOnItsPositionLine)
{
    PrintsEditor prints(doc);
    prints.setRecorder(&ed.history());
    prints.open(PrintsList::Cover);
    ASSERT_TRUE(prints.newItem(PrintsText));
    prints.setArcPlace(DiscTextPlace::TopArc);
    EXPECT_EQ(doc.coverPrints[0].arc.place, DiscTextPlace::Custom);
    prints.open(PrintsList::Disc);
    ASSERT_TRUE(prints.newItem(PrintsText));
    prints.setText("Side A");
    prints.setArcPlace(DiscTextPlace::BottomArc);
    prints.setArc(455, 7250);
    EXPECT_EQ(doc.discPrints[0].arc, (ArcPlacement { DiscTextPlace::BottomArc, 455, 50 }));
    EXPECT_EQ(ed.history().undoLabel(), "位置(任意印刷(ディスク))");
    const QString text = QString::fromUtf8(resaved(doc));
    EXPECT_TRUE(text.contains("[DiscPrints]\r\n0\r\nSide A\r\n0 0 2 455 50\r\n")) << text.toStdString();

    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, resaved(doc), "x.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(back.discPrints[0].arc, doc.discPrints[0].arc);
    prints.setArcPlace(DiscTextPlace::Custom);
    prints.setArc(0, 0);
    EXPECT_TRUE(QString::fromUtf8(resaved(doc)).contains("Side A\r\n0 0\r\n"));
}

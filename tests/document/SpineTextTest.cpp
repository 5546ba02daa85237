// The spines' text direction: which way each title runs for every case and
// print option, the step that chooses it, and the file's "SpineText" line.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentControls.h"

using namespace cw;

namespace {

constexpr SpineText Own = SpineText::CaseOwn, Down = SpineText::TopToBottom,
                    Up = SpineText::BottomToTop;

// A new document's lines as version 1.08 with the "[Case]" lines given, in UTF-8.
QByteArray caseFile(const QStringList &section)
{
    QByteArray out;
    for (const QString &l : QStringList { "<Casewright Data File>", "1.08", "", "[Case]" }
            + section + kNewDocumentLines.mid(2))
        out += l.toUtf8() + "\r\n";
    return out;
}

} // namespace

// A chosen direction goes before the case's run and "背表紙同方向印刷"; a spine
// the case lacks shows how the jewel case, which brings it back, runs it.
TEST(SpineText, TheChosenDirectionGoesBeforeTheCaseAndTheOption)
{
    const std::tuple<const char *, Surface, SpineText, bool, SpineText> rows[] = {
        { "cd-jewel", Surface::Left, Own, false, Up }, { "cd-jewel", Surface::Left, Own, true, Down },
        { "cd-jewel", Surface::Left, Down, false, Down }, { "cd-jewel", Surface::Left, Up, true, Up },
        { "cd-jewel", Surface::Right, Own, true, Down }, { "cd-jewel", Surface::Right, Up, false, Up },
        { "dvd-14", Surface::Left, Own, true, Down }, { "bd-12", Surface::Left, Up, false, Up },
        { "dvd-14", Surface::Right, Own, false, Down }, { "cd-slim", Surface::Left, Own, false, Up },
    };
    for (const auto &[format, spine, chosen, same, runs] : rows) {
        LabelDocument doc;
        doc.caseFormat = QLatin1String(format);
        doc.surface(spine).spineText = chosen;
        PrintOptions options;
        options.spinesSameDirection = same;
        const std::string where = format + std::to_string(int(spine)) + std::to_string(int(chosen));
        EXPECT_EQ(shownSpineText(doc, spine, options), runs) << where << same;
        EXPECT_EQ(controlValues(doc, options)[surfacePrefix(spine) + "SpineText"],
            runs == Down ? "0" : "1")
            << where << same;
    }
}

TEST_F(FileFixture, AChosenDirectionIsWrittenInTheCaseSectionUndoneAndReadBackByteForByte)
{
    const QByteArray jewel = resaved(doc);
    EXPECT_EQ(ed.setSpineText(Surface::Left, Up).pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_EQ(ed.history().undoLabel(), "背文字の向き(背表紙(左))");
    EXPECT_TRUE(ed.setSpineText(Surface::Left, Up).isEmpty());
    ed.setSpineText(Surface::Right, Down);
    const QByteArray both = resaved(doc);
    EXPECT_EQ(both, caseFile({ "cd-jewel", "SpineText 2 1" }));
    EXPECT_EQ(ed.history().undoCount(), 2);
    ed.history().undo();
    EXPECT_EQ(resaved(doc), caseFile({ "cd-jewel", "SpineText 2 0" }));
    ed.history().undo();
    EXPECT_EQ(resaved(doc), jewel);
    EXPECT_EQ(jewel, fileOf(kNewDocumentLines));
    ed.history().redo();
    ed.history().redo();
    EXPECT_EQ(resaved(doc), both);

    ed.setCaseFormat("dvd-14");
    EXPECT_EQ(ed.setSpineText(Surface::Left, Own).pages, QList<PreviewPage>({ PreviewPage::Front }));
    const QByteArray wrap = resaved(doc);
    EXPECT_EQ(wrap, caseFile({ "dvd-14", "SpineText 0 1" }));
    LabelDocument back;
    DocumentEditor e2(back);
    for (const QByteArray &file : { both, wrap }) {
        ASSERT_EQ(readDocument(e2, file, "x.cwr", progress), LoadStatus::Loaded);
        EXPECT_EQ(resaved(back), file);
    }
    EXPECT_EQ(back.right.spineText, Down);
}

TEST_F(FileFixture, AMalformedCaseLineIsRefusedAsDamageBeforeTheDocumentChanges)
{
    ed.setSpineText(Surface::Left, Down);
    doc.fileName = "/old/name.cwr";
    const QByteArray before = resaved(doc);
    for (const char *line : { "SpineText 3 0", "SpineText -1 0", "SpineText 1", "SpineText 1 1 1",
             "SpineText  1 1", "SpineText 1 1 ", "SpineText 01 1", "spinetext 1 1", "Colour 1" }) {
        messages.messages.clear();
        EXPECT_EQ(readDocument(ed, caseFile({ "cd-jewel", line }), "x.cwr", progress),
            LoadStatus::Damaged)
            << line;
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)が異常です" })) << line;
        EXPECT_EQ(resaved(doc), before) << line;
        EXPECT_EQ(doc.fileName, "/old/name.cwr") << line;
    }
    EXPECT_EQ(readDocument(ed, caseFile({ "dvd-14", "SpineText 1 1", "SpineText 1 1" }), "x.cwr",
                  progress),
        LoadStatus::Damaged);
    EXPECT_EQ(resaved(doc), before);
}

// A longer spine takes a longer offset: its length less 2.5 mm, truncated.
TEST_F(FileFixture, TheSpineOffsetFollowsALongerSpinesLength)
{
    const std::tuple<const char *, Surface, int> rows[] = { { "cd-jewel", Surface::Right, 115 },
        { "dvd-14", Surface::Left, 180 }, { "dvd-14", Surface::Right, 115 },
        { "bd-12", Surface::Left, 145 } };
    for (const auto &[format, spine, most] : rows) {
        ed.setCaseFormat(QLatin1String(format));
        ed.setTitleOffsetText(spine, "999");
        EXPECT_EQ(doc.surface(spine).title.offset, most) << format;
    }
    // A shorter spine brings the offset down to its own limit, so that the
    // file reads back what the document holds; undo gives the offset back.
    ed.setCaseFormat("dvd-14");
    ed.setTitleOffset(Surface::Left, 180);
    ed.setCaseFormat("cd-jewel");
    EXPECT_EQ(doc.left.title.offset, 115);
    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, resaved(doc), "x.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(resaved(back), resaved(doc));
    ed.history().undo();
    EXPECT_EQ(doc.left.title.offset, 180);
}

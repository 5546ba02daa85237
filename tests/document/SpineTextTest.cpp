// The spines' text direction: which way each title runs for every case and
// print option, the one step that chooses it, and the "SpineText" line of the
// file's "[Case]" section.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentControls.h"
#include "document/DocumentJson.h"
#include "document/DocumentLineValues.h"

using namespace cw;

namespace {

QByteArray utf8FileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// A new document's lines as version 1.08 with the "[Case]" lines given.
QStringList caseLines(const QStringList &section)
{
    QStringList lines = { "<Casewright Data File>", "1.08", "", "[Case]" };
    lines += section;
    lines += kNewDocumentLines.mid(2);
    return lines;
}

PrintOptions sameDirection(bool on)
{
    PrintOptions o;
    o.spinesSameDirection = on;
    return o;
}

constexpr SpineText Own = SpineText::CaseOwn;
constexpr SpineText Down = SpineText::TopToBottom;
constexpr SpineText Up = SpineText::BottomToTop;

} // namespace

// Which way a spine's title runs: a chosen direction goes before the case's
// run and before "背表紙同方向印刷"; unchosen, the jewel case's left spine runs
// up unless the option turns it down, its right spine and a wrap's spine run down.
TEST(SpineText, TheChosenDirectionGoesBeforeTheCaseAndTheOption)
{
    struct Row
    {
        const char *format;
        Surface spine;
        SpineText chosen;
        bool same;
        SpineText runs;
    };
    const Row rows[] = {
        { "cd-jewel", Surface::Left, Own, false, Up },
        { "cd-jewel", Surface::Left, Own, true, Down },
        { "cd-jewel", Surface::Left, Down, false, Down },
        { "cd-jewel", Surface::Left, Up, true, Up },
        { "cd-jewel", Surface::Right, Own, false, Down },
        { "cd-jewel", Surface::Right, Own, true, Down },
        { "cd-jewel", Surface::Right, Up, false, Up },
        { "cd-jewel", Surface::Right, Up, true, Up },
        { "dvd-14", Surface::Left, Own, false, Down },
        { "dvd-14", Surface::Left, Own, true, Down },
        { "bd-12", Surface::Left, Up, true, Up },
        // A spine the case lacks shows how it runs when the jewel case
        // brings it back.
        { "dvd-14", Surface::Right, Own, false, Down },
        { "dvd-14", Surface::Right, Up, false, Up },
        { "cd-slim", Surface::Left, Own, false, Up },
        { "cd-slim", Surface::Left, Down, true, Down },
        { "cd-slim", Surface::Left, Own, true, Down },
    };
    for (const Row &r : rows) {
        LabelDocument doc;
        doc.caseFormat = QLatin1String(r.format);
        doc.surface(r.spine).spineText = r.chosen;
        const PrintOptions options = sameDirection(r.same);
        const std::string where = std::string(r.format) + " spine " + std::to_string(int(r.spine))
            + " chosen " + std::to_string(int(r.chosen)) + " same " + std::to_string(r.same);
        EXPECT_EQ(shownSpineText(doc, r.spine, options), r.runs) << where;
        const int entry = r.runs == Down ? 0 : 1;
        EXPECT_EQ(controlValues(doc, options).value(surfacePrefix(r.spine) + "SpineText"),
            QString::number(entry))
            << where;
        EXPECT_EQ(spineTextOfListIndex(entry), r.runs);
    }
    EXPECT_EQ(shownSpineText(LabelDocument(), Surface::Top, PrintOptions()), std::nullopt);
    EXPECT_EQ(spineTextOfListIndex(-1), std::nullopt);
    EXPECT_EQ(spineTextOfListIndex(2), std::nullopt);
    EXPECT_EQ(spineTextFrom(3), std::nullopt);
    EXPECT_EQ(spineTextFrom(-1), std::nullopt);
    EXPECT_EQ(spineTextFrom(2), Up);
}

TEST(SpineText, TheListGoesWithTheTitleAndTheCasesSpines)
{
    LabelDocument doc;
    EXPECT_FALSE(enabledStates(doc).value("LeftSpineText"));
    doc.left.title.use = true;
    doc.right.title.use = true;
    doc.right.titleSameAsLeft = true; // the direction is the right spine's own
    EXPECT_TRUE(enabledStates(doc).value("LeftSpineText"));
    EXPECT_TRUE(enabledStates(doc).value("RightSpineText"));
    doc.caseFormat = "dvd-14";
    EXPECT_TRUE(enabledStates(doc).value("LeftSpineText"));
    EXPECT_FALSE(enabledStates(doc).value("RightSpineText"));
    doc.caseFormat = "cd-slim";
    EXPECT_FALSE(enabledStates(doc).value("LeftSpineText"));
    EXPECT_FALSE(enabledStates(doc).value("RightSpineText"));
}

TEST_F(FileFixture, ChoosingADirectionIsOneStepThatRefreshesTheSpinesPage)
{
    EditResult r = ed.setSpineText(Surface::Left, Down);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_EQ(ed.history().undoLabel(), "背文字の向き(背表紙(左))");
    EXPECT_EQ(ed.history().undoCount(), 1);
    // The same direction again, or a surface that is no spine: nothing.
    EXPECT_TRUE(ed.setSpineText(Surface::Left, Down).isEmpty());
    EXPECT_TRUE(ed.setSpineText(Surface::Top, Up).isEmpty());
    EXPECT_EQ(doc.top.spineText, Own);
    EXPECT_EQ(ed.history().undoCount(), 1);

    // The wrap's spine is on its one sheet; its missing right spine keeps the
    // value and shows nowhere.
    ed.setCaseFormat("dvd-14");
    EXPECT_EQ(ed.setSpineText(Surface::Left, Up).pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_TRUE(ed.setSpineText(Surface::Right, Up).isEmpty());
    EXPECT_EQ(doc.right.spineText, Up);
    EXPECT_EQ(ed.history().undoCount(), 4);
}

TEST_F(FileFixture, AChosenDirectionIsWrittenInTheCaseSectionAndUndoneByteForByte)
{
    const QByteArray jewel = resaved(doc);
    EXPECT_EQ(jewel, fileOf(kNewDocumentLines));

    // A jewel document with a direction: 1.08 naming the jewel case.
    ed.setSpineText(Surface::Left, Up);
    const QByteArray left = resaved(doc);
    EXPECT_EQ(left, utf8FileOf(caseLines({ "cd-jewel", "SpineText 2 0" })));
    ed.setSpineText(Surface::Right, Down);
    const QByteArray both = resaved(doc);
    EXPECT_EQ(both, utf8FileOf(caseLines({ "cd-jewel", "SpineText 2 1" })));

    ed.history().undo();
    EXPECT_EQ(resaved(doc), left);
    ed.history().undo();
    EXPECT_EQ(resaved(doc), jewel);
    ed.history().redo();
    ed.history().redo();
    EXPECT_EQ(resaved(doc), both);

    // Back to the case's own on both: today's bytes again.
    ed.setSpineText(Surface::Left, Own);
    ed.setSpineText(Surface::Right, Own);
    EXPECT_EQ(resaved(doc), jewel);

    // A wrap writes the line after its id.
    ed.setCaseFormat("dvd-14");
    ed.setSpineText(Surface::Right, Up);
    EXPECT_EQ(resaved(doc), utf8FileOf(caseLines({ "dvd-14", "SpineText 0 2" })));
}

TEST_F(FileFixture, TheDirectionsReadBackAndAFileWithoutThemHasTheCasesOwn)
{
    for (const auto &[format, lines] :
        { std::pair { "cd-jewel", QStringList { "cd-jewel", "SpineText 1 2" } },
            std::pair { "dvd-14", QStringList { "dvd-14", "SpineText 2 0" } } }) {
        const QByteArray data = utf8FileOf(caseLines(lines));
        DocumentFileInfo info;
        ASSERT_EQ(readDocument(ed, data, "x.cwr", progress, &info), LoadStatus::Loaded) << format;
        EXPECT_EQ(doc.caseFormat, QLatin1String(format));
        EXPECT_EQ(info.version, "1.08");
        EXPECT_EQ(doc.left.spineText, SpineText(lines[1][10].digitValue()));
        EXPECT_EQ(doc.right.spineText, SpineText(lines[1][12].digitValue()));
        EXPECT_EQ(resaved(doc), data) << format;
        // "dump" lists a chosen direction as the file writes it.
        EXPECT_EQ(documentToJson(doc)["left"].toObject()["spineText"].toInt(),
            int(doc.left.spineText));
    }
    // A file without the line, and one that writes both as the case's own.
    ASSERT_EQ(readDocument(ed, fileOf(kNewDocumentLines), "y.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(doc.left.spineText, Own);
    EXPECT_EQ(doc.right.spineText, Own);
    ASSERT_EQ(readDocument(ed, utf8FileOf(caseLines({ "dvd-14", "SpineText 0 0" })), "z.cwr",
                  progress),
        LoadStatus::Loaded);
    EXPECT_EQ(doc.caseFormat, "dvd-14");
    EXPECT_EQ(doc.left.spineText, Own);
    EXPECT_FALSE(documentToJson(doc)["left"].toObject().contains("spineText"));
}

TEST_F(FileFixture, AMalformedCaseLineIsRefusedAsDamageBeforeTheDocumentChanges)
{
    ed.setTitleText(Surface::Top, "before");
    ed.setSpineText(Surface::Left, Down);
    doc.fileName = "/old/name.cwr";
    const QByteArray before = resaved(doc);
    const QStringList bad[] = {
        { "cd-jewel", "SpineText 3 0" },
        { "cd-jewel", "SpineText -1 0" },
        { "cd-jewel", "SpineText 1" },
        { "cd-jewel", "SpineText 1 1 1" },
        { "cd-jewel", "SpineText  1 1" },
        { "cd-jewel", "SpineText 1 1 " },
        { "cd-jewel", "SpineText 01 1" },
        { "cd-jewel", "spinetext 1 1" },
        { "cd-jewel", "SpineText 1 1", "SpineText 1 1" },
        { "dvd-14", "Colour 1" },
    };
    for (const QStringList &section : bad) {
        messages.messages.clear();
        const std::string where = section.join('|').toStdString();
        EXPECT_EQ(readDocument(ed, utf8FileOf(caseLines(section)), "x.cwr", progress),
            LoadStatus::Damaged)
            << where;
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(x.cwr)が異常です" })) << where;
        EXPECT_FALSE(progress.visible);
        EXPECT_EQ(resaved(doc), before) << where;
        EXPECT_EQ(doc.fileName, "/old/name.cwr") << where;
    }
    EXPECT_EQ(docfile::parseSpineTextLine("SpineText 2 1"), (std::array<int, 2> { 2, 1 }));
}

// A longer spine takes a longer offset: its length less 2.5 mm, truncated;
// the jewel case's 117.5 mm spines keep 115.
TEST_F(FileFixture, TheSpineOffsetFollowsALongerSpinesLength)
{
    const std::tuple<const char *, Surface, int> rows[] = {
        { "cd-jewel", Surface::Left, 115 },
        { "cd-jewel", Surface::Right, 115 },
        { "cd-slim", Surface::Left, 115 },
        { "dvd-14", Surface::Left, 180 },
        { "dvd-14", Surface::Right, 115 },
        { "bd-12", Surface::Left, 145 },
        { "bd-14", Surface::Left, 146 },
    };
    for (const auto &[format, spine, most] : rows) {
        ed.setCaseFormat(QLatin1String(format));
        EXPECT_EQ(maxSpineOffset(doc, spine), most) << format;
        ed.setTitleOffset(spine, 999);
        EXPECT_EQ(doc.surface(spine).title.offset, most) << format;
        ed.setTitleOffset(spine, 0);
        ed.setTitleOffsetText(spine, "12345");
        EXPECT_EQ(doc.surface(spine).title.offset, most) << format;
    }
}

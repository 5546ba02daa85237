#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/DocumentControls.h"
#include "document/DocumentEditor.h"

using namespace cw;

// Which of a disc text's controls the table enables, in the order Text,
// FontSet, Place, Radius, Angle, PosXY, PosXUse, PosYUse, PosX, PosY; "?"
// for a control missing from the table.
TEST(DocumentControls, DiscTextGroupsFollowTheirUseAndPlace)
{
    const std::tuple<bool, DiscTextPlace, bool, bool, const char *> rows[] = {
        { false, DiscTextPlace::Custom, true, true, "0000000000" },
        { true, DiscTextPlace::TopArc, true, true, "1111100000" },
        { true, DiscTextPlace::BottomArc, false, false, "1111100000" },
        { true, DiscTextPlace::Custom, false, false, "1110011100" },
        { true, DiscTextPlace::Custom, true, false, "1110011110" },
        { true, DiscTextPlace::Custom, false, true, "1110011101" },
    };
    for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
        for (const auto &[use, place, xUse, yUse, expected] : rows) {
            LabelDocument doc;
            TitleSettings &t = doc.discText(which);
            std::tie(t.use, t.arc.place, t.customXUse, t.customYUse) = std::tie(use, place, xUse, yUse);
            const ControlStates e = enabledStates(doc);
            QString shown[2];
            for (DiscText d : { DiscText::Title, DiscText::Subtitle }) {
                for (const char *part : { "", "FontSet", "Place", "Radius", "Angle", "PosXY",
                         "PosXUse", "PosYUse", "PosX", "PosY" }) {
                    const auto it = e.constFind(discTextPrefix(d) + QLatin1String(part));
                    shown[int(d)] += it == e.cend() ? '?' : it.value() ? '1' : '0';
                }
            }
            EXPECT_EQ(shown[int(which)], QLatin1String(expected)) << expected;
            // The other text keeps the state of a new document's: off.
            EXPECT_EQ(shown[1 - int(which)], QStringLiteral("0000000000"));
            EXPECT_TRUE(e.value(QStringLiteral("DiscTab")) && e.value(QStringLiteral("DiscBGColor")));
        }
    }
}

TEST(DocumentControls, DiscRadiusAndAngleAsTypedAndShown)
{
    const std::tuple<const char *, std::optional<int>, std::optional<int>> rows[] = {
        { "", 0, 0 }, { " 45.5 ", 455, 455 }, { "60.0", 600, 600 }, { "60.1", {}, 601 },
        { "180.0", {}, 1800 }, { "180.1", {}, {} }, { "-180", {}, -1800 }, { "-0.5", {}, -5 },
        { "+12.5", {}, 125 }, { "12.55", {}, {} }, { ".5", {}, {} }, { "-", {}, {} },
        { "abc", {}, {} },
    };
    for (const auto &[typed, radius, angle] : rows) {
        EXPECT_EQ(parseDiscRadius(QLatin1String(typed)), radius) << typed;
        EXPECT_EQ(parseDiscAngle(QLatin1String(typed)), angle) << typed;
    }
    EXPECT_EQ(QStringList({ formatDiscRadius(0), formatDiscRadius(455), formatDiscAngle(0),
                  formatDiscAngle(-5), formatDiscAngle(-1800) }),
        QStringList({ "", "45.5", "0.0", "-0.5", "-180.0" }));
}

TEST(DocumentControls, TypedDiscNumbersAreOneStepOrAMessage)
{
    LabelDocument doc;
    RecordingMessages messages;
    DocumentEditor ed(doc, &messages);
    bool taken = false;
    EXPECT_EQ(ed.commitDiscTextRadius(DiscText::Title, QStringLiteral("50.5"), &taken).pages,
        QList<PreviewPage>({ PreviewPage::Disc }));
    ed.commitDiscTextAngle(DiscText::Title, QStringLiteral("-30"), &taken);
    EXPECT_TRUE(taken);
    // Not a number: the message, and the stored values stay.
    ed.commitDiscTextAngle(DiscText::Title, QStringLiteral("abc"), &taken);
    EXPECT_FALSE(taken);
    ed.commitDiscTextRadius(DiscText::Title, QStringLiteral("61"), &taken);
    EXPECT_EQ(doc.disc.title.arc, (ArcPlacement { DiscTextPlace::TopArc, 505, -300 }));
    EXPECT_EQ(messages.messages,
        QStringList({ QStringLiteral("'abc' は -180.0 から 180.0 までの数値(度、小数1桁)ではありません"),
            QStringLiteral("'61' は 0.0 から 60.0 までの数値(mm、小数1桁)ではありません") }));
    // The custom position one value at a time; an emptied field keeps its
    // value without a message.
    ed.commitDiscTextCustom(DiscText::Subtitle, false, QStringLiteral("12"), &taken);
    ed.commitDiscTextCustom(DiscText::Subtitle, true, QStringLiteral("34"), &taken);
    ed.commitDiscTextCustom(DiscText::Subtitle, true, QString(), &taken);
    EXPECT_FALSE(taken);
    EXPECT_EQ(std::pair(doc.disc.subtitle.customX, doc.disc.subtitle.customY), std::pair(12, 34));
    EXPECT_EQ(messages.messages.size(), 2);
    // Each taken value was one step.
    int steps = 0;
    for (; ed.history().canUndo(); ++steps)
        ed.history().undo();
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(doc.disc.title.arc, ArcPlacement());
}

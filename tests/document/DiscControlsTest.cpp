#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/DocumentControls.h"
#include "document/DocumentEditor.h"

using namespace cw;

namespace {

// The disc controls the table enables, in one string per text: which of
// Text, FontSet, Place, Radius, Angle, PosXY, PosXUse, PosYUse, PosX,
// PosY are on ("1") or off ("0").
QString discStates(const ControlStates &e, DiscText which)
{
    const QString p = discTextPrefix(which);
    QString out;
    for (const char *part : { "", "FontSet", "Place", "Radius", "Angle", "PosXY",
             "PosXUse", "PosYUse", "PosX", "PosY" }) {
        const auto it = e.constFind(p + QLatin1String(part));
        out += it == e.cend() ? QLatin1Char('?') : it.value() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return out;
}

} // namespace

TEST(DocumentControls, DiscTextGroupsFollowTheirUseAndPlace)
{
    struct Row
    {
        bool use;
        DiscTextPlace place;
        bool xUse, yUse;
        const char *states;
    };
    const Row rows[] = {
        { false, DiscTextPlace::TopArc, false, false, "0000000000" },
        { false, DiscTextPlace::Custom, true, true, "0000000000" },
        { true, DiscTextPlace::TopArc, true, true, "1111100000" },
        { true, DiscTextPlace::BottomArc, false, false, "1111100000" },
        { true, DiscTextPlace::Custom, false, false, "1110011100" },
        { true, DiscTextPlace::Custom, true, false, "1110011110" },
        { true, DiscTextPlace::Custom, false, true, "1110011101" },
    };
    for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
        const DiscText other = which == DiscText::Title ? DiscText::Subtitle : DiscText::Title;
        for (const Row &r : rows) {
            LabelDocument doc;
            TitleSettings &t = doc.discText(which);
            t.use = r.use;
            t.arc.place = r.place;
            t.customXUse = r.xUse;
            t.customYUse = r.yUse;
            const ControlStates e = enabledStates(doc);
            EXPECT_EQ(discStates(e, which), QLatin1String(r.states))
                << discTextPrefix(which).toStdString() << " use " << r.use << " place "
                << int(r.place) << " x " << r.xUse << " y " << r.yUse;
            // The other text keeps its own state: off, as a new document has it.
            EXPECT_EQ(discStates(e, other), QStringLiteral("0000000000"));
            // The disc tab and its colour are there with every case.
            EXPECT_TRUE(e.value(QStringLiteral("DiscTab")));
            EXPECT_TRUE(e.value(QStringLiteral("DiscBGColor")));
        }
    }
}

TEST(DocumentControls, DiscPictureControlsFollowTheirUse)
{
    LabelDocument doc;
    EXPECT_FALSE(enabledStates(doc).value(QStringLiteral("DiscGraphicWidth2"), true));
    doc.disc.picture.use = true;
    const ControlStates e = enabledStates(doc);
    for (const char *name : { "DiscGraphicFileSelect", "DiscGraphicWidth2", "DiscGPosChange" })
        EXPECT_TRUE(e.value(QLatin1String(name))) << name;
    // The case's pictures stay as they were.
    EXPECT_FALSE(e.value(QStringLiteral("TopGraphicWidth2"), true));
}

TEST(DocumentControls, DiscRadiusAndAngleAsTypedAndShown)
{
    struct Row
    {
        const char *typed;
        std::optional<int> radius, angle;
    };
    const Row rows[] = {
        { "", 0, 0 },
        { "  ", 0, 0 },
        { "0", 0, 0 },
        { "45", 450, 450 },
        { " 45.5 ", 455, 455 },
        { "60.0", 600, 600 },
        { "60.1", std::nullopt, 601 },
        { "180.0", std::nullopt, 1800 },
        { "180.1", std::nullopt, std::nullopt },
        { "-180", std::nullopt, -1800 },
        { "-0.5", std::nullopt, -5 },
        { "+12.5", std::nullopt, 125 },
        { "12.55", std::nullopt, std::nullopt },
        { ".5", std::nullopt, std::nullopt },
        { "1,5", std::nullopt, std::nullopt },
        { "-", std::nullopt, std::nullopt },
        { "abc", std::nullopt, std::nullopt },
    };
    for (const Row &r : rows) {
        EXPECT_EQ(parseDiscRadius(QLatin1String(r.typed)), r.radius) << r.typed;
        EXPECT_EQ(parseDiscAngle(QLatin1String(r.typed)), r.angle) << r.typed;
    }
    EXPECT_EQ(formatDiscRadius(0), QString());
    EXPECT_EQ(formatDiscRadius(455), QStringLiteral("45.5"));
    EXPECT_EQ(formatDiscAngle(0), QStringLiteral("0.0"));
    EXPECT_EQ(formatDiscAngle(-5), QStringLiteral("-0.5"));
    EXPECT_EQ(formatDiscAngle(-1800), QStringLiteral("-180.0"));
    EXPECT_EQ(invalidDiscRadiusMessage(QStringLiteral("x")),
        QStringLiteral("'x' は 0.0 から 60.0 までの数値(mm、小数1桁)ではありません"));
    EXPECT_EQ(invalidDiscAngleMessage(QStringLiteral("x")),
        QStringLiteral("'x' は -180.0 から 180.0 までの数値(度、小数1桁)ではありません"));
}

TEST(DocumentControls, TypedDiscNumbersAreOneStepOrAMessage)
{
    LabelDocument doc;
    RecordingMessages messages;
    DocumentEditor ed(doc, &messages);
    bool taken = false;

    EditResult r = ed.commitDiscTextRadius(DiscText::Title, QStringLiteral("50.5"), &taken);
    EXPECT_TRUE(taken);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Disc }));
    r = ed.commitDiscTextAngle(DiscText::Title, QStringLiteral("-30"), &taken);
    EXPECT_TRUE(taken);
    EXPECT_EQ(doc.disc.title.arc, (ArcPlacement { DiscTextPlace::TopArc, 505, -300 }));

    // Not a number: the message, and the stored values stay.
    ed.commitDiscTextAngle(DiscText::Title, QStringLiteral("abc"), &taken);
    EXPECT_FALSE(taken);
    ed.commitDiscTextRadius(DiscText::Title, QStringLiteral("61"), &taken);
    EXPECT_FALSE(taken);
    EXPECT_EQ(doc.disc.title.arc, (ArcPlacement { DiscTextPlace::TopArc, 505, -300 }));
    EXPECT_EQ(messages.messages,
        QStringList({ QStringLiteral("'abc' は -180.0 から 180.0 までの数値(度、小数1桁)ではありません"),
            QStringLiteral("'61' は 0.0 から 60.0 までの数値(mm、小数1桁)ではありません") }));

    // An emptied radius is the default again.
    ed.commitDiscTextRadius(DiscText::Title, QString(), &taken);
    EXPECT_TRUE(taken);
    EXPECT_EQ(doc.disc.title.arc.radiusTenths, 0);

    // The custom position: one value at a time; an emptied field keeps its
    // value without a message.
    messages.messages.clear();
    ed.commitDiscTextCustom(DiscText::Subtitle, false, QStringLiteral("12"), &taken);
    EXPECT_TRUE(taken);
    ed.commitDiscTextCustom(DiscText::Subtitle, true, QStringLiteral("34"), &taken);
    EXPECT_TRUE(taken);
    ed.commitDiscTextCustom(DiscText::Subtitle, true, QString(), &taken);
    EXPECT_FALSE(taken);
    EXPECT_EQ(doc.disc.subtitle.customX, 12);
    EXPECT_EQ(doc.disc.subtitle.customY, 34);
    EXPECT_TRUE(messages.messages.isEmpty());

    // Every taken value was one step: undone one by one, back to the start.
    int steps = 0;
    while (ed.history().canUndo()) {
        ed.history().undo();
        ++steps;
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(doc.disc.title.arc, ArcPlacement());
    EXPECT_EQ(doc.disc.subtitle.customX, 0);
    EXPECT_EQ(doc.disc.subtitle.customY, 0);
}

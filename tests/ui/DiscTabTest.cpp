#include <QSettings>

#include "MainWindowHarness.h"
#include "document/DocumentControls.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {

// The controls whose shown value differs between two documents' values, with
// the value they show after.
QMap<QString, QString> changedValues(
    const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QMap<QString, QString> changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    return changed;
}

} // namespace

// Each control of the disc tab changes exactly its own value, as one step;
// undoing every step brings the new document back.
TEST_F(MainWindowTest, DiscTabControlsChangeTheDocumentExactly)
{
    showWindow();
    FontSpec font = defaultFont();
    font.name = QStringLiteral("Serif");
    font.size = 14;
    dialogs.fontAnswer = font;
    dialogs.colorAnswer = 0x0000FF00;
    struct Row
    {
        const char *what;
        std::function<void()> act;
        QMap<QString, QString> change;
    };
    auto typeAndEnter = [this](const char *name, const QString &text) {
        selectAllAndType(name, text);
        pressEnter(name);
    };
    const QString someFontText = controlValues([&] {
        LabelDocument d;
        d.disc.subtitle.font = font;
        return d;
    }())
                                     .value(QStringLiteral("DiscSubtitleFont"));
    const std::vector<Row> rows = {
        { "title on", [&] { click("DiscTitleUse"); }, { { "DiscTitleUse", "1" } } },
        { "title typed", [&] { type("DiscTitle", QStringLiteral("Live 夏")); },
            { { "DiscTitle", "Live 夏" } } },
        { "bottom arc", [&] { click("DiscTitlePlace1"); }, { { "DiscTitlePlace", "1" } } },
        { "radius", [&] { typeAndEnter("DiscTitleRadius", QStringLiteral("45.5")); },
            { { "DiscTitleRadius", "45.5" } } },
        { "angle", [&] { typeAndEnter("DiscTitleAngle", QStringLiteral("-12.5")); },
            { { "DiscTitleAngle", "-12.5" } } },
        { "custom", [&] { click("DiscTitlePlace2"); }, { { "DiscTitlePlace", "2" } } },
        { "x on", [&] { click("DiscTitlePosXUse"); }, { { "DiscTitlePosXUse", "1" } } },
        { "x typed", [&] { typeAndEnter("DiscTitlePosX", QStringLiteral("25")); },
            { { "DiscTitlePosX", "25" } } },
        { "subtitle on", [&] { click("DiscSubtitleUse"); }, { { "DiscSubtitleUse", "1" } } },
        { "subtitle font", [&] { click("DiscSubtitleFontSet"); },
            { { "DiscSubtitleFont", someFontText } } },
        { "colour", [&] { find<ColorSwatch>("DiscBGColor")->press(); },
            { { "DiscBGColor", QString::number(0x0000FF00) } } },
    };
    const QMap<QString, QString> start = controlValues(window->document());
    for (const Row &r : rows) {
        const QMap<QString, QString> before = controlValues(window->document());
        refresher.pages.clear();
        r.act();
        EXPECT_EQ(changedValues(before, controlValues(window->document())), r.change) << r.what;
        EXPECT_TRUE(refresher.pages.contains(PreviewPage::Disc)) << r.what;
    }
    EXPECT_EQ(window->document().disc.title.arc, (ArcPlacement { DiscTextPlace::Custom, 455, -125 }));
    EXPECT_EQ(window->document().disc.backgroundColor1, ColorRef(0x0000FF00));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A typed angle that is no number: the message, and the field shows the
    // stored angle again.
    click("DiscTitlePlace0");
    typeAndEnter("DiscTitleAngle", QStringLiteral("1-"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0],
        QStringLiteral("'1-' は -180.0 から 180.0 までの数値(度、小数1桁)ではありません"));
    EXPECT_EQ(text("DiscTitleAngle"), QStringLiteral("-12.5"));
    EXPECT_EQ(window->document().disc.title.arc.angleTenths, -125);

    // Every row and the return to the top arc were one step each.
    find<QWidget>("DiscTitleUse")->setFocus();
    for (size_t i = 0; i < rows.size() + 1; ++i)
        window->UndoMenuClick();
    EXPECT_FALSE(window->editor().history().canUndo());
    EXPECT_EQ(controlValues(window->document()), start);
    EXPECT_EQ(text("DiscTitle"), QString());
    EXPECT_EQ(text("DiscTitleRadius"), QString());
    EXPECT_FALSE(checked("DiscTitleUse"));
    EXPECT_TRUE(checked("DiscTitlePlace0"));
    EXPECT_FALSE(enabled("DiscTitleRadius"));
}

TEST_F(MainWindowTest, DiscTabShowsTheEnabledStatesOfTheRules)
{
    showWindow();
    auto agrees = [this](const char *when) {
        const ControlStates states = enabledStates(window->document());
        int seen = 0;
        for (auto it = states.cbegin(); it != states.cend(); ++it) {
            if (!it.key().startsWith(QLatin1String("Disc")))
                continue;
            QWidget *w = window->findChild<QWidget *>(it.key());
            ASSERT_NE(w, nullptr) << it.key().toStdString();
            EXPECT_EQ(w->isEnabledTo(window.get()), it.value()) << when << " " << it.key().toStdString();
            ++seen;
        }
        EXPECT_GT(seen, 30) << when;
    };
    agrees("new");
    click("DiscSubtitleUse");
    agrees("subtitle on");
    click("DiscSubtitlePlace2");
    click("DiscSubtitlePosYUse");
    agrees("custom with y");
    click("DiscGraphicUse");
    agrees("picture on");
}

// "ディスクレーベル印刷" switches the disc page's printing and is kept.
TEST_F(MainWindowTest, DiscLabelPrintSwitchSetsTheOption)
{
    showWindow();
    EXPECT_FALSE(window->printOptions().printDisc);
    click("DiscLabelPrint");
    EXPECT_TRUE(window->printOptions().printDisc);
    EXPECT_TRUE(QSettings().value(QStringLiteral("DiscLabelPrint")).toBool());
    click("DiscLabelPrint");
    EXPECT_FALSE(window->printOptions().printDisc);
    EXPECT_FALSE(QSettings().value(QStringLiteral("DiscLabelPrint")).toBool());
    // The document is no part of it.
    EXPECT_FALSE(window->editor().history().canUndo());
}

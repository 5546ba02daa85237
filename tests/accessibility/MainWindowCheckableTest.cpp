// Every check box and radio button of the main window drives the document
// however it changes: the accessibility actions "toggle" and "press",
// setChecked, the mouse; showing the document never emits a signal.
#include <QButtonGroup>
#include <QComboBox>
#include <QSignalSpy>

#include "AccessibleActions.h"
#include "TestSupport.h"
#include "document/BookletPages.h"
#include "document/DocumentControls.h"
#include "document/DiscStockSettings.h"
#include "document/DocumentReader.h"
#include "document/OptionSettings.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

namespace {

class MainWindowCheckable : public MainWindowTest
{
protected:
    // As start-up shows it: the print options come from the settings.
    void showAsStarted()
    {
        showWindow();
        window->applySettings();
    }
    QList<QAbstractButton *> checkables()
    {
        QList<QAbstractButton *> out;
        for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
            if (b->window() == window.get() && b->isCheckable()
                && (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b)))
                out.append(b);
        return out;
    }
    // What the document (or, for the print options, the settings) says the
    // control shows.
    std::optional<bool> held(QAbstractButton *b)
    {
        const QString name = b->objectName();
        if (const PrintOptionInfo *option = printOptionInfo(name)) {
            QSettings settings;
            return loadPrintOptions(settings).*option->field;
        }
        if (name.startsWith(QLatin1String("DiscLabel"))) {
            QSettings settings;
            return bool((loadDiscStock(settings).labels >> (name.mid(9).toInt() - 1)) & 1u);
        }
        // The page tab's switches show the page it shows.
        const QMap<QString, QString> values = name.startsWith(QLatin1String("UsePage"))
                || name.startsWith(QLatin1String("PageGraphic"))
                || name == QLatin1String("PageSizeRateFixed")
            ? pageControlValues(window->document(), window->chosenPage())
            : controlValues(window->document());
        if (qobject_cast<QRadioButton *>(b)) {
            const QString group = name.left(name.size() - 1);
            if (!values.contains(group))
                return std::nullopt;
            return values.value(group) == name.right(1);
        }
        if (!values.contains(name))
            return std::nullopt;
        return values.value(name) == QLatin1String("1");
    }
    // Every control shows what the document holds.
    void expectControlsShowTheDocument(const QString &after)
    {
        for (QAbstractButton *b : checkables()) {
            const std::optional<bool> value = held(b);
            ASSERT_TRUE(value.has_value()) << "nothing holds " << b->objectName().toStdString();
            EXPECT_EQ(b->isChecked(), *value)
                << b->objectName().toStdString() << " after " << after.toStdString();
        }
    }
    // Runs `act` on every enabled control once; controls disabled at the
    // time are tried again after the others have changed the document.
    template<typename Act> void everyControl(const char *how, Act act)
    {
        QSet<QString> done;
        const QList<QAbstractButton *> all = checkables();
        for (int pass = 0; pass < 4 && done.size() < all.size(); ++pass) {
            for (QAbstractButton *b : all) {
                if (done.contains(b->objectName()))
                    continue;
                reveal(b);
                if (!b->isEnabled())
                    continue;
                const bool before = b->isChecked();
                const std::optional<bool> heldBefore = held(b);
                act(b);
                QCoreApplication::processEvents();
                const QString what = QLatin1String(how) + QLatin1Char(' ') + b->objectName();
                expectControlsShowTheDocument(what);
                // A radio button that is already on stays on; any other
                // control changes, or the document refused and it shows so.
                if (qobject_cast<QRadioButton *>(b) && before) {
                    EXPECT_TRUE(b->isChecked()) << what.toStdString();
                } else if (b->isChecked() == before) {
                    EXPECT_EQ(held(b), heldBefore) << what.toStdString();
                }
                done.insert(b->objectName());
            }
            // Some controls are enabled only in states the others make:
            // titles and pictures on, links off, the custom position.
            const std::pair<const char *, bool> enabling[] = { { "TopTitleUse", true },
                { "BottomTitleUse", true }, { "LeftTitleUse", true }, { "RightTitleUse", true },
                { "BottomSameTitle", false }, { "LeftSameTitle", false },
                { "RightSameTitle", false }, { "RightSameLeft", false },
                { "TopTitlePos3", true }, { "BottomTitlePos3", true }, { "TopGraphicUse", true },
                { "BottomGraphicUse", true }, { "LeftGraphicUse", true },
                { "RightGraphicUse", true }, { "SameGraphic", false },
                { "SameGraphicLeft", false }, { "DiscTitleUse", true },
                { "DiscSubtitleUse", true }, { "DiscTitlePlace2", true },
                { "DiscSubtitlePlace2", true }, { "DiscGraphicUse", true } };
            for (const auto &[name, on] : enabling)
                find<QAbstractButton>(name)->setChecked(on);
            // The page tab's switches need a booklet with inner pages.
            find<QComboBox>("BookletPages")->setCurrentIndex(1);
            // "内側も印刷" is offered for a wrap only: once every other
            // control is done, the case becomes one.
            if (done.size() + 1 == all.size())
                find<QComboBox>("CaseType")->setCurrentIndex(2);
        }
        for (QAbstractButton *b : all)
            EXPECT_TRUE(done.contains(b->objectName())) << how << " never reached "
                                                         << b->objectName().toStdString();
    }
};

TEST_F(MainWindowCheckable, EveryControlFollowsTheToggleAction)
{
    showAsStarted();
    ASSERT_GE(checkables().size(), 40);
    expectControlsShowTheDocument("start");
    everyControl("toggle", [](QAbstractButton *b) { toggleByAction(b); });
}

TEST_F(MainWindowCheckable, EveryControlFollowsThePressAction)
{
    showAsStarted();
    everyControl("press", [](QAbstractButton *b) { pressByAction(b); });
}

TEST_F(MainWindowCheckable, EveryControlFollowsSetChecked)
{
    showAsStarted();
    everyControl("setChecked", [](QAbstractButton *b) { b->setChecked(!b->isChecked()); });
}

TEST_F(MainWindowCheckable, ToggledControlsAreSavedAndReadBack)
{
    showAsStarted();
    for (const char *name : { "TopTitleUse", "UseTopList", "UseBottomPrints", "TopGraphicUse" })
        toggleByAction(find<QAbstractButton>(name));
    toggleByAction(find<QAbstractButton>("TopTitlePos2"));
    QTemporaryDir dir;
    dialogs.saveAnswer = dir.filePath("toggled.cwr");
    window->SaveAsMenuClick();
    LabelDocument back;
    RecordingMessages messages;
    DocumentEditor reader(back, &messages);
    RecordingProgress loading;
    ASSERT_EQ(loadDocument(reader, dir.filePath("toggled.cwr"), loading), LoadStatus::Loaded);
    const QMap<QString, QString> saved = controlValues(back);
    const QMap<QString, QString> shown = controlValues(window->document());
    for (const char *key : { "TopTitleUse", "UseTopList", "UseBottomPrints", "TopGraphicUse", "TopTitlePos" }) {
        EXPECT_EQ(saved.value(key), shown.value(key)) << key;
    }
    EXPECT_EQ(saved.value("TopTitlePos"), QStringLiteral("2"));
    EXPECT_EQ(saved.value("UseTopList"),
        find<QAbstractButton>("UseTopList")->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

TEST_F(MainWindowCheckable, ShowingADocumentEmitsNoToggle)
{
    showAsStarted();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QAbstractButton *b : checkables())
        spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::toggled));
    std::vector<std::unique_ptr<QSignalSpy>> groups;
    for (QButtonGroup *g : window->findChildren<QButtonGroup *>())
        groups.push_back(std::make_unique<QSignalSpy>(g, &QButtonGroup::idToggled));
    ASSERT_TRUE(window->openDocument(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr")));
    dialogs.confirmAnswer = true;
    window->NewMenuClick();
    ASSERT_TRUE(window->openDocument(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr")));
    int changed = 0;
    for (QAbstractButton *b : checkables())
        changed += b->isChecked() ? 1 : 0;
    EXPECT_GT(changed, 0);
    for (size_t i = 0; i < spies.size(); ++i)
        EXPECT_EQ(spies[i]->count(), 0) << checkables()[qsizetype(i)]->objectName().toStdString();
    for (const auto &spy : groups)
        EXPECT_EQ(spy->count(), 0);
    expectControlsShowTheDocument("opening");
}

} // namespace

// The check boxes and radio buttons of the list editor, the layout window,
// the free-print editor, the font dialog and the bulk font change follow
// the accessibility actions "toggle" and "press" as they follow the mouse.
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>

#include <QPushButton>

#include "AccessibleActions.h"
#include "TestSupport.h"
#include "document/DocumentReader.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogX.h"
#include "listeditor/ListEditorHarness.h"
#include "printseditor/PrintsEditorHarness.h"

using namespace cw;

namespace {

using Action = void (*)(QAbstractButton *);
const std::pair<const char *, Action> kActions[] = {
    { "toggle", [](QAbstractButton *b) { toggleByAction(b); } },
    { "press", [](QAbstractButton *b) { pressByAction(b); } },
};

QList<QRadioButton *> radios(QWidget *root)
{
    return root->findChildren<QRadioButton *>();
}

TEST_F(ListEditorTest, EveryRadioButtonOfTheEditorSetsTheSelectedRow)
{
    for (const auto &[how, act] : kActions) {
        rows().clear();
        openEditor(0, 3);
        pressEd("ListNew");
        ASSERT_EQ(rows().size(), 1);
        const TListData &row = rows()[0];
        // Each cell's alignment, both ways to choose each item.
        for (int k = 0; k < 3; ++k) {
            for (int item : { 2, 1, 0 }) {
                auto *b = ed<QRadioButton>(QStringLiteral("ListTextPos%1Item%2").arg(k + 1).arg(item));
                act(b);
                EXPECT_EQ(row.columns[size_t(k)].align, item + 1) << how << " cell " << k;
                EXPECT_TRUE(b->isChecked());
            }
        }
        act(ed<QRadioButton>("SeparateUseItem1"));
        EXPECT_FALSE(row.separate) << how;
        EXPECT_FALSE(row.columns[0].enabled);
        act(ed<QRadioButton>("SeparateUseItem0"));
        EXPECT_TRUE(row.separate) << how;
        act(ed<QRadioButton>("ListDataItem1"));
        EXPECT_EQ(row.kind, 1) << how;
        EXPECT_FALSE(ed("ListText2")->isEnabled());
        act(ed<QRadioButton>("ListDataItem0"));
        EXPECT_EQ(row.kind, 0) << how;
        // Every radio button shows the row.
        const ListEditorControls &c = list()->editor().controls();
        EXPECT_TRUE(ed<QRadioButton>(QStringLiteral("SeparateUseItem%1").arg(c.separateItem))->isChecked());
        EXPECT_TRUE(ed<QRadioButton>(QStringLiteral("ListDataItem%1").arg(c.kindItem))->isChecked());
        list()->close();
    }
}

TEST_F(ListEditorTest, TheToggledAlignmentIsSavedAndReadBack)
{
    openEditor(0, 3);
    pressEd("ListNew");
    typeInto(ed("ListText3"), "3:12");
    toggleByAction(ed<QRadioButton>("ListTextPos3Item2"));
    list()->close();
    QTemporaryDir dir;
    dialogs.saveAnswer = dir.filePath("aligned.cwr");
    window->SaveAsMenuClick();
    LabelDocument back;
    RecordingMessages messages;
    DocumentEditor reader(back, &messages);
    RecordingProgress loading;
    ASSERT_EQ(loadDocument(reader, dir.filePath("aligned.cwr"), loading), LoadStatus::Loaded);
    ASSERT_EQ(back.listRows.size(), 1);
    EXPECT_EQ(back.listRows[0].columns[2].align, 3);
}

TEST_F(ListEditorTest, ShowingARowEmitsNoToggle)
{
    rows().append(textRow("1", "a", "b"));
    TListData other = textRow("", "c", "", false);
    other.columns[1].align = 3;
    rows().append(other);
    openEditor(0, 3);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QRadioButton *b : radios(list()))
        spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::toggled));
    clickRow(0);
    clickRow(1);
    EXPECT_TRUE(ed<QRadioButton>("ListTextPos2Item2")->isChecked());
    for (const auto &spy : spies)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(rows()[0].columns[1].align, 1);
}

TEST_F(ListEditorTest, TheLayoutWindowsCountFollowsItsAccessibleActions)
{
    for (const auto &[how, act] : kActions) {
        openEditor(0, 3);
        openLayoutWindow();
        for (int item : { 0, 1, 2, 0 }) {
            act(lw<QRadioButton>(QStringLiteral("SeparateNo%1").arg(item)));
            EXPECT_EQ(setWindow()->state().columnCount(), item + 1) << how;
            EXPECT_EQ(lw("SeparateWidth3")->isEnabled(), item == 2) << how;
        }
        pressLw("ListSetClose");
        EXPECT_EQ(layout(0).columnCount, 1) << how;
        list()->close();
    }
}

TEST_F(PrintsWindowTest, EveryCheckBoxFollowsBothActions)
{
    showTab(1);
    press("ListNew");
    const QList<QCheckBox *> boxes = editor->findChildren<QCheckBox *>();
    ASSERT_EQ(boxes.size(), 2);
    for (const auto &[how, act] : kActions) {
        auto *transparent = in<QCheckBox>("Transparency");
        const bool was = items()[0].transparent;
        act(transparent);
        EXPECT_EQ(items()[0].transparent, !was) << how;
        EXPECT_EQ(transparent->isChecked(), items()[0].transparent) << how;
        auto *aspect = in<QCheckBox>("SizeRateFixed");
        const bool locked = aspect->isChecked();
        act(aspect);
        EXPECT_NE(aspect->isChecked(), locked) << how;
    }
}

TEST(FontDialogCheckable, StrikeOutAndUnderlineFollowBothActions)
{
    const QList<FontFamilyEntry> families = buildFamilyList({ { "Sans Test", true, true, { 0, 128 }, {} } });
    FontSpec start = defaultFont();
    start.name = QStringLiteral("Sans Test");
    for (const auto &[how, act] : kActions) {
        TFontDialogX dialog(families, start);
        dialog.show();
        auto *erase = dialog.findChild<QCheckBox *>("EraseCheck");
        auto *underline = dialog.findChild<QCheckBox *>("UnderlineCheck");
        ASSERT_TRUE(erase && underline);
        act(erase);
        act(underline);
        EXPECT_TRUE(dialog.model().preview().strikeOut) << how;
        EXPECT_TRUE(dialog.model().preview().underline) << how;
        act(underline);
        EXPECT_FALSE(dialog.model().preview().underline) << how;
        dialog.findChild<QPushButton *>("OK")->click();
        EXPECT_TRUE(dialog.workingFont().strikeOut) << how;
        EXPECT_FALSE(dialog.workingFont().underline) << how;
    }
}

TEST(FontChangeCheckable, EverySwitchFollowsBothActions)
{
    for (const auto &[how, act] : kActions) {
        TFontChange window;
        window.show();
        for (const char *name :
            { "ChangeFont", "ChangeSize", "ChangeColor", "ChangeStyle", "ChangeStyle2", "ChangeDefault" }) {
            auto *b = window.findChild<QCheckBox *>(QLatin1String(name));
            ASSERT_NE(b, nullptr) << name;
            act(b);
        }
        const BulkFontChangeSwitches s = window.switches();
        EXPECT_FALSE(s.changeFont || s.changeSize || s.changeColor || s.changeStyle
            || s.changeDecoration || s.changeDefault)
            << how;
        act(window.findChild<QCheckBox *>("ChangeColor"));
        EXPECT_TRUE(window.switches().changeColor) << how;
    }
}

} // namespace

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QSettings>

#include "MainWindowHarness.h"
#include "prints/ui/TPrintsList.h"
#include "tracklist/ui/TListWindow.h"
#include "document/DocumentControls.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

// Each control of the disc tab changes exactly its own value, as one step
// with the disc page redrawn; undoing every step brings the new document back.
TEST_F(MainWindowTest, DiscTabControlsChangeTheDocumentExactly)
{
    showWindow();
    FontSpec font = defaultFont();
    font.name = QStringLiteral("Serif");
    dialogs.fontAnswer = font;
    dialogs.colorAnswer = 0x0000FF00;
    auto enter = [this](const char *name, const QString &text) {
        selectAllAndType(name, text);
        pressEnter(name);
    };
    LabelDocument fontDoc;
    fontDoc.disc.subtitle.font = font;
    const std::tuple<std::function<void()>, const char *, QString> rows[] = {
        { [&] { click("DiscTitleUse"); }, "DiscTitleUse", "1" },
        { [&] { type("DiscTitle", QStringLiteral("Live 夏")); }, "DiscTitle", "Live 夏" },
        { [&] { click("DiscTitlePlace1"); }, "DiscTitlePlace", "1" },
        { [&] { enter("DiscTitleRadius", "45.5"); }, "DiscTitleRadius", "45.5" },
        { [&] { enter("DiscTitleAngle", "-12.5"); }, "DiscTitleAngle", "-12.5" },
        { [&] { click("DiscTitlePlace2"); }, "DiscTitlePlace", "2" },
        { [&] { click("DiscTitlePosXUse"); }, "DiscTitlePosXUse", "1" },
        { [&] { enter("DiscTitlePosX", "25"); }, "DiscTitlePosX", "25" },
        { [&] { click("DiscSubtitleUse"); }, "DiscSubtitleUse", "1" },
        { [&] { click("DiscSubtitleFontSet"); }, "DiscSubtitleFont",
            controlValues(fontDoc).value("DiscSubtitleFont") },
        { [&] { find<ColorSwatch>("DiscBGColor")->press(); }, "DiscBGColor", "65280" },
        { [&] { click("UseDiscList"); }, "UseDiscList", "1" },
        { [&] { click("UseDiscPrints"); }, "UseDiscPrints", "1" },
    };
    const QMap<QString, QString> start = controlValues(window->document());
    for (const auto &[act, name, value] : rows) {
        QMap<QString, QString> expected = controlValues(window->document());
        expected.insert(QLatin1String(name), value);
        refresher.pages.clear();
        act();
        EXPECT_EQ(controlValues(window->document()), expected) << name;
        EXPECT_TRUE(refresher.pages.contains(PreviewPage::Disc)) << name;
    }
    // An angle that is no number: the message, and the stored angle shown.
    click("DiscTitlePlace0");
    enter("DiscTitleAngle", "1-");
    EXPECT_EQ(dialogs.messages,
        QStringList({ QStringLiteral("'1-' は -180.0 から 180.0 までの数値(度、小数1桁)ではありません") }));
    EXPECT_EQ(text("DiscTitleAngle"), QStringLiteral("-12.5"));

    find<QWidget>("DiscTitleUse")->setFocus();
    for (size_t i = 0; i < std::size(rows) + 1; ++i)
        window->UndoMenuClick();
    EXPECT_FALSE(window->editor().history().canUndo());
    EXPECT_EQ(controlValues(window->document()), start);
    EXPECT_EQ(QStringList({ text("DiscTitle"), text("DiscTitleRadius") }), QStringList({ "", "" }));
    EXPECT_TRUE(checked("DiscTitlePlace0") && !checked("DiscTitleUse"));
    EXPECT_FALSE(enabled("DiscTitleRadius"));
}

// "ディスクレーベル印刷" and "印刷する用紙" are kept in the settings at once
// and printed with; none of them is the document's.
TEST_F(MainWindowTest, DiscLabelPrintAndStockAreKeptAndPrintedWith)
{
    showWindow();
    click("DiscLabelPrint");
    EXPECT_TRUE(window->printOptions().printDisc);
    EXPECT_EQ(QSettings().value(QStringLiteral("DiscLabelPrint")).toInt(), 1);

    EXPECT_FALSE(find<QWidget>("DiscLabel3")->isVisibleTo(window.get()));
    refresher.pages.clear();
    click("DiscLabel1");
    EXPECT_TRUE(checked("DiscLabel2"));
    EXPECT_EQ(window->printOptions().disc.centresMm, QVector<QPointF>({ QPointF(105.0, 218.33) }));
    EXPECT_EQ(QSettings().value(QStringLiteral("DiscLabels")).toUInt(), ~1u);
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Disc }));

    auto *stock = find<QComboBox>("DiscStock");
    reveal(stock);
    stock->setCurrentIndex(stock->count() - 1);
    EXPECT_TRUE(window->printOptions().disc.printableDisc);
    EXPECT_FALSE(find<QWidget>("DiscLabels")->isVisibleTo(window.get()));
    EXPECT_EQ(text("DiscOuter"), QStringLiteral("118.0"));
    selectAllAndType("DiscOuter", QStringLiteral("117.5"));
    pressEnter("DiscOuter");
    selectAllAndType("DiscOuter", QStringLiteral("121"));
    pressEnter("DiscOuter");
    EXPECT_EQ(dialogs.messages,
        QStringList({ QStringLiteral("'121' は 116.0 から 120.0 までの数値(mm、小数1桁)ではありません") }));
    EXPECT_EQ(text("DiscOuter"), QStringLiteral("117.5"));
    find<QComboBox>("DiscHub")->setCurrentIndex(1);
    EXPECT_EQ(std::pair(window->printOptions().disc.outerMm, window->printOptions().disc.holeMm),
        std::pair(117.5, 22.0));
    EXPECT_EQ(QSettings().value(QStringLiteral("DiscOuter")).toInt(), 1175);
    EXPECT_FALSE(window->editor().history().canUndo());
}

// The disc's "リスト編集" opens the list window on the disc's layout and its
// "印刷項目編集" the free-print editor on the disc's own list, 120 mm square:
// a new item there is the disc's.
TEST_F(MainWindowTest, DiscListAndPrintsEditorsWorkOnTheDiscsOwn)
{
    showWindow();
    EXPECT_FALSE(enabled("DiscListEdit"));
    click("UseDiscList");
    click("DiscListEdit");
    EXPECT_EQ(window->listWindow()->surface(), 2);
    window->listWindow()->close();
    click("UseDiscPrints");
    click("DiscPrintsEdit");
    TPrintsList *prints = window->printsEditor();
    EXPECT_EQ(prints->editor().which(), PrintsList::Disc);
    EXPECT_EQ(prints->findChild<QLabel *>("PWidthMm")->text(), "120.0mm");
    auto *newItem = prints->findChild<QPushButton *>(QStringLiteral("ListNew"));
    ASSERT_NE(newItem, nullptr);
    QTest::mouseClick(newItem, Qt::LeftButton);
    EXPECT_EQ(window->document().discPrints.size(), 1);
    EXPECT_TRUE(window->document().coverPrints.isEmpty());
    EXPECT_EQ(window->editor().history().undoLabel(), "新規(任意印刷(ディスク))");
    // The new text item set along the top arc, at a radius typed.
    auto *radius = prints->findChild<QLineEdit *>("ArcRadius");
    ASSERT_TRUE(prints->findChild<QWidget *>("ArcRow")->isVisible());
    EXPECT_FALSE(radius->isEnabled());
    QTest::mouseClick(prints->findChild<QRadioButton *>("ArcPlace0"), Qt::LeftButton,
        Qt::NoModifier, QPoint(8, 8));
    ASSERT_TRUE(radius->isEnabled());
    radius->setFocus();
    QTest::keyClicks(radius, "45.5");
    QTest::keyClick(radius, Qt::Key_Return);
    EXPECT_EQ(window->document().discPrints[0].arc,
        (ArcPlacement { DiscTextPlace::TopArc, 455, 0 }));
    prints->close();
    window->openPrintsEditor(0);
    EXPECT_FALSE(prints->findChild<QWidget *>("ArcRow")->isVisible());
    prints->close();
}

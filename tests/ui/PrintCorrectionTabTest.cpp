#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>

#include "MainWindowHarness.h"
#include "document/PrintCorrection.h"

using namespace cw;

namespace {

// A printer whose name the test chooses.
class NamedPrinter : public FixedPrinter
{
public:
    NamedPrinter()
        : FixedPrinter(300, 300)
    { }
    PrintDevice device() const override { return PrintDevice::printer(name); }
    QString name = QStringLiteral("Office");
};

class CorrectionTabTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->setPrinterBackend(&named);
        window->applySettings();
    }
    void restart()
    {
        dialogs.confirmAnswer = true;
        window.reset();
        window = std::make_unique<TMainWindow>();
        window->setDialogs(&dialogs);
        window->setPreviewRefresher(&refresher);
        window->setPrinterBackend(&named);
        window->applySettings();
    }
    QString stored(const QString &printer)
    {
        return QSettings().value(printCorrectionKey(PrintDevice::printer(printer))).toString();
    }
    NamedPrinter named;
};

} // namespace

// A value is written for the printer chosen when its field is left, shown
// again after a restart, and each printer keeps its own.
TEST_F(CorrectionTabTest, TheCorrectionIsKeptPerPrinterAndSurvivesARestart)
{
    EXPECT_EQ(find<QLabel>("PrintOffsetPrinter")->text(), "Office");
    EXPECT_EQ(text("PrintOffsetX"), "0.0");
    selectAllAndType("PrintOffsetX", "2");
    pressEnter("PrintOffsetX");
    EXPECT_EQ(text("PrintOffsetX"), "2.0");
    selectAllAndType("PrintOffsetY", "-1.5");
    // Leaving the field (by Tab) commits it.
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(find<QLineEdit>("PrintOffsetY"), &leave);
    EXPECT_EQ(stored("Office"), "2.0,-1.5");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    restart();
    EXPECT_EQ(text("PrintOffsetX"), "2.0");
    EXPECT_EQ(text("PrintOffsetY"), "-1.5");

    // Another printer chosen in the printer setup shows its own values.
    named.name = QStringLiteral("Home");
    window->PrinterSetClick();
    EXPECT_EQ(find<QLabel>("PrintOffsetPrinter")->text(), "Home");
    EXPECT_EQ(text("PrintOffsetX"), "0.0");
    selectAllAndType("PrintOffsetY", "10");
    pressEnter("PrintOffsetY");
    EXPECT_EQ(stored("Home"), "0.0,10.0");
    named.name = QStringLiteral("Office");
    window->PrinterSetClick();
    EXPECT_EQ(text("PrintOffsetX"), "2.0");
    EXPECT_EQ(text("PrintOffsetY"), "-1.5");
}

// Text that is no correction gets a message; the field and the settings keep
// their value.
TEST_F(CorrectionTabTest, TextThatIsNoCorrectionIsRefusedWithAMessage)
{
    selectAllAndType("PrintOffsetX", "1.5");
    pressEnter("PrintOffsetX");
    for (const char *bad : { "abc", "10.5", "1.25", "-11" }) {
        dialogs.messages.clear();
        selectAllAndType("PrintOffsetX", QString::fromUtf8(bad));
        pressEnter("PrintOffsetX");
        EXPECT_EQ(dialogs.messages, QStringList { invalidCorrectionMessage(bad) }) << bad;
        EXPECT_EQ(text("PrintOffsetX"), "1.5");
        EXPECT_EQ(stored("Office"), "1.5,0.0");
    }
    // An unchanged value writes nothing: nothing is kept for a printer whose
    // fields were only visited.
    named.name = QStringLiteral("Untouched");
    window->PrinterSetClick();
    selectAllAndType("PrintOffsetX", "0");
    pressEnter("PrintOffsetX");
    EXPECT_FALSE(QSettings().contains(printCorrectionKey(PrintDevice::printer("Untouched"))));
}

// The bleed list is stored at once however it changes, refreshes the page
// shown, and comes back after a restart; start-up does not write it.
TEST_F(CorrectionTabTest, TheBleedIsStoredAndShownAgain)
{
    EXPECT_FALSE(QSettings().contains("Bleed"));
    auto *bleed = find<QComboBox>("Bleed");
    EXPECT_EQ(bleed->currentIndex(), 0);
    EXPECT_EQ(bleed->toolTip(), "塗り足し");
    EXPECT_EQ(bleed->itemText(3), "3mm");
    refresher.pages.clear();
    reveal(bleed);
    bleed->setFocus();
    QTest::keyClick(bleed, Qt::Key_Down);
    QTest::keyClick(bleed, Qt::Key_Down);
    EXPECT_EQ(window->printOptions().bleedMm, 2);
    EXPECT_EQ(QSettings().value("Bleed").toInt(), 2);
    EXPECT_FALSE(refresher.pages.isEmpty());
    EXPECT_EQ(refresher.pages.last(), PreviewPage::Shown);
    bleed->setCurrentIndex(3);
    EXPECT_EQ(window->printOptions().bleedMm, 3);

    restart();
    EXPECT_EQ(find<QComboBox>("Bleed")->currentIndex(), 3);
    EXPECT_EQ(window->printOptions().bleedMm, 3);
}

// "カスタム用紙の設定...": the dialog that describes the custom label sheet,
// opened from the disc tab's stock group.
#include <QComboBox>
#include <QListWidget>
#include <QRegularExpression>

#include "MainWindowHarness.h"
#include "app/CustomSheetDialog.h"

using namespace cw;

namespace {

class CustomSheetDialogTest : public MainWindowTest
{
protected:
    // The custom sheet chosen (which shows the button), the dialog opened.
    void openDialog()
    {
        showWindow();
        auto *stock = find<QComboBox>("DiscStock");
        reveal(stock);
        EXPECT_FALSE(find<QWidget>("DiscCustomSheet")->isVisibleTo(window.get()));
        stock->setCurrentIndex(stock->count() - 2); // "カスタム"
        click("DiscCustomSheet");
        ASSERT_TRUE(dialogOpen());
    }
    bool dialogOpen()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto *dialog = window->findChild<CustomSheetDialog *>();
        return dialog && dialog->isVisible();
    }
    void typeCentre(const char *x, const char *y)
    {
        selectAllAndType("CustomSheetX", QLatin1String(x));
        selectAllAndType("CustomSheetY", QLatin1String(y));
    }
    int labelBoxesShown()
    {
        int shown = 0;
        for (QCheckBox *box : window->findChildren<QCheckBox *>(QRegularExpression("^DiscLabel\\d$")))
            shown += box->isVisibleTo(window.get()) ? 1 : 0;
        return shown;
    }
};

} // namespace

// A sheet of three labels typed into the dialog is kept at OK: the settings
// hold it, the tab offers three labels and the print lays out all three.
TEST_F(CustomSheetDialogTest, ASheetOfThreeLabelsIsKeptAndOffered)
{
    openDialog();
    selectAllAndType("CustomSheetOuter", QStringLiteral("117.4"));
    selectAllAndType("CustomSheetHole", QStringLiteral("17.8"));
    typeCentre("61.7", "61.7");
    find<QListWidget>("CustomSheetCentres")->setCurrentRow(1);
    typeCentre("61.7", "234.7");
    click("CustomSheetAdd");
    typeCentre("147.7", "147.7");
    click("CustomSheetOK");

    EXPECT_FALSE(dialogOpen());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    QSettings settings;
    EXPECT_EQ(std::pair(settings.value("DiscCustomOuter").toInt(), settings.value("DiscCustomHole").toInt()),
        std::pair(1174, 178));
    EXPECT_EQ(settings.value("DiscCustomCentres").toString(), QStringLiteral("61.7,61.7;61.7,234.7;147.7,147.7"));
    EXPECT_EQ(labelBoxesShown(), 3);
    EXPECT_EQ(window->printOptions().disc.centresMm.size(), 3);
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Disc));
}

// A bad outer diameter at OK: the problem is told, the dialog stays open
// with the typing as it was, and nothing is stored; nor does Cancel.
TEST_F(CustomSheetDialogTest, ABadSheetKeepsTheDialogOpenAndStoresNothing)
{
    openDialog();
    selectAllAndType("CustomSheetOuter", QStringLiteral("131"));
    typeCentre("100", "80");
    click("CustomSheetOK");
    EXPECT_EQ(dialogs.messages, QStringList({ QStringLiteral("ラベルの外径は 20.0mm から 130.0mm までです") }));
    ASSERT_TRUE(dialogOpen());
    EXPECT_EQ(std::pair(text("CustomSheetOuter"), text("CustomSheetX")), std::pair(QString("131"), QString("100")));
    click("CustomSheetCancel");
    EXPECT_FALSE(dialogOpen());
    EXPECT_FALSE(QSettings().contains("DiscCustomOuter"));
    EXPECT_EQ(window->printOptions().disc.outerMm, 117.0);
    EXPECT_EQ(labelBoxesShown(), 2);
}

// "カスタム用紙の設定...": the dialog that describes the custom label sheet,
// opened from the disc tab's stock group.
#include <QComboBox>
#include <QListWidget>
#include <QSettings>

#include "MainWindowHarness.h"
#include "app/CustomSheetDialog.h"
#include "document/DiscStockSettings.h"

using namespace cw;

namespace {

class CustomSheetDialogTest : public MainWindowTest
{
protected:
    // The custom sheet chosen, the dialog opened from its button.
    CustomSheetDialog *openDialog()
    {
        showWindow();
        auto *stock = find<QComboBox>("DiscStock");
        reveal(stock);
        EXPECT_FALSE(find<QWidget>("DiscCustomSheet")->isVisibleTo(window.get()));
        stock->setCurrentIndex(stock->count() - 2); // "カスタム"
        EXPECT_TRUE(find<QWidget>("DiscCustomSheet")->isVisibleTo(window.get()));
        click("DiscCustomSheet");
        auto *dialog = window->findChild<CustomSheetDialog *>();
        EXPECT_TRUE(dialog && dialog->isVisible());
        return dialog;
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
    QStringList centreEntries()
    {
        QStringList entries;
        auto *list = find<QListWidget>("CustomSheetCentres");
        for (int i = 0; i < list->count(); ++i)
            entries << list->item(i)->text();
        return entries;
    }
    QStringList visibleLabelBoxes()
    {
        QStringList shown;
        for (int i = 1; i <= kMaxSheetLabels; ++i) {
            const QByteArray name = QStringLiteral("DiscLabel%1").arg(i).toLatin1();
            if (find<QWidget>(name.constData())->isVisibleTo(window.get()))
                shown << QString::number(i);
        }
        return shown;
    }
};

} // namespace

// A sheet of three labels typed into the dialog is kept at OK: the settings
// hold it, the tab offers three labels and the print lays out all three.
TEST_F(CustomSheetDialogTest, ASheetOfThreeLabelsIsKeptAndOffered)
{
    CustomSheetDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("カスタム用紙"));
    EXPECT_EQ(visibleLabelBoxes(), QStringList({ "1", "2" }));
    EXPECT_EQ(centreEntries(), QStringList({ "1: 105, 79.9", "2: 105, 218.33" }));
    EXPECT_TRUE(enabled("CustomSheetAdd") && enabled("CustomSheetDelete"));

    selectAllAndType("CustomSheetOuter", QStringLiteral("117.4"));
    selectAllAndType("CustomSheetHole", QStringLiteral("17.8"));
    typeCentre("61.7", "61.7");
    find<QListWidget>("CustomSheetCentres")->setCurrentRow(1);
    EXPECT_EQ(text("CustomSheetX"), QStringLiteral("105"));
    typeCentre("61.7", "234.7");
    click("CustomSheetAdd");
    EXPECT_EQ(text("CustomSheetX"), QString());
    typeCentre("147.7", "147.7");
    EXPECT_EQ(centreEntries(),
        QStringList({ "1: 61.7, 61.7", "2: 61.7, 234.7", "3: 147.7, 147.7" }));
    click("CustomSheetOK");

    EXPECT_FALSE(dialogOpen());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    QSettings settings;
    EXPECT_EQ(settings.value("DiscCustomOuter").toInt(), 1174);
    EXPECT_EQ(settings.value("DiscCustomHole").toInt(), 178);
    EXPECT_EQ(settings.value("DiscCustomCentres").toString(),
        QStringLiteral("61.7,61.7;61.7,234.7;147.7,147.7"));
    EXPECT_EQ(visibleLabelBoxes(), QStringList({ "1", "2", "3" }));
    EXPECT_TRUE(checked("DiscLabel3"));
    EXPECT_EQ(window->printOptions().disc.centresMm.size(), 3);
    EXPECT_EQ(window->printOptions().disc.outerMm, 117.4);
    EXPECT_TRUE(refresher.pages.contains(PreviewPage::Disc));
    // The sheet is no part of the document.
    EXPECT_FALSE(window->editor().history().canUndo());
}

// A bad outer diameter at OK: the problem is told, the dialog stays open
// with the typing as it was, and nothing is stored; Cancel then changes
// nothing either.
TEST_F(CustomSheetDialogTest, ABadSheetKeepsTheDialogOpenAndStoresNothing)
{
    openDialog();
    selectAllAndType("CustomSheetOuter", QStringLiteral("131"));
    typeCentre("100", "80");
    click("CustomSheetOK");
    EXPECT_EQ(dialogs.messages,
        QStringList({ QStringLiteral("ラベルの外径は 20.0mm から 130.0mm までです") }));
    ASSERT_TRUE(dialogOpen());
    EXPECT_EQ(text("CustomSheetOuter"), QStringLiteral("131"));
    EXPECT_EQ(centreEntries(), QStringList({ "1: 100, 80", "2: 105, 218.33" }));
    EXPECT_FALSE(QSettings().contains("DiscCustomOuter"));

    selectAllAndType("CustomSheetOuter", QStringLiteral("11x"));
    click("CustomSheetOK");
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages.last(),
        QStringLiteral("外径(11x)は mm で、小数1桁までの数値を入力してください"));
    ASSERT_TRUE(dialogOpen());

    click("CustomSheetCancel");
    EXPECT_FALSE(dialogOpen());
    EXPECT_FALSE(QSettings().contains("DiscCustomOuter"));
    EXPECT_EQ(window->printOptions().disc.outerMm, 117.0);
    EXPECT_EQ(visibleLabelBoxes(), QStringList({ "1", "2" }));
}

#include <QComboBox>
#include <QImage>
#include <QLabel>

#include "MainWindowHarness.h"
#include "render/ui/TPreviewWindow.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {
QString writePicture(const QTemporaryDir &dir, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    const QString path = dir.filePath(QStringLiteral("cover.bmp"));
    image.save(path, "BMP");
    return path;
}
} // namespace

class PicturePanelTest : public MainWindowTest
{
protected:
    QString label(const char *name) { return find<QLabel>(name)->text(); }
    void loadFront()
    {
        showWindow();
        click("TopGraphicUse");
        dialogs.pictureAnswer = writePicture(dir, 1429, 1000);
        click("TopGraphicFileSelect");
    }
    void commit(const char *name, const QString &value)
    {
        selectAllAndType(name, value);
        pressEnter(name);
    }
    QTemporaryDir dir;
};

TEST_F(PicturePanelTest, ChoosingAFileLoadsAndCoversTheSurface)
{
    loadFront();
    ASSERT_EQ(dialogs.pictureFilters.size(), 1);
    EXPECT_TRUE(dialogs.pictureFilters[0].endsWith(QStringLiteral("|すべてのファイル(*.*)|*.*")));
    EXPECT_EQ(progress.texts, QStringList({ QStringLiteral("データロード中です") }));
    EXPECT_EQ(text("TopGraphicFileName"), dialogs.pictureAnswer);
    EXPECT_EQ(label("TopGraphicWidth"), QStringLiteral("1429"));
    EXPECT_EQ(label("TopGraphicHeight"), QStringLiteral("1000"));
    EXPECT_EQ(label("TopGraphicPWidth"), QStringLiteral("121.0mm"));
    EXPECT_EQ(label("TopGraphicPHeight"), QStringLiteral("84.7mm"));
    EXPECT_EQ(text("TopGraphicWidth2"), QStringLiteral("2016"));
    EXPECT_EQ(text("TopGraphicHeight2"), QStringLiteral("1411"));
    EXPECT_EQ(text("TopGraphicPosX"), QStringLiteral("-293"));
    EXPECT_EQ(text("TopGraphicPosY"), QStringLiteral("0"));
    EXPECT_EQ(label("TopGraphicPWidth2"), QStringLiteral("170.7mm"));
    EXPECT_EQ(label("TopGraphicPPosX"), QStringLiteral("-24.8mm"));
    EXPECT_EQ(refresher.pages.last(), PreviewPage::Front);
    const PicturePlacement &p = window->document().top.picture;
    EXPECT_EQ(p.printWidth, 2016);
    EXPECT_EQ(p.posX, -293);
}

TEST_F(PicturePanelTest, FitAndAlignListsActOnceAndShowTheStoredValues)
{
    loadFront();
    auto *size = find<QComboBox>("TopGSizeChange");
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Home);
    EXPECT_EQ(size->currentIndex(), 0);
    EXPECT_EQ(text("TopGraphicWidth2"), QStringLiteral("1429"));
    EXPECT_EQ(text("TopGraphicHeight2"), QStringLiteral("1000"));
    EXPECT_EQ(text("TopGraphicPosX"), QStringLiteral("-293"));

    auto *align = find<QComboBox>("TopGPosChange");
    align->setFocus();
    QTest::keyClick(align, Qt::Key_Up); // "下寄せ"
    EXPECT_EQ(text("TopGraphicPosY"), QStringLiteral("411"));
    QTest::keyClick(align, Qt::Key_Up); // "縦ｾﾝﾀﾘﾝｸﾞ"
    EXPECT_EQ(text("TopGraphicPosY"), QStringLiteral("205"));
    EXPECT_EQ(window->document().top.picture.posY, 205);
    EXPECT_EQ(label("TopGraphicPPosY"), formatMm(PixelsToMmY(205)));
}

TEST_F(PicturePanelTest, ATypedWidthKeepsTheAspectAndSetsTheSizeListToCustom)
{
    loadFront();
    auto *size = find<QComboBox>("TopGSizeChange");
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Home);
    commit("TopGraphicWidth2", QStringLiteral("700"));
    EXPECT_EQ(text("TopGraphicHeight2"), QStringLiteral("489"));
    EXPECT_EQ(window->document().top.picture.printHeight, 489);
    EXPECT_EQ(size->currentText(), QStringLiteral("カスタム"));
    EXPECT_EQ(label("TopGraphicPHeight2"), QStringLiteral("41.4mm"));
}

TEST_F(PicturePanelTest, AnEmptiedFieldIsReportedAndShowsTheStoredValueAgain)
{
    loadFront();
    selectAllAndType("TopGraphicPosX", QStringLiteral("-"));
    pressEnter("TopGraphicPosX");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(text("TopGraphicPosX"), QStringLiteral("-293"));
    EXPECT_EQ(window->document().top.picture.posX, -293);
}

TEST_F(PicturePanelTest, TheLinkedBackFollowsTheFrontsPosition)
{
    loadFront();
    click("BottomGraphicUse");
    EXPECT_TRUE(enabled("SameGraphic"));
    EXPECT_TRUE(enabled("BottomGraphicFileSelect"));
    click("SameGraphic");
    EXPECT_FALSE(enabled("BottomGraphicFileSelect"));
    EXPECT_FALSE(enabled("BottomGraphicWidth2"));
    EXPECT_TRUE(enabled("BottomGraphicUse"));
    EXPECT_EQ(text("BottomGraphicWidth2"), QStringLiteral("2016"));
    EXPECT_EQ(text("BottomGraphicFileName"), text("TopGraphicFileName"));

    commit("TopGraphicPosX", QStringLiteral("100"));
    EXPECT_EQ(text("BottomGraphicPosX"), QStringLiteral("100"));
    EXPECT_EQ(label("BottomGraphicPPosX"), QStringLiteral("8.5mm"));

    click("SameGraphic");
    EXPECT_TRUE(enabled("BottomGraphicWidth2"));
    EXPECT_EQ(text("BottomGraphicPosX"), QStringLiteral("100"));
    // Switching the back's picture off disables its link too.
    click("BottomGraphicUse");
    EXPECT_FALSE(enabled("SameGraphic"));
}

TEST_F(MainWindowTest, ColorSelectStartsFromTheLastColourChosen)
{
    showWindow();
    dialogs.colorAnswer = 0x00112233u;
    QTest::mouseClick(find<ColorSwatch>("TopLabelBGColor2"), Qt::LeftButton);
    EXPECT_EQ(window->document().top.backgroundColor2, 0x00112233u);
    EXPECT_EQ(refresher.pages.last(), PreviewPage::Front);

    dialogs.colorAnswer.reset();
    refresher.pages.clear();
    QTest::mouseClick(find<ColorSwatch>("RightTitleBGColor"), Qt::LeftButton);
    EXPECT_EQ(window->document().right.backgroundColor1, kWhite);
    EXPECT_EQ(find<ColorSwatch>("RightTitleBGColor")->color(), kWhite);
    EXPECT_EQ(
        refresher.pages, QList<PreviewPage>({ PreviewPage::Back })); // refreshed although cancelled
    ASSERT_EQ(dialogs.colorStarts.size(), 2);
    EXPECT_EQ(dialogs.colorStarts[0], kBlack);
    EXPECT_EQ(dialogs.colorStarts[1], 0x00112233u);
}

TEST_F(PicturePanelTest, PrinterSetupToTwiceTheResolutionDoublesThePixelValues)
{
    loadFront();
    printer.dpiX = 600;
    printer.dpiY = 600;
    window->PrinterSetClick();
    EXPECT_EQ(find<QLabel>("Xdpi")->text(), QStringLiteral("600dpi"));
    EXPECT_EQ(find<QLabel>("TopPWidth")->text(), QStringLiteral("2858"));
    EXPECT_EQ(text("TopGraphicWidth2"), QStringLiteral("4032"));
    EXPECT_EQ(text("TopGraphicHeight2"), QStringLiteral("2822"));
    EXPECT_EQ(text("TopGraphicPosX"), QStringLiteral("-586"));
    EXPECT_EQ(label("TopGraphicPWidth2"), QStringLiteral("170.7mm"));
    EXPECT_TRUE(checked("TopSizeRateFixed"));
}

TEST_F(MainWindowTest, PreviewButtonShowsThePreviewWindow)
{
    showWindow();
    ASSERT_NE(window->previewWindow(), nullptr);
    EXPECT_FALSE(window->previewWindow()->isVisible());
    click("PreviewShow");
    EXPECT_TRUE(window->previewWindow()->isVisible());
    EXPECT_EQ(window->previewWindow()->windowTitle(), QStringLiteral("Casewright [Preview]"));
}

// After Enter (the focus stays in the field) it shows the value as the document
// took it; a field disabled while it holds typed text shows the document's.
TEST_F(PicturePanelTest, ACommittedFieldShowsTheValueTheDocumentTook)
{
    loadFront();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    struct Case
    {
        const char *typed;
        const char *shown;
    };
    for (const Case &c : { Case { "-0", "0" }, Case { "+5", "5" }, Case { "007", "7" } }) {
        commit("TopGraphicPosY", QString::fromUtf8(c.typed));
        EXPECT_EQ(text("TopGraphicPosY"), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(QString::number(window->document().top.picture.posY), QString::fromUtf8(c.shown));
    }
    // Typed, not taken, and the picture switched off through its accessible
    // action (the focus stays in the field until it is disabled).
    selectAllAndType("TopGraphicHeight2", QStringLiteral("5"));
    find<QAbstractButton>("TopGraphicUse")->toggle();
    QCoreApplication::processEvents();
    EXPECT_FALSE(find<QLineEdit>("TopGraphicHeight2")->isEnabled());
    EXPECT_EQ(text("TopGraphicHeight2"),
        QString::number(window->document().top.picture.printHeight));
}

// A value the program computes may be longer than the six characters a field
// takes when typed into; the field shows it whole.
TEST_F(PicturePanelTest, ComputedValuesLongerThanTheFieldAreShownWhole)
{
    loadFront();
    commit("TopGraphicWidth2", QStringLiteral("999999"));
    ASSERT_EQ(window->document().top.picture.printWidth, 999999);
    auto *align = find<QComboBox>("TopGPosChange");
    align->setCurrentIndex(1); // "横ｾﾝﾀﾘﾝｸﾞ"
    Q_EMIT align->activated(1);
    const int centred = window->document().top.picture.posX;
    ASSERT_LT(centred, -99999);
    EXPECT_EQ(text("TopGraphicPosX"), QString::number(centred));

    printer.dpiX = 600;
    printer.dpiY = 600;
    click("PrinterSet");
    ASSERT_EQ(window->document().top.picture.printWidth, 1999998);
    EXPECT_EQ(text("TopGraphicWidth2"), QStringLiteral("1999998"));
    EXPECT_EQ(text("TopGraphicPosX"), QString::number(window->document().top.picture.posX));
    // Typing is still held to six digits.
    commit("TopGraphicWidth2", QStringLiteral("12345678"));
    EXPECT_EQ(window->document().top.picture.printWidth, 123456);
}

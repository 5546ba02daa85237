// A booklet in the main window: its page count and two-sided printing on the
// options tab, and the "ページ" tab that designs one inner page at a time.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

#include "MainWindowHarness.h"
#include "prints/PrintsItems.h"
#include "prints/ui/TPrintsList.h"
#include "render/PrintDocument.h"
#include "render/ui/TPreviewWindow.h"

namespace {

class BookletTabTest : public MainWindowTest
{
protected:
    // Moves a closed list's choice with the arrow keys, as the user does.
    void step(const char *name, Qt::Key key, int times = 1)
    {
        auto *list = find<QComboBox>(name);
        reveal(list);
        list->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(list, key);
    }
    const BookletPage &page(int k) { return window->document().pages[k - 2]; }
};

} // namespace

TEST_F(BookletTabTest, EightPagesAreDesignedPageByPageAndUndone)
{
    showWindow();
    auto *tabs = find<QTabWidget>("PageControl");
    QWidget *pageTab = find<QWidget>("PageTag");
    EXPECT_FALSE(tabs->isTabEnabled(tabs->indexOf(pageTab)));
    EXPECT_EQ(tabs->tabText(tabs->indexOf(pageTab)), QStringLiteral("ページ"));

    step("BookletPages", Qt::Key_Down, 2); // 2 → 4 → 8 pages
    EXPECT_EQ(window->document().bookletPages, 8);
    EXPECT_EQ(find<QComboBox>("BookletPages")->currentText(), QStringLiteral("8ページ"));
    ASSERT_TRUE(tabs->isTabEnabled(tabs->indexOf(pageTab)));
    auto *choice = find<QComboBox>("PageChoice");
    ASSERT_EQ(choice->count(), 6);
    EXPECT_EQ(choice->itemText(0), QStringLiteral("2ページ目"));
    EXPECT_EQ(choice->itemText(5), QStringLiteral("7ページ目"));

    // Page 3: its free prints switched on and opened in the editor.
    EXPECT_EQ(window->chosenPage(), 2);
    step("PageChoice", Qt::Key_Down);
    EXPECT_EQ(window->chosenPage(), 3);
    EXPECT_FALSE(enabled("PagePrintsEdit"));
    click("UsePagePrints");
    EXPECT_TRUE(page(3).usePrints);
    EXPECT_FALSE(page(2).usePrints);
    click("PagePrintsEdit");
    TPrintsList *editor = window->printsEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->editor().which(), pagePrintsList(3));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Casewright [PrintsList] - 3ページ目"));
    editor->close();

    // Its background; another page shows its own switches.
    dialogs.colorAnswer = 0x000000ff;
    QTest::mouseClick(find<QWidget>("PageBGColor"), Qt::LeftButton);
    EXPECT_EQ(page(3).background, ColorRef(0x000000ff));
    step("PageChoice", Qt::Key_Down);
    EXPECT_FALSE(checked("UsePagePrints"));

    // Down to 4 pages drops pages 4 … 7, which hold nothing; going on to 2
    // would drop page 3: "いいえ" keeps 4 pages, and the list shows them.
    dialogs.confirmAnswer = false;
    step("BookletPages", Qt::Key_Up, 2);
    EXPECT_EQ(window->document().bookletPages, 4);
    EXPECT_EQ(find<QComboBox>("BookletPages")->currentText(), QStringLiteral("4ページ"));
    ASSERT_EQ(dialogs.questions.size(), 1u);

    // Undo: back to 8 pages, then page 3's colour goes.
    window->UndoMenuClick();
    EXPECT_EQ(window->document().bookletPages, 8);
    EXPECT_EQ(choice->count(), 6);
    window->UndoMenuClick();
    EXPECT_EQ(page(3).background, kWhite);
}

TEST_F(BookletTabTest, TwoSidedPrintingIsChosenKeptAndExplained)
{
    showWindow();
    EXPECT_FALSE(enabled("BookletDuplex"));
    step("BookletPages", Qt::Key_Down);
    ASSERT_TRUE(enabled("BookletDuplex"));
    EXPECT_EQ(find<QLabel>("BookletDuplexNote")->text(), duplexNote(false));
    step("BookletDuplex", Qt::Key_Down);
    EXPECT_TRUE(window->printOptions().manualDuplex);
    EXPECT_EQ(find<QLabel>("BookletDuplexNote")->text(), duplexNote(true));
    EXPECT_EQ(QSettings().value("BookletManualDuplex").toInt(), 1);
    // The choice is a setting, not a change of the document.
    EXPECT_EQ(window->editor().history().undoLabel(), QStringLiteral("ブックレットのページ数"));
}

TEST_F(BookletTabTest, ThePreviewTurnsThroughTheBookletInReadingOrder)
{
    showWindow();
    window->setPreviewRefresher(nullptr);
    step("BookletPages", Qt::Key_Down); // 4 pages
    window->PreviewShowClick();
    TPreviewWindow *preview = window->previewWindow();
    ASSERT_NE(preview, nullptr);
    auto *on = preview->findChild<QPushButton *>(QStringLiteral("PreviewPageOn"));
    auto *back = preview->findChild<QPushButton *>(QStringLiteral("PreviewPageBack"));
    ASSERT_TRUE(on && back);
    EXPECT_TRUE(on->isVisible());
    EXPECT_FALSE(back->isEnabled());
    QStringList read;
    for (int i = 0; i < 3; ++i) {
        read << preview->pageView()->accessibleName();
        QTest::mouseClick(on, Qt::LeftButton);
    }
    EXPECT_EQ(read, QStringList({ "1ページ目", "2-3ページ", "4ページ目" }));
    EXPECT_FALSE(on->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(preview->pageView()->accessibleName(), QStringLiteral("2-3ページ"));
    // The plain insert has no pages to turn.
    step("BookletPages", Qt::Key_Up);
    EXPECT_FALSE(on->isVisible());
    preview->close();
}

// The tab's picture panel shows the page chosen and acts on it: page 4's
// picture is chosen and moved while page 3 keeps none.
TEST_F(BookletTabTest, ThePicturePanelActsOnThePageChosen)
{
    showWindow();
    step("BookletPages", Qt::Key_Down, 2); // 8 pages
    step("PageChoice", Qt::Key_Down, 2); // page 4
    click("PageGraphicUse");
    QTemporaryDir dir;
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::blue);
    dialogs.pictureAnswer = dir.filePath("p.bmp");
    ASSERT_TRUE(img.save(dialogs.pictureAnswer, "BMP"));
    click("PageGraphicFileSelect");
    // 300 x 200 covers the 1429 x 1411 face by its height.
    EXPECT_EQ(text("PageGraphicWidth2"), QStringLiteral("2116"));
    selectAllAndType("PageGraphicPosY", "25");
    pressEnter("PageGraphicPosY");
    EXPECT_EQ(page(4).picture.posY, 25);
    EXPECT_EQ(window->editor().history().undoLabel(), QStringLiteral("印刷位置 縦(4ページ目)"));
    // Page 3 shows its own: none, the controls off.
    step("PageChoice", Qt::Key_Up);
    EXPECT_FALSE(checked("PageGraphicUse"));
    EXPECT_FALSE(enabled("PageGraphicPosY"));
    EXPECT_TRUE(page(3).picture.fileName.isEmpty());
}

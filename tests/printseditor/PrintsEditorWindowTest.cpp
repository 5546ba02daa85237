#include <QAbstractSpinBox>
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentReader.h"
#include "pictures/PictureLoading.h"
#include "prints/PrintsListModel.h"
#include "prints/ui/TPrintsList.h"
#include "text/ui/UnicodeMark.h"
#include "PrintsEditorHarness.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

namespace {

TEST_F(PrintsWindowTest, ReplacesTheMainWindowUntilClosed)
{
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Casewright [PrintsList]"));
    EXPECT_EQ(editor->minimumSize(), editor->maximumSize()); // fixed frame
    EXPECT_EQ(label("PWidthMm"), "121.0mm");
    EXPECT_EQ(label("PWidth"), "1429");
    press("Button2");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(window->isVisible());
    // The back list shows the back label's size.
    click("UseBottomPrints");
    click("BottomPrintsEdit");
    EXPECT_EQ(label("PWidthMm"), "138.0mm");
    EXPECT_EQ(label("PHeight"), "1387");
}

TEST_F(PrintsWindowTest, WithoutASelectionEverythingIsOffAndTheNumbersShowZero)
{
    for (const char *name : { "ListAdd", "ListDelete", "Text", "TextX", "FontRot", "FontSelect",
             "GraphicFileSelect", "GraphicWidth2", "Transparency", "ColSelect", "ColGet" })
        EXPECT_FALSE(in(name)->isEnabled()) << name;
    EXPECT_TRUE(in("ListNew")->isEnabled());
    for (const char *name :
        { "TextX", "TextY", "GraphicWidth2", "GraphicHeight2", "GraphicPosX", "GraphicPosY" })
        EXPECT_EQ(in<QLineEdit>(name)->text(), "0") << name;
    EXPECT_EQ(in<QLineEdit>("Text")->text(), QString());

    press("ListNew");
    EXPECT_TRUE(in("Text")->isEnabled());
    EXPECT_FALSE(in("ColSelect")->isEnabled());
    showTab(1);
    press("Transparency");
    EXPECT_TRUE(in("ColSelect")->isEnabled());
    EXPECT_TRUE(in("ColGet")->isEnabled());
    EXPECT_TRUE(in("TransColor")->isEnabled());
    press("ListDelete");
    EXPECT_TRUE(items().isEmpty());
    EXPECT_FALSE(in("Text")->isEnabled());
}

TEST_F(PrintsWindowTest, TextFieldsTakeTheirValuesAndTheAngleIsModulo360)
{
    press("ListNew");
    enter("Text", QStringLiteral("裏面のことば"));
    enter("TextX", "12");
    enter("TextY", "34");
    enter("FontRot", "400");
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(items()[0].kind, 0);
    EXPECT_EQ(items()[0].text, QStringLiteral("裏面のことば"));
    EXPECT_EQ(items()[0].textX, 12);
    EXPECT_EQ(items()[0].textY, 34);
    EXPECT_EQ(items()[0].angle, 40);
    EXPECT_EQ(in<QLineEdit>("FontRot")->text(), "40") << "the field shows what is stored";
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data().toString(),
        QStringLiteral("Text 12, 34 mm ------- 裏面のことば"));
    EXPECT_FALSE(refresher.pages.isEmpty());
    EXPECT_EQ(refresher.pages.last(), PreviewPage::Front);
}

TEST_F(PrintsWindowTest, FontsComeFromTheFontDialogAndCancelChangesNothing)
{
    press("ListNew");
    FontSpec chosen = defaultFont();
    chosen.name = QStringLiteral("IPAGothic");
    chosen.bold = true;
    dialogs.fontAnswer = chosen;
    press("FontSelect");
    EXPECT_EQ(dialogs.fontStarts.last(), defaultFont());
    EXPECT_EQ(items()[0].font, chosen);
    EXPECT_TRUE(in<QLineEdit>("Text")->font().bold());
    chosen.size = 20;
    dialogs.fontAnswer = chosen;
    press("DefaultFontSelect"); // for later items only
    EXPECT_EQ(items()[0].font.size, 9);
    press("ListNew");
    EXPECT_EQ(items()[1].font.size, 20);
    dialogs.fontAnswer.reset();
    press("FontSelect");
    EXPECT_EQ(items()[1].font, chosen);
}

TEST_F(PrintsWindowTest, AspectLockedWidthGivesTheHeight)
{
    showTab(1);
    press("ListNew");
    ASSERT_EQ(items()[0].kind, 1);
    dialogs.pictureAnswer = picture(300, 200);
    press("GraphicFileSelect");
    EXPECT_EQ(progress.texts.last(), QStringLiteral("データロード中です"));
    EXPECT_EQ(label("GraphicWidth"), "300");
    EXPECT_EQ(label("GraphicPWidth"), "25.4mm");
    enter("GraphicWidth2", "150");
    EXPECT_EQ(items()[0].printHeight, 100);
    EXPECT_EQ(in<QLineEdit>("GraphicHeight2")->text(), "100");
    EXPECT_EQ(label("GraphicPHeight2"), "8.5mm");
    press("SizeRateFixed"); // off: the other side stays
    enter("GraphicHeight2", "70");
    EXPECT_EQ(items()[0].printWidth, 150);
    EXPECT_EQ(items()[0].printHeight, 70);
    enter("GraphicPosX", "-25");
    EXPECT_EQ(items()[0].posX, -25);
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data(PrintsListModel::CellsRole),
        QStringList({ "Graph", "-25, 0 px", "150, 70", dialogs.pictureAnswer }));
}

TEST_F(PrintsWindowTest, TabDecidesTheKindOfNewAndSelectedItems)
{
    press("ListNew");
    enter("Text", "abc");
    showTab(1); // the selected text item becomes a picture item without a file
    EXPECT_EQ(items()[0].kind, 1);
    EXPECT_TRUE(items()[0].fileName.isEmpty());
    press("ListNew"); // made on the picture tab
    EXPECT_EQ(items()[1].kind, 1);
    press("ListAdd"); // before the selection
    ASSERT_EQ(items().size(), 3);
    EXPECT_EQ(editor->editor().selected(), 1);
    EXPECT_EQ(items()[1].kind, 1);
    showTab(0);
    EXPECT_EQ(items()[1].kind, 0);
    // Selecting an item shows its tab without changing its kind.
    auto *view = editor->listBox();
    view->setCurrentIndex(view->model()->index(2, 0));
    EXPECT_EQ(in<QTabWidget>("PageControl")->currentIndex(), 1);
    view->setCurrentIndex(view->model()->index(1, 0));
    EXPECT_EQ(in<QTabWidget>("PageControl")->currentIndex(), 0);
    EXPECT_EQ(items()[1].kind, 0);
    EXPECT_EQ(items()[2].kind, 1);
}

TEST_F(PrintsWindowTest, PopupMenuMovesTheSelectionUpAndDown)
{
    press("ListNew");
    enter("Text", "a");
    press("ListNew");
    enter("Text", "b");
    editor->updatePopupMenu();
    QAction *up = editor->popupMenu()->findChild<QAction *>("MoveUp");
    QAction *down = editor->popupMenu()->findChild<QAction *>("MoveDown");
    ASSERT_TRUE(up && down);
    EXPECT_TRUE(up->isVisible());
    EXPECT_FALSE(down->isVisible());
    up->trigger();
    EXPECT_EQ(items()[0].text, "b");
    EXPECT_EQ(editor->editor().selected(), 0);
    editor->updatePopupMenu();
    EXPECT_FALSE(up->isVisible());
    EXPECT_TRUE(down->isVisible());
}

TEST_F(PrintsWindowTest, ColourControlsAndTheirFailures)
{
    showTab(1);
    press("ListNew");
    press("Transparency");
    press("ColGet"); // no file yet
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("グラフィックが指定されていません"));
    EXPECT_TRUE(dialogs.pickedPictureSizes.isEmpty());
    dialogs.colorAnswer = 0x00123456;
    press("ColSelect");
    EXPECT_EQ(items()[0].transColor, 0x00123456u);
    EXPECT_EQ(in<ColorSwatch>("TransColor")->color(), 0x00123456u);
    dialogs.colorAnswer.reset(); // cancelled
    press("ColSelect");
    EXPECT_EQ(items()[0].transColor, 0x00123456u);

    // A file that cannot be read: the path shows, the sizes stay.
    dialogs.pictureAnswer = pictures.filePath("missing.bmp");
    press("GraphicFileSelect");
    EXPECT_EQ(in<QLineEdit>("GraphicFileName")->text(), dialogs.pictureAnswer);
    EXPECT_EQ(items()[0].printWidth, 0);
    EXPECT_TRUE(dialogs.messages.last().endsWith(QStringLiteral(")がありません")));
    // Cancelling the picture dialog changes nothing.
    dialogs.pictureAnswer.clear();
    press("GraphicFileSelect");
    EXPECT_EQ(items()[0].fileName, pictures.filePath("missing.bmp"));
    // The dialog starts in the folder of the picture named now.
    EXPECT_EQ(dialogs.pictureStarts.last(), pictures.path());
}

TEST_F(PrintsWindowTest, ControlsAndItemsAreNamedForAssistiveTools)
{
    press("ListNew");
    enter("Text", "abc");
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(editor->listBox());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "Text 0, 0 mm ------- abc");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor)->role(), QAccessible::Dialog);
    const std::pair<const char *, const char *> named[] = { { "ListNew", "新規" },
        { "Text", "内容" }, { "TextX", "横" }, { "FontRot", "ﾌｫﾝﾄ角" },
        { "GraphicWidth2", "画像ｻｲｽﾞ" }, { "GraphicPosX", "印刷位置" },
        { "Transparency", "透明色" }, { "TransColor", "透明色" }, { "ColGet", "色取込" },
        { "Button2", "閉じる" } };
    for (auto [name, text] : named)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(in(name))->text(QAccessible::Name),
            QString::fromUtf8(text))
            << name;
    // No control goes without a name.
    for (QWidget *w : editor->findChildren<QWidget *>()) {
        if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w)
            && !qobject_cast<ColorSwatch *>(w) && !qobject_cast<QListView *>(w))
            continue;
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            << w->objectName().toStdString();
    }
}

TEST_F(PrintsWindowTest, EndToEndATextAndAPictureItemAreSavedAndReadBack)
{
    press("ListNew");
    enter("Text", QStringLiteral("表の文字"));
    enter("TextX", "10");
    enter("TextY", "20");
    enter("FontRot", "90");
    press("ListNew");
    showTab(1); // the new item becomes a picture item
    dialogs.pictureAnswer = picture(300, 200);
    press("GraphicFileSelect");
    enter("GraphicWidth2", "150");
    enter("GraphicPosX", "30");
    enter("GraphicPosY", "40");
    press("Transparency");
    dialogs.pickAnswer = 0x0000ff00;
    press("ColGet");
    ASSERT_EQ(dialogs.pickedPictureSizes, QList<QSize> { QSize(300, 200) });
    press("Button2");
    ASSERT_TRUE(window->isVisible());

    QTemporaryDir dir;
    dialogs.saveAnswer = dir.filePath("e2e.cwr");
    window->SaveAsMenuClick();
    LabelDocument back;
    RecordingMessages messages;
    DocumentEditor reader(back, &messages);
    RecordingProgress loading;
    ASSERT_EQ(loadDocument(reader, dir.filePath("e2e.cwr"), loading), LoadStatus::Loaded);
    EXPECT_TRUE(back.top.useCoverPrints);
    ASSERT_EQ(back.coverPrints.size(), 2);
    const TPrintsData &t = back.coverPrints[0];
    EXPECT_EQ(t.kind, 0);
    EXPECT_EQ(t.text, QStringLiteral("表の文字"));
    EXPECT_EQ(std::tuple(t.textX, t.textY, t.angle), std::tuple(10, 20, 90));
    const TPrintsData &p = back.coverPrints[1];
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.fileName, dialogs.pictureAnswer);
    EXPECT_EQ(std::tuple(p.posX, p.posY, p.printWidth, p.printHeight),
        std::tuple(30, 40, 150, 100));
    EXPECT_TRUE(p.transparent);
    EXPECT_EQ(p.transColor, 0x0000ff00u);
    EXPECT_EQ(p.pixelWidth, 300);
}

} // namespace

namespace {

TEST_F(MainWindowTest, SurfacePictureDialogStartsInThePicturesOrTheDocumentsFolder)
{
    QTemporaryDir docs, pics;
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::gray);
    ASSERT_TRUE(img.save(pics.filePath("a.bmp"), "BMP"));
    showWindow();
    window->document().fileName = docs.filePath("label.cwr");
    click("TopGraphicUse");
    dialogs.pictureAnswer = pics.filePath("a.bmp");
    click("TopGraphicFileSelect");
    click("TopGraphicFileSelect");
    EXPECT_EQ(dialogs.pictureStarts, QStringList({ docs.path(), pics.path() }));
    EXPECT_EQ(dialogs.pictureFilters.first(), pictureOpenDialogFilter());
}

} // namespace

TEST_F(PrintsWindowTest, TheTextFieldShowsTheMarkWhileItsTextNeedsTheUnicodeForm)
{
    press("ListNew");
    auto *text = in<QLineEdit>("Text");
    const UnicodeMark *mark = UnicodeMark::of(text);
    ASSERT_NE(mark, nullptr);
    enter("Text", QStringLiteral("裏面"));
    EXPECT_FALSE(mark->isShown());
    enter("Text", QStringLiteral("Café"));
    EXPECT_TRUE(mark->isShown());
    EXPECT_TRUE(mark->toolTip().contains(QStringLiteral("「é」")));
    // Another item's text shows that item's state.
    press("ListNew");
    EXPECT_FALSE(mark->isShown());
}

namespace {

TEST_F(PrintsWindowTest, AFieldShowsTheStoredValueOnceLeftAndTheListGivesThePositionsUnit)
{
    press("ListNew");
    auto *angle = in<QLineEdit>("FontRot");
    QApplication::setActiveWindow(editor);
    angle->setFocus();
    ASSERT_TRUE(angle->hasFocus());
    angle->selectAll();
    for (QChar ch : QStringLiteral("400"))
        QTest::sendKeyEvent(QTest::Click, angle, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(angle->text(), "400") << "not taken while typing";
    QTest::keyClick(angle, Qt::Key_Tab);
    EXPECT_FALSE(angle->hasFocus());
    EXPECT_EQ(items()[0].angle, 40);
    EXPECT_EQ(angle->text(), "40");
    enter("TextX", "8");
    enter("TextY", "105");
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data(PrintsListModel::CellsRole)
                  .toStringList()
                  .value(1),
        QStringLiteral("8, 105 mm"));

    showTab(1); // the item becomes a picture item, placed in pixels
    enter("GraphicPosX", "950");
    enter("GraphicPosY", "60");
    EXPECT_EQ(editor->listBox()->model()->index(0, 0).data(PrintsListModel::CellsRole)
                  .toStringList()
                  .value(1),
        QStringLiteral("950, 60 px"));
}

} // namespace

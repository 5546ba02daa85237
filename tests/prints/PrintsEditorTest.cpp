#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "prints/PrintsEditor.h"
#include "base/PreviewPage.h"

using namespace cw;

namespace {

class Pages : public PreviewRefresher
{
public:
    void RequestPreviewRefresh(PreviewPage page) override { pages.append(page); }
    QList<PreviewPage> pages;
};

class PrintsEditorTest : public ::testing::Test
{
protected:
    void SetUp() override { editor.setRefresher(&pages); }
    // A picture item of `w` x `h` picture pixels, selected.
    void selectPicture(int w, int h)
    {
        editor.newItem(true);
        editor.item()->pixelWidth = w;
        editor.item()->pixelHeight = h;
    }
    LabelDocument doc;
    PrintsEditor editor { doc };
    Pages pages;
};

TEST(PrintsItemCells, LinesOfTextAndPictureItems)
{
    TPrintsData text;
    text.text = QStringLiteral("曲名");
    text.textX = 5;
    text.textY = 120;
    EXPECT_EQ(printsItemCells(text),
        (QStringList { "Text", "5, 120 mm", "-------", QStringLiteral("曲名") }));
    TPrintsData picture;
    picture.kind = 1;
    picture.fileName = "/p/a.bmp";
    picture.posX = -12;
    picture.posY = 3;
    picture.printWidth = 1500;
    picture.printHeight = 40;
    EXPECT_EQ(printsItemCells(picture), (QStringList { "Graph", "-12, 3 px", "1500, 40", "/p/a.bmp" }));

    QList<TPrintsData> list { text, picture };
    PrintsListModel model;
    model.setList(&list);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0).data().toString(), QStringLiteral("Text 5, 120 mm ------- 曲名"));
    EXPECT_EQ(model.index(0).data(PrintsListModel::ContentFontRole).value<QFont>().family(),
        QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_FALSE(model.index(1).data(PrintsListModel::ContentFontRole).isValid());
}

TEST_F(PrintsEditorTest, AngleIsTakenModulo360)
{
    editor.newItem(false);
    for (auto [typed, angle] : { std::pair { 400, 40 }, { 360, 0 }, { 359, 359 }, { 999, 279 } }) {
        editor.setAngle(typed);
        EXPECT_EQ(editor.item()->angle, angle) << typed;
    }
}

TEST_F(PrintsEditorTest, KeepingTheAspectDividesInRealArithmeticAndTruncates)
{
    struct Case
    {
        int pw, ph, value;
        bool width, keep;
        int printW, printH;
        bool follows;
    };
    const Case cases[] = {
        { 300, 200, 150, true, true, 150, 100, true },
        { 300, 200, 100, false, true, 150, 100, true },
        { 3, 2, 100, true, true, 100, 66, true }, // 66.67 truncated
        { 3, 7, 100, false, true, 42, 100, true }, // 42.86 truncated
        { 300, 200, 150, true, false, 150, 0, false },
        { 0, 200, 150, true, true, 150, 0, false }, // no picture width: no division
    };
    for (const Case &c : cases) {
        editor.deleteItem();
        selectPicture(c.pw, c.ph);
        const bool follows = c.width ? editor.setPrintWidth(c.value, c.keep)
                                     : editor.setPrintHeight(c.value, c.keep);
        EXPECT_EQ(follows, c.follows);
        EXPECT_EQ(editor.item()->printWidth, c.printW) << c.pw << "x" << c.ph << " " << c.value;
        EXPECT_EQ(editor.item()->printHeight, c.printH) << c.pw << "x" << c.ph << " " << c.value;
    }
}

TEST_F(PrintsEditorTest, NewItemsFollowTheTabAndTheDefaultFont)
{
    FontSpec big = defaultFont();
    big.size = 20;
    editor.setDefaultTextFont(big);
    editor.newItem(true);
    editor.newItem(false);
    EXPECT_EQ(editor.selected(), 1);
    editor.addItem(true); // before the selection
    const QList<TPrintsData> &list = doc.coverPrints;
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(editor.selected(), 1);
    EXPECT_EQ(list[0].kind, 1);
    EXPECT_EQ(list[1].kind, 1);
    EXPECT_EQ(list[2].kind, 0);
    EXPECT_EQ(list[2].font.size, 20);
}

TEST_F(PrintsEditorTest, SwitchingATextItemToPicturesLeavesItWithoutAFile)
{
    editor.newItem(false);
    editor.setText("abc");
    editor.setKind(true);
    EXPECT_EQ(editor.item()->kind, 1);
    EXPECT_TRUE(editor.item()->fileName.isEmpty());
    EXPECT_TRUE(editor.item()->bitmap.isNull());
}

TEST_F(PrintsEditorTest, EnablingRulesFollowTheSelectionAndTransparency)
{
    auto state = [&] {
        const PrintsEditorState s = editor.state();
        return std::tuple { s.hasSelection, s.colorControls, s.canMoveUp, s.canMoveDown };
    };
    EXPECT_EQ(state(), std::tuple(false, false, false, false));
    editor.newItem(false);
    EXPECT_EQ(state(), std::tuple(true, false, false, false));
    editor.newItem(true);
    editor.setTransparent(true);
    EXPECT_EQ(state(), std::tuple(true, true, true, false));
    editor.select(0);
    EXPECT_EQ(state(), std::tuple(true, false, false, true));
    EXPECT_TRUE(editor.moveDown());
    EXPECT_EQ(editor.selected(), 1);
    EXPECT_EQ(doc.coverPrints[1].kind, 0);
    editor.deleteItem();
    EXPECT_EQ(state(), std::tuple(false, false, false, false));
    EXPECT_FALSE(editor.addItem(false));
    EXPECT_FALSE(editor.deleteItem());
    EXPECT_EQ(doc.coverPrints.size(), 1);
}

TEST_F(PrintsEditorTest, ChangesRefreshTheListsPage)
{
    editor.open(PrintsList::Back);
    editor.newItem(false);
    editor.setTextX(3);
    editor.setTextX(3); // unchanged: no refresh
    EXPECT_EQ(pages.pages, (QList<PreviewPage> {PreviewPage::Back, PreviewPage::Back}));
    editor.open(PrintsList::Inside);
    editor.newItem(false);
    EXPECT_EQ(pages.pages.last(), PreviewPage::Front);
    EXPECT_EQ(doc.backPrints.size(), 1);
    EXPECT_EQ(doc.insidePrints.size(), 1);
}

TEST_F(PrintsEditorTest, EachListKeepsItsSelection)
{
    editor.newItem(false);
    editor.open(PrintsList::Back);
    EXPECT_EQ(editor.selected(), -1);
    editor.open(PrintsList::Cover);
    EXPECT_EQ(editor.selected(), 0);
    doc.coverPrints.clear(); // a document was read meanwhile
    editor.open(PrintsList::Cover);
    EXPECT_EQ(editor.selected(), -1);
}

TEST_F(PrintsEditorTest, PictureLoadShowsProgressAndKeepsSizesOnFailure)
{
    QTemporaryDir dir;
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(dir.filePath("a.bmp"), "BMP"));
    selectPicture(0, 0);
    RecordingMessages messages;
    RecordingProgress progress;
    ASSERT_TRUE(editor.loadPicture(dir.filePath("a.bmp"), messages, progress));
    EXPECT_EQ(progress.texts, QStringList { QStringLiteral("データロード中です") });
    EXPECT_FALSE(progress.visible);
    editor.setPosX(7);
    // A missing file and a file that is no picture: the item keeps its
    // picture, its name and its placement, and one message says why.
    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture\n");
    text.close();
    const qint64 picture = editor.item()->bitmap.cacheKey();
    for (const char *bad : { "gone.bmp", "notes.txt" }) {
        messages.messages.clear();
        EXPECT_FALSE(editor.loadPicture(dir.filePath(bad), messages, progress));
        EXPECT_EQ(editor.item()->fileName, dir.filePath("a.bmp")) << bad;
        EXPECT_EQ(editor.item()->bitmap.cacheKey(), picture) << bad;
        EXPECT_EQ(editor.item()->pixelWidth, 300) << bad;
        EXPECT_EQ(editor.item()->printWidth, 300) << bad;
        EXPECT_EQ(editor.item()->posX, 7) << bad;
        EXPECT_EQ(messages.messages.size(), 1) << bad;
        EXPECT_FALSE(progress.visible) << bad;
    }
}

TEST_F(PrintsEditorTest, ColourPickNeedsAFileAndReloadsTheWholePicture)
{
    editor.newItem(true);
    RecordingMessages messages;
    EXPECT_TRUE(editor.pictureForColorPick(messages).isNull());
    EXPECT_EQ(messages.messages, QStringList { QStringLiteral("グラフィックが指定されていません") });

    QTemporaryDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(dir.filePath("a.bmp"), "BMP"));
    editor.item()->fileName = dir.filePath("a.bmp");
    editor.item()->cacheRect = PixelRect { 5, 5, 10, 10 };
    const QImage picture = editor.pictureForColorPick(messages);
    EXPECT_EQ(picture.size(), QSize(40, 30));
    EXPECT_EQ(editor.item()->cacheRect, (PixelRect { 0, 0, 40, 30 }));
    EXPECT_EQ(messages.messages.size(), 1);
}

TEST(PrintsPaperInfo, FaceSizesInMillimetresAndDevicePixels)
{
    const PrintsPaperInfo front = printsPaperInfo(PrintsList::Inside, 300, 600);
    EXPECT_EQ(front.widthMm, "121.0mm");
    EXPECT_EQ(front.heightMm, "119.5mm");
    EXPECT_EQ(front.widthPx, 1429);
    EXPECT_EQ(front.heightPx, 2822);
    const PrintsPaperInfo back = printsPaperInfo(PrintsList::Back, 300, 300);
    EXPECT_EQ(back.widthMm, "138.0mm");
    EXPECT_EQ(back.heightMm, "117.5mm");
    EXPECT_EQ(back.widthPx, 1629);
    EXPECT_EQ(back.heightPx, 1387);
    EXPECT_EQ(printsMmX(300, 300), "25.4mm");
}

} // namespace

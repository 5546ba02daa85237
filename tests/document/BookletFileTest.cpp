// A booklet's pages in the document: the page count and inner pages as
// change operations, their undo, and their file sections.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "base/BookletFormat.h"

using namespace cw;

namespace {

TPrintsData textItem(const QString &text, PrintsKind kind = PrintsText)
{
    TPrintsData item;
    item.kind = kind;
    item.text = text;
    item.textX = 10;
    item.textY = 20;
    item.blockWidth = 90;
    item.blockHeight = 80;
    return item;
}

} // namespace

TEST_F(FileFixture, APageCountChangeIsOneStepAndUndoesByteForByte)
{
    const QByteArray jewel = resaved(doc);
    const EditResult eight = ed.setBookletPages(8);
    // Every sheet before (front, back) and after (four sides and the back).
    EXPECT_EQ(eight.pages.size(), 5);
    EXPECT_EQ(doc.pages.size(), 6);
    EXPECT_EQ(ed.history().undoLabel(), "ブックレットのページ数");
    ed.setPageUseList(2, true);
    ed.setPageBackground(3, 0x00112233);
    EXPECT_EQ(ed.history().undoLabel(), "背景色(3ページ目)");
    ed.setPageUsePrints(7, true);
    const QByteArray full = resaved(doc);
    EXPECT_TRUE(full.startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncd-jewel\r\n"));
    EXPECT_TRUE(full.contains("\r\n\r\n[Booklet]\r\n8\r\n\r\n[Page]\r\n00ffffff\r\n1 0\r\n"));
    EXPECT_EQ(full.count("\r\n[Page]\r\n"), 6);
    EXPECT_EQ(full.count("\r\n[PagePrints]\r\n"), 6);

    // Four pages drop pages 4 to 7, of which page 7 holds something.
    EXPECT_EQ(ed.pagesWithContentDropped(4), 1);
    EXPECT_EQ(ed.pagesWithContentDropped(2), 3);
    EXPECT_EQ(bookletShrinkQuestion(1), "内容のある1ページが削除されます。よろしいですか？");
    ed.setBookletPages(4);
    const QByteArray four = resaved(doc);
    EXPECT_EQ(four.count("\r\n[Page]\r\n"), 2);
    ed.history().undo();
    EXPECT_EQ(resaved(doc), full);
    while (ed.history().canUndo())
        ed.history().undo();
    EXPECT_EQ(resaved(doc), jewel);
    while (ed.history().canRedo())
        ed.history().redo();
    EXPECT_EQ(resaved(doc), four);

    // Counts the booklet does not offer, pages it lacks and a case without a
    // booklet change nothing.
    const qsizetype steps = ed.history().undoCount();
    for (int pages : { 0, 3, 6, 20, 4 })
        EXPECT_TRUE(ed.setBookletPages(pages).isEmpty()) << pages;
    EXPECT_TRUE(ed.setPageBackground(4, 0x00ff0000).isEmpty());
    EXPECT_TRUE(ed.setPageUseList(1, true).isEmpty());
    ed.setBookletPages(2);
    ed.setCaseFormat("dvd-14");
    EXPECT_TRUE(ed.setBookletPages(8).isEmpty());
    EXPECT_EQ(ed.history().undoCount(), steps + 2);
}

TEST_F(FileFixture, ABookletsPagesAndTheirPrintsAreReadBackByteForByte)
{
    ed.setBookletPages(4);
    doc.pages[0].usePrints = true;
    doc.pages[0].prints << textItem("収録曲") << textItem("一行目\n二行目", PrintsTextBlock);
    doc.pages[1].listLayout.posY = 18;
    doc.pages[1].useList = true;
    const QByteArray bytes = resaved(doc);
    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, bytes, "b.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(back.bookletPages, 4);
    ASSERT_EQ(back.pages.size(), 2);
    ASSERT_EQ(back.pages[0].prints.size(), 2);
    EXPECT_EQ(back.pages[0].prints[1].text, "一行目\n二行目");
    EXPECT_EQ(back.pages[1].listLayout.posY, 18);
    EXPECT_EQ(resaved(back), bytes);
    EXPECT_EQ(&formatOf(back), &bookletCaseFormat(jewelCaseFormat(), 4));

    // Sections that disagree with the count are refused, and the document
    // is left a front insert of two pages, never half a booklet.
    const std::pair<QByteArray, QByteArray> damage[] = {
        { "[Booklet]\r\n4\r\n", "[Booklet]\r\n8\r\n" }, // fewer pages than the count
        { "[Booklet]\r\n4\r\n", "[Booklet]\r\n6\r\n" }, // a count not offered
        { "[Booklet]\r\n4\r\n", "[Booklet]\r\n2\r\n" },
        { "\r\n[Booklet]\r\n4\r\n", "\r\n" }, // pages without their booklet
        { "[List]\r\n", "[Page]\r\n00ffffff\r\n0 0\r\n3 003 000 009 070 030 002 002 000\r\n\r\n"
                       "[List]\r\n" }, // a page more than the count
    };
    for (const auto &[from, to] : damage) {
        QByteArray bad = bytes;
        bad.replace(from, to);
        ASSERT_NE(bad, bytes) << to.toStdString();
        EXPECT_EQ(readDocument(e2, bad, "b.cwr", progress), LoadStatus::Damaged)
            << to.toStdString();
        EXPECT_EQ(back.bookletPages, 2) << to.toStdString();
        EXPECT_TRUE(back.pages.isEmpty()) << to.toStdString();
    }
    // A file without the section is a front insert of two pages again.
    ASSERT_EQ(readDocument(e2, bytes, "b.cwr", progress), LoadStatus::Loaded);
    ed.setBookletPages(2);
    ASSERT_EQ(readDocument(e2, resaved(doc), "c.cwr", progress), LoadStatus::Loaded);
    EXPECT_EQ(back.bookletPages, 2);
    EXPECT_TRUE(back.pages.isEmpty());
}

// A page's picture is placed on a face's size by the surfaces' operations,
// each a step of its page, saved in a section of its own only when the page
// has one, read back, converted to a new resolution and undone byte for byte.
TEST_F(FileFixture, APagesPictureIsPlacedSavedAndUndoneAsItsPagesSteps)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp")); // 4 x 2
    ed.setBookletPages(8);
    const QByteArray plain = resaved(doc);
    EXPECT_FALSE(plain.contains("[PagePicture]"));
    const qsizetype steps = ed.history().undoCount();
    const PictureSlot page3 = PictureSlot::ofPage(3);
    auto placed = [this] { // looked up each time: undo puts new pages in place
        const PicturePlacement &p = doc.pages[1].picture;
        return std::array { p.printWidth, p.printHeight, p.posX, p.posY };
    };
    ed.setPictureUse(page3, true);
    // Page 3 is on the second sheet's front, [6|3]. The picture covers the
    // 1429 x 1411 face, centred: by its height.
    EXPECT_EQ(ed.chooseSurfacePicture(page3, picture, progress).pages, QList({ PreviewPage(2) }));
    EXPECT_EQ(placed(), (std::array { 2822, 1411, -696, 0 }));
    ed.applySizeMode(page3, PictureSizing::FitWidth);
    ed.applyAlignMode(page3, PictureAlignment::CentreDown);
    ed.commitPicturePosX(page3, "12");
    EXPECT_EQ(placed(), (std::array { 1429, 714, 12, 348 }));
    EXPECT_EQ(ed.history().undoLabel(), "印刷位置 横(3ページ目)");
    EXPECT_EQ(ed.pagesWithContentDropped(2), 1);

    const QByteArray withPicture = resaved(doc);
    EXPECT_EQ(withPicture.count("[PagePicture]"), 1);
    EXPECT_TRUE(withPicture.contains("\r\n1429 714 12 348\r\n\r\n[PagePrints]\r\n"));
    LabelDocument back;
    DocumentEditor e2(back);
    ASSERT_EQ(readDocument(e2, withPicture, dir.filePath("b.cwr"), progress), LoadStatus::Loaded);
    EXPECT_FALSE(back.pages[1].picture.bitmap.isNull());
    EXPECT_EQ(resaved(back), withPicture);

    // Page 8 is the inside face, no inner page: nothing changes, no step.
    EXPECT_TRUE(ed.setPictureUse(PictureSlot::ofPage(8), true).isEmpty());
    EXPECT_EQ(ed.history().undoCount(), steps + 5);
    while (ed.history().undoCount() > steps)
        ed.history().undo();
    EXPECT_EQ(resaved(doc), plain);
    while (ed.history().canRedo())
        ed.history().redo();
    EXPECT_EQ(resaved(doc), withPicture);
    doc.dpiX = doc.dpiY = 600;
    ed.convertToResolution(300, 300);
    EXPECT_EQ(placed(), (std::array { 2858, 1428, 24, 696 }));
}

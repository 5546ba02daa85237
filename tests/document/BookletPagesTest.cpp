// Designing a booklet's inner pages: the page count asked for, each page's
// free prints and list layout in the editors, the page tab's controls, and
// the booklet as the preview shows it.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "base/BookletFormat.h"
#include "document/BookletPages.h"
#include "prints/PrintsEditor.h"
#include "render/PreviewState.h"

using namespace cw;

namespace {

struct Answer : ConfirmSink
{
    bool confirm(const QString &text, const QString &caption) override
    {
        return (asked << caption + QStringLiteral(": ") + text, yes);
    }
    bool yes = false;
    QStringList asked;
};

} // namespace

TEST_F(FileFixture, FewerPagesAreAskedForOnlyWhenPagesWithContentWouldGo)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    Answer answer;
    EXPECT_FALSE(ed.chooseBookletPages(8, answer).isEmpty());
    EXPECT_TRUE(answer.asked.isEmpty()); // nothing to lose
    ed.setPageUseList(7, true);
    ed.setPageBackground(5, 0x00ff0000);
    // Down to 4 pages drops pages 4 … 7, two of them with content.
    EXPECT_TRUE(ed.chooseBookletPages(4, answer).isEmpty());
    EXPECT_EQ(answer.asked, QStringList({ "ブックレット: " + bookletShrinkQuestion(2) }));
    answer.yes = true;
    EXPECT_FALSE(ed.chooseBookletPages(4, answer).isEmpty());
    EXPECT_EQ(doc.bookletPages, 4);
    ed.history().undo();
    EXPECT_EQ(doc.pages[5].useList, true);
}

TEST_F(FileFixture, APagesFreePrintsAreEditedAsOneStepOfItsPage)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    ed.setBookletPages(8);
    const QByteArray before = resaved(doc);
    PrintsEditor prints(doc);
    prints.setRecorder(&ed.history());
    prints.open(pagePrintsList(3));
    EXPECT_EQ(prints.which(), pagePrintsList(3));
    EXPECT_TRUE(prints.newItem(PrintsText));
    prints.setText(QStringLiteral("Lyrics"));
    EXPECT_EQ(doc.pages[1].prints.size(), 1);
    EXPECT_EQ(ed.history().undoLabel(), QStringLiteral("内容(任意印刷(3ページ目))"));
    // Page 3 is on the second sheet's front, [6|3].
    EXPECT_EQ(prints.refreshPage(), PreviewPage(2));
    const QByteArray edited = resaved(doc);
    ed.history().undo();
    ed.history().undo();
    prints.listsRestored();
    EXPECT_EQ(resaved(doc), before);
    ed.history().redo();
    ed.history().redo();
    EXPECT_EQ(resaved(doc), edited);

    // A page the booklet no longer has gives way to the cover's list, and
    // the lists of pages past the last are empty and nobody's.
    ed.setBookletPages(2);
    prints.listsRestored();
    EXPECT_EQ(prints.which(), PrintsList::Cover);
    prints.open(pagePrintsList(3));
    EXPECT_EQ(prints.which(), PrintsList::Cover);
    EXPECT_TRUE(printsList(doc, pagePrintsList(3)).isEmpty());
    EXPECT_EQ(pageOfPrintsList(PrintsList::Disc), 0);
}

TEST(BookletPages, ThePageTabFollowsThePageShown)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    EXPECT_FALSE(pageControlStates(doc, 2).value("PageChoice"));
    EXPECT_FALSE(enabledStates(doc).value("PageTag"));
    ed.setBookletPages(4);
    ed.setPageUsePrints(3, true);
    EXPECT_TRUE(enabledStates(doc).value("PageTag"));
    EXPECT_FALSE(pageControlStates(doc, 2).value("PagePrintsEdit"));
    EXPECT_TRUE(pageControlStates(doc, 3).value("PagePrintsEdit"));
    EXPECT_EQ(pageControlValues(doc, 3).value("UsePagePrints"), "1");
    // The picture panel follows the page's "画像", as a surface's does.
    EXPECT_FALSE(pageControlStates(doc, 3).value("PageGraphicPosX"));
    ed.setPictureUse(PictureSlot::ofPage(3), true);
    EXPECT_TRUE(pageControlStates(doc, 3).value("PageGraphicPosX"));
    EXPECT_FALSE(pageControlStates(doc, 2).value("PageGraphicPosX"));
    EXPECT_EQ(pageControlValues(doc, 3).value("PageGraphicUse"), "1");
    // Page pictures are told from surfaces' in the parts a drawing records.
    for (PictureSlot slot : { PictureSlot(Surface::Disc), PictureSlot::ofPage(2) })
        EXPECT_EQ(pictureSlotOfOwner(pictureOwner(slot)), slot);
    EXPECT_EQ(pictureOwner(PictureSlot::ofPage(16)), 116);
    // A page's list layout is reached as a list surface of its own.
    EXPECT_EQ(listLayoutOf(doc, pageListSurface(3)), &doc.pages[1].listLayout);
    EXPECT_EQ(listLayoutOf(doc, pageListSurface(4)), nullptr);
    // A case without a booklet offers no page count.
    ed.setBookletPages(2);
    ed.setCaseFormat(QStringLiteral("dvd-14"));
    EXPECT_FALSE(enabledStates(doc).value("BookletPages"));
}

TEST(BookletPages, ThePreviewReadsTheBookletSpreadBySpread)
{
    const CaseFormat &spreads = bookletSpreadFormat(jewelCaseFormat(), 8);
    ASSERT_EQ(spreads.frontSheets, 5);
    ASSERT_EQ(spreads.sheets.size(), 6); // the back label follows
    const QStringList captions
        = { "1ページ目", "2-3ページ", "4-5ページ", "6-7ページ", "8ページ目", "裏レーベル" };
    const QStringList ids = { "pages-1", "pages-2-3", "pages-4-5", "pages-6-7", "pages-8", "back" };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(PreviewState::pageCaption(PreviewPage(i), spreads), captions[i]);
        EXPECT_EQ(spreads.sheets[i].id, ids[i]);
    }
    // Pages 1 and 8 alone, trimmed all round; the spreads' even pages on
    // the left, where the inside face lies.
    const CasePanel &cover = spreads.sheets[0].panels[0];
    EXPECT_EQ(cover.role, PanelRole::Cover);
    EXPECT_EQ(spreads.sheets[4].panels[0].role, PanelRole::Inside);
    for (const CasePanel *alone : { &cover, &spreads.sheets[4].panels[0] }) {
        EXPECT_EQ(alone->xMm, 0);
        EXPECT_TRUE(alone->outer.left && alone->outer.right);
    }
    EXPECT_EQ(spreads.sheets[2].panels[0].page, 4);
    EXPECT_EQ(spreads.sheets[2].panels[0].xMm, jewelCaseFormat().sheets[0].panels[1].xMm);
    EXPECT_GT(spreads.sheets[2].panels[1].xMm, spreads.sheets[2].panels[0].xMm);

    // Turning stays among the booklet's sheets.
    EXPECT_EQ(PreviewState::turnedPage(PreviewPage(4), spreads, -1), PreviewPage(3));
    EXPECT_EQ(PreviewState::turnedPage(PreviewPage(4), spreads, 1), std::nullopt);
    EXPECT_EQ(PreviewState::turnedPage(PreviewPage(5), spreads, -1), std::nullopt);
    // Two pages are the plain insert, as before.
    EXPECT_EQ(&bookletSpreadFormat(jewelCaseFormat(), 2), &jewelCaseFormat());
    EXPECT_EQ(PreviewState::turnedPage(PreviewPage::Front, jewelCaseFormat(), 1), std::nullopt);
}

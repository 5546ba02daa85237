#include <gtest/gtest.h>

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

#include "prints/PrintsEditor.h"
#include "render/DocumentPages.h"
#include "render/ui/TPreviewWindow.h"

using namespace cw;

namespace {

// A preview bound to a document through the change operations, as the main
// window binds it.
struct Harness
{
    LabelDocument doc;
    PrintOptions options;
    DocumentEditor editor { doc };
    PrintsEditor prints { doc };
    TPreviewWindow window { documentPageDrawer(doc, &options) };
    int changes = 0;
    QList<PagePart> opened;
    QList<bool> holds;

    Harness()
    {
        prints.setRecorder(&editor.history());
        for (Surface s : kAllSurfaces) {
            doc.surface(s).title.use = true;
            doc.surface(s).title.text = QStringLiteral("Tessellane");
            doc.surface(s).title.font.size = 24;
            doc.surface(s).title.posMode = TitlePosition::Centre;
        }
        window.setEditing({ &editor, &prints,
            [this](const EditResult &r, const PagePart &) {
                ++changes;
                for (PreviewPage p : r.pages)
                    window.RequestPreviewRefresh(p);
            },
            [this](const PagePart &part) { opened.append(part); }, {},
            [this](bool on) { holds.append(on); } });
        window.show();
    }
    PreviewPageView &view() { return *window.pageView(); }
    QPoint centreOf(PartKind kind, int owner, int index = -1)
    {
        PagePart p;
        p.kind = kind;
        p.owner = owner;
        p.index = index;
        const int i = findPart(view().boxes(), p);
        EXPECT_GE(i, 0);
        return i >= 0 ? view().toWidget(view().boxes()[i].bounds).center() : QPoint();
    }
};

} // namespace

TEST(PreviewDirectEdit, ClickSelectsAndEmptyPaperSelectsNothing)
{
    Harness h;
    for (int zoom : { 0, 1, 2 }) {
        while (h.window.state().zoom() < zoom)
            h.window.Zoom2Click();
        QTest::mouseClick(&h.view(), Qt::LeftButton, {}, h.centreOf(PartKind::Title, 0));
        ASSERT_TRUE(h.view().hasSelection()) << zoom;
        EXPECT_EQ(h.view().selection().kind, PartKind::Title);
        QTest::mouseClick(&h.view(), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_FALSE(h.view().hasSelection()) << zoom;
    }
    EXPECT_EQ(h.changes, 0); // a click moves nothing
}

// At 96 dpi one widget pixel is 25.399 / 96 mm: a drag moves the title by
// the nearest whole millimetres (38 pixels are 10.05 mm, 19 are 5.03, 6 are
// 1.59, 2 are 0.53), never past 0, as one step; the tip shows where it went.
TEST(PreviewDirectEdit, DragMovesTheTitleInWholeMillimetresAsOneStep)
{
    const struct
    {
        int startX, startY;
        QPoint drag;
        int x, y;
    } cases[] = {
        { 20, 30, { 38, 19 }, 30, 35 },
        { 20, 30, { -19, -38 }, 15, 20 },
        { 20, 30, { 6, 2 }, 22, 31 },
        { 20, 30, { 1, -1 }, 20, 30 }, // 0.26 mm either way: it stays
        { 3, 7, { -38, -38 }, 0, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("from %1,%2 by %3,%4")
                         .arg(c.startX)
                         .arg(c.startY)
                         .arg(c.drag.x())
                         .arg(c.drag.y())
                         .toStdString());
        Harness h;
        TitleSettings &t = h.doc.top.title;
        t.posMode = TitlePosition::Custom;
        t.customXUse = t.customYUse = true;
        t.customX = c.startX;
        t.customY = c.startY;
        h.window.RequestPreviewRefresh(PreviewPage::Front);
        h.window.Zoom2Click();
        h.window.Zoom2Click(); // 96 dpi: one canvas pixel per widget pixel
        const QPoint from = h.centreOf(PartKind::Title, 0);
        const qsizetype stepsBefore = h.editor.history().undoCount();
        QTest::mousePress(&h.view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&h.view(), from + c.drag / 2);
        QTest::mouseMove(&h.view(), from + c.drag);
        QTest::mouseRelease(&h.view(), Qt::LeftButton, {}, from + c.drag);
        EXPECT_EQ(t.customX, c.x);
        EXPECT_EQ(t.customY, c.y);
        const bool moved = c.x != c.startX || c.y != c.startY;
        if (moved) {
            EXPECT_EQ(h.view().lastTip(), QStringLiteral("横 %1mm 縦 %2mm").arg(c.x).arg(c.y));
        }
        EXPECT_EQ(h.editor.history().undoCount(), stepsBefore + (moved ? 1 : 0));
        if (moved) {
            h.editor.history().undo();
            EXPECT_EQ(t.customX, c.startX);
            EXPECT_EQ(t.customY, c.startY);
            h.editor.history().redo();
            EXPECT_EQ(t.customX, c.x);
            EXPECT_EQ(t.customY, c.y);
        }
    }
}

// A title that still prints centred takes a position of its own with the
// first drag, and undoing the drag centres it again.
TEST(PreviewDirectEdit, DraggingACentredTitleGivesItAPositionOfItsOwn)
{
    Harness h;
    h.window.Zoom2Click();
    h.window.Zoom2Click();
    const QPoint from = h.centreOf(PartKind::Title, 0);
    QTest::mousePress(&h.view(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&h.view(), from + QPoint(38, 19));
    QTest::mouseRelease(&h.view(), Qt::LeftButton, {}, from + QPoint(38, 19));
    const TitleSettings &t = h.doc.top.title;
    EXPECT_EQ(t.posMode, TitlePosition::Custom);
    EXPECT_TRUE(t.customXUse && t.customYUse);
    h.editor.history().undo();
    EXPECT_EQ(h.doc.top.title.posMode, TitlePosition::Centre);
}

// A picture item moves in device pixels of the document's resolution: at
// 300 dpi a widget pixel of the 96-dpi preview is 3.125 of them, rounded to
// the nearest (32 pixels are 100, 16 are 50, -3 are -9.375, 5 are 15.625).
TEST(PreviewDirectEdit, DragMovesAPictureItemInDevicePixelsAt300Dpi)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.bmp"));
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(file));
    const struct
    {
        QPoint drag;
        int x, y;
    } cases[] = {
        { { 32, 16 }, 200, 150 },
        { { -3, 5 }, 91, 116 },
        { { -32, -48 }, 0, -50 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("by %1,%2").arg(c.drag.x()).arg(c.drag.y()).toStdString());
        Harness h;
        h.doc.dpiX = h.doc.dpiY = 300;
        h.doc.top.useCoverPrints = true;
        TPrintsData pic;
        pic.kind = 1;
        pic.fileName = file;
        pic.pixelWidth = 80;
        pic.pixelHeight = 60;
        pic.printWidth = 300;
        pic.printHeight = 225;
        pic.posX = pic.posY = 100;
        h.doc.coverPrints.append(pic);
        h.window.RequestPreviewRefresh(PreviewPage::Front);
        h.window.Zoom2Click();
        h.window.Zoom2Click();
        const QPoint from = h.centreOf(PartKind::PrintPicture, 0, 0);
        const qsizetype steps = h.editor.history().undoCount();
        QTest::mousePress(&h.view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&h.view(), from + c.drag / 2);
        QTest::mouseMove(&h.view(), from + c.drag);
        QTest::mouseRelease(&h.view(), Qt::LeftButton, {}, from + c.drag);
        const TPrintsData &now = h.doc.coverPrints[0];
        EXPECT_EQ(now.posX, c.x);
        EXPECT_EQ(now.posY, c.y);
        EXPECT_EQ(now.printWidth, 300); // moved, not sized
        EXPECT_EQ(h.view().lastTip(), QStringLiteral("横 %1px 縦 %2px").arg(c.x).arg(c.y));
        EXPECT_EQ(h.editor.history().undoCount(), steps + 1);
        h.editor.history().undo();
        EXPECT_EQ(h.doc.coverPrints[0].posX, 100);
        EXPECT_EQ(h.doc.coverPrints[0].posY, 100);
    }
}

TEST(PreviewDirectEdit, KeyboardSelectsMovesAndClears)
{
    Harness h;
    h.view().setFocus();
    QTest::keyClick(&h.view(), Qt::Key_Tab);
    ASSERT_TRUE(h.view().hasSelection());
    EXPECT_EQ(h.view().selection().kind, PartKind::Title);
    QTest::keyClick(&h.view(), Qt::Key_Right); // starts from where it printed
    const int x0 = h.doc.top.title.customX - 1;
    const qsizetype steps = h.editor.history().undoCount();
    QTest::keyClick(&h.view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&h.view(), Qt::Key_Down);
    EXPECT_EQ(h.doc.top.title.customX, x0 + 11);
    // The run of arrow presses is one step with the first one.
    EXPECT_EQ(h.editor.history().undoCount(), steps);
    QTest::keyClick(&h.view(), Qt::Key_Escape);
    EXPECT_FALSE(h.view().hasSelection());
    h.editor.history().undo();
    EXPECT_EQ(h.doc.top.title.posMode, TitlePosition::Centre);
}

TEST(PreviewDirectEdit, EveryThingIsAnAccessibleChildThatTakesTheFocus)
{
    Harness h;
    h.doc.top.useCoverPrints = true;
    TPrintsData item;
    item.kind = 0;
    item.text = QStringLiteral("Tessellane Records");
    item.textX = 10;
    item.textY = 10;
    item.font.size = 12;
    h.doc.coverPrints.append(item);
    h.window.RequestPreviewRefresh(PreviewPage::Front);
    QAccessibleInterface *page = QAccessible::queryAccessibleInterface(&h.view());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->childCount(), int(h.view().boxes().size()));
    QStringList names;
    for (int i = 0; i < page->childCount(); ++i)
        names << page->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(names.contains(QStringLiteral("タイトル(表レーベル)"))) << names.join(u'|').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("任意印刷(前面): Tessellane Records")));
    // Reading order: the items are listed top to bottom.
    const int title = int(names.indexOf(QStringLiteral("タイトル(表レーベル)")));
    QAccessibleInterface *child = page->child(title);
    EXPECT_EQ(page->indexOfChild(child), title);
    QAccessibleActionInterface *actions = child->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    ASSERT_TRUE(h.view().hasSelection());
    EXPECT_EQ(h.view().selection().kind, PartKind::Title);
    EXPECT_TRUE(child->state().selected);
    EXPECT_EQ(page->focusChild(), child);
    // The focused child moves with the arrow keys like any selection.
    QTest::keyClick(&h.view(), Qt::Key_Down);
    EXPECT_EQ(h.doc.top.title.posMode, TitlePosition::Custom);
}

// Each corner's handle sizes the picture; the opposite corner stays where it
// was, so a left or top handle moves the picture too, all in one step.
TEST(PreviewDirectEdit, EachHandleSizesAPictureItemAsOneStep)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.bmp"));
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(file));
    // 32 pixels at 96 dpi are 100 device pixels at 300: 300 x 225 grows to
    // 400 x 300 (the height follows the width), from (100, 100).
    const struct
    {
        SizeCorner corner;
        QPoint drag;
        int posX, posY;
    } cases[] = {
        { SizeCorner::BottomRight, { 32, 3 }, 100, 100 },
        { SizeCorner::BottomLeft, { -32, 3 }, 0, 100 },
        { SizeCorner::TopRight, { 32, -3 }, 100, 25 },
        { SizeCorner::TopLeft, { -32, -3 }, 0, 25 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.corner));
        Harness h;
        h.window.Zoom2Click();
        h.window.Zoom2Click(); // 96 dpi: one canvas pixel per widget pixel
        h.doc.top.useCoverPrints = true;
        TPrintsData pic;
        pic.kind = 1;
        pic.fileName = file;
        pic.pixelWidth = 80;
        pic.pixelHeight = 60;
        pic.printWidth = 300;
        pic.printHeight = 225;
        pic.posX = pic.posY = 100;
        h.doc.coverPrints.append(pic);
        h.window.RequestPreviewRefresh(PreviewPage::Front);
        QTest::mouseClick(&h.view(), Qt::LeftButton, {}, h.centreOf(PartKind::PrintPicture, 0, 0));
        ASSERT_TRUE(h.view().hasSelection());
        const QRect handle = h.view().sizeHandle(c.corner);
        ASSERT_FALSE(handle.isEmpty());
        EXPECT_EQ(h.holds, (QList<bool> { true, false })); // the click could have been a drag
        h.holds.clear();
        const qsizetype steps = h.editor.history().undoCount();
        const QPoint from = handle.center();
        QTest::mousePress(&h.view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&h.view(), from + c.drag / 2);
        QTest::mouseMove(&h.view(), from + c.drag);
        QTest::mouseRelease(&h.view(), Qt::LeftButton, {}, from + c.drag);
        const TPrintsData &now = h.doc.coverPrints[0];
        EXPECT_EQ(now.printWidth, 400);
        EXPECT_EQ(now.printHeight, 300);
        EXPECT_EQ(now.posX, c.posX);
        EXPECT_EQ(now.posY, c.posY);
        EXPECT_EQ(h.view().lastTip(), QStringLiteral("幅 400px 高さ 300px"));
        // Picture files stayed decoded during the drag only.
        EXPECT_EQ(h.holds, (QList<bool> { true, false }));
        EXPECT_EQ(h.editor.history().undoCount(), steps + 1);
        h.editor.history().undo();
        EXPECT_EQ(h.doc.coverPrints[0].printWidth, 300);
        EXPECT_EQ(h.doc.coverPrints[0].posX, 100);
        EXPECT_EQ(h.doc.coverPrints[0].posY, 100);
    }
}

// A text block's handle drag sizes its box in millimetres, one step, and
// holds no picture files.
TEST(PreviewDirectEdit, ATextBlocksHandleSizesItsBox)
{
    Harness h;
    h.window.Zoom2Click();
    h.window.Zoom2Click(); // 96 dpi: one canvas pixel per widget pixel
    h.doc.top.useCoverPrints = true;
    TPrintsData block;
    block.kind = PrintsTextBlock;
    block.text = QStringLiteral("Verse one"); // picked on its line
    block.textX = block.textY = 10;
    block.blockWidth = 60;
    block.blockHeight = 50;
    h.doc.coverPrints.append(block);
    h.window.RequestPreviewRefresh(PreviewPage::Front);
    QTest::mouseClick(&h.view(), Qt::LeftButton, {}, h.centreOf(PartKind::PrintText, 0, 0));
    ASSERT_TRUE(h.view().hasSelection());
    const QRect handle = h.view().sizeHandle(SizeCorner::BottomRight);
    ASSERT_FALSE(handle.isEmpty());
    h.holds.clear();
    const qsizetype steps = h.editor.history().undoCount();
    const QPoint from = handle.center();
    QTest::mousePress(&h.view(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&h.view(), from + QPoint(19, 0));
    QTest::mouseMove(&h.view(), from + QPoint(38, 38)); // 10 mm each way
    QTest::mouseRelease(&h.view(), Qt::LeftButton, {}, from + QPoint(38, 38));
    EXPECT_EQ(h.doc.coverPrints[0].blockWidth, 70);
    EXPECT_EQ(h.doc.coverPrints[0].blockHeight, 60);
    EXPECT_EQ(h.view().lastTip(), QStringLiteral("幅 70mm 高さ 60mm"));
    EXPECT_TRUE(h.holds.isEmpty());
    EXPECT_EQ(h.editor.history().undoCount(), steps + 1);
}

TEST(PreviewDirectEdit, DoubleClickAndEnterOpenWhereTheThingIsEdited)
{
    Harness h;
    QTest::mouseDClick(&h.view(), Qt::LeftButton, {}, h.centreOf(PartKind::Title, 0));
    ASSERT_EQ(h.opened.size(), 1);
    EXPECT_EQ(h.opened[0].kind, PartKind::Title);
    EXPECT_EQ(h.opened[0].owner, 0);
    h.window.PreviewBottomShowClick();
    EXPECT_FALSE(h.view().hasSelection()); // the front's title is not on the back
    h.view().setFocus();
    QTest::keyClick(&h.view(), Qt::Key_Tab);
    ASSERT_TRUE(h.view().hasSelection());
    QTest::keyClick(&h.view(), Qt::Key_Return);
    ASSERT_EQ(h.opened.size(), 2);
    EXPECT_TRUE(h.opened[1].sameThing(h.view().selection()));
    EXPECT_EQ(h.changes, 0); // opening changes nothing
}

// Handles sit around corners on or near the widget; a corner of a thing
// that reaches far off the page (up to the largest integer, where a size
// typed as 2,147,483,000 pixels ends) has none, and nothing overflows.
TEST(PreviewDirectEdit, HandlesOnlyForCornersOnTheWidget)
{
    const QRect widget(0, 0, 523, 302);
    const struct
    {
        QPoint corner;
        QRect handle;
    } cases[] = {
        { QPoint(0, 0), QRect(-2, -2, 5, 5) },
        { QPoint(522, 301), QRect(520, 299, 5, 5) },
        { QPoint(-5, 100), QRect(-7, 98, 5, 5) },
        { QPoint(-6, 100), QRect() },
        { QPoint(528, 100), QRect() },
        { QPoint(2147483645, 2147483645), QRect() },
        { QPoint(-2147483647, 10), QRect() },
    };
    for (const auto &c : cases)
        EXPECT_EQ(previewHandleAround(c.corner, widget), c.handle) << c.corner.x() << "," << c.corner.y();
}

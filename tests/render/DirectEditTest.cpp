#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "prints/PrintsEditor.h"
#include "render/DirectEdit.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"
#include "render/DrawSheet.h"
#include "document/BookletPages.h"
#include "tracklist/ListLayoutEditor.h"

using namespace cw;

namespace cw {
// Failures name the two numbers.
void PrintTo(const PartPosition &p, std::ostream *os)
{
    *os << "{" << p.x << ", " << p.y << "}";
}
} // namespace cw

namespace {

constexpr int kW = 1046, kH = 604; // the 96-dpi preview page

QList<PartBox> frontBoxes(LabelDocument &doc)
{
    RecordingCanvas inner(96, 96);
    PartBoxCanvas c(inner);
    CountingReader reader;
    DrawFrontPage(c, doc, optionsOff(), 96, 96, kW, kH, &reader);
    return c.boxes();
}

QList<PartBox> backBoxes(LabelDocument &doc, bool sameDirection = false)
{
    RecordingCanvas inner(96, 96);
    PartBoxCanvas c(inner);
    CountingReader reader;
    PrintOptions o = optionsOff();
    o.spinesSameDirection = sameDirection;
    DrawBackPage(c, doc, o, 96, 96, kW, kH, &reader);
    return c.boxes();
}

TPrintsData textItem(const QString &text, int x, int y, int angle = 0)
{
    TPrintsData t;
    t.kind = 0;
    t.text = text;
    t.textX = x;
    t.textY = y;
    t.angle = angle;
    t.font.size = 20;
    return t;
}

// A document with titles on every surface, a list on the inside face and
// one free text on the cover.
struct Fixture
{
    LabelDocument doc;
    DocumentEditor editor { doc };
    PrintsEditor prints { doc };
    Fixture()
    {
        prints.setRecorder(&editor.history());
        for (Surface s : kAllSurfaces) {
            doc.surface(s).title.use = true;
            doc.surface(s).title.text = QStringLiteral("Tessellane");
            doc.surface(s).title.font.size = 20;
            doc.surface(s).title.posMode = TitlePosition::Centre;
        }
        doc.top.useCoverPrints = true;
        doc.coverPrints.append(textItem(QStringLiteral("Records"), 10, 20));
    }
    PartEditors editors() { return { editor, prints }; }
};

PagePart pp(PartKind kind, int owner, int index = -1)
{
    PagePart p;
    p.kind = kind;
    p.owner = owner;
    p.index = index;
    return p;
}

PartBox boxOf(const QList<PartBox> &boxes, PartKind kind, int owner, int index = -1)
{
    const int i = findPart(boxes, pp(kind, owner, index));
    EXPECT_GE(i, 0) << int(kind) << " " << owner;
    return i >= 0 ? boxes[i] : PartBox();
}

} // namespace

TEST(PartBoxCanvas, MarkingPartsChangesNothingThatIsDrawn)
{
    Fixture f;
    RecordingCanvas plain(96, 96), inner(96, 96);
    PartBoxCanvas boxes(inner);
    DrawFrontPage(plain, f.doc, optionsOff(), 96, 96, kW, kH);
    DrawFrontPage(boxes, f.doc, optionsOff(), 96, 96, kW, kH);
    EXPECT_EQ(plain.lines(), inner.lines());
    RecordingCanvas plainBack(96, 96), innerBack(96, 96);
    PartBoxCanvas backBoxes(innerBack);
    DrawBackPage(plainBack, f.doc, optionsOff(), 96, 96, kW, kH);
    DrawBackPage(backBoxes, f.doc, optionsOff(), 96, 96, kW, kH);
    EXPECT_EQ(plainBack.lines(), innerBack.lines());
}

TEST(PartBoxCanvas, CustomTitleLandsAtItsMillimetres)
{
    Fixture f;
    TitleSettings &t = f.doc.top.title;
    t.posMode = TitlePosition::Custom;
    t.customXUse = t.customYUse = true;
    t.customX = 12;
    t.customY = 30;
    const QList<PartBox> boxes = frontBoxes(f.doc);
    const PartBox &b = boxOf(boxes, PartKind::Title, 0);
    const FrontPageGeometry g = computeFrontPageGeometry(96, 96, kW, kH);
    const PageScale s = pageScale(96, 96);
    EXPECT_EQ(b.part.origin, QPoint(g.L + g.W, g.T));
    EXPECT_EQ(b.bounds.left(), int(g.L + g.W + 12 * s.kx));
    EXPECT_EQ(b.bounds.top(), g.T + int(30 * s.ky));
    EXPECT_EQ((partPosition(f.doc, b, 96, 96)), (PartPosition { 12, 30 }));
}

TEST(PartBoxCanvas, TurnedTextIsHitOnlyOnItsTurnedBox)
{
    Fixture f;
    f.doc.coverPrints[0] = textItem(QStringLiteral("Records Records"), 20, 40, 45);
    const QList<PartBox> boxes = frontBoxes(f.doc);
    const PartBox &b = boxOf(boxes, PartKind::PrintText, 0, 0);
    ASSERT_EQ(b.pieces.size(), 1);
    EXPECT_EQ(b.escapement, 450);
    // Turned 45 degrees up about its top-left reference point: the corner of
    // the bounding rectangle above the reference point is empty paper.
    const QPoint ref = b.part.origin + QPoint(int(20 * pageScale(96, 96).kx), 0);
    EXPECT_FALSE(b.contains(b.bounds.topLeft() + QPoint(1, 1)));
    EXPECT_FALSE(b.contains(QPoint(ref.x() + 2, b.bounds.bottom() - 1)));
    EXPECT_TRUE(b.contains(b.bounds.center()));
}

TEST(PartBoxCanvas, HitTestTakesTheTopmostThingAndEmptyPaperNothing)
{
    Fixture f;
    // Two items on the same spot: the first of the list prints on top.
    f.doc.coverPrints.append(textItem(QStringLiteral("Records"), 10, 20));
    const QList<PartBox> boxes = frontBoxes(f.doc);
    const PartBox &first = boxOf(boxes, PartKind::PrintText, 0, 0);
    const int hit = partAt(boxes, first.bounds.center());
    ASSERT_GE(hit, 0);
    EXPECT_TRUE(boxes[hit].part.sameThing(pp(PartKind::PrintText, 0, 0)));
    EXPECT_EQ(partAt(boxes, QPoint(2, 2)), -1);
    const PartBox &title = boxOf(boxes, PartKind::Title, 0);
    EXPECT_EQ(boxes[partAt(boxes, title.bounds.center())].part.kind, PartKind::Title);
}

TEST(DirectEdit, NamesSayWhatAThingIs)
{
    Fixture f;
    const struct
    {
        PagePart part;
        const char16_t *name;
    } cases[] = {
        { pp(PartKind::Title, 0), u"タイトル(表レーベル)" },
        { pp(PartKind::Title, 3), u"タイトル(背表紙(右))" },
        { pp(PartKind::Picture, 1), u"画像(裏レーベル)" },
        { pp(PartKind::List, 0), u"リスト(表レーベル(裏))" },
        { pp(PartKind::List, 1), u"リスト(裏レーベル)" },
        { pp(PartKind::PrintText, 0, 0), u"任意印刷(前面): Records" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(partName(f.doc, c.part), QString::fromUtf16(c.name));
}

TEST(DirectEdit, DraggedTitleBecomesCustomAndItsLinkedBackFollowsTheMode)
{
    Fixture f;
    f.editor.setTitleSameAsFront(Surface::Bottom, true);
    const QList<PartBox> boxes = frontBoxes(f.doc);
    const PartBox &b = boxOf(boxes, PartKind::Title, 0);
    const PartPosition start = partPosition(f.doc, b, 96, 96);
    // 38 px at 96 dpi: 10.05 mm -> 10; 19 px: 5.03 mm -> 5.
    const PartPosition to = draggedPosition(f.doc, b, start, QPoint(38, 19), 96, 96);
    EXPECT_EQ((to), (PartPosition { start.x + 10, start.y + 5 }));
    const EditResult r = placePart(f.editors(), b.part, to);
    const TitleSettings &t = f.doc.top.title;
    EXPECT_EQ(t.posMode, TitlePosition::Custom);
    EXPECT_TRUE(t.customXUse);
    EXPECT_TRUE(t.customYUse);
    EXPECT_EQ(t.customX, to.x);
    EXPECT_EQ(t.customY, to.y);
    EXPECT_EQ(f.doc.bottom.title.posMode, TitlePosition::Custom);
    EXPECT_TRUE(r.refreshes(PreviewPage::Front));
    // Where it lands now is where the values say.
    const PartBox &moved = boxOf(frontBoxes(f.doc), PartKind::Title, 0);
    EXPECT_EQ((partPosition(f.doc, moved, 96, 96)), to);
    // One step takes the whole move back.
    EXPECT_EQ(f.editor.history().undoLabel(), QStringLiteral("移動(タイトル(表レーベル))"));
    f.editor.history().undo();
    EXPECT_EQ(f.doc.top.title.posMode, TitlePosition::Centre);
    EXPECT_EQ(f.doc.bottom.title.posMode, TitlePosition::Centre);
}

TEST(DirectEdit, TitlePositionsAreCutToTheirFields)
{
    Fixture f;
    const PagePart title = pp(PartKind::Title, 0);
    placePart(f.editors(), title, { -4, 1200 });
    EXPECT_EQ(f.doc.top.title.customX, 0);
    EXPECT_EQ(f.doc.top.title.customY, 999);
}

TEST(DirectEdit, SpineTitlesMoveAlongTheSpineInTheirReadingDirection)
{
    const struct
    {
        Surface spine;
        int drag; // canvas pixels down
        int start, expected;
    } cases[] = {
        { Surface::Right, 38, 20, 30 }, // reads downward: down is a larger offset
        { Surface::Left, 38, 20, 10 }, // reads upward: down is a smaller offset
        { Surface::Right, 4000, 20, 115 }, // cut to the spine's 115 mm
        { Surface::Left, 4000, 20, 0 },
    };
    for (const auto &c : cases) {
        Fixture f;
        f.doc.surface(c.spine).title.posMode = TitlePosition::Custom;
        f.doc.surface(c.spine).title.offset = c.start;
        const QList<PartBox> boxes = backBoxes(f.doc);
        const PartBox &b = boxOf(boxes, PartKind::Title, int(c.spine));
        EXPECT_EQ(partPosition(f.doc, b, 96, 96).y, c.start);
        const PartPosition to
            = draggedPosition(f.doc, b, partPosition(f.doc, b, 96, 96), QPoint(7, c.drag), 96, 96);
        placePart(f.editors(), b.part, to);
        EXPECT_EQ(f.doc.surface(c.spine).title.offset, c.expected) << int(c.spine);
    }
}

TEST(DirectEdit, SpineTitleStartsWhereItPrinted)
{
    for (Surface spine : { Surface::Left, Surface::Right }) {
        Fixture f;
        f.doc.surface(spine).title.posMode = TitlePosition::Top;
        const PartBox b = boxOf(backBoxes(f.doc), PartKind::Title, int(spine));
        const PartPosition start = partPosition(f.doc, b, 96, 96);
        // "上" starts 1 mm in from the spine's leading end: offset 0.
        EXPECT_EQ(start.y, 0) << int(spine);
        placePart(f.editors(), b.part, start);
        EXPECT_EQ(f.doc.surface(spine).title.posMode, TitlePosition::Custom);
        const PartBox after = boxOf(backBoxes(f.doc), PartKind::Title, int(spine));
        EXPECT_EQ(after.bounds, b.bounds) << int(spine);
    }
}

TEST(DirectEdit, FreeItemsMoveInTheirUnits)
{
    Fixture f;
    TPrintsData pic;
    pic.kind = 1;
    pic.posX = 100;
    pic.posY = 50;
    f.doc.coverPrints.append(pic);
    const PagePart text = pp(PartKind::PrintText, 0, 0);
    const PagePart picture = pp(PartKind::PrintPicture, 0, 1);
    PartBox tb;
    tb.part = text;
    PartBox pb;
    pb.part = picture;
    // 96 dpi canvas, 300 dpi document: 10 canvas pixels are 31.25 -> 31 device pixels.
    EXPECT_EQ((draggedPosition(f.doc, pb, { 100, 50 }, QPoint(10, -10), 96, 96)),
        (PartPosition { 131, 19 }));
    placePart(f.editors(), picture, { 131, 19 });
    EXPECT_EQ(f.doc.coverPrints[1].posX, 131);
    EXPECT_EQ(f.doc.coverPrints[1].posY, 19);
    placePart(f.editors(), text, steppedPosition(tb, partPosition(f.doc, tb, 96, 96), 10, -1));
    EXPECT_EQ(f.doc.coverPrints[0].textX, 20);
    EXPECT_EQ(f.doc.coverPrints[0].textY, 19);
    EXPECT_EQ(positionTip(text, { 12, 30 }), QStringLiteral("横 12mm 縦 30mm"));
    EXPECT_EQ(positionTip(picture, { 131, 19 }), QStringLiteral("横 131px 縦 19px"));
}

TEST(DirectEdit, DraggedPictureBecomesCustomAndTheFollowingBackKeepsItsLink)
{
    Fixture f;
    PicturePlacement &front = f.doc.top.picture;
    front.use = true;
    front.fileName = QStringLiteral("cover.png");
    front.pixelWidth = 800;
    front.pixelHeight = 600;
    front.printWidth = 800;
    front.printHeight = 600;
    f.editor.setPictureSameAsFront(true);
    const PagePart part = pp(PartKind::Picture, 0);
    placePart(f.editors(), part, { 40, 60 });
    EXPECT_EQ(front.alignMode, PictureAlignment::Custom);
    EXPECT_EQ(front.posX, 40);
    EXPECT_EQ(front.posY, 60);
    // The back follows its link exactly as when the numbers are typed.
    Fixture typed;
    typed.doc.top.picture = f.doc.top.picture;
    typed.doc.top.picture.posX = typed.doc.top.picture.posY = 0;
    typed.doc.top.picture.alignMode = PictureAlignment::Left;
    typed.editor.setPictureSameAsFront(true);
    typed.editor.applyAlignMode(Surface::Top, PictureAlignment::Custom);
    typed.editor.setPicturePosX(Surface::Top, 40);
    typed.editor.setPicturePosY(Surface::Top, 60);
    EXPECT_EQ(f.doc.bottom.picture.posX, typed.doc.bottom.picture.posX);
    EXPECT_EQ(f.doc.bottom.picture.posY, typed.doc.bottom.picture.posY);
    EXPECT_EQ(f.doc.bottom.picture.alignMode, typed.doc.bottom.picture.alignMode);
}

TEST(DirectEdit, ListBlockStaysWithinTheLayoutMaxima)
{
    Fixture f;
    const PagePart list = pp(PartKind::List, 1);
    placePart(f.editors(), list, { 5, 7 });
    EXPECT_EQ(f.doc.listLayout[1].posX, 5);
    EXPECT_EQ(f.doc.listLayout[1].posY, 7);
    placePart(f.editors(), list, { 5000, -3 });
    ListLayoutEditor limits;
    limits.open(f.doc.listLayout[1], 1);
    EXPECT_EQ(f.doc.listLayout[1].posX, limits.maximum(LayoutField::PosX));
    EXPECT_EQ(f.doc.listLayout[1].posY, 0);
    f.editor.history().undo();
    EXPECT_EQ(f.doc.listLayout[1].posX, 5);
}

TEST(DirectEdit, ReadingOrderIsTopToBottomThenLeftToRight)
{
    QList<PartBox> boxes(3);
    boxes[0].bounds = QRect(50, 40, 10, 10);
    boxes[1].bounds = QRect(10, 40, 10, 10);
    boxes[2].bounds = QRect(90, 5, 10, 10);
    EXPECT_EQ(readingOrder(boxes), (QList<int> { 2, 1, 0 }));
}

TEST(DirectEdit, PicturesAreSizedKeepingTheirAspectWhenLocked)
{
    const struct
    {
        bool item; // a picture item rather than the cover picture
        bool keep;
        PartPosition pixels, size, expected;
    } cases[] = {
        { false, true, { 800, 600 }, { 400, 999 }, { 400, 300 } },
        { false, false, { 800, 600 }, { 400, 999 }, { 400, 999 } },
        { true, true, { 800, 600 }, { 200, 7 }, { 200, 150 } },
        { true, false, { 800, 600 }, { 200, 7 }, { 200, 7 } },
        // Square stays square: 1300 / 600 is no exact floating-point ratio.
        { false, true, { 600, 600 }, { 1300, 1299 }, { 1300, 1300 } },
        { true, true, { 600, 600 }, { 1300, 1299 }, { 1300, 1300 } },
        { false, true, { 1600, 1600 }, { 1429, 1 }, { 1429, 1429 } },
        { false, true, { 6000, 4000 }, { 8467, 1 }, { 8467, 5644 } },
    };
    for (const auto &c : cases) {
        Fixture f;
        PicturePlacement &front = f.doc.top.picture;
        front.use = true;
        front.fileName = QStringLiteral("cover.png");
        front.pixelWidth = front.printWidth = c.pixels.x;
        front.pixelHeight = front.printHeight = c.pixels.y;
        front.keepAspect = c.keep;
        TPrintsData pic;
        pic.kind = 1;
        pic.pixelWidth = pic.printWidth = c.pixels.x;
        pic.pixelHeight = pic.printHeight = c.pixels.y;
        f.doc.coverPrints.append(pic);
        const PagePart part = c.item ? pp(PartKind::PrintPicture, 0, 1) : pp(PartKind::Picture, 0);
        ASSERT_TRUE(resizable(part));
        sizePart(f.editors(), part, c.size, c.keep);
        EXPECT_EQ(partSize(f.doc, part), c.expected) << c.item << c.keep << " " << c.size.x;
        EXPECT_EQ(f.editor.history().undoCount(), 1);
        f.editor.history().undo();
        EXPECT_EQ(partSize(f.doc, part), c.pixels);
    }
    Fixture f;
    EXPECT_FALSE(resizable(pp(PartKind::Title, 0)));
    // 10 canvas pixels at 96 dpi are 31.25 device pixels at 300 dpi; never below 1.
    EXPECT_EQ((draggedSize(f.doc, { 100, 100 }, QPoint(10, -500), 96, 96)),
        (PartPosition { 131, 1 }));
    EXPECT_EQ(sizeTip({ 400, 300 }), QStringLiteral("幅 400px 高さ 300px"));
}

// A handle drag away from the picture's opposite corner enlarges it, from any
// corner, and the position keeps that opposite corner where it was.
TEST(DirectEdit, EachCornerSizesAboutItsOppositeCorner)
{
    Fixture f;
    // 32 canvas pixels at 96 dpi are 100 device pixels at 300.
    const struct
    {
        SizeCorner corner;
        QPoint delta;
        PartPosition size, pos;
    } cases[] = {
        { SizeCorner::BottomRight, { 32, 64 }, { 400, 500 }, { 50, 70 } },
        { SizeCorner::BottomLeft, { -32, 64 }, { 400, 500 }, { -50, 70 } },
        { SizeCorner::TopRight, { 32, -64 }, { 400, 500 }, { 50, -130 } },
        { SizeCorner::TopLeft, { -32, -64 }, { 400, 500 }, { -50, -130 } },
        { SizeCorner::TopLeft, { 32, 64 }, { 200, 100 }, { 150, 270 } },
        { SizeCorner::TopLeft, { 3200, 6400 }, { 1, 1 }, { 349, 369 } },
    };
    for (const auto &c : cases) {
        const PartPosition size = draggedSize(f.doc, { 300, 300 }, c.delta, 96, 96, c.corner);
        EXPECT_EQ(size, c.size) << int(c.corner);
        EXPECT_EQ(sizedPosition({ 50, 70 }, { 300, 300 }, size, c.corner), c.pos) << int(c.corner);
    }
}

TEST(DirectEdit, APlacedThingPrintsAsTheSameValuesTyped)
{
    Fixture moved, typed;
    moved.doc.left.title.posMode = typed.doc.left.title.posMode = TitlePosition::Bottom;
    // Moved away and back, through the preview's operation.
    placePart(moved.editors(), pp(PartKind::Title, 0), { 40, 60 });
    placePart(moved.editors(), pp(PartKind::Title, 0), { 12, 30 });
    placePart(moved.editors(), pp(PartKind::Title, 2), { 0, 25 });
    placePart(moved.editors(), pp(PartKind::PrintText, 0, 0), { 3, 4 });
    // The same values typed into the fields.
    typed.editor.setTitlePosMode(Surface::Top, TitlePosition::Custom);
    typed.editor.setTitleCustomXUse(Surface::Top, true);
    typed.editor.setTitleCustomYUse(Surface::Top, true);
    typed.editor.setTitleCustomX(Surface::Top, 12);
    typed.editor.setTitleCustomY(Surface::Top, 30);
    typed.editor.leaveTitleCustomPosition(Surface::Top);
    typed.editor.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    typed.editor.setTitleOffset(Surface::Left, 25);
    typed.prints.open(PrintsList::Cover);
    typed.prints.select(0);
    typed.prints.setTextX(3);
    typed.prints.setTextY(4);
    for (auto draw : { &DrawFrontPage, &DrawBackPage }) {
        RecordingCanvas a(300, 300), b(300, 300);
        draw(a, moved.doc, optionsOff(), 300, 300, 3507, 2480, nullptr);
        draw(b, typed.doc, optionsOff(), 300, 300, 3507, 2480, nullptr);
        EXPECT_EQ(a.lines(), b.lines());
        // And the printed rasters, byte for byte.
        QImage ra(1754, 1240, QImage::Format_RGB32), rb(1754, 1240, QImage::Format_RGB32);
        ra.fill(Qt::white);
        rb.fill(Qt::white);
        {
            QPainterCanvas ca(&ra, 150, 150), cb(&rb, 150, 150);
            draw(ca, moved.doc, optionsOff(), 150, 150, 1754, 1240, nullptr);
            draw(cb, typed.doc, optionsOff(), 150, 150, 1754, 1240, nullptr);
        }
        EXPECT_TRUE(ra == rb);
    }
}

TEST(HeldPictureReader, KeepsTheWholePictureOnlyWhileHolding)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.png")), b = dir.filePath(QStringLiteral("b.png"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(a) && image.save(b));
    CountingReader files;
    HeldPictureReader held(files);
    QImage bitmap;
    ASSERT_TRUE(held.load(bitmap, a));
    ASSERT_TRUE(held.load(bitmap, a));
    EXPECT_EQ(files.loads, 2); // not holding: every load reads the file
    held.setHolding(true);
    ASSERT_TRUE(held.load(bitmap, a));
    bitmap = bitmap.copy(0, 0, 5, 5); // the cache keeps a part
    ASSERT_TRUE(held.load(bitmap, a));
    EXPECT_EQ(files.loads, 3);
    EXPECT_EQ(bitmap.size(), QSize(40, 30)); // the whole picture again
    ASSERT_TRUE(held.load(bitmap, b)); // another file is read
    EXPECT_EQ(files.loads, 4);
    EXPECT_FALSE(held.load(bitmap, dir.filePath(QStringLiteral("none.png"))));
    held.setHolding(false);
    ASSERT_TRUE(held.load(bitmap, b));
    EXPECT_EQ(files.loads, 6);
}

// A text block is grabbed on its lines in the preview, named by its first
// line, and moves in millimetres as a text item does, one undoable step.
TEST(DirectEdit, ATextBlockIsPickedOnItsLinesAndMovesInMillimetres)
{
    Fixture f;
    TPrintsData block = textItem(QStringLiteral("Verse one\nVerse two"), 30, 40);
    block.kind = PrintsTextBlock;
    block.blockWidth = 60;
    f.doc.coverPrints = { block };
    const QList<PartBox> boxes = frontBoxes(f.doc);
    const PartBox box = boxOf(boxes, PartKind::PrintText, 0, 0);
    ASSERT_EQ(box.pieces.size(), 2);
    EXPECT_EQ(partAt(boxes, box.pieces[1].boundingRect().center()), findPart(boxes, box.part));
    EXPECT_EQ(partName(f.doc, box.part), QStringLiteral("任意印刷(前面): Verse one"));
    EXPECT_EQ(partPosition(f.doc, box, 96, 96), (PartPosition { 30, 40 }));
    placePart(f.editors(), box.part, draggedPosition(f.doc, box, { 30, 40 }, QPoint(38, 76), 96, 96));
    EXPECT_EQ(f.doc.coverPrints[0].textX, 40);
    EXPECT_EQ(f.doc.coverPrints[0].textY, 60);
    f.editor.history().undo();
    EXPECT_EQ(f.doc.coverPrints[0].textX, 30);
    EXPECT_EQ(f.doc.coverPrints[0].textY, 40);
    EXPECT_EQ(f.doc.coverPrints[0].text, QStringLiteral("Verse one\nVerse two"));
}

// A text block's handles size its box in whole millimetres (1..999); a text
// item has none.
TEST(DirectEdit, ATextBlocksHandlesSizeItsBoxInMillimetres)
{
    Fixture f;
    TPrintsData block = textItem(QStringLiteral("Verse"), 30, 40);
    block.kind = PrintsTextBlock;
    block.blockWidth = 60;
    block.blockHeight = 50;
    f.doc.coverPrints = { block, textItem(QStringLiteral("plain"), 0, 0) };
    EXPECT_TRUE(sizedByHandle(f.doc, pp(PartKind::PrintText, 0, 0)));
    EXPECT_FALSE(sizedByHandle(f.doc, pp(PartKind::PrintText, 0, 1)));
    EXPECT_EQ(partSize(f.doc, pp(PartKind::PrintText, 0, 0)), (PartPosition { 60, 50 }));
    // 38 canvas pixels at 96 dpi are 10 mm.
    EXPECT_EQ((draggedSize(f.doc, { 60, 50 }, QPoint(-38, -76), 96, 96, SizeCorner::TopLeft,
                  PartUnit::Millimetre)),
        (PartPosition { 70, 70 }));
    EXPECT_EQ((draggedSize(f.doc, { 60, 50 }, QPoint(-400, 4000), 96, 96, SizeCorner::BottomRight,
                  PartUnit::Millimetre)),
        (PartPosition { 1, 999 }));
}

TEST(DirectEdit, ABookletPagesItemsAndListMoveAsOneStepOfItsPage)
{
    Fixture f;
    f.editor.setBookletPages(4);
    BookletPage &page = f.doc.pages[1]; // page 3
    page.usePrints = page.useList = true;
    page.prints.append(textItem(QStringLiteral("Lyrics"), 10, 20));
    f.doc.listRows = { TListData() }; // a part is where something is drawn
    f.doc.listRows[0].columns[1].text = QStringLiteral("Track");
    PicturePlacement &picture = page.picture;
    picture.use = true;
    picture.fileName = QStringLiteral("page.png");
    picture.bitmap = QImage(80, 60, QImage::Format_RGB32);
    picture.bitmap.fill(Qt::red);
    picture.sourceRect = PixelRect { 0, 0, 80, 60 };
    picture.pixelWidth = picture.printWidth = 80;
    picture.pixelHeight = picture.printHeight = 60;
    // Drawn on the first sheet's back, [2|3], each a part of the page.
    const CaseFormat &format = formatOf(f.doc);
    RecordingCanvas inner(96, 96);
    PartBoxCanvas c(inner);
    CountingReader reader;
    DrawSheet(c, f.doc, format, 1, optionsOff(), 96, 96, kW, kH, &reader);
    const auto has = [&](PagePart part) {
        return std::any_of(c.boxes().cbegin(), c.boxes().cend(),
            [&](const PartBox &b) { return b.part.kind == part.kind && b.part.owner == part.owner; });
    };
    const PagePart item = pp(PartKind::PrintText, int(pagePrintsList(3)), 0);
    const PagePart list = pp(PartKind::List, pageListSurface(3));
    const PagePart image = pp(PartKind::Picture, pictureOwner(PictureSlot::ofPage(3)));
    ASSERT_TRUE(has(item) && has(list) && has(image));
    EXPECT_EQ(partName(f.doc, item), QStringLiteral("任意印刷(3ページ目): Lyrics"));
    EXPECT_EQ(partName(f.doc, image), QStringLiteral("画像(3ページ目)"));
    // It is sized as its typed values, aspect kept, as one step of its page.
    EXPECT_EQ(sizePart(f.editors(), image, { 160, 1 }, true).pages, QList({ PreviewPage(1) }));
    EXPECT_EQ(std::pair(picture.printWidth, picture.printHeight), std::pair(160, 120));
    EXPECT_EQ(f.editor.history().undoLabel(), QStringLiteral("サイズ変更(画像(3ページ目))"));

    EXPECT_EQ(placePart(f.editors(), item, { 30, 40 }).pages, QList({ PreviewPage(1) }));
    placePart(f.editors(), list, { 5000, 7 });
    EXPECT_EQ(page.prints[0].textX, 30);
    ListLayoutEditor limits;
    limits.open(page.listLayout, kListSurfaceTop);
    EXPECT_EQ(page.listLayout.posX, limits.maximum(LayoutField::PosX));
    f.editor.history().undo();
    f.editor.history().undo();
    EXPECT_EQ(f.doc.pages[1].prints[0].textX, 10);
    EXPECT_EQ(f.doc.pages[1].listLayout.posX, defaultListLayout(0).posX);
    f.editor.history().undo();
    EXPECT_EQ(f.doc.pages[1].picture.printWidth, 80);
}

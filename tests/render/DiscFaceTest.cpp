#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/ArcText.h"
#include "render/DiscPages.h"
#include "RenderTestSupport.h"

namespace {

struct ArcCase
{
    const char *name;
    QVector<int> advances;
    double radius, centre;
    ArcSide side;
    QVector<ArcGlyph> expected;
};

// Letters 20, 40 and 20 pixels wide on a circle of 200 pixels take up
// 22.92 degrees; each letter's middle lies on the circle.
TEST(DiscArcLayout, PlacesEachLetterOnItsCircleReadingLeftToRight)
{
    const ArcCase cases[] = {
        { "top", { 20, 40, 20 }, 200, 0, ArcSide::Top,
            { { -39.78, -196.26, -8.59 }, { -20.0, -200.0, 0.0 }, { 20.0, -199.25, 8.59 } } },
        { "bottom", { 20, 40, 20 }, 200, 0, ArcSide::Bottom,
            { { -39.78, 196.26, 8.59 }, { -20.0, 200.0, 0.0 }, { 20.0, 199.25, -8.59 } } },
        { "top turned to 3 o'clock", { 30 }, 100, 90, ArcSide::Top, { { 100.0, -15.0, 90.0 } } },
    };
    for (const ArcCase &c : cases) {
        const QVector<ArcGlyph> g = layoutArc(c.advances, c.radius, c.radius, c.centre, c.side);
        ASSERT_EQ(g.size(), c.expected.size()) << c.name;
        for (int i = 0; i < g.size(); ++i) {
            EXPECT_NEAR(g[i].x, c.expected[i].x, 0.01) << c.name << " letter " << i;
            EXPECT_NEAR(g[i].y, c.expected[i].y, 0.01) << c.name << " letter " << i;
            EXPECT_NEAR(g[i].degrees, c.expected[i].degrees, 0.01) << c.name << " letter " << i;
        }
    }
    EXPECT_NEAR(arcSweepDegrees(80, 200), 22.92, 0.01);
    EXPECT_TRUE(layoutArc({ 10 }, 0, 0, 0, ArcSide::Top).isEmpty());
}

// A text 100 pixels per point wide at 300 dpi on a 117 mm label: at 40
// points it would take up far more than 160 degrees; 16 points is the
// largest size that fits (158.9 degrees; 17 points: 170.0). A text that
// fits keeps its size; a chosen radius of 20 mm fits 6 points.
TEST(DiscArcLayout, TextLongerThan160DegreesIsSetSmallerUntilItFits)
{
    const DiscRingMm ring { 117.0, 41.0 };
    const double kx = 300 / 25.399;
    const auto width = [](int points) { return points * 100; };
    TitleSettings t;
    t.font.size = 40;
    EXPECT_EQ(fitDiscTextPoints(t, ring, kx, width), 16);
    t.font.size = 12;
    EXPECT_EQ(fitDiscTextPoints(t, ring, kx, width), 12);
    t.font.size = 40;
    t.arc.radiusTenths = 200;
    EXPECT_EQ(fitDiscTextPoints(t, ring, kx, width), 6);
    // The default radius: 58.5 - 4 - 12 points (4.233 mm).
    t.arc.radiusTenths = 0;
    EXPECT_NEAR(discTextRadiusMm(t, ring, 12), 50.267, 0.001);
}

LabelDocument blackDisc()
{
    LabelDocument doc = emptyDocument(300);
    doc.disc.backgroundColor1 = 0x000000;
    return doc;
}

QImage facePage(LabelDocument &doc, const DiscDrawing &drawing)
{
    const QSize size = discFacePageSize(drawing, 300, 300);
    QImage image(size + QSize(200, 200), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainterCanvas canvas(&image, 300, 300);
    drawDiscFacePage(canvas, doc, drawing, 300, 300, image.width(), image.height());
    return image;
}

// Counts the pixels that break the ring: paper where the ring is, ink
// outside the outer circle or inside the hole (a pixel's centre more than
// one pixel from either circle).
int ringFaults(const QImage &image, double outerPx, double holePx)
{
    const double cx = image.width() / 2, cy = image.height() / 2;
    int faults = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const bool ink = qGray(image.pixel(x, y)) < 128;
            if ((d > outerPx + 1 || d < holePx - 1) && ink)
                ++faults;
            if (d < outerPx - 1 && d > holePx + 1 && !ink)
                ++faults;
        }
    return faults;
}

TEST(DiscFace, NothingIsDrawnOutsideTheRingOrInsideTheHole)
{
    LabelDocument doc = blackDisc();
    const double kx = 300 / 25.399;
    DiscDrawing drawing;
    drawing.ring = { 117.0, 41.0 };
    EXPECT_EQ(ringFaults(facePage(doc, drawing), int(58.5 * kx), int(20.5 * kx)), 0);
    // A bleed of 2 mm goes outward past the rim and inward into the hole.
    drawing.bleedMm = 2;
    EXPECT_EQ(ringFaults(facePage(doc, drawing), int(60.5 * kx), int(18.5 * kx)), 0);
    EXPECT_EQ(discFacePageSize(drawing, 300, 300), QSize(int(121 * kx), int(121 * kx)));
}

// Label 2 of a sheet alone: its disc is centred on the label's centre
// within a pixel at 300 dpi, and label 1 stays paper.
TEST(DiscFace, LabelIsCentredOnItsPlaceOnTheSheet)
{
    LabelDocument doc = blackDisc();
    DiscDrawing drawing;
    drawing.ring = { 117.0, 41.0 };
    const double kx = 300 / 25.399;
    QImage page(int(210 * kx), int(297 * kx), QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainterCanvas canvas(&page, 300, 300);
        drawDiscLabels(canvas, doc, drawing, { QPointF(105.0, 218.33) }, 300, 300);
    }
    int left = page.width(), right = -1, top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR((left + right + 1) / 2.0, 105.0 * kx, 1.0);
    EXPECT_NEAR((top + bottom + 1) / 2.0, 218.33 * kx, 1.0);
    // Nothing above the second label's disc: the first label is paper.
    EXPECT_GT(top, int((218.33 - 58.5) * kx) - 2);
}

// The two arc titles as drawn: one letter per call, each further right than
// the one before, turned clockwise on the top arc's left half and
// anticlockwise on the bottom arc's.
TEST(DiscFace, ArcTitlesReadLeftToRight)
{
    LabelDocument doc = emptyDocument(300);
    doc.disc.title.use = true;
    doc.disc.title.text = QStringLiteral("ABCDE");
    doc.disc.subtitle.use = true;
    doc.disc.subtitle.text = QStringLiteral("VWXYZ");
    RecordingCanvas canvas(300, 300);
    DiscDrawing drawing;
    drawDiscFacePage(canvas, doc, drawing, 300, 300, 1000, 1000);
    QVector<QVector<double>> runs(2);
    int run = -1;
    for (const QString &line : canvas.lines()) {
        if (!line.startsWith(QLatin1String("TextOutTurned")))
            continue;
        const QStringList f = line.split(QLatin1Char(' '));
        if (f[4] == QLatin1String("A") || f[4] == QLatin1String("V"))
            ++run;
        ASSERT_GE(run, 0);
        runs[run] << f[1].toDouble() << f[3].toDouble();
    }
    ASSERT_EQ(runs[0].size(), 10);
    ASSERT_EQ(runs[1].size(), 10);
    for (int r = 0; r < 2; ++r)
        for (int i = 2; i < 10; i += 2)
            EXPECT_GT(runs[r][i], runs[r][i - 2]) << "run " << r << " letter " << i / 2;
    EXPECT_LT(runs[0][1], 0); // "A" turned anticlockwise, left of 12 o'clock
    EXPECT_GT(runs[1][1], 0); // "V" turned clockwise, left of 6 o'clock
}

} // namespace

#include "canvas/PartBoxCanvas.h"
#include "prints/PrintsEditor.h"
#include "render/DirectEdit.h"

namespace {

// The disc's title on the top arc and its subtitle on the bottom arc, as the
// 96-dpi preview draws them, moved by the arrow keys and by dragging.
TEST(DiscFace, ArcTextsTurnAndMoveAsUndoableSteps)
{
    LabelDocument doc = emptyDocument(300);
    DocumentEditor ed(doc);
    PrintsEditor prints(doc);
    ed.setDiscTextUse(DiscText::Title, true);
    ed.setDiscTextText(DiscText::Title, "ABCDEF");
    ed.setDiscTextUse(DiscText::Subtitle, true);
    ed.setDiscTextText(DiscText::Subtitle, "UVWXYZ");
    RecordingCanvas inner(96, 96);
    PartBoxCanvas canvas(inner);
    drawDiscFacePage(canvas, doc, DiscDrawing {}, 96, 96, 1046, 604);
    ASSERT_EQ(canvas.boxes().size(), 2);
    const PartBox &title = canvas.boxes()[0], &subtitle = canvas.boxes()[1];
    EXPECT_EQ(partName(doc, title.part), "タイトル(ディスク)");
    EXPECT_EQ(partName(doc, subtitle.part), "サブタイトル(ディスク)");
    // At the default radius, 58.5 - 4 - 9 points = 51.3 mm (193 pixels at 96 dpi).
    const PartPosition start = partPosition(doc, title, 96, 96);
    EXPECT_EQ(start, (PartPosition { 0, 511 }));
    EXPECT_EQ(steppedPosition(title, start, 1, 0), (PartPosition { 10, 511 }));
    EXPECT_EQ(steppedPosition(title, start, 0, -1), (PartPosition { 0, 516 }));
    EXPECT_EQ(steppedPosition(subtitle, start, 1, 0), (PartPosition { -10, 511 }));
    EXPECT_EQ(steppedPosition(subtitle, start, 0, -1), (PartPosition { 0, 506 }));
    EXPECT_EQ(positionTip(title.part, { -15, 455 }), "角度 -1.5° 半径 45.5mm");

    const int before = ed.history().undoCount();
    EXPECT_EQ(placePart({ ed, prints }, title.part, { 10, 516 }).pages,
        QList<PreviewPage>({ PreviewPage::Disc }));
    EXPECT_EQ(doc.disc.title.arc, (ArcPlacement { DiscTextPlace::TopArc, 516, 10 }));
    EXPECT_EQ(ed.history().undoCount(), before + 1);
    EXPECT_EQ(ed.history().undoLabel(), "移動(タイトル(ディスク))");
    ed.history().undo();
    EXPECT_EQ(doc.disc.title.arc, ArcPlacement {});

    // Dragged 20 pixels straight up from its middle: 5.3 mm further out,
    // hardly turned.
    const PartPosition dragged = draggedPosition(doc, title, start, QPoint(0, -20), 96, 96);
    EXPECT_NEAR(dragged.y, 511 + 53, 1);
    EXPECT_NEAR(dragged.x, 0, 3);
    // Dragged along the circle to 3 o'clock: turned by about 90 degrees.
    const QPointF middle = QRectF(title.bounds).center();
    const QPoint toThree = QPoint(title.part.origin.x() + 193, title.part.origin.y())
        - middle.toPoint();
    EXPECT_NEAR(draggedPosition(doc, title, start, toThree, 96, 96).x, 900, 30);
}

// The disc's track list and free prints stand on its 120 mm square as on a
// label: at 300 dpi on a 1416-pixel page the square starts at (0, 0), so the
// list's first row is 28 mm across and 82 mm down (330, 968), its columns
// 5, 2 + 44 and 2 + 11 mm on; a text item at 30 x 40 mm is at (354, 472).
// Dragging the list is one undoable step.
TEST(DiscFace, ListAndFreePrintsStandOnTheSquareAndMoveAsSteps)
{
    LabelDocument doc = emptyDocument(300);
    DocumentEditor ed(doc);
    PrintsEditor prints(doc);
    TListData row;
    row.separate = true;
    row.columns[0] = { QStringLiteral("1"), 1 };
    row.columns[1] = { QStringLiteral("Intro"), 1 };
    row.columns[2] = { QStringLiteral("3:15"), 3 };
    doc.listRows.append(row);
    TPrintsData item;
    item.text = QStringLiteral("Side A");
    item.textX = 30;
    item.textY = 40;
    doc.discPrints.append(item);

    RecordingCanvas inner(300, 300);
    PartBoxCanvas canvas(inner);
    drawDiscFacePage(canvas, doc, DiscDrawing {}, 300, 300, 1416, 1416);
    EXPECT_TRUE(canvas.boxes().isEmpty()); // both off
    ed.setUseList(Surface::Disc, true);
    ed.setUseDiscPrints(true);
    inner.clear();
    drawDiscFacePage(canvas, doc, DiscDrawing {}, 300, 300, 1416, 1416);
    QStringList texts;
    for (const QString &line : inner.lines())
        if (line.startsWith(QLatin1String("DrawTextInRect")))
            texts << line;
    EXPECT_EQ(texts,
        QStringList({ "DrawTextInRect 354 472 1417 1417 left top Side A",
            "DrawTextInRect 330 968 388 1403 left top 1",
            "DrawTextInRect 411 968 929 1403 left top Intro",
            "DrawTextInRect 955 968 1083 1403 right top 3:15" }))
        << texts.join(QLatin1Char('\n')).toStdString();

    const auto list = std::find_if(canvas.boxes().begin(), canvas.boxes().end(),
        [](const PartBox &b) { return b.part.kind == PartKind::List; });
    ASSERT_NE(list, canvas.boxes().end());
    EXPECT_EQ(partName(doc, list->part), "リスト(ディスク)");
    EXPECT_EQ(partPosition(doc, *list, 300, 300), (PartPosition { 27, 81 }));
    EXPECT_EQ(placePart({ ed, prints }, list->part, { 20, 70 }).pages,
        QList<PreviewPage>({ PreviewPage::Disc }));
    EXPECT_EQ(doc.listLayout[2].posX, 20);
    EXPECT_EQ(doc.listLayout[2].posY, 70);
    EXPECT_EQ(ed.history().undoLabel(), "移動(リスト(ディスク))");
    const HistoryChange undone = ed.history().undo();
    EXPECT_EQ(undone.pages, QList<PreviewPage>({ PreviewPage::Disc }));
    EXPECT_EQ(doc.listLayout[2], defaultListLayout(2));
}

// A text item on an arc is set as a disc text with the same text, font and
// arc, letter for letter, and turns by the arrow keys as one step of its list.
TEST(DiscFace, ATextItemOnAnArcIsSetAsTheDiscTextsAre)
{
    LabelDocument doc = emptyDocument(300);
    DocumentEditor ed(doc);
    PrintsEditor prints(doc);
    prints.setRecorder(&ed.history());
    ed.setUseDiscPrints(true);
    prints.open(PrintsList::Disc);
    prints.newItem(PrintsText);
    prints.setText("Side A");
    prints.setFont(doc.disc.title.font);
    prints.setArcPlace(DiscTextPlace::TopArc);
    prints.setArc(400, -300);
    auto turned = [&doc] {
        RecordingCanvas canvas(300, 300);
        drawDiscFacePage(canvas, doc, DiscDrawing {}, 300, 300, 1416, 1416);
        QStringList letters;
        for (const QString &line : canvas.lines())
            if (line.startsWith(QLatin1String("TextOutTurned")))
                letters << line;
        return letters;
    };
    const QStringList item = turned();
    ASSERT_EQ(item.size(), 6);
    ed.setUseDiscPrints(false);
    ed.setDiscTextUse(DiscText::Title, true);
    ed.setDiscTextText(DiscText::Title, "Side A");
    ed.setDiscTextArc(DiscText::Title, 400, -300);
    EXPECT_EQ(turned(), item);

    ed.setDiscTextUse(DiscText::Title, false);
    ed.setUseDiscPrints(true);
    RecordingCanvas inner(96, 96);
    PartBoxCanvas canvas(inner);
    drawDiscFacePage(canvas, doc, DiscDrawing {}, 96, 96, 1046, 604);
    ASSERT_EQ(canvas.boxes().size(), 1);
    const PartBox &box = canvas.boxes()[0];
    EXPECT_EQ(partPosition(doc, box, 96, 96), (PartPosition { -300, 400 }));
    EXPECT_EQ(steppedPosition(box, { -300, 400 }, 1, -1), (PartPosition { -290, 405 }));
    placePart({ ed, prints }, box.part, { -290, 405 });
    EXPECT_EQ(doc.discPrints[0].arc, (ArcPlacement { DiscTextPlace::TopArc, 405, -290 }));
    EXPECT_EQ(ed.history().undoLabel(), "移動(任意印刷(ディスク): Side A)");
    ed.history().undo();
    EXPECT_EQ(doc.discPrints[0].arc.angleTenths, -300);
}

} // namespace

// The reverse of a video case's wrap: where its panels lie in device pixels,
// what is drawn on them, where the inside face lands once the printed wrap is
// turned over, and when the sheet is printed, shown and exported.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "render/DocumentPages.h"
#include "render/DrawSheet.h"
#include "render/PageOutput.h"
#include "render/PressPdf.h"
#include "render/PreviewState.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

const char *const kWraps[] = { "dvd-14", "dvd-slim-9", "dvd-slim-7", "dvd-slim-5", "bd-12",
    "bd-14" };

const CaseFormat &format(const char *id)
{
    return *findCaseFormat(QString::fromLatin1(id));
}

// The columns a panel covers: [left, trimRight).
QPair<int, int> columns(const PanelPixels &p)
{
    return { p.left, p.trimRight };
}

// Columns mirrored within the sheet [L, R]: x -> L + R - x.
QPair<int, int> mirrored(const SheetGeometry &g, const PanelPixels &p)
{
    return { g.L + g.R - (p.trimRight - 1), g.L + g.R - p.left + 1 };
}


// The bounding box of the pixels of one colour, and how many there are.
QPair<QRect, int> pixelsOf(const QImage &image, QRgb colour)
{
    QRect box;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) {
                box |= QRect(x, y, 1, 1);
                ++count;
            }
    return { box, count };
}

QRgb rgbOf(ColorRef c)
{
    // A ColorRef is 0x00bbggrr.
    return qRgb(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

} // namespace

TEST(InsideSheet, ItsPanelsAreTheWrapsMirroredInDevicePixels)
{
    // DVD case at 300 dpi on its 309 x 223 mm preview page (3649 x 2633 px):
    // 129.5 mm = 1529 px, 14 mm = 165 px, 183 mm = 2161 px.
    const CaseFormat &dvd = format("dvd-14");
    const SheetGeometry wrap = computeSheetGeometry(dvd.sheets[0], 300, 300, 3649, 2633);
    const SheetGeometry inside = computeSheetGeometry(dvd.sheets[1], 300, 300, 3649, 2633);
    EXPECT_EQ(inside.L, 213);
    EXPECT_EQ(inside.T, 236);
    EXPECT_EQ(inside.R, 3435);
    EXPECT_EQ(inside.B, 2396);
    EXPECT_EQ(inside.folds, QVector<int>({ 1742, 1907 }));
    ASSERT_EQ(inside.panels.size(), 3);
    // The inside face from the wrap's left edge to the first fold: the
    // columns of the front panel (1907..3435) turned over.
    EXPECT_EQ(columns(inside.panels[0]), qMakePair(213, 1742));
    EXPECT_EQ(columns(inside.panels[1]), qMakePair(1742, 1907));
    EXPECT_EQ(columns(inside.panels[2]), qMakePair(1907, 3436));
    EXPECT_EQ(columns(wrap.panels[2]), qMakePair(1907, 3436));

    for (const char *id : kWraps) {
        SCOPED_TRACE(id);
        const CaseFormat &f = format(id);
        for (int dpi : { 300, 600 }) {
            const QSize page = PreviewState::pageSizeAt(dpi, dpi, f);
            const SheetGeometry w
                = computeSheetGeometry(f.sheets[0], dpi, dpi, page.width(), page.height());
            const SheetGeometry v
                = computeSheetGeometry(f.sheets[1], dpi, dpi, page.width(), page.height());
            // Where the wrap lies on the page, and its folds.
            EXPECT_EQ(QRect(QPoint(v.L, v.T), QPoint(v.R, v.B)),
                QRect(QPoint(w.L, w.T), QPoint(w.R, w.B)));
            EXPECT_EQ(v.folds, w.folds);
            // Panel i of the reverse is panel 2 - i of the wrap, turned over.
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(columns(v.panels[i]), mirrored(w, w.panels[2 - i])) << dpi << " " << i;
        }
    }
}

TEST(InsideSheet, DrawsTheInsideFaceBledPastItsOuterEdgesAndNothingOnTheBlankPanels)
{
    const CaseFormat &dvd = format("dvd-14");
    LabelDocument doc = colouredDocument("dvd-14");
    PrintOptions options = optionsOff();
    options.bleedMm = 3;
    const int dpi = 300;
    const QSize page = PreviewState::pageSizeAt(dpi, dpi, dvd);
    const SheetGeometry g
        = computeSheetGeometry(dvd.sheets[1], dpi, dpi, page.width(), page.height());
    RecordingCanvas canvas(dpi, dpi);
    DrawSheet(canvas, doc, dvd, 1, options, dpi, dpi, page.width(), page.height());
    const QStringList ops = canvas.lines();
    // One background: the cover surface's second colour, 35 px (3 mm) past
    // the left, top and bottom trim and up to the fold.
    const QStringList brushes = linesStarting(ops, "SetBrush 00");
    EXPECT_TRUE(brushes.contains(QStringLiteral("SetBrush 00445566")));
    for (const char *other : { "SetBrush 00112233", "SetBrush 00778899", "SetBrush 00aabbcc" })
        EXPECT_FALSE(brushes.contains(QLatin1String(other))) << other;
    const QStringList fills = linesStarting(ops, "Rectangle");
    ASSERT_FALSE(fills.isEmpty());
    EXPECT_EQ(fills[0],
        QStringLiteral("Rectangle %1 %2 %3 %4")
            .arg(g.L - 35)
            .arg(g.T - 35)
            .arg(g.panels[0].trimRight)
            .arg(g.B + 1 + 35));
    // Nothing is drawn right of the inside face but the frame's marks.
    for (const QString &fill : fills.mid(1))
        EXPECT_LT(fill.section(' ', 1, 1).toInt(), g.panels[0].trimRight) << fill.toStdString();
}

TEST(InsideSheet, TurnedOverSideToSideTheInsideLiesBehindTheFrontPanel)
{
    const int dpi = 60;
    for (const char *id : kWraps) {
        SCOPED_TRACE(id);
        const CaseFormat &f = format(id);
        LabelDocument doc = colouredDocument(id);
        doc.top.title.use = doc.bottom.title.use = doc.left.title.use = false;
        doc.top.useList = doc.bottom.useList = false;
        PrintOptions options = optionsOff();
        options.printInside = true;
        // A page with as much room on the left of the wrap as on its right,
        // as a page turned over about its middle has.
        const SheetGeometry g = computeSheetGeometry(f.sheets[0], dpi, dpi, 0, 0);
        const int width = g.R - g.L + 1 + 2 * 30, height = g.B - g.T + 1 + 2 * 30;
        const QImage front = renderPageImage(doc, options, PreviewPage(0), dpi, dpi, width, height);
        const QImage back = renderPageImage(doc, options, PreviewPage(1), dpi, dpi, width, height)
                                .mirrored(true, false);
        const auto cover = pixelsOf(front, rgbOf(doc.top.backgroundColor1));
        const auto inside = pixelsOf(back, rgbOf(doc.top.backgroundColor2));
        ASSERT_GT(cover.second, 0);
        EXPECT_EQ(cover.second, cover.first.width() * cover.first.height());
        // The same columns, and the sheet's outer edge column beside them:
        // the inside face's background starts at the sheet's first column,
        // while the cover's stops before its last one, where the boundary
        // line goes.
        EXPECT_EQ(inside.first, cover.first.adjusted(0, 0, 1, 0));
        EXPECT_EQ(inside.second, cover.second + cover.first.height());
        // The reverse of the spine and the back is left white.
        for (ColorRef other : { doc.bottom.backgroundColor1, doc.left.backgroundColor1,
                 doc.top.backgroundColor1 })
            EXPECT_EQ(pixelsOf(back, rgbOf(other)).second, 0);
    }
}

TEST(InsideSheet, PrintedOnlyWithTheInsideAndShownOnlyWhileItIsPrinted)
{
    const struct
    {
        bool front, back, inside;
        QVector<int> jewel, slim, wrap;
    } rows[] = {
        { true, true, false, { 0, 1 }, { 0 }, { 0 } },
        { true, true, true, { 0, 1 }, { 0 }, { 0, 1 } },
        { false, true, true, { 1 }, {}, { 1 } },
        { true, false, true, { 0 }, { 0 }, { 0, 1 } },
        { false, false, true, {}, {}, { 1 } },
        { false, false, false, {}, {}, {} },
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(testing::Message() << r.front << r.back << r.inside);
        PrintOptions o;
        o.printFront = r.front;
        o.printBack = r.back;
        o.printInside = r.inside;
        EXPECT_EQ(printedSheets(o, jewelCaseFormat()), r.jewel);
        EXPECT_EQ(printedSheets(o, format("cd-slim")), r.slim);
        for (const char *id : kWraps)
            EXPECT_EQ(printedSheets(o, format(id)), r.wrap) << id;
        // The preview and the exports follow the inside switch alone.
        EXPECT_EQ(shownSheets(o, jewelCaseFormat()), QVector<int>({ 0, 1 }));
        EXPECT_EQ(shownSheets(o, format("cd-slim")), QVector<int>({ 0 }));
        EXPECT_EQ(shownSheets(o, format("bd-12")),
            r.inside ? QVector<int>({ 0, 1 }) : QVector<int>({ 0 }));
    }

    // The drawer tells the preview how many sheets it shows, as the options
    // say at the time; the print shop's PDF has a page for each of them.
    LabelDocument doc = colouredDocument("dvd-14");
    PrintOptions options;
    const PageDrawer drawer = documentPageDrawer(doc, &options);
    QTemporaryDir dir;
    for (bool inside : { false, true }) {
        options.printInside = inside;
        EXPECT_EQ(drawer.shownSheetCount(), inside ? 2 : 1);
        QString error;
        ASSERT_TRUE(ExportPressPdf(doc, options, dir.filePath("p.pdf"), 72, &error));
        const QByteArray pdf = readAll(dir.filePath("p.pdf"));
        EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), inside ? 2 : 1);
    }
}

TEST(PreviewState, TheInsidePageGivesWayOnceTheInsideIsNotPrinted)
{
    PreviewState state;
    state.showPage(PreviewPage::Back);
    EXPECT_FALSE(state.keepWithin(2));
    EXPECT_TRUE(state.keepWithin(1));
    EXPECT_EQ(state.previewPage(), PreviewPage::Front);
}

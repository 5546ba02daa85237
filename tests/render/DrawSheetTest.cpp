#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "render/DocumentPages.h"
#include "render/DrawFrontPage.h"
#include "render/DrawSheet.h"
#include "render/PageOutput.h"
#include "render/PreviewState.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

// A wrap of three panels side by side (back, spine, cover), 129 + 14 + 129 mm
// by 183 mm, centred by its panels with its last pixel as its right edge, and
// a bigger preview page: a case no other test knows.
const char *kWrapTable = R"({ "formats": [ {
    "id": "wrap", "name": { "ja": "ラップ", "en": "Wrap" }, "previewMm": [300.0, 200.0],
    "sheets": [ { "id": "wrap", "widthMm": 272.0, "heightMm": 183.0, "panels": [
        { "id": "back", "role": "back", "xMm": 0.0, "yMm": 0.0, "widthMm": 129.0,
          "heightMm": 183.0, "outer": ["left", "top", "bottom"],
          "list": { "index": 1, "widthMm": 127, "heightMm": 181 } },
        { "id": "spine", "role": "spine-left", "xMm": 129.0, "yMm": 0.0, "widthMm": 14.0,
          "heightMm": 183.0, "outer": ["top", "bottom"], "titleRun": "down" },
        { "id": "cover", "role": "cover", "xMm": 143.0, "yMm": 0.0, "widthMm": 129.0,
          "heightMm": 183.0, "outer": ["top", "right", "bottom"] } ] } ] } ] })";

CaseFormat wrapFormat()
{
    QString error;
    const QVector<CaseFormat> formats = parseCaseFormats(kWrapTable, &error);
    EXPECT_EQ(error, QString());
    return formats.value(0);
}

const CaseFormat &slimFormat()
{
    return *findCaseFormat(QStringLiteral("cd-slim"));
}

// Records the calls, and each part's kind, owner and origin as a line of its own.
class PartRecording : public RecordingCanvas
{
public:
    using RecordingCanvas::RecordingCanvas;
    void BeginPart(const PagePart &part) override
    {
        parts << QStringList { QStringLiteral("Part %1 %2 %3 %4")
                                   .arg(int(part.kind))
                                   .arg(part.owner)
                                   .arg(part.origin.x())
                                   .arg(part.origin.y()) };
    }
    QStringList parts;
};

QStringList sheetOps(LabelDocument &doc, const CaseFormat &format, int sheet,
    const PrintOptions &options, int dpi = 96, QStringList *parts = nullptr)
{
    const QSize page = PreviewState::pageSizeAt(dpi, dpi, format);
    PartRecording canvas(dpi, dpi);
    DrawSheet(canvas, doc, format, sheet, options, dpi, dpi, page.width(), page.height());
    if (parts)
        *parts = canvas.parts;
    return canvas.lines();
}

QString part(PartKind kind, int owner, int x, int y)
{
    return QStringLiteral("Part %1 %2 %3 %4").arg(int(kind)).arg(owner).arg(x).arg(y);
}


} // namespace

TEST(SheetGeometry, JewelSheetsPlaceEveryPanelAtThreeResolutions)
{
    // Front: inside face [L, L+W), cover [L+W, R]; back: spines and label,
    // centred by the sheet's own 150 mm and ending one pixel beyond.
    const struct
    {
        int dpi, W, L, T, R, B;
        int bL, bT, bB, x1, x2, x3;
    } rows[] = {
        { 96, 457, 66, 76, 979, 526, 240, 80, 523, 262, 783, 805 },
        { 300, 1429, 206, 239, 3063, 1649, 750, 251, 1637, 820, 2449, 2519 },
        { 600, 2858, 413, 478, 6128, 3299, 1500, 502, 3276, 1641, 4900, 5041 },
    };
    const CaseFormat &jewel = jewelCaseFormat();
    for (const auto &r : rows) {
        SCOPED_TRACE(r.dpi);
        const QSize page = PreviewState::pageSizeAt(r.dpi, r.dpi);
        const SheetGeometry f
            = computeSheetGeometry(jewel.sheets[0], r.dpi, r.dpi, page.width(), page.height());
        EXPECT_EQ(f.L, r.L);
        EXPECT_EQ(f.T, r.T);
        EXPECT_EQ(f.R, r.R);
        EXPECT_EQ(f.B, r.B);
        EXPECT_EQ(f.folds, QVector<int>({ r.L + r.W }));
        ASSERT_EQ(f.panels.size(), 2);
        const PanelPixels &cover = f.panels[0], &inside = f.panels[1];
        EXPECT_EQ(cover.left, r.L + r.W);
        EXPECT_EQ(cover.right, r.R);
        EXPECT_EQ(cover.trimRight, r.R + 1);
        EXPECT_EQ(cover.trimBottom, r.B + 1);
        EXPECT_EQ(cover.width, r.W);
        EXPECT_EQ(inside.left, r.L);
        EXPECT_EQ(inside.right, r.L + r.W);
        EXPECT_EQ(inside.trimRight, r.L + r.W);
        EXPECT_EQ(inside.bottom, r.B);

        const SheetGeometry b
            = computeSheetGeometry(jewel.sheets[1], r.dpi, r.dpi, page.width(), page.height());
        EXPECT_EQ(b.L, r.bL);
        EXPECT_EQ(b.T, r.bT);
        EXPECT_EQ(b.B, r.bB);
        EXPECT_EQ(b.R, r.x3);
        EXPECT_EQ(b.folds, QVector<int>({ r.x1, r.x2 }));
        ASSERT_EQ(b.panels.size(), 3);
        EXPECT_EQ(b.panels[0].right, r.x1);
        EXPECT_EQ(b.panels[1].left, r.x1);
        EXPECT_EQ(b.panels[1].right, r.x2);
        EXPECT_EQ(b.panels[2].left, r.x2);
        EXPECT_EQ(b.panels[2].right, r.x3);
        EXPECT_EQ(b.panels[2].trimRight, r.x3 + 1);
        EXPECT_EQ(b.panels[0].width, b.panels[2].width);
    }
}

TEST(SheetGeometry, AnotherFormatsSheetSumsItsTruncatedPanels)
{
    const CaseFormat wrap = wrapFormat();
    ASSERT_EQ(wrap.sheets.size(), 1);
    // 300 dpi: 129 mm = 1523 px, 14 mm = 165 px, 183 mm = 2161 px; the
    // 300 x 200 mm preview page is 3543 x 2362 px.
    const QSize page = PreviewState::pageSizeAt(300, 300, wrap);
    EXPECT_EQ(page, QSize(3543, 2362));
    const SheetGeometry g = computeSheetGeometry(wrap.sheets[0], 300, 300, 3543, 2362);
    const int width = 1523 + 165 + 1523;
    EXPECT_EQ(g.L, (3543 - width) / 2);
    EXPECT_EQ(g.T, (2362 - 2161) / 2);
    EXPECT_EQ(g.R, g.L + width - 1);
    EXPECT_EQ(g.B, g.T + 2161 - 1);
    EXPECT_EQ(g.folds, QVector<int>({ g.L + 1523, g.L + 1523 + 165 }));
    EXPECT_EQ(g.panels[1].left, g.L + 1523);
    EXPECT_EQ(g.panels[1].width, 165);
    EXPECT_EQ(g.panels[2].right, g.R);
}

TEST(DrawSheet, TheJewelEntryPointsDrawTheJewelSheets)
{
    LabelDocument doc = colouredDocument();
    PrintOptions options;
    options.bleedMm = 2;
    RecordingCanvas front(96, 96);
    DrawFrontPage(front, doc, options, 96, 96, 1046, 604);
    EXPECT_EQ(front.lines(), sheetOps(doc, jewelCaseFormat(), 0, options));
    // The slim case's sheet is the jewel case's front sheet.
    EXPECT_EQ(sheetOps(doc, slimFormat(), 0, options), front.lines());
    // A sheet the format lacks draws nothing.
    EXPECT_TRUE(sheetOps(doc, slimFormat(), 1, options).isEmpty());
    EXPECT_TRUE(sheetOps(doc, jewelCaseFormat(), -1, options).isEmpty());
}

TEST(DrawSheet, AnotherFormatBleedsOnlyPastItsOuterEdgesAndFoldsWherePanelsJoin)
{
    const CaseFormat wrap = wrapFormat();
    LabelDocument doc = colouredDocument();
    PrintOptions options = optionsOff();
    options.bleedMm = 3;
    const int dpi = 300;
    const QSize page = PreviewState::pageSizeAt(dpi, dpi, wrap);
    const SheetGeometry g = computeSheetGeometry(wrap.sheets[0], dpi, dpi, page.width(), page.height());
    QStringList parts;
    const QStringList ops = sheetOps(doc, wrap, 0, options, dpi, &parts);
    const QStringList fills = linesStarting(ops, "Rectangle");
    ASSERT_GE(fills.size(), 3);
    // 3 mm at 300 dpi is 35 px; the spine bleeds at the top and the bottom only.
    const int bleed = mmToPixels(3.0, pageScale(dpi, dpi).kx);
    EXPECT_EQ(bleed, 35);
    EXPECT_EQ(fills[0],
        QStringLiteral("Rectangle %1 %2 %3 %4")
            .arg(g.L - bleed)
            .arg(g.T - bleed)
            .arg(g.panels[0].trimRight)
            .arg(g.B + 1 + bleed));
    EXPECT_EQ(fills[1],
        QStringLiteral("Rectangle %1 %2 %3 %4")
            .arg(g.panels[1].left)
            .arg(g.T - bleed)
            .arg(g.panels[1].trimRight)
            .arg(g.B + 1 + bleed));
    EXPECT_EQ(fills[2],
        QStringLiteral("Rectangle %1 %2 %3 %4")
            .arg(g.panels[2].left)
            .arg(g.T - bleed)
            .arg(g.R + 1 + bleed)
            .arg(g.B + 1 + bleed));
    // The back's list and titles, then the spine's, reading downward from
    // 1 mm below its top; the cover's title, a face's, comes before the
    // spine's. No inside face: list 0 is not drawn.
    const int oneMm = mmToPixels(1.0, pageScale(dpi, dpi).ky);
    EXPECT_EQ(parts,
        QStringList({ part(PartKind::List, 1, g.L, g.T),
            part(PartKind::Title, int(Surface::Bottom), g.L, g.T),
            part(PartKind::Title, int(Surface::Top), g.panels[2].left, g.T),
            part(PartKind::Title, int(Surface::Left), g.panels[1].left, g.T + oneMm) }));
}

TEST(DrawSheet, PrintingAndExportMakeTheFormatsSheetsOnly)
{
    const struct
    {
        bool front, back;
        QVector<int> jewel, slim;
    } rows[] = {
        { true, true, { 0, 1 }, { 0 } },
        { true, false, { 0 }, { 0 } },
        { false, true, { 1 }, {} },
        { false, false, {}, {} },
    };
    for (const auto &r : rows) {
        PrintOptions o;
        o.printFront = r.front;
        o.printBack = r.back;
        EXPECT_EQ(printedSheets(o, jewelCaseFormat()), r.jewel) << r.front << r.back;
        EXPECT_EQ(printedSheets(o, slimFormat()), r.slim) << r.front << r.back;
    }

    // A slim document's drawer tells its format: the preview and the print
    // take their pages from it.
    LabelDocument doc = colouredDocument();
    doc.caseFormat = QStringLiteral("cd-slim");
    const PageDrawer drawer = documentPageDrawer(doc, PrintOptions());
    EXPECT_EQ(drawer.format().id, QStringLiteral("cd-slim"));
    doc.caseFormat = QStringLiteral("cd-jewel");
    EXPECT_EQ(drawer.format().id, QStringLiteral("cd-jewel"));
    EXPECT_EQ(PageDrawer([](LabelCanvas &, PreviewPage, int, int, int, int) { }).format().id,
        QStringLiteral("cd-jewel"));

    // Export: one PDF page for the slim case, two for the jewel case.
    QTemporaryDir dir;
    for (const char *id : { "cd-slim", "cd-jewel" }) {
        doc.caseFormat = QString::fromLatin1(id);
        const QString path = dir.filePath(QStringLiteral("%1.pdf").arg(id));
        QString error;
        ASSERT_TRUE(ExportDocumentPdf(doc, PrintOptions(), path, 96, &error)) << error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
            doc.caseFormat == "cd-slim" ? 1 : 2)
            << id;
    }
}

TEST(PreviewState, AWrapsChangesRedrawTheShownPage)
{
    // Edits name the jewel case's pages; a wrap has the back label and the
    // spine on the sheet of its cover.
    for (PreviewPage page : { PreviewPage::Front, PreviewPage::Back, PreviewPage::Shown }) {
        EXPECT_EQ(PreviewState::changedPage(page, jewelCaseFormat()), page);
        EXPECT_EQ(PreviewState::changedPage(page, slimFormat()), page);
        for (const char *id : { "dvd-14", "dvd-slim-9", "dvd-slim-7", "dvd-slim-5", "bd-12", "bd-14" })
            EXPECT_EQ(PreviewState::changedPage(page, *findCaseFormat(QLatin1String(id))),
                PreviewPage::Shown)
                << id;
    }
}

TEST(PreviewState, TheWindowHoldsALargerFormatsPageWholeAtTheSmallestZoom)
{
    EXPECT_EQ(PreviewState::windowSize(jewelCaseFormat()), QSize(632, 449));
    EXPECT_EQ(PreviewState::windowSize(*findCaseFormat("bd-12")), QSize(632, 449)); // 566 x 355
    EXPECT_EQ(PreviewState::windowSize(*findCaseFormat("dvd-14")), QSize(632, 469)); // 583 x 421
    EXPECT_EQ(PreviewState::windowSize(customCaseFormat(*findCaseFormat("custom-wrap"),
                  { 3000, 3000, 600 })),
        QSize(1331, 690)); // 696 x 340 mm: 1315 x 642
}

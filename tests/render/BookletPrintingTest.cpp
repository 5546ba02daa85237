// A booklet printed at home: each side carries its two pages exactly as they
// are drawn alone, on both sides of the sheet by the printer or by hand.
#include <gtest/gtest.h>

#include <memory>

#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "base/BookletFormat.h"
#include "canvas/QPainterCanvas.h"
#include "document/DocumentEditor.h"
#include "prints/PrintsItems.h"
#include "render/DocumentPages.h"
#include "render/PageOutput.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

constexpr int kDpi = 100, kWidth = 1169, kHeight = 827; // A4 landscape

// A printer at 100 dpi that keeps every sheet as an image of its printable
// area, the sheets in the order they were drawn and what happened to the
// job.
struct Job : PrintTarget, PrinterBackend
{
    bool queryResolution(int &x, int &y) override { return (x = y = kDpi) > 0; }
    bool showPrintDialog(int) override { return true; }
    void setLandscape() override { }
    void setDuplex(bool on) override { events << QStringLiteral("duplex %1").arg(on); }
    bool begin(const QString &) override { return (events << "begin", newPage()); }
    bool newPage() override
    {
        canvasOn.reset();
        sheets.append(QImage(kWidth, kHeight, QImage::Format_RGB32));
        sheets.last().fill(Qt::white);
        canvasOn = std::make_unique<QPainterCanvas>(&sheets.last(), kDpi, kDpi);
        return true;
    }
    bool end() override { return (canvasOn.reset(), events << "end", true); }
    LabelCanvas &canvas() override { return *canvasOn; }
    int resolutionX() const override { return kDpi; }
    int resolutionY() const override { return kDpi; }
    int printableWidth() const override { return kWidth; }
    int printableHeight() const override { return kHeight; }
    PrintDevice device() const override { return PrintDevice::printer(QStringLiteral("home")); }

    PrintResult print(LabelDocument &doc, const PrintOptions &options)
    {
        const PageDrawer inner = documentPageDrawer(doc, options);
        const PageDrawer draw(
            [&](LabelCanvas &canvas, PreviewPage page, int dx, int dy, int w, int h) {
                drawn << int(page);
                inner(canvas, page, dx, dy, w, h);
            },
            [&doc]() -> const CaseFormat & { return formatOf(doc); });
        PrinterState state;
        return PrintDocument(*this, *this, options, draw, messages, progress, state);
    }

    QStringList events;
    QList<QImage> sheets;
    QList<int> drawn;
    RecordingMessages messages;
    RecordingProgress progress;
    std::unique_ptr<QPainterCanvas> canvasOn;
};

// Eight pages, each with a colour and a text of its own.
LabelDocument booklet()
{
    LabelDocument doc = emptyDocument(300);
    DocumentEditor ed(doc);
    ed.setBookletPages(8);
    doc.top.backgroundColor1 = 0x00203040;
    for (BookletPage &page : doc.pages) {
        const int k = int(&page - doc.pages.data()) + 2;
        page.background = ColorRef(0x00101010u * unsigned(k));
        page.usePrints = true;
        TPrintsData item = newPrintsItem(PrintsText);
        item.text = QStringLiteral("Page %1").arg(k);
        item.textX = 5 + k;
        item.textY = 10 * k;
        page.prints.append(item);
    }
    return doc;
}

// Pixels of `rect` in `a` that differ from those at the same place of `b`'s
// rectangle of the same size.
int differingPixels(const QImage &a, QRect ra, const QImage &b, QRect rb)
{
    int differ = 0;
    for (int y = 0; y < std::min(ra.height(), rb.height()); ++y)
        for (int x = 0; x < std::min(ra.width(), rb.width()); ++x)
            differ += a.pixel(ra.left() + x, ra.top() + y) != b.pixel(rb.left() + x, rb.top() + y);
    return differ;
}

QRect rectOf(const PanelPixels &p)
{
    return QRect(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
}

} // namespace

TEST(BookletPrinting, EveryPrintedSideHoldsItsTwoPagesAsTheyAreDrawnAlone)
{
    LabelDocument doc = booklet();
    Job job;
    const PrintOptions options = optionsOff();
    ASSERT_EQ(job.print(doc, options), PrintResult::Printed);
    // By the printer: one job, both sides of each sheet in turn, the back
    // label last.
    EXPECT_EQ(job.events, QStringList({ "duplex 1", "begin", "end" }));
    EXPECT_EQ(job.drawn, QList<int>({ 0, 1, 2, 3, 4 }));
    ASSERT_EQ(job.sheets.size(), 5);

    const CaseFormat &sides = formatOf(doc);
    const CaseFormat &reading = bookletReadingFormat(caseFormatOf(doc), 8);
    const int w = kWidth, h = kHeight;
    for (int side = 0; side < 4; ++side) {
        const SheetGeometry g = computeSheetGeometry(sides.sheets[side], kDpi, kDpi, w, h);
        for (int half = 0; half < 2; ++half) {
            const int page = sides.sheets[side].panels[half].page;
            const QImage alone = renderPageImage(
                doc, options, PreviewPage(page - 1), kDpi, kDpi, w, h, nullptr, &reading);
            const SheetGeometry ga
                = computeSheetGeometry(reading.sheets[page - 1], kDpi, kDpi, w, h);
            const QRect printed = rectOf(g.panels[half]), drawn = rectOf(ga.panels[0]);
            // A spread's left page reaches the fold's pixel column, which
            // a page alone leaves out.
            EXPECT_EQ(printed.height(), drawn.height());
            EXPECT_EQ(printed.width() - drawn.width(), half == 0 ? 1 : 0) << side;
            EXPECT_EQ(differingPixels(job.sheets[side], printed, alone, drawn), 0)
                << "side " << side << ", page " << page;
        }
    }
}

TEST(BookletPrinting, ByHandEveryFrontThenTheTurnedStackBackwards)
{
    LabelDocument doc = booklet();
    Job job;
    PrintOptions options = optionsOff();
    options.manualDuplex = true;
    ASSERT_EQ(job.print(doc, options), PrintResult::Printed);
    // The fronts (and the back label) as one job; the message; the backs of
    // the turned stack, the last sheet's first.
    EXPECT_EQ(job.events, QStringList({ "duplex 0", "begin", "end", "begin", "end" }));
    EXPECT_EQ(job.drawn, QList<int>({ 0, 2, 4, 3, 1 }));
    EXPECT_EQ(job.messages.messages, QStringList({ manualDuplexMessage(2) }));
    EXPECT_TRUE(manualDuplexMessage(2).startsWith(QStringLiteral("ブックレットの表面を2枚に")));
    EXPECT_EQ(job.progress.texts.last(), printingProgressText(5, 5));
    // Copies of the sides; the disc's page goes with the fronts.
    const DuplexPasses copies = manualDuplexPasses(
        { PreviewPage(0), PreviewPage(1), PreviewPage(0), PreviewPage(1), PreviewPage::DiscSheet },
        formatOf(doc));
    EXPECT_EQ(copies.first, QList({ PreviewPage(0), PreviewPage(0), PreviewPage::DiscSheet }));
    EXPECT_EQ(copies.second, QList({ PreviewPage(1), PreviewPage(1) }));

    // Without a booklet the duplex setting is the printer's own.
    LabelDocument plain = emptyDocument(300);
    Job plainJob;
    ASSERT_EQ(plainJob.print(plain, options), PrintResult::Printed);
    EXPECT_EQ(plainJob.events, QStringList({ "begin", "end" }));
}

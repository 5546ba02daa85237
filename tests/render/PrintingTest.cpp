#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "render/PageOutput.h"
#include "render/PreviewState.h"
#include "render/PrintDocument.h"
#include "render/RenderPreviewPage.h"

using namespace cw;

namespace {

class FakePrinter : public PrinterBackend
{
public:
    bool queryResolution(int &x, int &y) override
    {
        x = dpi;
        y = dpi;
        return !fail;
    }
    int dpi = 600;
    bool fail = false;
};

// A print job that records what happens to it, in order.
class FakeTarget : public PrintTarget
{
public:
    bool showPrintDialog(int) override
    {
        events << "dialog";
        return !cancel;
    }
    void setLandscape() override { events << "landscape"; }
    bool begin(const QString &title) override
    {
        events << "begin " + title;
        return true;
    }
    bool newPage() override
    {
        events << "newPage";
        return true;
    }
    bool end() override
    {
        events << "end";
        return true;
    }
    LabelCanvas &canvas() override { return recording; }
    int resolutionX() const override { return 600; }
    int resolutionY() const override { return 300; }
    int printableWidth() const override { return width; }
    int printableHeight() const override { return height; }
    QPageRanges pageRanges() const override { return ranges; }
    int copiesToMake() const override { return copies; }
    bool collateCopies() const override { return collate; }

    bool cancel = false;
    int width = 7000, height = 2400; // A4 landscape within its margins
    QPageRanges ranges;
    int copies = 1;
    bool collate = true;
    QStringList events;
    RecordingCanvas recording { 600, 300 };
};

struct PrintRun
{
    FakeTarget target;
    FakePrinter printer;
    RecordingMessages messages;
    RecordingProgress progress;
    PrinterState state;
    QStringList log; // events, progress texts and drawn pages in one order

    PrintResult print(const PrintOptions &options)
    {
        auto draw = [this](LabelCanvas &, PreviewPage page, int dx, int dy, int w, int h) {
            target.events << QStringLiteral("draw %1 %2x%3 %4x%5")
                                 .arg(int(page))
                                 .arg(dx)
                                 .arg(dy)
                                 .arg(w)
                                 .arg(h);
        };
        struct Progress : ProgressSink
        {
            PrintRun *run;
            void ShowText(const QString &t) override
            {
                run->progress.ShowText(t);
                run->target.events << "progress " + t;
            }
            void hide() override
            {
                run->progress.hide();
                run->target.events << "hide";
            }
        } p;
        p.run = this;
        return PrintDocument(target, printer, options, draw, messages, p, state);
    }
};

} // namespace

TEST(PrintDocument, BothPagesAreOneJobFrontFirst)
{
    PrintRun run;
    PrintOptions options;
    EXPECT_EQ(run.print(options), PrintResult::Printed);
    const QStringList expected = {
        "dialog",
        "landscape",
        "begin Casewright",
        QStringLiteral("progress 印刷中です(1/2)"),
        "draw 0 600x300 7000x2400",
        "newPage",
        QStringLiteral("progress 印刷中です(2/2)"),
        "draw 1 600x300 7000x2400",
        "end",
        "hide",
    };
    EXPECT_EQ(run.target.events, expected);
    EXPECT_TRUE(run.messages.messages.isEmpty());
    EXPECT_FALSE(run.progress.visible);
    // Printing reads the printer but leaves the document's reference alone.
    EXPECT_EQ(run.state.printerDpiX, 600);
}

TEST(PrintDocument, OnlyTheBackPageIsOneSheet)
{
    PrintRun run;
    PrintOptions options;
    options.printFront = false;
    EXPECT_EQ(run.print(options), PrintResult::Printed);
    EXPECT_EQ(run.progress.texts, QStringList { QStringLiteral("印刷中です(1/1)") });
    EXPECT_FALSE(run.target.events.contains("newPage"));
    EXPECT_TRUE(run.target.events.contains("draw 1 600x300 7000x2400"));
    EXPECT_FALSE(run.target.events.contains("draw 0 600x300 7000x2400"));
}

TEST(PrintDocument, RefusalsAndCancelChangeNothing)
{
    {
        PrintRun run;
        PrintOptions none;
        none.printFront = none.printBack = false;
        EXPECT_EQ(run.print(none), PrintResult::Refused);
        EXPECT_EQ(
            run.messages.messages, QStringList { QStringLiteral("印刷するページがありません") });
        EXPECT_TRUE(run.target.events.isEmpty());
    }
    {
        PrintRun run;
        run.state.printerFailed = true;
        EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Refused);
        EXPECT_EQ(run.messages.messages,
            QStringList { QStringLiteral("プリンタ異常のため印刷できません") });
        EXPECT_TRUE(run.target.events.isEmpty());
    }
    {
        PrintRun run;
        run.target.cancel = true;
        EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Cancelled);
        EXPECT_EQ(run.target.events, QStringList { "dialog" });
        EXPECT_TRUE(run.messages.messages.isEmpty());
        EXPECT_TRUE(run.progress.texts.isEmpty());
    }
}

// The disc's page follows the case's sheets while the disc label is printed
// on a printable disc or on a sheet with a label chosen; a used-up sheet
// alone is no job at all.
TEST(PrintDocument, TheDiscPageNeedsALabelOrAPrintableDisc)
{
    using P = PreviewPage;
    const QVector<QPointF> one = { QPointF(105.0, 218.33) };
    const std::tuple<bool, bool, bool, QVector<QPointF>, QList<PreviewPage>> rows[] = {
        { true, false, true, one, { P::Front, P::Back, P::DiscSheet } },
        { true, false, true, {}, { P::Front, P::Back } },
        { true, true, true, {}, { P::Front, P::Back, P::DiscSheet } },
        { false, false, true, one, { P::Front, P::Back } },
        { true, false, false, one, { P::DiscSheet } },
    };
    for (const auto &[disc, printable, caseSheets, centres, pages] : rows) {
        PrintOptions options;
        options.printDisc = disc;
        options.disc.printableDisc = printable;
        options.disc.centresMm = centres;
        options.printFront = options.printBack = caseSheets;
        EXPECT_EQ(printJobPages(options, jewelCaseFormat()), pages) << disc << printable << caseSheets;
    }
    PrintRun run;
    PrintOptions usedUp;
    usedUp.printFront = usedUp.printBack = false;
    usedUp.printDisc = true;
    usedUp.disc.centresMm.clear();
    EXPECT_EQ(run.print(usedUp), PrintResult::Refused);
    EXPECT_EQ(run.messages.messages, QStringList { QStringLiteral("印刷するページがありません") });
    EXPECT_TRUE(run.target.events.isEmpty());
}

TEST(PrintDocument, APrinterFailingAtPrintTimeFallsBackAndStillPrints)
{
    PrintRun run;
    run.printer.fail = true;
    EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Printed);
    EXPECT_TRUE(run.state.printerFailed);
    EXPECT_EQ(run.messages.messages.size(), 1);
    // From now on only the refusal answers.
    EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Refused);
    EXPECT_EQ(run.messages.messages.last(), QStringLiteral("プリンタ異常のため印刷できません"));
}

// The pages a job prints, as the dialog's range (pages numbered as printed)
// and the copies the program makes choose them.
TEST(PrintDocument, PrintedPagesFollowTheRangeAndTheCopies)
{
    auto range = [](int from, int to) {
        QPageRanges r;
        r.addRange(from, to);
        return r;
    };
    struct Case
    {
        int pages;
        QPageRanges ranges;
        int copies;
        bool collate;
        QList<int> printed;
    };
    const Case cases[] = {
        { 2, {}, 1, true, { 1, 2 } },
        { 2, range(2, 2), 1, true, { 2 } },
        { 2, range(1, 1), 1, false, { 1 } },
        { 2, range(1, 2), 1, true, { 1, 2 } },
        { 2, {}, 2, true, { 1, 2, 1, 2 } },
        { 2, {}, 2, false, { 1, 1, 2, 2 } },
        { 2, range(2, 2), 3, true, { 2, 2, 2 } },
        { 1, {}, 2, true, { 1, 1 } },
        { 1, range(2, 2), 1, true, {} },
        { 2, {}, 0, true, { 1, 2 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ranges.toString().toStdString() + " x" + std::to_string(c.copies));
        EXPECT_EQ(printedPages(c.pages, c.ranges, c.copies, c.collate), c.printed);
    }
}

// "2 to 2" prints the back page alone; copies made by the program repeat the
// job's pages, each sheet counted in the progress window.
TEST(PrintDocument, TheRangeAndTheCopiesChooseTheSheets)
{
    {
        PrintRun run;
        run.target.ranges.addRange(2, 2);
        EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Printed);
        EXPECT_EQ(run.target.events.filter("draw"), QStringList { "draw 1 600x300 7000x2400" });
        EXPECT_FALSE(run.target.events.contains("newPage"));
        EXPECT_EQ(run.progress.texts, QStringList { QStringLiteral("印刷中です(1/1)") });
    }
    {
        PrintRun run;
        run.target.copies = 2;
        run.target.collate = false;
        EXPECT_EQ(run.print(PrintOptions {}), PrintResult::Printed);
        EXPECT_EQ(run.target.events.filter("draw"),
            QStringList({ "draw 0 600x300 7000x2400", "draw 0 600x300 7000x2400",
                "draw 1 600x300 7000x2400", "draw 1 600x300 7000x2400" }));
        EXPECT_EQ(run.target.events.count("newPage"), 3);
        EXPECT_EQ(run.progress.texts.last(), QStringLiteral("印刷中です(4/4)"));
    }
    {
        // Only the back page is chosen: the job has one page, and "2" is none.
        PrintRun run;
        PrintOptions back;
        back.printFront = false;
        run.target.ranges.addRange(2, 2);
        EXPECT_EQ(run.print(back), PrintResult::Refused);
        EXPECT_EQ(run.messages.messages, QStringList { QStringLiteral("印刷するページがありません") });
        EXPECT_FALSE(run.target.events.contains("begin Casewright"));
    }
}

// Paper whose printable area cannot hold a page with its trim marks prints
// nothing and says what it needs: A5 landscape at 300 dpi holds the back
// label but not the front one.
TEST(PrintDocument, PaperTooSmallForThePageWithItsMarksPrintsNothing)
{
    PrintRun run;
    run.printer.dpi = 300;
    struct Target300 : FakeTarget
    {
        int resolutionX() const override { return 300; }
        int resolutionY() const override { return 300; }
    };
    Target300 a5;
    a5.width = 2479; // A5 landscape, no margins: 595 x 420 points
    a5.height = 1750;
    RecordingMessages messages;
    RecordingProgress progress;
    PrinterState state;
    auto draw = [](LabelCanvas &, PreviewPage, int, int, int, int) {};
    EXPECT_EQ(PrintDocument(a5, run.printer, PrintOptions {}, draw, messages, progress, state),
        PrintResult::Refused);
    EXPECT_EQ(a5.events, QStringList({ "dialog", "landscape" }));
    EXPECT_EQ(messages.messages,
        QStringList { QStringLiteral(
            "表レーベルがトンボを含めて用紙に収まりません。印刷できる範囲が横272.0mm×縦149.5mm"
            "以上の用紙(A4横など)を選んでください(この用紙は横209.9mm×縦148.2mm)") });
    // The back label alone fits.
    PrintOptions back;
    back.printFront = false;
    messages.messages.clear();
    EXPECT_EQ(PrintDocument(a5, run.printer, back, draw, messages, progress, state),
        PrintResult::Printed);
    EXPECT_TRUE(messages.messages.isEmpty());
}

// A wrap that the printable area cannot hold is refused by its case's name,
// with what does not fit, the area it needs and the smallest of Letter, A4
// and A3 landscape that gives it; a sheet of a several-sheet case by its
// number, and with no paper named when none of them is large enough.
TEST(PrintDocument, AWrapTooLargeForThePaperSaysWhatItNeeds)
{
    CaseFormat twoSheets = *findCaseFormat("dvd-14");
    twoSheets.sheets = { twoSheets.sheets[0], twoSheets.sheets[0] }; // two wraps
    CaseSheet &wide = twoSheets.sheets[1];
    wide.id = QStringLiteral("wide");
    wide.widthMm = 420.0;
    for (CasePanel &p : wide.panels) {
        p.xMm *= 420.0 / 273.0;
        p.widthMm *= 420.0 / 273.0;
    }
    struct Case
    {
        const CaseFormat *format;
        QList<int> sheets;
        int bleedMm, width, height;
        const char *message;
    };
    const Case cases[] = {
        { findCaseFormat("dvd-14"), { 0 }, 3, 3300, 2550,
            "DVDトールケース(14mm)が塗り足しとトンボを含めて用紙に収まりません。印刷できる範囲が"
            "横285.0mm×縦195.0mm以上の用紙(A4横など)を選んでください(この用紙は横279.4mm×縦215.9mm)" },
        { findCaseFormat("dvd-14"), { 0 }, 0, 3300, 2550, "" },
        { findCaseFormat("dvd-14"), { 0 }, 0, 3250, 2550,
            "DVDトールケース(14mm)がトンボを含めて用紙に収まりません。印刷できる範囲が"
            "横279.0mm×縦189.0mm以上の用紙(レター横など)を選んでください(この用紙は横275.2mm×縦215.9mm)" },
        { findCaseFormat("dvd-14"), { 0 }, 0, 2479, 1750, // A5 landscape
            "DVDトールケース(14mm)が用紙に収まりません。印刷できる範囲が"
            "横279.0mm×縦189.0mm以上の用紙(レター横など)を選んでください(この用紙は横209.9mm×縦148.2mm)" },
        { findCaseFormat("bd-12"), { 0 }, 3, 3300, 2550, "" },
        { &twoSheets, { 0, 1 }, 0, 3508, 2480,
            "DVDトールケース(14mm)の2枚目が用紙に収まりません。印刷できる範囲が"
            "横426.0mm×縦189.0mm以上の用紙を選んでください(この用紙は横297.0mm×縦210.0mm)" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        const auto refusal = sheetThatDoesNotFit(
            *c.format, c.sheets, c.bleedMm, 300, 300, c.width, c.height);
        EXPECT_EQ(refusal.value_or(QString()), QString::fromUtf8(c.message));
    }
}

TEST(PdfPrintTarget, WritesTwoLandscapeA4PagesAt300Dpi)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.pdf");
    PdfPrintTarget target(path, 300);
    // A4 landscape at 300 dpi: 842 x 595 points, known before the job begins.
    EXPECT_EQ(target.printableWidth(), 3508);
    EXPECT_EQ(target.printableHeight(), 2479);
    ASSERT_TRUE(target.begin(kPrintJobTitle));
    EXPECT_EQ(target.printableWidth(), 3508);
    EXPECT_EQ(target.printableHeight(), 2479);
    target.canvas().SetPen(0);
    target.canvas().SetBrush(0);
    target.canvas().Rectangle(10, 10, 100, 100);
    ASSERT_TRUE(target.newPage());
    ASSERT_TRUE(target.end());
    ASSERT_TRUE(readAll(path).startsWith("%PDF"));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { path });
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression("Title:\\s+Casewright\\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Pages:\\s+2\\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Page size:\\s+842 x 595 pts")))
        << text.toStdString();
}

// A PDF file is made whole before it replaces an old one: a disk that fills up
// while it is saved leaves the old file as it was, and so does the page PDF.
TEST(PdfPrintTarget, AFullDiskKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.pdf");
    ASSERT_TRUE(writeAll(path, "old contents"));
    PdfPrintTarget target(path, 300);
    ASSERT_TRUE(target.begin(kPrintJobTitle));
    target.canvas().SetPen(0);
    target.canvas().Rectangle(10, 10, 100, 100);
    bool ended = true;
    {
        FullDiskAfter full(100);
        ended = target.end();
    }
    EXPECT_FALSE(ended);
    EXPECT_EQ(readAll(path), QByteArray("old contents"));

    LabelDocument doc;
    QString error;
    bool rendered = true;
    {
        FullDiskAfter full(100);
        rendered = renderPagePdf(
            doc, PrintOptions(), PreviewPage::Front, 96, 96, 1046, 604, path, &error);
    }
    EXPECT_FALSE(rendered);
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "out.pdf" }));
}

TEST(PdfPrintTarget, AnUnwritablePathFailsToBegin)
{
    PdfPrintTarget target(QStringLiteral("/nonexistent-folder/x.pdf"));
    EXPECT_FALSE(target.begin(kPrintJobTitle));
}

// A file marked read-only is refused before anything is drawn, also when the
// superuser, who could write it, runs the program.
TEST(PdfPrintTarget, AReadOnlyFileIsRefusedBeforeDrawing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.pdf");
    ASSERT_TRUE(writeAll(path, "old contents"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    PdfPrintTarget target(path, 300);
    EXPECT_FALSE(target.begin(kPrintJobTitle));
    LabelDocument doc;
    QString error;
    EXPECT_FALSE(renderPagePdf(
        doc, PrintOptions(), PreviewPage::Front, 96, 96, 1046, 604, path, &error));
    EXPECT_EQ(error, QStringLiteral("ファイルに書き込めません"));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST(PreviewState, BitmapSizesOfTheThreeZooms)
{
    EXPECT_EQ(PreviewState::bitmapSize(0), QSize(523, 302));
    EXPECT_EQ(PreviewState::bitmapSize(1), QSize(785, 453));
    EXPECT_EQ(PreviewState::bitmapSize(2), QSize(1046, 604));
}

TEST(PreviewState, RedrawsOnlyTheShownPageAndOnlyWhenVisible)
{
    PreviewState s;
    EXPECT_TRUE(s.stale());
    EXPECT_TRUE(s.windowShown()); // first showing draws the front
    EXPECT_FALSE(s.showPage(PreviewPage::Front)); // already shown: nothing
    EXPECT_FALSE(s.requestRefresh(PreviewPage::Back)); // back edit while the front shows
    EXPECT_TRUE(s.requestRefresh(PreviewPage::Front));
    EXPECT_TRUE(s.requestRefresh(PreviewPage::Shown));
    s.windowHidden();
    EXPECT_FALSE(s.requestRefresh(PreviewPage::Back));
    EXPECT_FALSE(s.stale()); // the back is not shown: not stale
    EXPECT_FALSE(s.requestRefresh(PreviewPage::Front));
    EXPECT_TRUE(s.stale());
    EXPECT_FALSE(s.requestRefresh(PreviewPage::Shown));
    EXPECT_TRUE(s.windowShown()); // one redraw for all hidden edits
    EXPECT_FALSE(s.windowShown());
    EXPECT_TRUE(s.showPage(PreviewPage::Back));
    EXPECT_TRUE(s.requestRefresh(PreviewPage::Back));
}

TEST(PreviewState, APageTheCaseLacksGivesWayToTheFront)
{
    PreviewState s;
    EXPECT_FALSE(s.keepWithin(1)); // the front is always there
    s.showPage(PreviewPage::Back);
    EXPECT_FALSE(s.keepWithin(2));
    EXPECT_EQ(s.previewPage(), PreviewPage::Back);
    EXPECT_TRUE(s.keepWithin(1));
    EXPECT_EQ(s.previewPage(), PreviewPage::Front);
    EXPECT_FALSE(s.keepWithin(1));
}

TEST(PreviewState, ZoomStopsAtItsEnds)
{
    PreviewState s;
    EXPECT_FALSE(s.canZoomOut());
    EXPECT_FALSE(s.zoomOut());
    EXPECT_TRUE(s.zoomIn());
    EXPECT_TRUE(s.zoomIn());
    EXPECT_FALSE(s.canZoomIn());
    EXPECT_FALSE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 2);
    EXPECT_TRUE(s.canZoomOut());
}

TEST(RenderPreviewPage, DrawsAt96DpiOnThePreviewAreaAndScalesIt)
{
    QImage bitmap(523, 302, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    int calls = 0;
    RenderPreviewPage(PreviewPage::Back, bitmap,
        [&](LabelCanvas &c, PreviewPage page, int dx, int dy, int w, int h) {
            ++calls;
            EXPECT_EQ(page, PreviewPage::Back);
            EXPECT_EQ(dx, 96);
            EXPECT_EQ(dy, 96);
            EXPECT_EQ(w, 1046);
            EXPECT_EQ(h, 604);
            c.SetPen(0);
            c.SetBrush(0);
            c.Rectangle(0, 0, 524, 302); // the left half of the page, top half
        });
    EXPECT_EQ(calls, 1);
    // Scaled by one half: the block covers about 262 x 151 pixels.
    EXPECT_EQ(bitmap.pixel(10, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(bitmap.pixel(255, 145) & 0xFFFFFF, 0u);
    EXPECT_EQ(bitmap.pixel(270, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bitmap.pixel(10, 160) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(RenderPreviewPage, OnePixelLinesStayVisibleAtTheReducedSizes)
{
    for (int zoom : { 0, 1 }) {
        QImage bitmap(PreviewState::bitmapSize(zoom), QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        RenderPreviewPage(
            PreviewPage::Front, bitmap, [](LabelCanvas &c, PreviewPage, int, int, int, int) {
                c.SetPen(0);
                c.MoveTo(100, 301); // across
                c.LineTo(900, 301);
                c.MoveTo(501, 50); // down
                c.LineTo(501, 550);
            });
        const double sx = bitmap.width() / 1046.0, sy = bitmap.height() / 604.0;
        const int row = int(301 * sy), column = int(501 * sx);
        int across = 0, down = 0;
        for (int x = 0; x < bitmap.width(); ++x)
            across += (bitmap.pixel(x, row) & 0xFFFFFF) == 0;
        for (int y = 0; y < bitmap.height(); ++y)
            down += (bitmap.pixel(column, y) & 0xFFFFFF) == 0;
        EXPECT_GE(across, int(799 * sx) - 1) << zoom;
        EXPECT_GE(down, int(499 * sy) - 1) << zoom;
    }
}

// A printer's resolution as a driver names it.
TEST(PrinterResolution, DriverNamesGiveDotsPerInch)
{
    using R = PrinterResolution;
    EXPECT_EQ(parsePrinterResolution("600dpi"), (R { 600, 600 }));
    EXPECT_EQ(parsePrinterResolution("300DPI"), (R { 300, 300 }));
    EXPECT_EQ(parsePrinterResolution("1200x600dpi"), (R { 1200, 600 }));
    EXPECT_EQ(parsePrinterResolution("118dpcm"), (R { 300, 300 })); // 299.72
    EXPECT_EQ(parsePrinterResolution("236x118dpcm"), (R { 599, 300 })); // 599.44, 299.72
    for (const char *none : { "", "Draft", "FastRes1200", "0dpi", "600", "dpi", "600x0dpi" })
        EXPECT_EQ(parsePrinterResolution(none), std::nullopt) << none;
}

#include "render/PrintDocument.h"

#include "render/DiscPages.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>

#include "base/BookletFormat.h"
#include "base/UiText.h"
#include "canvas/OffsetCanvas.h"
#include "canvas/QPainterCanvas.h"
#include "text/SafeSave.h"

namespace cw {

const QString kPrintJobTitle = QStringLiteral("Casewright");
const QString kPrinterFailedPrintMessage
    = QString::fromUtf8(QT_TRANSLATE_NOOP("cw::UiText", "プリンタ異常のため印刷できません"));
const QString kNoPageMessage
    = QString::fromUtf8(QT_TRANSLATE_NOOP("cw::UiText", "印刷するページがありません"));
const QString kPrinterFailedSetupMessage
    = QString::fromUtf8(QT_TRANSLATE_NOOP("cw::UiText", "プリンタ異常のため設定できません"));

QString printingProgressText(int page, int total)
{
    return UiText::tr("印刷中です(%1/%2)").arg(page).arg(total);
}

QVector<int> printedSheets(const PrintOptions &options, const CaseFormat &format)
{
    QVector<int> sheets;
    for (int i = 0; i < format.sheets.size(); ++i) {
        const bool chosen = format.sheets[i].printedWithInside
            ? options.printInside
            : (i < format.frontSheets ? options.printFront : options.printBack);
        if (chosen)
            sheets << i;
    }
    return sheets;
}

QVector<int> shownSheets(const PrintOptions &options, const CaseFormat &format)
{
    QVector<int> sheets;
    for (int i = 0; i < format.sheets.size(); ++i)
        if (!format.sheets[i].printedWithInside || options.printInside)
            sheets << i;
    return sheets;
}

bool discSheetPrinted(const PrintOptions &options)
{
    return options.printDisc && (options.disc.printableDisc || !options.disc.centresMm.isEmpty());
}

QList<PreviewPage> printJobPages(const PrintOptions &options, const CaseFormat &format)
{
    QList<PreviewPage> job;
    for (int sheet : printedSheets(options, format))
        job.append(PreviewPage(sheet));
    if (discSheetPrinted(options))
        job.append(PreviewPage::DiscSheet);
    return job;
}

void drawCorrected(PrintTarget &target, const PrintCorrection &correction,
    const std::function<void(LabelCanvas &)> &draw)
{
    if (correction.isZero()) {
        draw(target.canvas());
        return;
    }
    OffsetCanvas moved(target.canvas(), correctionPixels(correction.xTenths, target.resolutionX()),
        correctionPixels(correction.yTenths, target.resolutionY()));
    draw(moved);
}

void PrintPage(PrintTarget &target, PreviewPage page, const PageDrawer &drawPage,
    const PrintCorrection &correction)
{
    drawCorrected(target, correction, [&](LabelCanvas &canvas) {
        if (page == PreviewPage::DiscSheet) {
            // The disc's labels lie where the sheet has them: measured from
            // the paper's corner, not the printable area's.
            const QRect paper = target.paperRect();
            OffsetCanvas onPaper(canvas, paper.left(), paper.top());
            drawPage(onPaper, page, target.resolutionX(), target.resolutionY(), paper.width(),
                paper.height());
            return;
        }
        drawPage(canvas, page, target.resolutionX(), target.resolutionY(), target.printableWidth(),
            target.printableHeight());
    });
}

std::optional<PrintResult> BeginPrintJob(PrintTarget &target, int pageCount,
    PrinterBackend &printer, MessageSink &messages, PrinterState &state,
    const std::function<bool()> &ready)
{
    if (!target.showPrintDialog(pageCount))
        return PrintResult::Cancelled;
    QueryPrinterResolution(printer, messages, state);
    target.setLandscape();
    if (ready && !ready())
        return PrintResult::Refused;
    if (!target.begin(kPrintJobTitle)) {
        messages.showMessage(UiText::tr("印刷を開始できません"));
        return PrintResult::Failed;
    }
    return std::nullopt;
}

QList<int> printedPages(int pageCount, const QPageRanges &ranges, int copies, bool collate)
{
    QList<int> chosen;
    for (int page = 1; page <= pageCount; ++page) {
        if (ranges.isEmpty() || ranges.contains(page))
            chosen.append(page);
    }
    QList<int> order;
    const int n = std::max(1, copies);
    if (collate) {
        for (int copy = 0; copy < n; ++copy)
            order.append(chosen);
    } else {
        for (int page : chosen)
            order.append(QList<int>(n, page));
    }
    return order;
}

QString paperTooSmallMessage(PreviewPage page, double needWidthMm, double needHeightMm,
    double haveWidthMm, double haveHeightMm)
{
    const QString name
        = page == PreviewPage::Back ? UiText::tr("裏レーベル") : UiText::tr("表レーベル");
    return UiText::tr("%1がトンボを含めて用紙に収まりません。印刷できる範囲が横%2×縦%3以上の"
                      "用紙(A4横など)を選んでください(この用紙は横%4×縦%5)")
        .arg(name, formatMm(needWidthMm), formatMm(needHeightMm), formatMm(haveWidthMm),
            formatMm(haveHeightMm));
}

namespace {

// The landscape papers a too large sheet is pointed to, smallest first.
struct NamedPaper
{
    const char *name;
    double widthMm, heightMm;
};
const NamedPaper kLandscapePapers[] = {
    { QT_TRANSLATE_NOOP("cw::UiText", "レター横"), 279.4, 215.9 },
    { QT_TRANSLATE_NOOP("cw::UiText", "A4横"), 297.0, 210.0 },
    { QT_TRANSLATE_NOOP("cw::UiText", "A3横"), 420.0, 297.0 },
};

} // namespace

QString sheetTooLargeMessage(const CaseFormat &format, int sheet, SheetMisfit misfit,
    double needWidthMm, double needHeightMm, double haveWidthMm, double haveHeightMm)
{
    // A wrap's reverse is named as such; the wrap itself, the one sheet
    // printed without it, by its case.
    int ownSheets = 0;
    for (const CaseSheet &s : format.sheets)
        ownSheets += s.printedWithInside ? 0 : 1;
    QString name = format.name();
    if (format.sheets.value(sheet).printedWithInside)
        name = UiText::tr("%1の内側").arg(format.name());
    else if (ownSheets > 1)
        name = UiText::tr("%1の%2枚目").arg(format.name()).arg(sheet + 1);
    QString what;
    switch (misfit) {
    case SheetMisfit::Sheet:
        what = UiText::tr("%1が用紙に収まりません。").arg(name);
        break;
    case SheetMisfit::BleedAndMarks:
        what = UiText::tr("%1が塗り足しとトンボを含めて用紙に収まりません。").arg(name);
        break;
    case SheetMisfit::Marks:
        what = UiText::tr("%1がトンボを含めて用紙に収まりません。").arg(name);
        break;
    }
    QString paper;
    for (const NamedPaper &p : kLandscapePapers)
        if (p.widthMm >= needWidthMm && p.heightMm >= needHeightMm) {
            paper = UiText::tr("(%1など)").arg(uiText(p.name));
            break;
        }
    return what
        + UiText::tr("印刷できる範囲が横%1×縦%2以上の用紙%3を選んでください(この用紙は横%4×縦%5)")
              .arg(formatMm(needWidthMm), formatMm(needHeightMm), paper, formatMm(haveWidthMm),
                  formatMm(haveHeightMm));
}

std::optional<QString> sheetThatDoesNotFit(const CaseFormat &format, const QList<int> &sheets,
    int bleedMm, int dpiX, int dpiY, int width, int height)
{
    const double haveWidthMm = width * geom::kMmPerInch / dpiX;
    const double haveHeightMm = height * geom::kMmPerInch / dpiY;
    for (int index : sheets) {
        const CaseSheet &sheet = format.sheets[index];
        if (pageFitsWithMarks(sheet, bleedMm, dpiX, dpiY, width, height))
            continue;
        const PageExtent need = pageExtentWithMarks(sheet, bleedMm, dpiX, dpiY);
        // A sheet of whole marks is named as the jewel case's pages always were.
        if (sheet.wholeMarks)
            return paperTooSmallMessage(PreviewPage(index), need.widthMm, need.heightMm,
                haveWidthMm, haveHeightMm);
        const PageScale s = pageScale(dpiX, dpiY);
        const SheetGeometry g = computeSheetGeometry(sheet, dpiX, dpiY, 0, 0);
        const int sheetWidth = g.R - g.L + 1, sheetHeight = g.B - g.T + 1;
        const int bleedX = mmToPixels(bleedMm, s.kx), bleedY = mmToPixels(bleedMm, s.ky);
        SheetMisfit misfit = bleedMm > 0 ? SheetMisfit::BleedAndMarks : SheetMisfit::Marks;
        if (sheetWidth > width || sheetHeight > height)
            misfit = SheetMisfit::Sheet;
        else if (sheetWidth + 2 * bleedX > width || sheetHeight + 2 * bleedY > height)
            misfit = SheetMisfit::BleedAndMarks;
        return sheetTooLargeMessage(format, index, misfit, need.widthMm, need.heightMm,
            haveWidthMm, haveHeightMm);
    }
    return std::nullopt;
}

bool hasBookletBacks(const QList<PreviewPage> &pages, const CaseFormat &format)
{
    return std::any_of(pages.cbegin(), pages.cend(), [&](PreviewPage page) {
        return page != PreviewPage::DiscSheet && isBookletBackSide(format, int(page));
    });
}

DuplexPasses manualDuplexPasses(const QList<PreviewPage> &sheets, const CaseFormat &format)
{
    DuplexPasses passes;
    for (PreviewPage page : sheets) {
        if (page != PreviewPage::DiscSheet && isBookletBackSide(format, int(page)))
            passes.second.prepend(page);
        else
            passes.first.append(page);
    }
    return passes;
}

QString manualDuplexMessage(int frontSheets)
{
    return UiText::tr("ブックレットの表面を%1枚に印刷しました。\n"
                      "印刷した用紙を1枚目が一番上になるように重ね、束のまま左右に裏返して、"
                      "何も印刷されていない面に印刷される向きで用紙トレイに戻してください。\n"
                      "OKを押すと、裏面を最後の用紙から順に印刷します。")
        .arg(frontSheets);
}

QString duplexNote(bool manual)
{
    return manual ? UiText::tr("表面の印刷後に戻し方をお知らせします。")
                  : UiText::tr("短辺綴じで両面印刷します。");
}

PrintResult PrintDocument(PrintTarget &target, PrinterBackend &printer, const PrintOptions &options,
    const PageDrawer &drawPage, MessageSink &messages, ProgressSink &progress, PrinterState &state)
{
    if (state.printerFailed) {
        messages.showMessage(uiText(kPrinterFailedPrintMessage));
        return PrintResult::Refused;
    }
    const QList<PreviewPage> job = printJobPages(options, drawPage.format());
    if (job.isEmpty()) {
        messages.showMessage(uiText(kNoPageMessage));
        return PrintResult::Refused;
    }
    const QPageLayout discPaper = discPaperLayout(options.disc);
    const auto paperFor = [&](PreviewPage page) {
        return page == PreviewPage::DiscSheet ? std::optional<QPageLayout>(discPaper)
                                              : std::nullopt;
    };
    // The sheets to print, as the dialog's range and copies choose them.
    QList<PreviewPage> sheets;
    auto ready = [&] {
        const QList<int> order = printedPages(
            int(job.size()), target.pageRanges(), target.copiesToMake(), target.collateCopies());
        if (order.isEmpty()) {
            messages.showMessage(uiText(kNoPageMessage));
            return false;
        }
        QList<PreviewPage> printed;
        for (int n : order) {
            sheets.append(job[n - 1]);
            if (!printed.contains(job[n - 1]))
                printed.append(job[n - 1]);
        }
        // Paper too small for a sheet prints nothing, rather than cut labels.
        QList<int> printedIndexes;
        for (PreviewPage page : printed)
            if (page != PreviewPage::DiscSheet)
                printedIndexes.append(int(page));
        if (const auto refusal = sheetThatDoesNotFit(drawPage.format(), printedIndexes,
                options.bleedMm, target.resolutionX(), target.resolutionY(),
                target.printableWidth(), target.printableHeight())) {
            messages.showMessage(*refusal);
            return false;
        }
        if (sheets.first() == PreviewPage::DiscSheet)
            target.usePaper(paperFor(sheets.first()));
        return true;
    };
    // A booklet's sides go on both sides of its sheets: the printer's duplex
    // unit turns each sheet over unless the user does it by hand.
    const bool backs = hasBookletBacks(job, drawPage.format());
    // Other jobs leave the printer's duplex setting as the user chose it.
    if (backs)
        target.setDuplex(!options.manualDuplex);
    if (const auto ended = BeginPrintJob(target, int(job.size()), printer, messages, state, ready))
        return *ended;
    const PrintCorrection correction = target.correction();
    const int total = int(sheets.size());
    // By hand, the backs are a second job after the user has turned the
    // printed fronts over. A PDF file is one file: its pages stay in order.
    QList<QList<PreviewPage>> passes { sheets };
    if (backs && options.manualDuplex && !target.device().pdfFile) {
        const DuplexPasses two = manualDuplexPasses(sheets, drawPage.format());
        if (!two.first.isEmpty() && !two.second.isEmpty())
            passes = { two.first, two.second };
    }
    const auto failed = [&] {
        progress.hide();
        messages.showMessage(UiText::tr("印刷に失敗しました"));
        return PrintResult::Failed;
    };
    const int frontsPrinted = int(std::count_if(passes[0].cbegin(), passes[0].cend(),
        [&](PreviewPage p) { return int(p) < drawPage.format().frontSheets; }));
    int done = 0;
    for (int pass = 0; pass < passes.size(); ++pass) {
        const QList<PreviewPage> &pages = passes[pass];
        if (pass > 0) {
            progress.hide();
            messages.showMessage(manualDuplexMessage(frontsPrinted));
            target.usePaper(paperFor(pages.first()));
            if (!target.begin(kPrintJobTitle))
                return failed();
        }
        for (int i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                // The disc's paper differs from the case's.
                if ((pages[i] == PreviewPage::DiscSheet) != (pages[i - 1] == PreviewPage::DiscSheet))
                    target.usePaper(paperFor(pages[i]));
                target.newPage();
            }
            progress.ShowText(printingProgressText(++done, total));
            PrintPage(target, pages[i], drawPage, correction);
        }
        if (!target.end())
            return failed();
    }
    progress.hide();
    return PrintResult::Printed;
}

struct PdfPrintTarget::Impl
{
    // The file is made in memory and saved whole when the job ends, so a
    // failed job never leaves a cut file in place of an old one.
    QBuffer file;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainterCanvas> canvas;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    std::optional<QPageLayout> paper; // the pages' own paper, when they have one
};

PdfPrintTarget::PdfPrintTarget(const QString &path, int dpi)
    : PdfPrintTarget(path, dpi, dpi)
{ }

PdfPrintTarget::PdfPrintTarget(
    const QString &path, int dpiX, int dpiY, QPageSize::PageSizeId paper)
    : d(std::make_unique<Impl>())
    , m_path(path)
    , m_dpi(dpiX > 0 ? dpiX : 300)
    , m_dpiY(dpiY > 0 ? dpiY : m_dpi)
    , m_paper(paper)
{ }

QStringList pdfPaperNames()
{
    return { QStringLiteral("a4"), QStringLiteral("letter") };
}

std::optional<QPageSize::PageSizeId> pdfPaperNamed(const QString &name)
{
    if (name == QLatin1String("a4"))
        return QPageSize::A4;
    if (name == QLatin1String("letter"))
        return QPageSize::Letter;
    return std::nullopt;
}

PdfPrintTarget::~PdfPrintTarget()
{
    if (d->canvas)
        end();
}

void PdfPrintTarget::setLandscape()
{
    d->orientation = QPageLayout::Landscape;
}

bool PdfPrintTarget::begin(const QString &jobTitle)
{
    // A path that cannot be written fails here, not after the pages are drawn.
    if (!fileCanBeSaved(m_path))
        return false;
    d->file.setData(QByteArray());
    if (!d->file.open(QIODevice::WriteOnly))
        return false;
    d->writer = std::make_unique<QPdfWriter>(&d->file);
    d->writer->setTitle(jobTitle);
    d->writer->setCreator(QStringLiteral("Casewright"));
    d->writer->setResolution(m_dpi);
    d->writer->setPageLayout(layout());
    d->canvas = std::make_unique<QPainterCanvas>(d->writer.get(), m_dpi, m_dpiY);
    if (!d->canvas->painter()->isActive()) {
        d->canvas.reset();
        return false;
    }
    // One writer resolution: a different vertical resolution is a scale.
    if (m_dpiY != m_dpi)
        d->canvas->painter()->scale(1.0, double(m_dpi) / m_dpiY);
    return true;
}

bool PdfPrintTarget::newPage()
{
    if (!d->writer)
        return false;
    return d->writer->newPage();
}

bool PdfPrintTarget::end()
{
    if (!d->canvas)
        return false;
    d->canvas.reset(); // ends the painter and writes the file
    d->writer.reset();
    d->file.close();
    const QByteArray bytes = d->file.data();
    d->file.setData(QByteArray());
    return !bytes.isEmpty() && saveFileSafely(m_path, bytes);
}

void PdfPrintTarget::usePaper(const std::optional<QPageLayout> &paper)
{
    d->paper = paper;
    if (d->writer)
        d->writer->setPageLayout(layout());
}

LabelCanvas &PdfPrintTarget::canvas()
{
    return *d->canvas;
}

QPageLayout PdfPrintTarget::layout() const
{
    if (d->paper)
        return *d->paper;
    return QPageLayout(QPageSize(m_paper), d->orientation, QMarginsF(0, 0, 0, 0));
}

QSizeF PdfPrintTarget::paperSizeMm() const
{
    return layout().fullRect(QPageLayout::Millimeter).size();
}

int PdfPrintTarget::printableWidth() const
{
    return d->writer ? d->writer->width() : layout().paintRectPixels(m_dpi).width();
}

int PdfPrintTarget::printableHeight() const
{
    const int height = d->writer ? d->writer->height() : layout().paintRectPixels(m_dpi).height();
    return int((long long)height * m_dpiY / m_dpi);
}

} // namespace cw

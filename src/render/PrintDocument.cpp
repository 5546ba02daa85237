#include "render/PrintDocument.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

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
        drawPage(canvas, page, target.resolutionX(), target.resolutionY(), target.printableWidth(),
            target.printableHeight());
    });
}

std::optional<PrintResult> BeginPrintJob(PrintTarget &target, int pageCount,
    PrinterBackend &printer, MessageSink &messages, PrinterState &state)
{
    if (!target.showPrintDialog(pageCount))
        return PrintResult::Cancelled;
    QueryPrinterResolution(printer, messages, state);
    target.setLandscape();
    if (!target.begin(kPrintJobTitle)) {
        messages.showMessage(UiText::tr("印刷を開始できません"));
        return PrintResult::Failed;
    }
    return std::nullopt;
}

PrintResult PrintDocument(PrintTarget &target, PrinterBackend &printer, const PrintOptions &options,
    const PageDrawer &drawPage, MessageSink &messages, ProgressSink &progress, PrinterState &state)
{
    if (state.printerFailed) {
        messages.showMessage(uiText(kPrinterFailedPrintMessage));
        return PrintResult::Refused;
    }
    if (!options.printFront && !options.printBack) {
        messages.showMessage(uiText(kNoPageMessage));
        return PrintResult::Refused;
    }
    const int total = (options.printFront ? 1 : 0) + (options.printBack ? 1 : 0);
    if (const auto ended = BeginPrintJob(target, total, printer, messages, state))
        return *ended;
    const PrintCorrection correction = target.correction();
    int page = 1;
    if (options.printFront) {
        progress.ShowText(printingProgressText(page, total));
        PrintPage(target, PreviewPage::Front, drawPage, correction);
        if (options.printBack)
            target.newPage();
        page = 2;
    }
    if (options.printBack) {
        progress.ShowText(printingProgressText(page, total));
        PrintPage(target, PreviewPage::Back, drawPage, correction);
    }
    const bool ended = target.end();
    progress.hide();
    if (!ended) {
        messages.showMessage(UiText::tr("印刷に失敗しました"));
        return PrintResult::Failed;
    }
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
};

PdfPrintTarget::PdfPrintTarget(const QString &path, int dpi)
    : PdfPrintTarget(path, dpi, dpi)
{ }

PdfPrintTarget::PdfPrintTarget(const QString &path, int dpiX, int dpiY)
    : d(std::make_unique<Impl>())
    , m_path(path)
    , m_dpi(dpiX > 0 ? dpiX : 300)
    , m_dpiY(dpiY > 0 ? dpiY : m_dpi)
{ }

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
    d->writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), d->orientation, QMarginsF(0, 0, 0, 0)));
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

LabelCanvas &PdfPrintTarget::canvas()
{
    return *d->canvas;
}

int PdfPrintTarget::printableWidth() const
{
    return d->writer ? d->writer->width() : 0;
}

int PdfPrintTarget::printableHeight() const
{
    return d->writer ? int((long long)d->writer->height() * m_dpiY / m_dpi) : 0;
}

} // namespace cw

#include "render/ui/QtPrintTarget.h"

#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "base/UiText.h"
#include "canvas/QPainterCanvas.h"
#include "text/SafeSave.h"

namespace cw {

QtPrintTarget::QtPrintTarget(QPrinter &printer, Dialog dialog)
    : m_printer(printer)
    , m_dialog(std::move(dialog))
{ }

QtPrintTarget::~QtPrintTarget()
{
    if (m_canvas)
        end();
}

bool QtPrintTarget::showPrintDialog(int pageCount)
{
    // A new job starts with every page; the dialog shows the printer's range.
    m_printer.setPrintRange(QPrinter::AllPages);
    m_printer.setPageRanges(QPageRanges());
    if (m_dialog)
        return m_dialog(m_printer, pageCount);
    return makePrintDialog(m_printer, pageCount, nullptr)->exec() == QDialog::Accepted;
}

void QtPrintTarget::setLandscape()
{
    m_printer.setPageOrientation(QPageLayout::Landscape);
}

bool QtPrintTarget::begin(const QString &jobTitle)
{
    // A PDF file that cannot be written fails here, before the printer is
    // touched: Qt leaves a printer whose painter could not begin active.
    if (m_printer.outputFormat() == QPrinter::PdfFormat
        && (m_printer.outputFileName().isEmpty() || !fileCanBeSaved(m_printer.outputFileName())))
        return false;
    m_printer.setDocName(jobTitle);
    m_printer.setCreator(QStringLiteral("Casewright"));
    // The painter's origin is the printable area's top-left corner, so the
    // renderers centre the labels on the printable area.
    m_printer.setFullPage(false);
    m_canvas = std::make_unique<QPainterCanvas>(
        &m_printer, m_printer.logicalDpiX(), m_printer.logicalDpiY());
    if (!m_canvas->painter()->isActive()) {
        m_canvas.reset();
        return false;
    }
    return true;
}

bool QtPrintTarget::newPage()
{
    return m_printer.newPage();
}

void QtPrintTarget::usePaper(const std::optional<QPageLayout> &paper)
{
    if (!paper) {
        if (m_jobLayout)
            m_printer.setPageLayout(*m_jobLayout);
        m_jobLayout.reset();
        return;
    }
    if (!m_jobLayout)
        m_jobLayout = m_printer.pageLayout();
    QPageLayout layout = *paper;
    // A printable disc goes on the driver's own disc page where it lists one.
    if (layout.pageSize().id() == QPageSize::Custom) {
        for (const QPageSize &size : QPrinterInfo(m_printer).supportedPageSizes()) {
            const QSizeF mm = size.size(QPageSize::Millimeter);
            const QString name = size.name() + QLatin1Char(' ') + size.key();
            const bool disc = name.contains(QLatin1String("CD"), Qt::CaseInsensitive)
                || name.contains(QLatin1String("DVD"), Qt::CaseInsensitive)
                || name.contains(QLatin1String("Disc"), Qt::CaseInsensitive);
            if (disc && mm.width() >= 110 && mm.width() <= 130 && mm.height() >= 110
                && mm.height() <= 130) {
                layout.setPageSize(size);
                break;
            }
        }
    }
    m_printer.setPageLayout(layout);
}

void QtPrintTarget::setDuplex(bool shortEdge)
{
    m_printer.setDuplex(shortEdge ? QPrinter::DuplexShortSide : QPrinter::DuplexNone);
}

bool QtPrintTarget::end()
{
    if (!m_canvas)
        return false;
    const bool ok = m_canvas->painter()->end();
    m_canvas.reset();
    return ok && m_printer.printerState() != QPrinter::Error;
}

LabelCanvas &QtPrintTarget::canvas()
{
    return *m_canvas;
}

int QtPrintTarget::resolutionX() const
{
    return m_printer.logicalDpiX();
}

int QtPrintTarget::resolutionY() const
{
    return m_printer.logicalDpiY();
}

int QtPrintTarget::printableWidth() const
{
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).width();
}

int QtPrintTarget::printableHeight() const
{
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height();
}

PrintDevice QtPrintTarget::device() const
{
    return printDeviceOf(m_printer);
}

QSizeF QtPrintTarget::paperSizeMm() const
{
    return m_printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

QPageRanges QtPrintTarget::pageRanges() const
{
    if (m_printer.printRange() != QPrinter::PageRange)
        return {};
    return m_printer.pageRanges();
}

int QtPrintTarget::copiesToMake() const
{
    return m_printer.supportsMultipleCopies() ? 1 : std::max(1, m_printer.copyCount());
}

bool QtPrintTarget::collateCopies() const
{
    return m_printer.collateCopies();
}

QRect QtPrintTarget::paperRect() const
{
    // The canvas starts at the printable area's corner; the paper reaches
    // past it by the margins.
    const QPageLayout layout = m_printer.pageLayout();
    const QRect full = layout.fullRectPixels(m_printer.resolution());
    const QRect paint = layout.paintRectPixels(m_printer.resolution());
    return full.translated(-paint.topLeft());
}

std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter &printer, int pageCount, QWidget *parent)
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    // setMinMax() turns the page range on: it comes first.
    dialog->setMinMax(1, std::max(1, pageCount));
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
    return dialog;
}

std::unique_ptr<QPrintDialog> makePrinterSetupDialog(QPrinter &printer, QWidget *parent)
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setWindowTitle(UiText::tr("プリンタ設定"));
    // The same targets as printing: the printers and the PDF file.
    dialog->setOptions(QAbstractPrintDialog::PrintToFile);
    if (auto *buttons = dialog->findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(UiText::tr("OK"));
    }
    return dialog;
}

namespace {
// Where Qt keeps the job options of a CUPS printer (its properties dialog's
// choices) among the print engine's properties.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
} // namespace

std::unique_ptr<QPrinter> copyOfPrinter(const QPrinter &printer)
{
    std::unique_ptr<QPrinter> copy;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        copy = std::make_unique<QPrinter>(QPrinter::HighResolution);
        copy->setOutputFormat(QPrinter::PdfFormat);
        copy->setOutputFileName(printer.outputFileName());
    } else {
        copy = std::make_unique<QPrinter>(
            QPrinterInfo::printerInfo(printer.printerName()), QPrinter::HighResolution);
        if (QPrintEngine *from = printer.printEngine())
            copy->printEngine()->setProperty(kCupsOptions, from->property(kCupsOptions));
    }
    copy->setResolution(printer.resolution());
    copy->setPageLayout(printer.pageLayout());
    copy->setCopyCount(printer.copyCount());
    copy->setCollateCopies(printer.collateCopies());
    copy->setDuplex(printer.duplex());
    copy->setColorMode(printer.colorMode());
    copy->setPageOrder(printer.pageOrder());
    copy->setFullPage(printer.fullPage());
    return copy;
}

PrintDevice printDeviceOf(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return PrintDevice::pdf();
    return PrintDevice::printer(printer.printerName());
}

} // namespace cw

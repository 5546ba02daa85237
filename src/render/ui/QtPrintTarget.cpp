#include "render/ui/QtPrintTarget.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include "canvas/QPainterCanvas.h"

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

bool QtPrintTarget::showPrintDialog()
{
    if (m_dialog)
        return m_dialog(m_printer);
    QPrintDialog dialog(&m_printer);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrintTarget::setLandscape()
{
    m_printer.setPageOrientation(QPageLayout::Landscape);
}

bool QtPrintTarget::begin(const QString &jobTitle)
{
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

QRect QtPrintTarget::paperRect() const
{
    // The canvas starts at the printable area's corner; the paper reaches
    // past it by the margins.
    const QPageLayout layout = m_printer.pageLayout();
    const QRect full = layout.fullRectPixels(m_printer.resolution());
    const QRect paint = layout.paintRectPixels(m_printer.resolution());
    return full.translated(-paint.topLeft());
}

PrintDevice printDeviceOf(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return PrintDevice::pdf();
    return PrintDevice::printer(printer.printerName());
}

} // namespace cw

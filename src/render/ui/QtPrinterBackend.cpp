#include "render/ui/QtPrinterBackend.h"

#include "render/ui/QtPrintTarget.h"
#include "render/ui/QueueResolution.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace cw {

QtPrinterBackend::QtPrinterBackend()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().first();
    if (info.isNull()) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setResolution(300);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
    } else {
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
}

QtPrinterBackend::QtPrinterBackend(std::unique_ptr<QPrinter> printer)
    : m_printer(std::move(printer))
{ }

QtPrinterBackend::~QtPrinterBackend() = default;

bool QtPrinterBackend::releaseFailedJob()
{
    if (!m_printer || m_printer->printerState() != QPrinter::Active)
        return false;
    m_printer = copyOfPrinter(*m_printer);
    return true;
}

bool QtPrinterBackend::queryResolution(int &dpiX, int &dpiY)
{
    if (!m_printer || !m_printer->isValid())
        return false;
    m_printer->setPageOrientation(QPageLayout::Landscape);
    takeQueueResolution(*m_printer);
    dpiX = m_printer->logicalDpiX();
    dpiY = m_printer->logicalDpiY();
    return dpiX > 0 && dpiY > 0;
}

PrintDevice QtPrinterBackend::device() const
{
    return m_printer ? printDeviceOf(*m_printer) : PrintDevice();
}

} // namespace cw

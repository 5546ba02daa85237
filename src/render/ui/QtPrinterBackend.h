#pragma once

#include <memory>

#include "render/Geometry.h"

class QPrinter;

namespace cw {

// The printer over Qt Print Support: the default printer in landscape, or,
// with no printer installed, the PDF printer at 300 dpi.
class QtPrinterBackend : public PrinterBackend
{
public:
    QtPrinterBackend();
    // A backend on the printer given (tests: a PDF printer, whatever is installed).
    explicit QtPrinterBackend(std::unique_ptr<QPrinter> printer);
    ~QtPrinterBackend() override;
    bool queryResolution(int &dpiX, int &dpiY) override;
    PrintDevice device() const override;
    QPrinter *printer() { return m_printer.get(); }
    // After a job: a printer that a job which could not begin left active is
    // replaced by a fresh one with the same settings, so the next job can
    // choose a printer and begin. True when it was replaced.
    bool releaseFailedJob();

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace cw

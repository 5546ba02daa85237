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
    ~QtPrinterBackend() override;
    bool queryResolution(int &dpiX, int &dpiY) override;
    PrintDevice device() const override;
    QPrinter *printer() { return m_printer.get(); }

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace cw

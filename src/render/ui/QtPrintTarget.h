#pragma once

#include <functional>
#include <memory>

#include "render/PrintDocument.h"

class QPrinter;

namespace cw {

class QPainterCanvas;

// The device a QPrinter prints to: its printer by name, or a PDF file.
PrintDevice printDeviceOf(const QPrinter &printer);

// A print job on a QPrinter. The dialog is injectable so that tests and the
// command line can print without one.
class QtPrintTarget : public PrintTarget
{
public:
    using Dialog = std::function<bool(QPrinter &)>;
    // The default dialog is Qt's print dialog (which offers printing to a PDF file).
    explicit QtPrintTarget(QPrinter &printer, Dialog dialog = {});
    ~QtPrintTarget() override;

    bool showPrintDialog() override;
    void setLandscape() override;
    bool begin(const QString &jobTitle) override;
    bool newPage() override;
    bool end() override;
    LabelCanvas &canvas() override;
    int resolutionX() const override;
    int resolutionY() const override;
    int printableWidth() const override;
    int printableHeight() const override;
    PrintDevice device() const override;
    QRect paperRect() const override;

private:
    QPrinter &m_printer;
    Dialog m_dialog;
    std::unique_ptr<QPainterCanvas> m_canvas;
};

} // namespace cw

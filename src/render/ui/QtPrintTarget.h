#pragma once

#include <functional>
#include <memory>

#include "render/PrintDocument.h"

class QPrintDialog;
class QPrinter;
class QWidget;

namespace cw {

class QPainterCanvas;

// The device a QPrinter prints to: its printer by name, or a PDF file.
PrintDevice printDeviceOf(const QPrinter &printer);

// The print dialog on `printer` for a job of `pageCount` pages: the printers
// and the PDF file target, the copies and, for more than one page, a range
// of the pages 1 to pageCount (the printer's range: a job starts with every
// page, see QtPrintTarget::showPrintDialog).
std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter &printer, int pageCount, QWidget *parent);
// The printer setup: the same choice of printers and the PDF file target,
// confirmed with "OK", as it only chooses.
std::unique_ptr<QPrintDialog> makePrinterSetupDialog(QPrinter &printer, QWidget *parent);

// A fresh printer with the settings of `printer`: its device or PDF file,
// paper, resolution, copies and job options. For a printer whose job could
// not begin, which Qt leaves active, refusing every later change.
std::unique_ptr<QPrinter> copyOfPrinter(const QPrinter &printer);

// A print job on a QPrinter. The dialog is injectable so that tests and the
// command line can print without one.
class QtPrintTarget : public PrintTarget
{
public:
    using Dialog = std::function<bool(QPrinter &, int pageCount)>;
    // The default dialog is Qt's print dialog (which offers printing to a PDF file).
    explicit QtPrintTarget(QPrinter &printer, Dialog dialog = {});
    ~QtPrintTarget() override;

    bool showPrintDialog(int pageCount) override;
    void setLandscape() override;
    bool begin(const QString &jobTitle) override;
    bool newPage() override;
    bool end() override;
    void usePaper(const std::optional<QPageLayout> &layout) override;
    void setDuplex(bool shortEdge) override;
    LabelCanvas &canvas() override;
    int resolutionX() const override;
    int resolutionY() const override;
    int printableWidth() const override;
    int printableHeight() const override;
    PrintDevice device() const override;
    QRect paperRect() const override;
    QSizeF paperSizeMm() const override;
    // The range the dialog chose; the copies Qt leaves to the program (a PDF
    // file's: a CUPS queue makes its own).
    QPageRanges pageRanges() const override;
    int copiesToMake() const override;
    bool collateCopies() const override;

private:
    QPrinter &m_printer;
    Dialog m_dialog;
    std::unique_ptr<QPainterCanvas> m_canvas;
    std::optional<QPageLayout> m_jobLayout; // the job's own, while the disc's is used
};

} // namespace cw

#pragma once

#include <QString>
#include <optional>

#include "base/Units.h"
#include "base/UserPrompts.h"

namespace cw {

// Where a print job goes, as far as settings kept per device care: a printer
// by its name, or a PDF file (every PDF file counts as one device).
struct PrintDevice
{
    bool pdfFile = false;
    QString name; // the printer's name; empty for a PDF file

    static PrintDevice pdf() { return { true, QString() }; }
    static PrintDevice printer(const QString &name) { return { false, name }; }
    bool operator==(const PrintDevice &) const = default;
};

// The printer as the program sees it: its resolution, or a failure.
class PrinterBackend
{
public:
    virtual ~PrinterBackend() = default;
    // Sets the orientation to landscape and reads the logical resolution.
    // False when the printer cannot be reached or set up.
    virtual bool queryResolution(int &dpiX, int &dpiY) = 0;
    // The device now chosen. A printer without a name unless overridden.
    virtual PrintDevice device() const { return {}; }
};

// Process-wide printer state: the resolution every document refers to.
struct PrinterState
{
    int printerDpiX = geom::kFallbackDpi;
    int printerDpiY = geom::kFallbackDpi;
    bool printerFailed = false;
};
PrinterState &printerState();

extern const QString kPrinterErrorMessage;

// Reads the printer's resolution into printerState(). The first failure shows
// the fallback message once and sets printerFailed; from then on 300 x 300 is
// stored without asking the printer.
void QueryPrinterResolution(
    PrinterBackend &printer, MessageSink &messages, PrinterState &state = printerState());

// A printer's resolution as its driver names it ("600dpi", "600x300dpi",
// "236dpcm"): across and down in dots per inch. Nothing for a name that
// states none ("Draft", "FastRes1200").
struct PrinterResolution
{
    int x = 0, y = 0;
    bool operator==(const PrinterResolution &) const = default;
};
std::optional<PrinterResolution> parsePrinterResolution(const QString &choice);

// Device pixels of the printer's resolution in millimetres.
double PixelsToMmX(int px, const PrinterState &state = printerState());
double PixelsToMmY(int px, const PrinterState &state = printerState());

} // namespace cw

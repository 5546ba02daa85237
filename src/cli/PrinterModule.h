#pragma once

#include <QCoreApplication>
#include <QString>

#include "render/CalibrationSheet.h"
#include "render/PrintDocument.h"

class QGuiApplication;

namespace cw {

// Printing to a printer lives in a module of its own, casewright-printing.so
// beside the executable: Qt Print Support needs the widget library, and
// every other command starts faster without loading either.

// A printer chosen by name (or the default printer), ready for one job.
class PrinterJob : public PrinterBackend
{
public:
    // Prints the pages as PrintDocument does, on this printer, without a
    // dialog, each sheet moved by the correction the lookup gives.
    virtual PrintResult print(const PrintOptions &options, const PageDrawer &drawPage,
        MessageSink &messages, ProgressSink &progress, PrinterState &state,
        const PrintTarget::CorrectionLookup &correction)
        = 0;
    // Prints the calibration sheet (or the disc's) on this printer, moved likewise.
    virtual PrintResult printCalibrationSheet(MessageSink &messages, PrinterState &state,
        const PrintTarget::CorrectionLookup &correction, CalibrationVariant variant)
        = 0;
};

struct PrinterModuleApi
{
    // The application object printing needs (a widget application).
    QGuiApplication *(*createApplication)(int &argc, char **argv);
    // The printer named, or with an empty name the default one; null, after
    // a message, when there is no such printer.
    PrinterJob *(*openPrinter)(const QString &name, MessageSink &messages);
};

// The module's entry point.
extern "C" const PrinterModuleApi *casewright_printer_module();
using PrinterModuleEntry = const PrinterModuleApi *(*)();

namespace cli {
// Said when the module cannot be loaded; %1 is the reason.
inline constexpr char kPrinterModuleFailure[]
    = QT_TRANSLATE_NOOP("cw::UiText", "印刷モジュールを読み込めません: %1");
// Loads the module once; null, with the reason in `error`, when it cannot be.
const PrinterModuleApi *printerModule(QString *error = nullptr);
} // namespace cli

} // namespace cw

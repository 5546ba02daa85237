// casewright-cli calibration-sheet: the sheet a user measures with a ruler to
// find a printer's position correction, printed with the correction applied;
// with --disc, the sheet for centring the print on a printable disc.
#include <memory>

#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/PrinterModule.h"
#include "render/CalibrationSheet.h"

namespace cw {

namespace {

int runCalibrationSheet(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    const bool toPdf = args.has(QStringLiteral("pdf"));
    const bool named = args.has(QStringLiteral("printer"));
    if (toPdf == named)
        throw cli::UsageError(
            UiText::tr("--printer と --pdf のどちらか一つを指定してください").toStdString());
    const QPageSize::PageSizeId paper = cli::pdfPaper(args);
    const CalibrationVariant variant = args.has(QStringLiteral("disc")) ? CalibrationVariant::Disc
                                                                        : CalibrationVariant::Sheet;
    cli::StderrMessages messages(err);
    PrinterState state;
    if (toPdf) {
        const QString file = args.value(QStringLiteral("pdf"));
        const PrintCorrection correction = cli::printCorrection(args, PrintDevice::pdf());
        // A PDF file is made for a printer of 300 dpi unless --printer-dpi says otherwise.
        const auto [dpiX, dpiY] = args.has(QStringLiteral("printer-dpi"))
            ? cli::parseDpi(args.value(QStringLiteral("printer-dpi")))
            : QPair<int, int>(geom::kFallbackDpi, geom::kFallbackDpi);
        PdfPrintTarget target(file, dpiX, dpiY, paper);
        target.setCorrectionLookup([correction](const PrintDevice &) { return correction; });
        // The file's resolution is the printer's: a printer that always answers.
        struct : PrinterBackend
        {
            int x = 300, y = 300;
            bool queryResolution(int &dpiX, int &dpiY) override
            {
                dpiX = x;
                dpiY = y;
                return true;
            }
        } printer;
        printer.x = dpiX;
        printer.y = dpiY;
        const PrintResult r = PrintCalibrationSheet(target, printer, messages, state, variant);
        if (r == PrintResult::Failed)
            messages.showMessage(UiText::tr("ファイル(%1)が記録できません").arg(file));
        if (r != PrintResult::Printed)
            return 1;
        out << file << '\n';
        return 0;
    }
    QString why;
    const PrinterModuleApi *module = cli::printerModule(&why);
    if (!module) {
        err << UiText::tr(cli::kPrinterModuleFailure).arg(why) << '\n';
        return 1;
    }
    std::unique_ptr<PrinterJob> job(
        module->openPrinter(args.value(QStringLiteral("printer")), messages));
    if (!job)
        return 1;
    const PrintCorrection correction = cli::printCorrection(args, job->device());
    const PrintResult r = job->printCalibrationSheet(
        messages, state, [correction](const PrintDevice &) { return correction; }, variant);
    return r == PrintResult::Printed ? 0 : 1;
}

} // namespace

CLI_COMMAND({ .name = "calibration-sheet",
    .usage = "calibration-sheet (--printer NAME | --pdf F [--paper a4|letter]) [--offset X,Y] "
             "[--disc] [--printer-dpi X[xY]]",
    .valueOptions = { QStringLiteral("printer"), QStringLiteral("pdf"), QStringLiteral("paper"),
        QStringLiteral("offset") },
    .flags = { QStringLiteral("disc") },
    .run = runCalibrationSheet });

} // namespace cw

#include <memory>

#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/CommandDocument.h"
#include "cli/PrinterModule.h"
#include "render/DocumentPages.h"
#include "render/DrawSurfacePicture.h"
#include "render/PrintDocument.h"

namespace cw {

namespace {

class FixedResolution : public PrinterBackend
{
public:
    FixedResolution(int dpiX, int dpiY)
        : m_dpiX(dpiX)
        , m_dpiY(dpiY)
    { }
    bool queryResolution(int &dpiX, int &dpiY) override
    {
        dpiX = m_dpiX;
        dpiY = m_dpiY;
        return true;
    }

private:
    int m_dpiX, m_dpiY;
};

int runPrint(const cli::Args &args, QTextStream &, QTextStream &err)
{
    const bool toPdf = args.has(QStringLiteral("pdf"));
    const bool named = args.has(QStringLiteral("printer"));
    if (toPdf && named)
        throw cli::UsageError(
            UiText::tr("--printer と --pdf は同時に指定できません").toStdString());
    const PrintOptions options = cli::printOptions(args);
    const QPageSize::PageSizeId paper = cli::pdfPaper(args);

    cli::StderrMessages messages(err);
    // A printer is opened before the document is read: without --printer-dpi
    // the document is laid out at the printer's own resolution.
    std::unique_ptr<PrinterJob> job;
    if (!toPdf) {
        QString why;
        const PrinterModuleApi *module = cli::printerModule(&why);
        if (!module) {
            err << UiText::tr(cli::kPrinterModuleFailure).arg(why) << '\n';
            return 1;
        }
        job.reset(module->openPrinter(
            named ? args.value(QStringLiteral("printer")) : QString(), messages));
        if (!job)
            return 1;
    }
    // The correction of the device printed to: --offset, or the one kept for it.
    const PrintCorrection correction
        = cli::printCorrection(args, toPdf ? PrintDevice::pdf() : job->device());
    cli::CommandDocument document;
    if (!cli::loadCommandDocument(args, args.positional.first(), messages, document,
            { .printer = job.get(), .warmUp = OutputWarmUp::Vector }))
        return 1;
    FilePictureReader pictures(messages);
    const PageDrawer draw = documentPageDrawer(document.doc, options, &pictures);
    NullProgressSink progress;
    PrinterState printState; // the job's own printer; the document keeps its reference

    if (toPdf) {
        // A PDF file is made for a printer of the resolution given (300 dpi
        // unless --printer-dpi says otherwise), on the paper given.
        const PrinterState &dpi = printerState();
        PdfPrintTarget target(
            args.value(QStringLiteral("pdf")), dpi.printerDpiX, dpi.printerDpiY, paper);
        target.setCorrectionLookup([correction](const PrintDevice &) { return correction; });
        FixedResolution printer(dpi.printerDpiX, dpi.printerDpiY);
        PrintResult r
            = PrintDocument(target, printer, options, draw, messages, progress, printState);
        if (r == PrintResult::Failed)
            messages.showMessage(
                UiText::tr("ファイル(%1)が記録できません").arg(args.value(QStringLiteral("pdf"))));
        return r == PrintResult::Printed ? 0 : 1;
    }

    const PrintResult r = job->print(options, draw, messages, progress, printState,
        [correction](const PrintDevice &) { return correction; });
    return r == PrintResult::Printed ? 0 : 1;
}

} // namespace

CLI_COMMAND({ .name = "print",
    .usage = "print DOC.cwr [--printer NAME | --pdf F [--paper a4|letter]] [--option NAME=0|1]... "
             "[--offset X,Y] [--bleed N] [--printer-dpi X[xY]] [--label-sheet ID] [--labels N,N] "
             "[--printable-disc]",
    .valueOptions = { QStringLiteral("printer"), QStringLiteral("pdf"), QStringLiteral("paper"),
        QStringLiteral("option"), QStringLiteral("offset"), QStringLiteral("bleed"),
        QStringLiteral("label-sheet"), QStringLiteral("labels") },
    .flags = { QStringLiteral("printable-disc") },
    .positionals = { 1, 1, QT_TRANSLATE_NOOP("cw::UiText", "文書を一つ指定してください") },
    .run = runPrint });

} // namespace cw

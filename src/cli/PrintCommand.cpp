#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "cli/CliCommand.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "pictures/PictureLoading.h"
#include "render/DocumentPages.h"
#include "render/DrawSurfacePicture.h"
#include "render/PrintDocument.h"
#include "render/ui/QtPrintTarget.h"

namespace {

// The printer the job goes to, as the resolution query sees it.
class NamedPrinter : public PrinterBackend
{
public:
    explicit NamedPrinter(QPrinter &printer)
        : m_printer(printer)
    { }
    bool queryResolution(int &dpiX, int &dpiY) override
    {
        if (!m_printer.isValid())
            return false;
        m_printer.setPageOrientation(QPageLayout::Landscape);
        dpiX = m_printer.logicalDpiX();
        dpiY = m_printer.logicalDpiY();
        return dpiX > 0 && dpiY > 0;
    }

private:
    QPrinter &m_printer;
};

class FixedResolution : public PrinterBackend
{
public:
    explicit FixedResolution(int dpi)
        : m_dpi(dpi)
    { }
    bool queryResolution(int &dpiX, int &dpiY) override
    {
        dpiX = dpiY = m_dpi;
        return true;
    }

private:
    int m_dpi;
};

int runPrint(const cli::Args &args, QTextStream &, QTextStream &err)
{
    if (args.positional.size() != 1)
        throw cli::UsageError("one document is needed");
    const bool toPdf = args.has(QStringLiteral("--pdf"));
    const bool named = args.has(QStringLiteral("--printer"));
    if (toPdf && named)
        throw cli::UsageError("--printer and --pdf exclude each other");
    const PrintOptions options = cli::printOptions(args);

    cli::StderrMessages messages(err);
    cli::applyPrinterDpi(args);
    LoadSusiePlugins();
    LabelDocument doc;
    ComputeSurfacePixels(doc);
    DocumentEditor editor(doc, &messages);
    NullProgressSink progress;
    if (loadDocument(editor, args.positional.first(), progress) != LoadStatus::Loaded)
        return 1;
    FilePictureReader pictures(messages);
    const PageDrawer draw = documentPageDrawer(doc, options, &pictures);
    PrinterState printState; // the job's own printer; the document keeps its reference

    if (toPdf) {
        PdfPrintTarget target(args.value(QStringLiteral("--pdf")), 300);
        FixedResolution printer(300);
        PrintResult r
            = PrintDocument(target, printer, options, draw, messages, progress, printState);
        if (r == PrintResult::Failed)
            messages.showMessage(QStringLiteral("ファイル(") + args.value(QStringLiteral("--pdf"))
                + QStringLiteral(")が記録できません"));
        return r == PrintResult::Printed ? 0 : 1;
    }

    QPrinterInfo info = named ? QPrinterInfo::printerInfo(args.value(QStringLiteral("--printer")))
                              : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        messages.showMessage(named
                ? QStringLiteral("プリンタ(%1)が見つかりません")
                      .arg(args.value(QStringLiteral("--printer")))
                : QStringLiteral("プリンタがありません(--pdf でファイルに出力できます)"));
        return 1;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    QtPrintTarget target(printer, [](QPrinter &) { return true; });
    NamedPrinter backend(printer);
    PrintResult r = PrintDocument(target, backend, options, draw, messages, progress, printState);
    return r == PrintResult::Printed ? 0 : 1;
}

} // namespace

CLI_COMMAND({ "print",
    "print DOC.cwr [--printer NAME | --pdf F] [--option NAME=0|1]... [--printer-dpi X[xY]]",
    { QStringLiteral("--printer"), QStringLiteral("--pdf"), QStringLiteral("--option") },
    runPrint });

#include "cli/CommandDocument.h"

#include "document/DocumentEditor.h"
#include "pictures/PictureLoading.h"
#include "render/Geometry.h"

namespace cw::cli {

namespace {

void setPrinterResolution(const Args &args, PrinterBackend *printer)
{
    PrinterState &state = printerState();
    const QString dpi = QStringLiteral("printer-dpi");
    if (args.has(dpi)) {
        auto [x, y] = parseDpi(args.value(dpi));
        state.printerDpiX = x;
        state.printerDpiY = y;
        return;
    }
    if (printer) {
        // Asked quietly: a printer that does not answer counts as 300 dpi.
        NullMessageSink quiet;
        QueryPrinterResolution(*printer, quiet, state);
        return;
    }
    // No printer is asked here: the commands that only read or draw work at
    // 300 dpi unless told otherwise.
    state.printerDpiX = geom::kFallbackDpi;
    state.printerDpiY = geom::kFallbackDpi;
    state.printerFailed = false;
}

} // namespace

bool loadCommandDocument(const Args &args, const QString &path, MessageSink &messages,
    CommandDocument &document, const DocumentReading &reading)
{
    setPrinterResolution(args, reading.printer);
    if (reading.warmUp)
        document.warmUp.emplace(*reading.warmUp);
    ComputeSurfacePixels(document.doc);
    LoadSusiePlugins(ModuleLoading::OnDemand);
    DocumentEditor editor(document.doc, &messages);
    NullProgressSink progress;
    return loadDocument(editor, path, progress, &document.file) == LoadStatus::Loaded;
}

} // namespace cw::cli

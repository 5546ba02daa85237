#include "cli/CliCommand.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "pictures/PictureLoading.h"
#include "render/Geometry.h"

namespace {

int runConvert(const cli::Args &args, QTextStream &, QTextStream &err)
{
    if (args.positional.size() != 2)
        throw cli::UsageError("a document to read and a document to write are needed");
    cli::applyPrinterDpi(args);
    cli::StderrMessages messages(err);
    LoadSusiePlugins();
    LabelDocument doc;
    ComputeSurfacePixels(doc);
    DocumentEditor editor(doc, &messages);
    NullProgressSink progress;
    if (loadDocument(editor, args.positional[0], progress) != LoadStatus::Loaded)
        return 1;
    return editor.save(args.positional[1]) ? 0 : 1;
}

} // namespace

CLI_COMMAND({ "convert", "convert IN.cwr OUT.cwr [--printer-dpi X[xY]]", {}, runConvert });

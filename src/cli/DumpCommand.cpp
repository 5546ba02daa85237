#include "cli/CliCommand.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "document/DocumentJson.h"
#include "pictures/PictureLoading.h"
#include "render/Geometry.h"

namespace cw {

namespace {

int runDump(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    if (args.positional.size() != 1)
        throw cli::UsageError("one document is needed");
    cli::applyPrinterDpi(args);
    cli::StderrMessages messages(err);
    LoadSusiePlugins(ModuleLoading::OnDemand);
    LabelDocument doc;
    ComputeSurfacePixels(doc);
    DocumentEditor editor(doc, &messages);
    NullProgressSink progress;
    DocumentFileInfo file;
    if (loadDocument(editor, args.positional.first(), progress, &file) != LoadStatus::Loaded)
        return 1;
    // Written as it is made: a long list never exists as one JSON text.
    out.flush();
    const QJsonObject fileInfo { { "fileVersion", file.version },
        { "fileEncoding", encodingName(file.encoding) } };
    if (!writeDocumentJson(*out.device(), doc, fileInfo)) {
        messages.showMessage(QStringLiteral("出力が書き込めません"));
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ "dump", "dump DOC.cwr [--printer-dpi X[xY]]", {}, runDump });

} // namespace cw

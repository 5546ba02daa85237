#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/CommandDocument.h"
#include "document/DocumentJson.h"

namespace cw {

namespace {

int runDump(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    cli::StderrMessages messages(err);
    cli::CommandDocument document;
    if (!cli::loadCommandDocument(args, args.positional.first(), messages, document))
        return 1;
    // Written as it is made: a long list never exists as one JSON text.
    out.flush();
    const QJsonObject fileInfo { { "fileVersion", document.file.version },
        { "fileEncoding", encodingName(document.file.encoding) } };
    if (!writeDocumentJson(*out.device(), document.doc, fileInfo)) {
        messages.showMessage(UiText::tr("出力が書き込めません"));
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "dump",
    .usage = "dump DOC.cwr [--printer-dpi X[xY]]",
    .positionals = { 1, 1, QT_TRANSLATE_NOOP("cw::UiText", "文書を一つ指定してください") },
    .run = runDump });

} // namespace cw

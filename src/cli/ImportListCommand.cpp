#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "text/JsonStream.h"
#include "tracklist/AlbumImport.h"
#include "tracklist/ListJson.h"

namespace cw {

namespace {

int runImportList(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    int columns = 3;
    if (args.has(QStringLiteral("columns"))) {
        bool ok = false;
        columns = args.value(QStringLiteral("columns")).toInt(&ok);
        if (!ok || columns < 1 || columns > 3)
            throw cli::UsageError(UiText::tr("列数が正しくありません: %1")
                                      .arg(args.value(QStringLiteral("columns")))
                                      .toStdString());
    }
    cli::StderrMessages messages(err);
    const std::optional<ListImportOutcome> imported
        = importListSources(args.positional, ListEditorDefaults(), columns, messages);
    if (!imported)
        return 1;
    // Row by row: the JSON of a long list is never held whole.
    out.flush();
    IndentedJsonWriter json(*out.device());
    writeListRowsJson(json, imported->rows);
    if (!json.flush()) {
        messages.showMessage(UiText::tr("出力が書き込めません"));
        return 1;
    }
    return 0;
}

} // namespace

// One text, CSV or cue-sheet file, one folder, or several audio files.
CLI_COMMAND({ .name = "import-list",
    .usage = "import-list FILE|FOLDER|AUDIO... [--columns N]",
    .valueOptions = { QStringLiteral("columns") },
    .positionals = { 1, cli::kAnyNumber,
        QT_TRANSLATE_NOOP(
            "cw::UiText", "ファイル、フォルダ、または音声ファイルを指定してください") },
    .run = runImportList });

} // namespace cw

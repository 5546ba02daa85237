#include "cli/CliCommand.h"
#include "text/JsonStream.h"
#include "tracklist/ListImport.h"
#include "tracklist/ListJson.h"

namespace {

class StderrMessages : public MessageSink
{
public:
    explicit StderrMessages(QTextStream &err)
        : m_err(err)
    { }
    void showMessage(const QString &text) override { m_err << text << '\n'; }

private:
    QTextStream &m_err;
};

int runImportList(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    if (args.positional.size() != 1)
        throw cli::UsageError("expected one file");
    int columns = 3;
    if (args.has(QStringLiteral("--columns"))) {
        bool ok = false;
        columns = args.value(QStringLiteral("--columns")).toInt(&ok);
        if (!ok || columns < 1 || columns > 3)
            throw cli::UsageError(
                "invalid column count: " + args.value(QStringLiteral("--columns")).toStdString());
    }
    QList<TListData> rows;
    StderrMessages messages(err);
    if (ImportListFile(args.positional.first(), rows, ListEditorDefaults(), columns, messages) < 0)
        return 1;
    // Row by row: the JSON of a long list is never held whole.
    out.flush();
    IndentedJsonWriter json(*out.device());
    writeListRowsJson(json, rows);
    if (!json.flush()) {
        messages.showMessage(QStringLiteral("出力が書き込めません"));
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ "import-list", "import-list FILE [--columns N]", { QStringLiteral("--columns") },
    runImportList });

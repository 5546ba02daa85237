#include <QJsonDocument>

#include "cli/CliCommand.h"
#include "tracklist/ListJson.h"
#include "tracklist/ListTemplate.h"

namespace cw {

namespace {

int runTemplate(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    if (args.positional.size() != 1)
        throw cli::UsageError("expected one template file");
    const QString path = args.positional.first();
    ListTemplate t;
    const int surface = ReadListTemplate(path, t);
    if (surface < 0) {
        err << QStringLiteral("ファイル(") << path
            << QStringLiteral(")はテンプレートとして読めません") << '\n';
        return 1;
    }
    out << QString::fromUtf8(
        QJsonDocument(listTemplateToJson(surface, t)).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace

CLI_COMMAND({ "template", "template FILE.cwt", {}, runTemplate });

} // namespace cw

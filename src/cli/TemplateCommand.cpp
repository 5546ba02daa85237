#include <QJsonDocument>

#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "tracklist/ListJson.h"
#include "tracklist/ListTemplate.h"

namespace cw {

namespace {

int runTemplate(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    const QString path = args.positional.first();
    ListTemplate t;
    const int surface = ReadListTemplate(path, t);
    if (surface < 0) {
        err << UiText::tr("ファイル(%1)はテンプレートとして読めません").arg(path) << '\n';
        return 1;
    }
    out << QString::fromUtf8(
        QJsonDocument(listTemplateToJson(surface, t)).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "template",
    .usage = "template FILE.cwt",
    .positionals
    = { 1, 1, QT_TRANSLATE_NOOP("cw::UiText", "テンプレートファイルを一つ指定してください") },
    .run = runTemplate });

} // namespace cw

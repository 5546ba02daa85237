#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "pictures/PictureLoading.h"

namespace cw {

namespace {

int runDecode(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    if (args.has(QStringLiteral("plugins")))
        SusieHost::instance().load(args.value(QStringLiteral("plugins")), ModuleLoading::OnDemand);
    else
        LoadSusiePlugins(ModuleLoading::OnDemand);
    cli::StderrMessages messages(err);
    QImage bitmap;
    const bool loaded = LoadPictureFile(bitmap, args.positional.first(), messages);
    FreeSusiePlugins();
    if (!loaded)
        return 1;
    if (args.has(QStringLiteral("png"))) {
        const QString png = args.value(QStringLiteral("png"));
        if (!cli::savePng(bitmap, png)) {
            err << UiText::tr("ファイル(%1)が記録できません").arg(png) << '\n';
            return 1;
        }
    }
    out << bitmap.width() << 'x' << bitmap.height() << '\n';
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "decode",
    .usage = "decode PICTURE [--plugins DIR] [--png OUT]",
    .valueOptions = { QStringLiteral("plugins"), QStringLiteral("png") },
    .positionals = { 1, 1, QT_TRANSLATE_NOOP("cw::UiText", "画像ファイルを一つ指定してください") },
    .run = runDecode });

} // namespace cw

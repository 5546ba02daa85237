#include "cli/CliCommand.h"
#include "pictures/PictureLoading.h"

namespace cw {

namespace {

int runFilter(const cli::Args &args, QTextStream &out, QTextStream &)
{
    if (!args.positional.isEmpty())
        throw cli::UsageError("unexpected argument: " + args.positional.first().toStdString());
    if (args.has(QStringLiteral("--plugins")))
        SusieHost::instance().load(args.value(QStringLiteral("--plugins")));
    else
        LoadSusiePlugins();
    out << PictureFilter() << '\n';
    FreeSusiePlugins();
    return 0;
}

} // namespace

CLI_COMMAND({ "filter", "filter [--plugins DIR]", { QStringLiteral("--plugins") }, runFilter });

} // namespace cw

#include "cli/CliCommand.h"
#include "pictures/PictureLoading.h"

namespace cw {

namespace {

int runFilter(const cli::Args &args, QTextStream &out, QTextStream &)
{
    if (args.has(QStringLiteral("plugins")))
        SusieHost::instance().load(args.value(QStringLiteral("plugins")));
    else
        LoadSusiePlugins();
    out << PictureFilter() << '\n';
    FreeSusiePlugins();
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "filter",
    .usage = "filter [--plugins DIR]",
    .valueOptions = { QStringLiteral("plugins") },
    .run = runFilter });

} // namespace cw

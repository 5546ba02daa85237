#pragma once

#include <QString>

#include "cli/CliCommand.h"

namespace cw::cli {

// What --help and --version print (on standard output, ending in a line end),
// in the interface language.

// "usage: casewright-cli SYNTAX", without a line end.
QString usageLine(const QString &syntax);

// The program's name and version: "casewright-cli 1.12".
QString versionText();
// The commands with a line each, the options every command takes, and the
// exit statuses.
QString programHelp();
// One command: its usage line, what it does, and each of its options.
QString commandHelp(const Command &command);

// What main() is to do with the arguments before any other work: print one of
// the texts above, or nothing (run the command line as usual).
enum class HelpRequest { None, Version, Program, Command };
// `arguments` are those after the program's name. A command's --help counts
// only where the command's parser takes it as an option (not as the value of
// another option, nor after "--"); `command` is set to that command.
HelpRequest helpRequest(const QStringList &arguments, const Command **command);

} // namespace cw::cli

#pragma once

#include <QDate>
#include <QString>

namespace cw {

// Where the program's parts lie. They are found relative to the running
// executable, so the build tree, an installed tree under any prefix and an
// unpacked package all work unchanged:
//
//   bin/                         casewright, casewright-cli
//   lib/<multiarch>/casewright/  the decoder modules (*.spi), casewright-printing.so
//   share/casewright/            read-only data: the shipped list templates
//
// The build tree has the same layout.

// The folder of the running executable, symbolic links resolved. Works before
// the application object exists.
QString executableFolder();

// The program's private modules: the picture decoder modules and the printer
// module of the command line.
QString programModuleFolder();

// The program's read-only data.
QString programDataFolder();

// The version ("1.12") and its release date, as the build states them.
QString programVersion();
QDate programReleaseDate();

// The folder `relative` names from `executableFolder`, cleaned ("a/bin" and
// "../lib/x" -> "a/lib/x").
QString folderBesideExecutable(const QString &executableFolder, const QString &relative);

} // namespace cw

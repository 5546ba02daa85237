#include "base/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build passes the layout and the version to this file alone, relative to
// the executables' folder: CASEWRIGHT_MODULE_DIR_FROM_BIN ("../lib/<multiarch>/casewright"),
// CASEWRIGHT_DATA_DIR_FROM_BIN ("../share/casewright"), CASEWRIGHT_VERSION ("1.12")
// and CASEWRIGHT_RELEASE_DATE ("2025-06-01").
#ifndef CASEWRIGHT_MODULE_DIR_FROM_BIN
#error "CASEWRIGHT_MODULE_DIR_FROM_BIN is set by the build"
#endif

namespace cw {

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString folderBesideExecutable(const QString &executableFolder, const QString &relative)
{
    return QDir::cleanPath(executableFolder + QLatin1Char('/') + relative);
}

QString programModuleFolder()
{
    return folderBesideExecutable(
        executableFolder(), QStringLiteral(CASEWRIGHT_MODULE_DIR_FROM_BIN));
}

QString programDataFolder()
{
    return folderBesideExecutable(executableFolder(), QStringLiteral(CASEWRIGHT_DATA_DIR_FROM_BIN));
}

QString programVersion()
{
    return QStringLiteral(CASEWRIGHT_VERSION);
}

QDate programReleaseDate()
{
    return QDate::fromString(QStringLiteral(CASEWRIGHT_RELEASE_DATE), Qt::ISODate);
}

} // namespace cw

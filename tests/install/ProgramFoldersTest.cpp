// The build tree has the installed layout: the programs of the build find
// their modules and data where an installed program finds them.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "InstallTree.h"
#include "base/ProgramFolders.h"

using namespace cw;

TEST(ProgramFolders, AFolderBesideTheExecutableIsTheCleanedRelativePath)
{
    struct Case
    {
        QString executableFolder;
        QString relative;
        QString expected;
    };
    const QList<Case> cases = {
        { "/usr/bin", "../lib/x86_64-linux-gnu/casewright",
            "/usr/lib/x86_64-linux-gnu/casewright" },
        { "/opt/cw/bin", "../share/casewright", "/opt/cw/share/casewright" },
        { "/home/u/build/bin/", "../lib/casewright", "/home/u/build/lib/casewright" },
        { "/bin", "../lib/casewright", "/lib/casewright" },
        { "/a/./b/bin", "../share/casewright/", "/a/b/share/casewright" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(folderBesideExecutable(c.executableFolder, c.relative), c.expected)
            << c.executableFolder.toStdString() << " + " << c.relative.toStdString();
}

TEST(ProgramFolders, TheBuildTreeHoldsTheModulesAndDataWhereTheProgramLooks)
{
    const QString build = QStringLiteral(CASEWRIGHT_BUILD_DIR);
    EXPECT_EQ(executableFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(programModuleFolder(), QDir::cleanPath(build + '/' + moduleFolder()));
    EXPECT_EQ(programDataFolder(), QDir::cleanPath(build + "/share/casewright"));
    for (const char *module : { "gif.spi", "heif.spi", "jpeg.spi", "png.spi", "tiff.spi",
             "webp.spi", "casewright-printing.so" })
        EXPECT_TRUE(QFileInfo(programModuleFolder() + '/' + module).isFile()) << module;
    EXPECT_TRUE(QFileInfo(programDataFolder() + "/templates").isDir());
}

TEST(ProgramFolders, VersionAndReleaseDateAreTheBuilds)
{
    EXPECT_EQ(programVersion(), buildVersion());
    EXPECT_TRUE(programReleaseDate().isValid());
}

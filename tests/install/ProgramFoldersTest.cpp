// The build tree has the installed layout: the programs of the build find
// their modules and data where an installed program finds them.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// The program states the version and the release date of the package's
// changelog: its first line "casewright (VERSION) ..." and the date of its
// trailer line " -- NAME <ADDRESS>  DATE".
TEST(ProgramFolders, VersionAndReleaseDateAreThoseOfThePackagesChangelog)
{
    QFile file(QStringLiteral(CASEWRIGHT_BUILD_DIR "/packaging/changelog"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QString changelog = QString::fromUtf8(file.readAll());
    const QRegularExpressionMatch version
        = QRegularExpression(QStringLiteral("^casewright \\(([^)\n]+)\\) ")).match(changelog);
    const QRegularExpressionMatch date
        = QRegularExpression(QStringLiteral("\n -- [^<\n]+ <[^>\n]+>  ([^\n]+)\n"))
              .match(changelog);
    ASSERT_TRUE(version.hasMatch() && date.hasMatch()) << changelog.toStdString();
    EXPECT_EQ(programVersion(), version.captured(1));
    const QDateTime released = QDateTime::fromString(date.captured(1), Qt::RFC2822Date);
    ASSERT_TRUE(released.isValid()) << date.captured(1).toStdString();
    EXPECT_EQ(programReleaseDate(), released.date());
}

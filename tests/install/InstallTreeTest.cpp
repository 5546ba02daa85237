// The installed tree: its files lie where Linux expects them, and the
// programs run from there with the modules and data installed beside them.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "InstallTree.h"

namespace {

class InstallTreeTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree().ok) << tree().log.toStdString(); }
    static const InstalledTree &tree() { return InstalledTree::get(); }
    static QString cli() { return tree().path(QStringLiteral("bin/casewright-cli")); }
    static QString demo()
    {
        return tree().path(QStringLiteral("share/doc/casewright/examples/demo.cwr"));
    }
};

// A settings folder whose decoder-module setting names `path` ([Plug-in] Path
// of Takechin/Susie); with `path` null, no setting.
struct ModuleSetting
{
    explicit ModuleSetting(const QString &path)
    {
        if (path.isNull())
            return;
        QSettings s(config.path() + QStringLiteral("/Takechin/Susie.conf"), QSettings::IniFormat);
        s.setValue(QStringLiteral("Plug-in/Path"), path);
    }
    QTemporaryDir config;
};

} // namespace

TEST_F(InstallTreeTest, EveryFileLiesInTheFolderOfItsKind)
{
    const QString modules = QRegularExpression::escape(moduleFolder());
    const QStringList allowed = {
        "bin/casewright",
        "bin/casewright-cli",
        modules + "/[^/]+",
        "share/casewright/.+",
        "share/applications/casewright\\.desktop",
        "share/icons/hicolor/scalable/apps/casewright\\.svg",
        "share/icons/hicolor/scalable/mimetypes/application-x-casewright\\.svg",
        "share/mime/packages/casewright\\.xml",
        "share/metainfo/[a-z.]+\\.metainfo\\.xml",
        "share/man/man1/casewright(-cli)?\\.1\\.gz",
        "share/bash-completion/completions/casewright-cli",
        "share/doc/casewright/(copyright|changelog\\.gz|examples/(demo|dvd|disc|booklet)\\.cwr|examples/"
        "demo-cover\\.png)",
    };
    const QStringList files = tree().files();
    for (const QString &file : files) {
        bool expected = false;
        for (const QString &pattern : allowed)
            expected = expected
                || QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                       .match(file)
                       .hasMatch();
        EXPECT_TRUE(expected) << "unexpected file: " << file.toStdString();
    }

    // What every installation holds, and which files may be run: the
    // programs and the decoder helper, but no module (modules are opened,
    // not run).
    struct Required
    {
        QString file;
        bool executable;
    };
    QList<Required> required = {
        { "bin/casewright", true },
        { "bin/casewright-cli", true },
        { moduleFolder() + "/casewright-printing.so", false },
        { moduleFolder() + "/casewright-decoder", true },
        { "share/applications/casewright.desktop", false },
        { "share/mime/packages/casewright.xml", false },
        { "share/man/man1/casewright.1.gz", false },
        { "share/man/man1/casewright-cli.1.gz", false },
        { "share/bash-completion/completions/casewright-cli", false },
        { "share/doc/casewright/copyright", false },
        { "share/doc/casewright/changelog.gz", false },
    };
    for (const char *module : { "gif", "heif", "jpeg", "png", "tiff", "webp" })
        required.append({ moduleFolder() + '/' + module + ".spi", false });
    for (const Required &r : required) {
        SCOPED_TRACE(r.file.toStdString());
        const QFileInfo info(tree().path(r.file));
        ASSERT_TRUE(info.isFile());
        EXPECT_TRUE(info.permissions() & QFile::ReadOther);
        EXPECT_EQ(bool(info.permissions() & QFile::ExeOther), r.executable);
    }
    EXPECT_EQ(files.filter(QRegularExpression("^share/metainfo/")).size(), 1);
}

namespace {

// Environments a user's shell may have: no locale at all, no display, no
// runtime folder, a display that cannot be reached (ssh without X
// forwarding). Each keeps only PATH and HOME of this one.
struct Shell
{
    const char *name;
    QList<std::pair<QString, QString>> variables;
    bool english;

    QProcessEnvironment environment() const
    {
        const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
        QProcessEnvironment env;
        for (const char *kept : { "PATH", "HOME" })
            env.insert(kept, system.value(kept));
        for (const auto &[name, value] : variables)
            env.insert(name, value);
        return env;
    }
};

QList<Shell> userShells()
{
    return {
        { "nothing set", {}, false },
        { "the C locale", { { "LANG", "C.UTF-8" } }, false },
        { "English", { { "LANG", "en_US.UTF-8" } }, true },
        { "Japanese, an unreachable display",
            { { "LANG", "ja_JP.UTF-8" }, { "DISPLAY", ":4711" }, { "XDG_RUNTIME_DIR", "/tmp" } },
            false },
        { "English, an unreachable display",
            { { "LC_ALL", "en_GB.UTF-8" }, { "DISPLAY", ":4711" } }, true },
    };
}

} // namespace

TEST_F(InstallTreeTest, ProgramsAnswerVersionAndHelpOnStandardOutput)
{
    struct Case
    {
        QString program;
        QStringList args;
        QString japaneseStart;
        QString englishStart;
    };
    const QString cliVersion = "casewright-cli " + buildVersion() + "\n";
    const QString version = "Casewright " + buildVersion() + "\n";
    const QList<Case> cases = {
        { "bin/casewright-cli", { "--version" }, cliVersion, cliVersion },
        { "bin/casewright", { "--version" }, version, version },
        { "bin/casewright", { "-v", "x.cwr" }, version, version },
        { "bin/casewright", { "--help" }, "使い方: ", "Usage: " },
        { "bin/casewright", { "x.cwr", "-h" }, "使い方: ", "Usage: " },
        { "bin/casewright-cli", { "--help" }, "使い方: casewright-cli COMMAND [ARGS]\n",
            "usage: casewright-cli COMMAND [ARGS]\n" },
        { "bin/casewright-cli", { "-h" }, "使い方: casewright-cli COMMAND [ARGS]\n",
            "usage: casewright-cli COMMAND [ARGS]\n" },
        { "bin/casewright-cli", { "print", "--help" }, "使い方: casewright-cli print DOC.cwr ",
            "usage: casewright-cli print DOC.cwr " },
        // --help is help wherever the command takes it as an option.
        { "bin/casewright-cli", { "print", "x.cwr", "--pdf", "x.pdf", "--help" },
            "使い方: casewright-cli print DOC.cwr ", "usage: casewright-cli print DOC.cwr " },
    };
    for (const Shell &shell : userShells()) {
        for (const Case &c : cases) {
            SCOPED_TRACE(
                QString(QString::fromUtf8(shell.name) + ": " + c.program + ' ' + c.args.join(' '))
                    .toStdString());
            const ProgramRun r
                = runInEnvironment(tree().path(c.program), c.args, shell.environment());
            EXPECT_EQ(r.code, 0);
            EXPECT_TRUE(r.out.startsWith(shell.english ? c.englishStart : c.japaneseStart))
                << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
}

// Without a display the window cannot open: one sentence says so and names
// the program that works without one, and the run ends with 1, not with
// Qt's abort and a core file.
TEST_F(InstallTreeTest, TheWindowWithoutADisplayEndsWithOneSentence)
{
    const QString japanese = QStringLiteral("ディスプレイがないためウィンドウを開けません("
                                            "casewright-cli はディスプレイなしで使えます)\n");
    const QString english = QStringLiteral(
        "There is no display to open the window on (casewright-cli works without one)\n");
    for (const Shell &shell : userShells()) {
        for (const QStringList &args : { QStringList(), QStringList { demo() } }) {
            SCOPED_TRACE(
                QString(QString::fromUtf8(shell.name) + ": " + args.join(' ')).toStdString());
            const ProgramRun r
                = runInEnvironment(tree().path("bin/casewright"), args, shell.environment());
            EXPECT_EQ(r.code, 1);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_EQ(r.err, shell.english ? english : japanese);
        }
    }
}

TEST_F(InstallTreeTest, HelpNamedAsAnOptionsValueOrAfterTheEndMarkIsNoHelp)
{
    // "--pdf --help" names the file "--help"; the document is then missing.
    const ProgramRun asValue = runProgram(cli(), { "print", "--pdf", "--help" });
    EXPECT_EQ(asValue.code, 2);
    EXPECT_TRUE(asValue.out.isEmpty());
    EXPECT_TRUE(asValue.err.startsWith("文書を一つ指定してください\n使い方: "))
        << asValue.err.toStdString();
    // After "--", "--help" is the document's name.
    QTemporaryDir dir;
    const ProgramRun asFile = runProgram(cli(), { "dump", "--", "--help" }, QString(), dir.path());
    EXPECT_EQ(asFile.code, 1);
    EXPECT_TRUE(asFile.out.isEmpty());
    EXPECT_TRUE(asFile.err.contains("--help")) << asFile.err.toStdString();
}

TEST_F(InstallTreeTest, DecodesThroughTheInstalledModulesUnlessTheSettingNamesAnotherFolder)
{
    QTemporaryDir dir;
    QImage picture(31, 17, QImage::Format_RGB32);
    picture.fill(qRgb(200, 10, 20));
    const QString jpeg = dir.filePath("a.jpg");
    ASSERT_TRUE(picture.save(jpeg, "JPEG"));
    QTemporaryDir noModules;

    struct Case
    {
        const char *name;
        QString setting; // null: no setting
        int code;
        QString out;
    };
    const QList<Case> cases = {
        { "the program's own modules", QString(), 0, "31x17\n" },
        { "an empty setting names no folder", QString(""), 0, "31x17\n" },
        { "the setting names a folder without modules", noModules.path(), 1, "" },
        { "the setting names the installed folder", tree().path(moduleFolder()), 0, "31x17\n" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ModuleSetting setting(c.setting);
        const ProgramRun r = runProgram(cli(), { "decode", jpeg }, setting.config.path());
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(InstallTreeTest, FilterListsTheInstalledModules)
{
    const ProgramRun own = runProgram(cli(), { "filter" });
    const ProgramRun named
        = runProgram(cli(), { "filter", "--plugins", tree().path(moduleFolder()) });
    ASSERT_EQ(own.code, 0) << own.err.toStdString();
    EXPECT_EQ(own.out, named.out);
    for (const char *format : { "|GIF|", "|HEIF / AVIF|", "|JPEG|", "|PNG|", "|TIFF|", "|WebP|" })
        EXPECT_TRUE(own.out.contains(format)) << format << " in " << own.out.toStdString();
}

TEST_F(InstallTreeTest, PrintsTheInstalledDemoIntoAPdfOfTwoPages)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("demo.pdf");
    const ProgramRun r = runProgram(cli(),
        { "print", demo(), "--pdf", pdf, "--option", "TopLabelPrint=1", "--option",
            "BottomLabelPrint=1" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The demo's picture lies beside it: nothing is reported missing.
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    const QString pdfinfo = installedTool("pdfinfo");
    ASSERT_FALSE(pdfinfo.isEmpty()) << missingTool("pdfinfo");
    const ProgramRun info = runProgram(pdfinfo, { pdf });
    EXPECT_TRUE(info.out.contains(QRegularExpression("\nPages: +2\n"))) << info.out.toStdString();

    // The DVD demo beside it, one wrap on US Letter, its picture found too.
    const QString dvd = QFileInfo(demo()).dir().filePath("dvd.cwr");
    const ProgramRun wrap = runProgram(cli(), { "print", dvd, "--pdf", pdf, "--paper", "letter" });
    ASSERT_EQ(wrap.code, 0) << wrap.err.toStdString();
    EXPECT_TRUE(wrap.err.isEmpty()) << wrap.err.toStdString();
    const ProgramRun letter = runProgram(pdfinfo, { pdf });
    EXPECT_TRUE(letter.out.contains(QRegularExpression("\nPages: +1\n")))
        << letter.out.toStdString();
    EXPECT_TRUE(letter.out.contains("792 x 612 pts (letter)")) << letter.out.toStdString();

    // The disc demo's face alone, on its label sheet: one A4 page upright.
    const QString disc = QFileInfo(demo()).dir().filePath("disc.cwr");
    const ProgramRun labels = runProgram(cli(),
        { "print", disc, "--pdf", pdf, "--option", "TopLabelPrint=0", "--option",
            "BottomLabelPrint=0", "--option", "DiscLabelPrint=1", "--label-sheet", "avery-l6015" });
    ASSERT_EQ(labels.code, 0) << labels.err.toStdString();
    EXPECT_TRUE(labels.err.isEmpty()) << labels.err.toStdString();
    const ProgramRun a4 = runProgram(pdfinfo, { pdf });
    EXPECT_TRUE(a4.out.contains(QRegularExpression("\nPages: +1\n"))) << a4.out.toStdString();
    EXPECT_TRUE(a4.out.contains("595 x 842 pts (A4)")) << a4.out.toStdString();
}

TEST_F(InstallTreeTest, PrintingToAPrinterLoadsTheInstalledPrinterModule)
{
    const ProgramRun r = runProgram(cli(), { "print", demo(), "--printer", "NoSuchPrinterHere" });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("NoSuchPrinterHere")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("印刷モジュールを読み込めません")) << r.err.toStdString();
}

TEST_F(InstallTreeTest, TheTreeWorksUnderAnyPrefixAndTheProgramAloneFindsNoModules)
{
    // The whole tree moved elsewhere still finds its modules...
    QTemporaryDir other;
    const QString moved = other.filePath("elsewhere/usr");
    ASSERT_TRUE(QDir().mkpath(other.filePath("elsewhere")));
    ASSERT_TRUE(QDir().rename(tree().prefix, moved));
    const ProgramRun filter = runProgram(moved + "/bin/casewright-cli", { "filter" });
    const ProgramRun print = runProgram(moved + "/bin/casewright-cli",
        { "print", moved + "/share/doc/casewright/examples/demo.cwr", "--printer",
            "NoSuchPrinterHere" });
    ASSERT_TRUE(QDir().rename(moved, tree().prefix));
    EXPECT_EQ(filter.code, 0);
    EXPECT_TRUE(filter.out.contains("|JPEG|")) << filter.out.toStdString();
    EXPECT_FALSE(print.err.contains("印刷モジュールを読み込めません")) << print.err.toStdString();

    // ...while the program copied without them finds none: the modules are
    // looked up beside the program, not in the build tree or the system.
    const QString alone = other.filePath("alone/bin/casewright-cli");
    ASSERT_TRUE(QDir().mkpath(other.filePath("alone/bin")));
    ASSERT_TRUE(QFile::copy(cli(), alone));
    const ProgramRun noFilter = runProgram(alone, { "filter" });
    EXPECT_EQ(noFilter.out, "画像|;*.bmp|BMP(*.bmp)|*.bmp\n");
    const ProgramRun noModule
        = runProgram(alone, { "print", demo(), "--printer", "NoSuchPrinterHere" });
    EXPECT_EQ(noModule.code, 1);
    EXPECT_TRUE(noModule.err.startsWith("印刷モジュールを読み込めません: "))
        << noModule.err.toStdString();
}

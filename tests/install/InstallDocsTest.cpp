// What the installed tree tells about the program: the software-centre entry
// and the desktop entry validate and agree with each other, the manual pages
// render, and the manual page, --help and the bash completion cover every
// command and option of the README's command-line section.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "InstallTree.h"
#include "TestSupport.h"

namespace {

class InstallDocsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree().ok) << tree().log.toStdString(); }
    static const InstalledTree &tree() { return InstalledTree::get(); }
    static QString metainfo()
    {
        const QStringList files = tree().files().filter(QRegularExpression("^share/metainfo/"));
        return files.size() == 1 ? tree().path(files.first()) : QString();
    }
};

// A manual page as man shows it, in plain text 80 columns wide; `warnings`
// gets what groff warned about.
QString renderedManualPage(const QString &page, QString *warnings)
{
    QProcessEnvironment env;
    env.insert("MANWIDTH", "80");
    env.insert("MANPAGER", "cat");
    env.insert("PAGER", "cat");
    env.insert("LC_ALL", "C.UTF-8");
    const ProgramRun r = runProgram(QStringLiteral("man"),
        { "--warnings", "-E", "UTF-8", "-l", page }, QString(), QString(), env);
    *warnings = r.code == 0 ? r.err : QStringLiteral("man failed: ") + r.err;
    return r.out;
}

// What bash completes for `words` (the last one being the word under the
// cursor) in `folder`.
QStringList completions(const QString &script, const QStringList &words, const QString &folder)
{
    QStringList quoted;
    for (const QString &w : words)
        quoted.append("'" + QString(w).replace("'", "'\\''") + "'");
    const QString program = QStringLiteral("source '%1' || exit 3\n"
                                           "COMP_WORDS=(%2); COMP_CWORD=%3\n"
                                           "_casewright_cli; printf '%s\\n' \"${COMPREPLY[@]}\"\n")
                                .arg(script, quoted.join(' '))
                                .arg(words.size() - 1);
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start("bash", { "--norc", "--noprofile", "-c", program });
    bash.waitForFinished(30000);
    QStringList out
        = QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    out.sort();
    return out;
}

} // namespace

TEST_F(InstallDocsTest, MetainfoAndDesktopEntryValidate)
{
    const QString desktop = tree().path("share/applications/casewright.desktop");
    struct Case
    {
        QString tool;
        QStringList args;
    };
    const QList<Case> cases = {
        { "appstreamcli", { "validate", "--no-net", metainfo() } },
        { "desktop-file-validate", { desktop } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tool.toStdString());
        const QString tool = installedTool(c.tool);
        ASSERT_FALSE(tool.isEmpty()) << missingTool(c.tool);
        const ProgramRun r = runProgram(tool, c.args);
        EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
        EXPECT_FALSE((r.out + r.err)
                         .contains(QRegularExpression(
                             "^[EW]: |error|warning", QRegularExpression::MultilineOption)))
            << r.out.toStdString() << r.err.toStdString();
    }
}

TEST_F(InstallDocsTest, MetainfoNamesTheInstalledDesktopEntryMimeTypeAndThisVersion)
{
    QFile file(metainfo());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << metainfo().toStdString();
    QXmlStreamReader xml(&file);
    QString id, launchable, mediatype, release;
    QSet<QString> languages; // of the name, summary and description
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString lang = xml.attributes().value("xml:lang").toString();
        if (xml.name() == u"release")
            release = xml.attributes().value("version").toString();
        else if (xml.name() == u"id")
            id = xml.readElementText();
        else if (xml.name() == u"launchable")
            launchable = xml.readElementText();
        else if (xml.name() == u"mediatype")
            mediatype = xml.readElementText();
        else if (xml.name() == u"name" || xml.name() == u"summary" || xml.name() == u"p")
            languages.insert(xml.name().toString() + ':' + (lang.isEmpty() ? "en" : lang));
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(QFileInfo(file).fileName(), id + ".metainfo.xml");
    EXPECT_TRUE(QFile::exists(tree().path("share/applications/" + launchable)))
        << launchable.toStdString();
    EXPECT_EQ(release, buildVersion());
    for (const char *element : { "name", "summary", "p" })
        for (const char *lang : { "en", "ja" })
            EXPECT_TRUE(languages.contains(QString(element) + ':' + lang))
                << element << ' ' << lang;

    QFile mime(tree().path("share/mime/packages/casewright.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    EXPECT_TRUE(mime.readAll().contains("<mime-type type=\"" + mediatype.toUtf8() + "\">"))
        << mediatype.toStdString();
    QFile desktop(tree().path("share/applications/" + launchable));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    EXPECT_TRUE(desktop.readAll().contains("MimeType=" + mediatype.toUtf8() + ";"));
}

TEST_F(InstallDocsTest, ChangelogStartsWithThisVersion)
{
    QProcess gzip;
    gzip.start("gzip", { "-dc", tree().path("share/doc/casewright/changelog.gz") });
    ASSERT_TRUE(gzip.waitForFinished(30000));
    const QString changelog = QString::fromUtf8(gzip.readAllStandardOutput());
    EXPECT_TRUE(
        changelog.startsWith("casewright (" + buildVersion() + ") unstable; urgency=medium\n"))
        << changelog.toStdString();
    // The trailer line of a Debian changelog entry: " -- NAME <ADDRESS>  DATE".
    EXPECT_TRUE(changelog.contains(
        QRegularExpression("\n -- [^<\n]+ <[^>\n]+@[^>\n]+>  [A-Z][a-z]{2}, \\d{2} [A-Z][a-z]{2} "
                           "\\d{4} \\d{2}:\\d{2}:\\d{2} \\+0000\n")))
        << changelog.toStdString();
}

TEST_F(InstallDocsTest, ManualPagesRenderWithoutWarnings)
{
    ASSERT_FALSE(installedTool("man").isEmpty()) << missingTool("man");
    struct Case
    {
        QString page;
        QString title;
        QStringList sections;
    };
    const QList<Case> cases = {
        { "casewright.1.gz", "CASEWRIGHT(1)",
            { "NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "EXIT STATUS", "EXAMPLES" } },
        { "casewright-cli.1.gz", "CASEWRIGHT-CLI(1)",
            { "NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "FILES",
                "EXAMPLES" } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        QString warnings;
        const QString text = renderedManualPage(tree().path("share/man/man1/" + c.page), &warnings);
        EXPECT_TRUE(warnings.isEmpty()) << warnings.toStdString();
        EXPECT_TRUE(text.startsWith(c.title)) << text.left(200).toStdString();
        for (const QString &section : c.sections)
            EXPECT_TRUE(text.contains("\n" + section + "\n")) << section.toStdString();
        // The version of this build, in the footer.
        EXPECT_TRUE(text.contains("Casewright " + buildVersion() + " "))
            << text.right(200).toStdString();
        for (const QString &line : text.split('\n'))
            EXPECT_LE(line.size(), 80) << line.toStdString();
    }
}

TEST_F(InstallDocsTest, EveryCommandAndOptionOfTheReadmeIsInTheManualPageHelpAndCompletion)
{
    const ReadmeCommandLine readme = readmeCommandLine();
    // The README lists exactly the commands the program has.
    const ProgramRun help = runProgram(
        tree().path("bin/casewright-cli"), { "--help" }, QString(), QString(), englishLocale());
    ASSERT_EQ(help.code, 0);
    QStringList programCommands;
    const QString list = help.out.section("\nCommands:\n", 1).section("\n\n", 0, 0);
    for (const QString &line : list.split('\n'))
        programCommands.append(line.simplified().section(' ', 0, 0));
    programCommands.sort();
    QStringList readmeCommands = readme.commandOptions.keys();
    readmeCommands.sort();
    EXPECT_EQ(readmeCommands, programCommands);
    ASSERT_GE(readmeCommands.size(), 10);
    EXPECT_TRUE(readme.allOptions.contains("--printer-dpi"));

    ASSERT_FALSE(installedTool("man").isEmpty()) << missingTool("man");
    QString warnings;
    const QString manual
        = renderedManualPage(tree().path("share/man/man1/casewright-cli.1.gz"), &warnings);
    for (const QString &command : readmeCommands)
        EXPECT_TRUE(manual.contains(
            QRegularExpression("\n       " + QRegularExpression::escape(command) + "( |\n)")))
            << "manual page: command " << command.toStdString();
    for (const QString &option : readme.allOptions)
        EXPECT_TRUE(manual.contains(option)) << "manual page: " << option.toStdString();

    QTemporaryDir dir;
    const QString completion = tree().path("share/bash-completion/completions/casewright-cli");
    for (auto it = readme.commandOptions.cbegin(); it != readme.commandOptions.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const ProgramRun commandHelp = runProgram(tree().path("bin/casewright-cli"),
            { it.key(), "--help" }, QString(), QString(), englishLocale());
        EXPECT_EQ(commandHelp.code, 0);
        EXPECT_TRUE(commandHelp.err.isEmpty()) << commandHelp.err.toStdString();
        const QStringList offered
            = completions(completion, { "casewright-cli", it.key(), "--" }, dir.path());
        for (const QString &option : it.value() + QStringList { "--printer-dpi", "--help" }) {
            EXPECT_TRUE(commandHelp.out.contains("\n  " + option + " "))
                << "help: " << option.toStdString();
            EXPECT_TRUE(offered.contains(option)) << "completion: " << option.toStdString();
        }
    }
}

TEST_F(InstallDocsTest, BashCompletesCommandsOptionValuesAndFilesByExtension)
{
    QTemporaryDir dir;
    for (const char *name : { "a.cwr", "B.CWR", "c.cwt", "d.jpg", "e.png", "f.pdf", "g.csv",
             "h.cue", "i.flac", "j.txt", "k.doc" })
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    const QString completion = tree().path("share/bash-completion/completions/casewright-cli");
    struct Case
    {
        QStringList words; // after "casewright-cli", the last under the cursor
        QStringList expected;
    };
    const QList<Case> cases = {
        { { "" },
            { "--help", "--version", "calibration-sheet", "convert", "decode", "dump",
                "export-pdf", "filter", "formats", "geometry", "import-list", "label-sheets",
                "print", "render", "template" } },
        { { "ca" }, { "calibration-sheet" } },
        { { "calibration-sheet", "--" }, { "--disc", "--help", "--offset", "--paper", "--pdf",
                                             "--printer", "--printer-dpi" } },
        { { "print", "a.cwr", "--paper", "" }, { "a4", "letter" } },
        { { "print", "a.cwr", "--bleed", "" }, { "0", "1", "2", "3" } },
        { { "export-pdf", "a.cwr", "--offset", "" }, {} },
        { { "pr" }, { "print" } },
        { { "im" }, { "import-list" } },
        { { "dump", "" }, { "B.CWR", "a.cwr", "sub" } },
        { { "template", "" }, { "c.cwt", "sub" } },
        { { "decode", "" }, { "d.jpg", "e.png", "sub" } },
        { { "import-list", "" }, { "g.csv", "h.cue", "i.flac", "j.txt", "sub" } },
        { { "export-pdf", "a.cwr", "" }, { "B.CWR", "a.cwr", "f.pdf", "sub" } },
        { { "render", "a.cwr", "--png", "" }, { "e.png", "sub" } },
        { { "print", "a.cwr", "--pdf", "" }, { "f.pdf", "sub" } },
        { { "filter", "--plugins", "" }, { "sub" } },
        { { "geometry", "--page", "" }, {} },
        { { "import-list", "g.csv", "--columns", "" }, { "1", "2", "3" } },
        { { "print", "a.cwr", "--option", "Top" }, { "TopLabelPrint=0", "TopLabelPrint=1" } },
        // bash splits "NAME=0" at "=": the cursor on "=", or on the value.
        { { "print", "a.cwr", "--option", "CutLinePrint", "=" }, { "0", "1" } },
        { { "print", "a.cwr", "--option", "CutLinePrint", "=", "1" }, { "1" } },
        { { "render", "a.cwr", "--dpi", "" }, {} },
        { { "convert", "--a" }, { "--allow-unicode" } },
        { { "convert", "--f" }, { "--format" } },
        { { "fo" }, { "formats" } },
        { { "la" }, { "label-sheets" } },
        { { "nonsense", "" }, {} },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        QStringList expected = c.expected;
        expected.sort();
        EXPECT_EQ(completions(completion, QStringList { "casewright-cli" } + c.words, dir.path()),
            expected);
    }
    // The case ids come from the program the user typed.
    const QString program = tree().path("bin/casewright-cli");
    EXPECT_EQ(completions(completion, { program, "convert", "a.cwr", "b.cwr", "--format", "" },
                  dir.path()),
        QStringList({ "bd-12", "bd-14", "cd-jewel", "cd-slim", "custom-wrap", "dvd-14", "dvd-slim-5",
            "dvd-slim-7", "dvd-slim-9" }));
    EXPECT_EQ(
        completions(completion, { program, "convert", "a.cwr", "--format", "cd-s" }, dir.path()),
        QStringList({ "cd-slim" }));
    // The sheet ids of every case, each once.
    EXPECT_EQ(completions(completion, { program, "render", "a.cwr", "--page", "" }, dir.path()),
        QStringList({ "back", "disc", "front", "inside", "wrap" }));
}

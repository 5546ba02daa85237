// casewright-cli speaks the locale's language like the window: its messages,
// its usage lines and its help are English in an English locale and the
// Japanese texts as they are in a Japanese or the C locale, one language per
// run. The window program's --help follows the same language, Qt's own texts
// included.
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString runIn(const QString &lang, const QString &language = QString(),
    const QStringList &arguments
    = { QStringLiteral("template"), QStringLiteral("/nonexistent/x.cwt") },
    QProcess::ProcessChannel channel = QProcess::StandardError,
    const QString &program = QStringLiteral("casewright-cli"))
{
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), lang);
    if (!language.isEmpty())
        env.insert(QStringLiteral("LANGUAGE"), language);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(CASEWRIGHT_BIN_DIR "/") + program, arguments);
    EXPECT_TRUE(cli.waitForFinished(60000));
    cli.setReadChannel(channel);
    return QString::fromUtf8(cli.readAll()).trimmed();
}

} // namespace

TEST(CommandLineLanguage, MessagesFollowTheLocale)
{
    const QString japanese
        = QStringLiteral("ファイル(/nonexistent/x.cwt)はテンプレートとして読めません");
    const QString english
        = QStringLiteral("The file (/nonexistent/x.cwt) cannot be read as a template");
    EXPECT_EQ(runIn(QStringLiteral("C.UTF-8")), japanese);
    EXPECT_EQ(runIn(QStringLiteral("ja_JP.UTF-8")), japanese);
    EXPECT_EQ(runIn(QStringLiteral("en_US.UTF-8")), english);
    EXPECT_EQ(runIn(QStringLiteral("de_DE.UTF-8")), english);
    EXPECT_EQ(runIn(QStringLiteral("en_US.UTF-8"), QStringLiteral("ja")), japanese);
}

// The picture filter is made by the decoder helper, which follows the same
// locale.
TEST(CommandLineLanguage, ThePictureFilterFollowsTheLocale)
{
    const QStringList filter = { QStringLiteral("filter") };
    EXPECT_TRUE(runIn(QStringLiteral("C.UTF-8"), QString(), filter, QProcess::StandardOutput)
                    .startsWith(QStringLiteral("画像|")));
    EXPECT_TRUE(runIn(QStringLiteral("en_US.UTF-8"), QString(), filter, QProcess::StandardOutput)
                    .startsWith(QStringLiteral("Picture|")));
}

// A refused command line says what is wrong and how the command is used in
// the same language.
TEST(CommandLineLanguage, AProblemAndItsUsageLineSpeakOneLanguage)
{
    struct Case
    {
        QStringList args;
        QString japanese;
        QString english;
    };
    const QList<Case> cases = {
        { { "dump" },
            "文書を一つ指定してください\n使い方: casewright-cli dump DOC.cwr [--printer-dpi X[xY]]",
            "one document is needed\nusage: casewright-cli dump DOC.cwr [--printer-dpi X[xY]]" },
        { { "geometry", "--dpi", "abc" },
            "解像度が正しくありません: abc\n使い方: casewright-cli geometry [--dpi X[xY]] [--page "
            "WxH]",
            "invalid resolution: abc\nusage: casewright-cli geometry [--dpi X[xY]] [--page WxH]" },
        { { "template", "a.cwt", "--anything" },
            "不明なオプションです: --anything\n使い方: casewright-cli template FILE.cwt",
            "unknown option: --anything\nusage: casewright-cli template FILE.cwt" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(runIn("C.UTF-8", QString(), c.args), c.japanese);
        EXPECT_EQ(runIn("ja_JP.UTF-8", QString(), c.args), c.japanese);
        EXPECT_EQ(runIn("en_US.UTF-8", QString(), c.args), c.english);
    }
    // An unknown command: the problem, then every command's usage line.
    const QStringList unknown = runIn("C.UTF-8", QString(), { "nosuchcommand" }).split('\n');
    ASSERT_GE(unknown.size(), 12);
    EXPECT_EQ(unknown[0], QStringLiteral("不明なコマンドです: nosuchcommand"));
    EXPECT_EQ(unknown[1], QStringLiteral("使い方: casewright-cli COMMAND [ARGS]"));
}

namespace {

bool hasJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x30FF)
            || (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF);
    });
}

// Three words of Latin letters in a row are English prose; option names,
// values and file names never make such a run.
const QRegularExpression kEnglishProse(QStringLiteral("[A-Za-z]+ [a-z]+ [a-z]+"));

} // namespace

TEST(CommandLineLanguage, HelpSpeaksTheInterfaceLanguageOnly)
{
    QList<std::pair<QString, QStringList>> helps = {
        { "casewright", { "--help" } },
        { "casewright-cli", { "--help" } },
    };
    for (const char *command : { "geometry", "dump", "convert", "import-list", "template", "filter",
             "decode", "render", "print", "export-pdf", "calibration-sheet" })
        helps.append({ "casewright-cli", { command, "--help" } });
    for (const auto &[program, args] : helps) {
        SCOPED_TRACE((program + ' ' + args.join(' ')).toStdString());
        const QString japanese
            = runIn("C.UTF-8", QString(), args, QProcess::StandardOutput, program);
        ASSERT_FALSE(japanese.isEmpty());
        const QRegularExpressionMatch prose = kEnglishProse.match(japanese);
        EXPECT_FALSE(prose.hasMatch()) << prose.captured().toStdString() << "\n"
                                       << japanese.toStdString();
        EXPECT_EQ(
            runIn("ja_JP.UTF-8", QString(), args, QProcess::StandardOutput, program), japanese);
        const QString english
            = runIn("en_US.UTF-8", QString(), args, QProcess::StandardOutput, program);
        EXPECT_TRUE(kEnglishProse.match(english).hasMatch()) << english.toStdString();
        EXPECT_FALSE(hasJapanese(english)) << english.toStdString();
    }
    // Qt's own texts of the window program's help come from Qt's translation.
    const QString window
        = runIn("C.UTF-8", QString(), { "--help" }, QProcess::StandardOutput, "casewright");
    for (const char *line : { "オプション:", "引数:", "  -v, --version  バージョン情報を表示する。",
             "  -h, --help     このヘルプを表示する。" })
        EXPECT_TRUE(window.contains(QString::fromUtf8(line))) << line << "\n"
                                                              << window.toStdString();
}

// A line of help text is at most 79 columns wide, a Japanese character taking
// two (the usage line is the command's syntax and stays whole).
TEST(CommandLineLanguage, JapaneseHelpIsWrappedByItsWidth)
{
    for (const QStringList &args : { QStringList { "--help" }, QStringList { "print", "--help" },
             QStringList { "calibration-sheet", "--help" } }) {
        const QString help = runIn("C.UTF-8", QString(), args, QProcess::StandardOutput);
        for (const QString &line : help.split('\n')) {
            if (line.startsWith(QStringLiteral("使い方: ")))
                continue;
            int columns = 0;
            for (const QChar c : line)
                columns += c.unicode() >= 0x1100 ? 2 : 1;
            EXPECT_LE(columns, 79) << line.toStdString();
            // No line starts with a closing mark of Japanese punctuation.
            EXPECT_FALSE(
                line.startsWith(QStringLiteral("、")) || line.startsWith(QStringLiteral("。")))
                << line.toStdString();
        }
    }
}

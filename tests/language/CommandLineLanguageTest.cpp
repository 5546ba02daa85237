// casewright-cli speaks the locale's language like the window: its messages
// are English in an English locale and the Japanese texts as they are in a
// Japanese or the C locale.
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

QString runIn(const QString &lang, const QString &language = QString(),
    const QStringList &arguments = { QStringLiteral("template"), QStringLiteral("/nonexistent/x.cwt") },
    QProcess::ProcessChannel channel = QProcess::StandardError)
{
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), lang);
    if (!language.isEmpty())
        env.insert(QStringLiteral("LANGUAGE"), language);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(CASEWRIGHT_BIN_DIR "/casewright-cli"), arguments);
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

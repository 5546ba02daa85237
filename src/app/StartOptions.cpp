#include "app/StartOptions.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/CasewrightApplication.h"

namespace cw {

namespace {

const char kNoDisplay[] = QT_TRANSLATE_NOOP("cw::UiText",
    "ディスプレイがないためウィンドウを開けません(casewright-cli はディスプレイなしで使えます)");

const QStringList kHelpNames = { QStringLiteral("h"), QStringLiteral("help") };
const QStringList kVersionNames = { QStringLiteral("v"), QStringLiteral("version") };

bool write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size())
        && std::fflush(stream) == 0;
}

// Whether an argument before "--" asks for the help or the version.
bool asksForAnswer(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            return false;
        for (const char *option : { "-h", "--help", "-v", "--version" })
            if (std::strcmp(a, option) == 0)
                return true;
    }
    return false;
}

// The messages held while the application object is made.
struct HeldMessage
{
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QtMessageHandler g_previousHandler = nullptr;
QList<HeldMessage> g_held;
UiLanguage g_startLanguage = UiLanguage::Japanese;

void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Only the windowing system's start fails fatally here; its own
        // messages (and Qt's advice to reinstall) would not help the user.
        write(stderr, noDisplayText(g_startLanguage) + QLatin1Char('\n'));
        std::_Exit(1);
    }
    g_held.append({ type, context.file, context.function, context.category, context.line, text });
}

} // namespace

void addStartOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        UiText::tr("CD ジュエルケースのジャケットをデザインし印刷します"));
    parser.addOption(QCommandLineOption(kHelpNames, UiText::tr("このヘルプを表示する。")));
    parser.addVersionOption();
    const QString file = UiText::tr("ファイル.cwr");
    parser.addPositionalArgument(
        file, UiText::tr("開く文書(*.cwr)。"), QStringLiteral("[%1]").arg(file));
}

int answerWithoutWindow(int argc, char **argv)
{
    if (!asksForAnswer(argc, argv))
        return -1;
    QCoreApplication app(argc, argv);
    setApplicationIdentity();
    installTranslations(app, uiLanguageFromEnvironment());
    QCommandLineParser parser;
    addStartOptions(parser);
    // Options the program does not know do not keep the help or the version
    // from being answered.
    parser.parse(QCoreApplication::arguments());
    QString text;
    if (parser.isSet(kHelpNames.first()))
        text = parser.helpText();
    else if (parser.isSet(kVersionNames.first()))
        text = QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion() + QLatin1Char('\n');
    else
        return -1;
    if (!write(stdout, text)) {
        write(stderr, UiText::tr("標準出力に書き込めません") + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}

QString noDisplayText(UiLanguage language)
{
    return uiTextIn(language, kNoDisplay);
}

DisplayStartGuard::DisplayStartGuard(UiLanguage language)
{
    g_startLanguage = language;
    g_held.clear();
    g_previousHandler = qInstallMessageHandler(holdStartMessage);
}

DisplayStartGuard::~DisplayStartGuard()
{
    qInstallMessageHandler(g_previousHandler);
    const QList<HeldMessage> held = std::exchange(g_held, {});
    for (const HeldMessage &m : held) {
        const QMessageLogContext context(m.file.isNull() ? nullptr : m.file.constData(), m.line,
            m.function.isNull() ? nullptr : m.function.constData(),
            m.category.isNull() ? nullptr : m.category.constData());
        qt_message_output(m.type, context, m.text);
    }
}

} // namespace cw

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/CommandHelp.h"
#include "cli/PrinterModule.h"
#include "fonts/Font.h"
#include "pictures/DecoderHelper.h"

using namespace cw;

static void printUsage(QTextStream &err)
{
    err << cli::usageLine(QStringLiteral("COMMAND [ARGS]")) << '\n';
    for (const cli::Command &c : cli::commands())
        err << "  casewright-cli " << c.usage << "\n";
    err.flush();
}

// Qt's notice that the session has no runtime folder (cron jobs, CI, ssh
// sessions) says nothing about the command: standard error carries the
// program's own messages. Everything else goes where it went before.
static QtMessageHandler g_previousHandler = nullptr;

static void quietMessageHandler(
    QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (g_previousHandler) {
        g_previousHandler(type, context, text);
        return;
    }
    const QByteArray line = qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

// "print" and "calibration-sheet" without --pdf go to a printer. Decided
// from argv before the application exists: the options Qt takes for itself
// are still among the arguments then, and are refused, but the command's own
// ones are read all the same (a --pdf given as another option's value is not
// --pdf).
static bool needsPrinter(int argc, char **argv)
{
    if (argc < 2
        || (std::strcmp(argv[1], "print") != 0 && std::strcmp(argv[1], "calibration-sheet") != 0))
        return false;
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString problem;
    const cli::Command *command = cli::findCommand(QString::fromLocal8Bit(argv[1]));
    return !cli::parseArguments(*command, arguments, &problem).has(QStringLiteral("pdf"));
}

// A command has closed every file it wrote when it returns; what is left is
// freeing memory and unloading libraries, which the system does faster by
// ending the process. Sanitizer builds tear down as usual, so that their leak
// check still runs.
static void endWithoutTeardown(int status)
{
#if defined(__SANITIZE_ADDRESS__)
    (void)status;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    (void)status;
#else
    std::fflush(nullptr);
    std::_Exit(status);
#endif
#else
    std::fflush(nullptr);
    std::_Exit(status);
#endif
}

// Says the marked text `source`, with `detail` for its %1, on standard error
// in the interface language before any application object was made (the
// translation needs one), and returns 1.
static int failBeforeStart(int argc, char **argv, const char *source, const QString &detail)
{
    QCoreApplication app(argc, argv);
    installUiTranslation(app, uiLanguageFromEnvironment());
    const QByteArray line = UiText::tr(source).arg(detail).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return 1;
}

// --help and --version: answered before anything else, with a plain core
// application (for the interface language) and without the printer module.
// Returns the exit status, or -1 when the arguments ask for neither.
static int answerHelp(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const cli::Command *command = nullptr;
    const cli::HelpRequest request = cli::helpRequest(arguments, &command);
    if (request == cli::HelpRequest::None)
        return -1;
    QCoreApplication app(argc, argv);
    installUiTranslation(app, uiLanguageFromEnvironment());
    QString text;
    switch (request) {
    case cli::HelpRequest::None:
        return -1;
    case cli::HelpRequest::Version:
        text = cli::versionText();
        break;
    case cli::HelpRequest::Program:
        text = cli::programHelp();
        break;
    case cli::HelpRequest::Command:
        text = cli::commandHelp(*command);
        break;
    }
    const QByteArray bytes = text.toLocal8Bit();
    const bool written
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
    if (!written) {
        const QByteArray line = UiText::tr("標準出力に書き込めません").toLocal8Bit() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (const int status = answerHelp(argc, argv); status >= 0)
        return status;
    // The commands that read pictures start the decoder helper first of
    // all, so that it starts up while this process does.
    if (argc >= 2 && decoderPlacement() == DecoderPlacement::Helper) {
        for (const char *reads :
            { "print", "render", "export-pdf", "dump", "convert", "decode", "filter" })
            if (std::strcmp(argv[1], reads) == 0)
                DecoderHelper::instance().startEarly();
    }
    // Headless: no display is needed for any command.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(quietMessageHandler);
    // Only printing to a printer needs the widget library (through the
    // printer module); everything else runs on a plain GUI application.
    std::unique_ptr<QGuiApplication> application;
    if (needsPrinter(argc, argv)) {
        QString why;
        const PrinterModuleApi *module = cli::printerModule(&why);
        if (!module)
            return failBeforeStart(argc, argv, cli::kPrinterModuleFailure, why);
        application.reset(module->createApplication(argc, argv));
    } else {
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    QGuiApplication &app = *application;
    QGuiApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QGuiApplication::setApplicationName(QStringLiteral("Casewright"));
    installUiTranslation(app, uiLanguageFromEnvironment());
    installFontSubstitutions();

    QFile outFile, errFile;
    outFile.open(stdout, QIODevice::WriteOnly);
    errFile.open(stderr, QIODevice::WriteOnly);
    QTextStream out(&outFile), err(&errFile);

    const QStringList argv8 = app.arguments();
    if (argv8.size() < 2) {
        printUsage(err);
        return 2;
    }
    const QString name = argv8[1];
    const cli::Command *command = cli::findCommand(name);
    if (!command) {
        err << UiText::tr("不明なコマンドです: %1").arg(name) << '\n';
        printUsage(err);
        return 2;
    }
    try {
        QString problem;
        const cli::Args args = cli::parseArguments(*command, argv8.mid(2), &problem);
        if (!problem.isEmpty())
            throw cli::UsageError(problem.toStdString());
        const int rc = command->run(args, out, err);
        out.flush();
        err.flush();
        outFile.close();
        errFile.close();
        endWithoutTeardown(rc);
        return rc;
    } catch (const cli::UsageError &e) {
        out.flush();
        err << QString::fromUtf8(e.what()) << '\n'
            << cli::usageLine(QString::fromUtf8(command->usage)) << '\n';
        err.flush();
        return 2;
    }
}

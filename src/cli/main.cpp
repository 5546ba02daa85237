#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <cstdio>
#include <cstring>
#include <memory>

#include "document/OptionSettings.h"

#include "cli/CliCommand.h"
#include "cli/PrinterModule.h"
#include "fonts/FontSpec.h"

using namespace cw;

namespace cw::cli {

bool Args::has(const QString &name) const
{
    for (const auto &o : options)
        if (o.first == name)
            return true;
    return false;
}

QString Args::value(const QString &name, const QString &fallback) const
{
    for (const auto &o : options)
        if (o.first == name)
            return o.second;
    return fallback;
}

QStringList Args::values(const QString &name) const
{
    QStringList out;
    for (const auto &o : options)
        if (o.first == name)
            out.append(o.second);
    return out;
}

static QList<Command> &registry()
{
    static QList<Command> list;
    return list;
}

int registerCommand(Command command)
{
    registry().append(std::move(command));
    return registry().size();
}

const QList<Command> &commands()
{
    return registry();
}

static QPair<int, int> parsePair(const QString &text, bool allowSingle, const char *what)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool ok1 = false, ok2 = true;
    int a = parts.value(0).toInt(&ok1);
    int b = a;
    if (parts.size() == 2)
        b = parts[1].toInt(&ok2);
    if (parts.size() > 2 || (parts.size() == 1 && !allowSingle) || !ok1 || !ok2 || a <= 0 || b <= 0)
        throw UsageError(std::string("invalid ") + what + ": " + text.toStdString());
    return { a, b };
}

QPair<int, int> parseDpi(const QString &text)
{
    return parsePair(text, true, "resolution");
}

QPair<int, int> parseSize(const QString &text)
{
    return parsePair(text, false, "size");
}

PrintOptions printOptions(const Args &args)
{
    PrintOptions options;
    QSettings settings;
    for (const PrintOptionInfo &info : printOptionTable()) {
        const QVariant v = settings.value(QLatin1String(info.key));
        options.*info.field = v.isValid() ? v.toInt() != 0 : info.defaultValue;
    }
    for (const QString &o : args.values(QStringLiteral("--option"))) {
        const int eq = o.indexOf(QLatin1Char('='));
        const PrintOptionInfo *info = printOptionInfo(o.left(eq));
        const QString value = o.mid(eq + 1);
        if (eq < 0 || !info || (value != QLatin1String("0") && value != QLatin1String("1")))
            throw UsageError("invalid option: " + o.toStdString()
                + " (NAME=0|1 with NAME one of AreaLinePrint, CutLinePrint, "
                  "SideTitleSameTop, TopLabelPrint, BottomLabelPrint)");
        options.*info->field = value == QLatin1String("1");
    }
    return options;
}

} // namespace cw::cli

static void printUsage(QTextStream &err)
{
    err << "usage: casewright-cli COMMAND [ARGS]\n";
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

// "print" without --pdf goes to a printer.
static bool needsPrinter(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], "print") != 0)
        return false;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--pdf") == 0)
            return false;
    return true;
}

int main(int argc, char **argv)
{
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
        if (!module) {
            QFile errOut;
            errOut.open(stderr, QIODevice::WriteOnly);
            errOut.write("the printer module cannot be loaded: " + why.toLocal8Bit() + '\n');
            return 1;
        }
        application.reset(module->createApplication(argc, argv));
    } else {
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    QGuiApplication &app = *application;
    QGuiApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QGuiApplication::setApplicationName(QStringLiteral("Casewright"));
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
    for (const cli::Command &c : cli::commands()) {
        if (name != QLatin1String(c.name))
            continue;
        cli::Args args;
        QStringList valueOptions = c.valueOptions;
        valueOptions << QStringLiteral("--printer-dpi");
        try {
            for (int i = 2; i < argv8.size(); ++i) {
                const QString a = argv8[i];
                if (a.startsWith(QLatin1String("--"))) {
                    if (valueOptions.contains(a)) {
                        if (i + 1 >= argv8.size())
                            throw cli::UsageError("missing value for " + a.toStdString());
                        args.options.append({ a, argv8[++i] });
                    } else {
                        args.options.append({ a, QString() });
                    }
                } else {
                    args.positional.append(a);
                }
            }
            int rc = c.run(args, out, err);
            out.flush();
            err.flush();
            return rc;
        } catch (const cli::UsageError &e) {
            out.flush();
            err << e.what() << "\nusage: casewright-cli " << c.usage << "\n";
            err.flush();
            return 2;
        }
    }
    err << "unknown command: " << name << "\n";
    printUsage(err);
    return 2;
}

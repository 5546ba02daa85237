// The command line's arguments: the registry of commands, the one parser every
// command's arguments go through, and the values shared by several commands.
#include <QBuffer>
#include <QCommandLineParser>
#include <QSettings>

#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "document/DiscStockSettings.h"
#include "document/OptionSettings.h"
#include "render/PrintDocument.h"
#include "text/SafeSave.h"

namespace cw::cli {

namespace {

QList<Command> &registry()
{
    static QList<Command> list;
    return list;
}

// Every command takes it; those that read a document lay it out at it.
const QString kPrinterDpi = QStringLiteral("printer-dpi");

// The parser names an unknown option without its dashes: a long option is
// written back with two, a letter of a word such as -x with one.
QString typedOptionName(const QStringList &arguments, const QString &name)
{
    const QString longForm = QStringLiteral("--") + name;
    for (const QString &a : arguments)
        if (a == longForm || a.startsWith(longForm + QLatin1Char('=')))
            return longForm;
    return QStringLiteral("-") + name;
}

} // namespace

QString Args::value(const QString &name, const QString &fallback) const
{
    const QStringList given = options.value(name);
    return given.isEmpty() ? fallback : given.first();
}

QString notOneOfText(const QString &option, const QStringList &valid)
{
    if (valid.size() == 1)
        return UiText::tr("%1 は %2 です").arg(option, valid[0]);
    if (valid.size() == 2)
        return UiText::tr("%1 は %2 か %3 です").arg(option, valid[0], valid[1]);
    return UiText::tr("%1 は %2 のどれかです").arg(option, valid.join(QStringLiteral(", ")));
}

// The refusal of --paper without --pdf.
const char *const kPaperWithoutPdf
    = QT_TRANSLATE_NOOP("cw::UiText", "--paper は --pdf と一緒に指定してください");

QPageSize::PageSizeId pdfPaper(const Args &args)
{
    const QString option = QStringLiteral("paper");
    if (!args.has(option))
        return QPageSize::A4;
    if (!args.has(QStringLiteral("pdf")))
        throw UsageError(uiText(QString::fromUtf8(kPaperWithoutPdf)).toStdString());
    const auto paper = pdfPaperNamed(args.value(option));
    if (!paper)
        throw UsageError(notOneOfText(QStringLiteral("--paper"), pdfPaperNames()).toStdString());
    return *paper;
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

const Command *findCommand(const QString &name)
{
    for (const Command &c : registry())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

Args parseArguments(const Command &command, const QStringList &arguments, QString *problem)
{
    QCommandLineParser parser;
    QStringList valueOptions = command.valueOptions;
    valueOptions.append(kPrinterDpi);
    for (const QString &name : valueOptions)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString &name : command.flags)
        parser.addOption(QCommandLineOption(name));

    // The parser tells of a value missing at the end only in words. A mark no
    // command line can hold (a NUL character) follows the last argument: an
    // option left without its value takes the mark, which names the option.
    const QString endMark(QChar(0));
    const bool parsed
        = parser.parse(QStringList { QString() } + arguments + QStringList { endMark });

    Args args;
    args.positional = parser.positionalArguments();
    if (!args.positional.isEmpty() && args.positional.last() == endMark)
        args.positional.removeLast();
    QString missingValue;
    for (const QString &name : valueOptions) {
        if (!parser.isSet(name))
            continue;
        QStringList given = parser.values(name);
        if (!given.isEmpty() && given.last() == endMark) {
            given.removeLast();
            missingValue = QStringLiteral("--") + name;
        }
        args.options.insert(name, given);
    }
    for (const QString &name : command.flags)
        if (parser.isSet(name))
            args.options.insert(name, QStringList());

    problem->clear();
    const QStringList unknown = parser.unknownOptionNames();
    const Positionals &p = command.positionals;
    const int count = int(args.positional.size());
    if (!unknown.isEmpty()) {
        *problem = UiText::tr("不明なオプションです: %1")
                       .arg(typedOptionName(arguments, unknown.first()));
    } else if (!missingValue.isEmpty()) {
        *problem = UiText::tr("%1 の値がありません").arg(missingValue);
    } else if (!parsed) {
        // What is left is a value given to a flag (--flag=value).
        *problem = parser.errorText();
        for (const QString &a : arguments) {
            const bool withValue
                = a.startsWith(QLatin1String("--")) && a.contains(QLatin1Char('='));
            if (withValue && command.flags.contains(a.mid(2).section(QLatin1Char('='), 0, 0))) {
                *problem = UiText::tr("値を取らないオプションに値があります: %1").arg(a);
                break;
            }
        }
    } else if (count < p.min || count > p.max) {
        Q_ASSERT(p.problem || p.min == 0);
        *problem = p.problem
            ? uiText(QString::fromUtf8(p.problem))
            : UiText::tr("余分な引数があります: %1").arg(args.positional.value(p.max));
    }
    return args;
}

// `problem`: the refusal's text, with %1 for what was typed.
static QPair<int, int> parsePair(const QString &text, bool allowSingle, const char *problem)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool ok1 = false, ok2 = true;
    int a = parts.value(0).toInt(&ok1);
    int b = a;
    if (parts.size() == 2)
        b = parts[1].toInt(&ok2);
    if (parts.size() > 2 || (parts.size() == 1 && !allowSingle) || !ok1 || !ok2 || a <= 0 || b <= 0)
        throw UsageError(UiText::tr(problem).arg(text).toStdString());
    return { a, b };
}

bool savePng(const QImage &image, const QString &path)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    return image.save(&png, "PNG") && saveFileSafely(path, png.data());
}

QPair<int, int> parseDpi(const QString &text)
{
    return parsePair(text, true, QT_TRANSLATE_NOOP("cw::UiText", "解像度が正しくありません: %1"));
}

QPair<int, int> parseSize(const QString &text)
{
    return parsePair(text, false, QT_TRANSLATE_NOOP("cw::UiText", "大きさが正しくありません: %1"));
}

PrintOptions printOptions(const Args &args)
{
    PrintOptions options;
    QSettings settings;
    for (const PrintOptionInfo &info : printOptionTable()) {
        const QVariant v = settings.value(QLatin1String(info.key));
        options.*info.field = v.isValid() ? v.toInt() != 0 : info.defaultValue;
    }
    for (const QString &o : args.values(QStringLiteral("option"))) {
        const int eq = o.indexOf(QLatin1Char('='));
        // Two-sided printing by hand waits for someone to turn the sheets
        // over, which a command does not: it is no option here.
        const PrintOptionInfo *info = printOptionInfo(o.left(eq));
        if (info && info->field == &PrintOptions::manualDuplex)
            info = nullptr;
        const QString value = o.mid(eq + 1);
        if (eq < 0 || !info || (value != QLatin1String("0") && value != QLatin1String("1")))
            throw UsageError(UiText::tr("印刷設定の指定が正しくありません: %1 (NAME=0|1、NAME は "
                                        "AreaLinePrint, CutLinePrint, SideTitleSameTop, "
                                        "TopLabelPrint, BottomLabelPrint, InsidePrint, DiscLabelPrint "
                                        "のどれか)")
                                 .arg(o)
                                 .toStdString());
        options.*info->field = value == QLatin1String("1");
    }
    // A booklet's sides go through the printer's duplex unit.
    options.manualDuplex = false;
    options.bleedMm = loadBleed(settings);
    if (args.has(QStringLiteral("bleed"))) {
        const QString text = args.value(QStringLiteral("bleed"));
        bool ok = false;
        const int mm = text.toInt(&ok);
        if (!ok || mm < 0 || mm > kMaxBleedMm)
            throw UsageError(
                UiText::tr("塗り足しの指定が正しくありません: %1 (0, 1, 2, 3 mm のどれか)")
                    .arg(text)
                    .toStdString());
        options.bleedMm = mm;
    }
    options.disc = discLayout(args, settings);
    return options;
}

DiscLayout discLayout(const Args &args, QSettings &settings)
{
    // The stock kept in the settings, changed for this run by the options.
    DiscStock stock = loadDiscStock(settings);
    const LabelSheetProduct custom = loadCustomLabelSheet(settings);
    if (args.has(QStringLiteral("label-sheet"))) {
        const QString id = args.value(QStringLiteral("label-sheet"));
        QStringList ids;
        for (const LabelSheetProduct &p : labelSheets())
            ids << p.id;
        ids << QString(kCustomSheetId);
        if (!ids.contains(id))
            throw UsageError(notOneOfText(QStringLiteral("--label-sheet"), ids).toStdString());
        stock.kind = DiscStockKind::LabelSheet;
        stock.sheetId = id;
        stock.labels = ~0u;
    }
    if (args.has(QStringLiteral("printable-disc")))
        stock.kind = DiscStockKind::PrintableDisc;
    if (args.has(QStringLiteral("labels"))) {
        const LabelSheetProduct &sheet = stockSheet(stock, custom);
        QString message;
        const std::optional<unsigned> labels = parseLabelList(
            args.value(QStringLiteral("labels")), int(sheet.centresMm.size()), &message);
        if (!labels)
            throw UsageError(message.toStdString());
        stock.labels = *labels;
    }
    return discLayoutOf(stock, custom);
}

PrintCorrection printCorrection(const Args &args, const PrintDevice &device)
{
    if (args.has(QStringLiteral("offset"))) {
        const QString text = args.value(QStringLiteral("offset"));
        const std::optional<PrintCorrection> c = parseCorrectionPair(text);
        if (!c)
            throw UsageError(UiText::tr("補正の指定が正しくありません: %1 (X,Y を mm で、"
                                        "-10.0〜10.0、小数一桁)")
                                 .arg(text)
                                 .toStdString());
        return *c;
    }
    QSettings settings;
    return loadPrintCorrection(settings, device);
}

} // namespace cw::cli

// --help and --version of casewright-cli: the texts, and which of them the
// arguments ask for.
#include "cli/CommandHelp.h"

#include <algorithm>

#include "base/ProgramFolders.h"

namespace cw::cli {

namespace {

struct OptionHelp
{
    const char *option; // as typed, with its value: "--dpi X[xY]"
    const char *text;
};

struct CommandText
{
    const char *name;
    const char *summary; // one line, for the list of commands
    const char *description; // the paragraph of the command's own help
    QList<OptionHelp> options;
};

const OptionHelp kPrinterDpi { "--printer-dpi X[xY]",
    "the printer resolution the document refers to (default 300)" };
const OptionHelp kPrintOption { "--option NAME=0|1",
    "override one print setting for this run (AreaLinePrint, CutLinePrint, SideTitleSameTop, "
    "TopLabelPrint, BottomLabelPrint); may be repeated" };
const OptionHelp kHelp { "--help", "show this help and exit" };
const OptionHelp kOffset { "--offset X,Y",
    "move every sheet by X mm right and Y mm down (one decimal, -10.0 to 10.0) instead of the "
    "correction stored for the printer" };
const OptionHelp kBleed { "--bleed N",
    "continue backgrounds and pictures N mm (0 to 3) past the outer trim edges instead of the "
    "stored bleed" };

const QList<CommandText> &commandTexts()
{
    static const QList<CommandText> texts = {
        { "geometry", "page geometry at a resolution",
            "Prints the page geometry at a resolution, one \"key value\" line each: the scale, "
            "the surfaces' sizes in pixels and the frames of the front and back pages.",
            { { "--dpi X[xY]", "the resolution (default 96)" },
                { "--page WxH", "the page in pixels (default 1046x604, the preview page)" },
                kPrinterDpi } },
        { "dump", "the document as JSON",
            "Reads a document and prints it as JSON, with its file version (fileVersion) and "
            "encoding (fileEncoding).",
            { kPrinterDpi } },
        { "convert", "read and write a document",
            "Reads the document IN.cwr and writes it as OUT.cwr (version 1.06 in Shift-JIS). A "
            "document whose text Shift-JIS cannot hold is written as version 1.07 in UTF-8 only "
            "when allowed; otherwise nothing is written.",
            { { "--allow-unicode",
                  "write version 1.07 in UTF-8 when Shift-JIS cannot hold the text" },
                kPrinterDpi } },
        { "import-list", "rows a list import makes",
            "Prints, as JSON, the track-list rows an import makes: of a tab-separated or CSV "
            "text FILE, of a cue sheet, of a folder of audio files, or of audio files.",
            { { "--columns N", "the columns of the list, 1 to 3 (default 3)" }, kPrinterDpi } },
        { "template", "a list layout template",
            "Reads a list layout template (*.cwt) and prints its surface, name and layout as "
            "JSON; status 1 when the file is no template.",
            { kPrinterDpi } },
        { "filter", "the picture filter",
            "Prints the picture filter of the open dialog: the formats of the program's BMP "
            "decoder and of every decoder module.",
            { { "--plugins DIR", "read the decoder modules of DIR instead of the program's own" },
                kPrinterDpi } },
        { "decode", "decode a picture",
            "Loads a picture as the program does (BMP directly, other formats through the "
            "decoder modules) and prints its size as WxH.",
            { { "--plugins DIR", "read the decoder modules of DIR instead of the program's own" },
                { "--png OUT", "also write the picture as a PNG file" }, kPrinterDpi } },
        { "render", "one page of a document",
            "Draws one page of a document: the preview page (277.0 x 160.0 mm) at --dpi unless "
            "--size says otherwise, into a PNG file, a PDF file, or as the list of drawing "
            "calls. Exactly one of --png, --pdf and --ops is given.",
            { { "--page front|back", "the page to draw" },
                { "--dpi X[xY]", "the resolution of the page (default 96)" },
                { "--size WxH", "the page in pixels instead of the preview page" },
                { "--png F", "write the page as a PNG file" },
                { "--pdf F", "write the page as a PDF file" },
                { "--ops", "print the drawing calls, one line each" }, kPrintOption, kBleed,
                kPrinterDpi } },
        { "print", "print a document",
            "Prints the pages the print settings choose (TopLabelPrint, BottomLabelPrint) as one "
            "job, without a dialog: on the default printer, on the printer named, or into one "
            "PDF file made for a printer of --printer-dpi, pictures included. Printing to a "
            "printer loads casewright-printing.so from the program's module folder and lays the "
            "document out at that printer's own resolution.",
            { { "--printer NAME", "print on this printer instead of the default one" },
                { "--pdf F", "write the pages into the PDF file F instead of printing" },
                kPrintOption, kOffset, kBleed, kPrinterDpi } },
        { "export-pdf", "both pages, A4 landscape",
            "Writes both pages of a document into one PDF file of A4 landscape sheets and "
            "prints the file's name.",
            { { "--dpi N", "the resolution the pages are laid out at (default 300)" }, kPrintOption,
                kOffset, kBleed, kPrinterDpi } },
        { "calibration-sheet", "the sheet to measure a printer with",
            "Prints one landscape sheet with crosses at stated distances from the sheet's edges "
            "and at its centre, each labelled with its distance in millimetres, on the printer "
            "named or into a PDF file, moved by the printer's stored correction (or --offset). "
            "Measuring the crosses with a ruler gives the correction to enter.",
            { { "--printer NAME", "print on this printer" },
                { "--pdf F", "write the sheet into the PDF file F" }, kOffset, kPrinterDpi } },
    };
    return texts;
}

const CommandText *textOf(const QString &name)
{
    for (const CommandText &t : commandTexts())
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

constexpr int kLineWidth = 79;

// `text` broken into lines of at most kLineWidth characters at spaces (a
// longer word stands alone); the first line follows `first`, every further
// line starts with `indent` spaces.
QString wrapped(const QString &first, const QString &text, int indent)
{
    QString out = first;
    int column = int(first.size());
    bool lineEmpty = true;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lineEmpty && column + 1 + word.size() > kLineWidth) {
            out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += QLatin1Char(' ');
            ++column;
        }
        out += word;
        column += int(word.size());
        lineEmpty = false;
    }
    return out + QLatin1Char('\n');
}

// "  --dpi X[xY]          the resolution": options in a column of their own.
void addOptionLines(QString &out, const QList<OptionHelp> &options)
{
    int width = 0;
    for (const OptionHelp &o : options)
        width = std::max(width, int(qstrlen(o.option)));
    for (const OptionHelp &o : options)
        out += wrapped(QStringLiteral("  %1  ").arg(QString::fromUtf8(o.option), -width),
            QString::fromUtf8(o.text), width + 4);
}

const char kExitStatus[] = "Exit status: 0 success, 1 a failed operation (the message on "
                           "standard error), 2 bad arguments (a usage line on standard error).";

} // namespace

QString versionText()
{
    return QStringLiteral("casewright-cli ") + programVersion() + QLatin1Char('\n');
}

QString programHelp()
{
    QString out = QStringLiteral(
        "usage: casewright-cli COMMAND [ARGS]\n"
        "       casewright-cli COMMAND --help\n"
        "       casewright-cli --help | --version\n"
        "\n"
        "Reads, converts, draws and prints Casewright documents (*.cwr) without a display.\n"
        "\n"
        "Commands:\n");
    int width = 0;
    for (const Command &c : commands())
        width = std::max(width, int(qstrlen(c.name)));
    for (const Command &c : commands()) {
        const CommandText *text = textOf(QString::fromUtf8(c.name));
        out += QStringLiteral("  %1  %2\n")
                   .arg(QString::fromUtf8(c.name), -width)
                   .arg(text ? QString::fromUtf8(text->summary) : QString());
    }
    out += QLatin1Char('\n')
        + wrapped(QString(),
            QStringLiteral("Every command takes --printer-dpi X[xY], the printer resolution a "
                           "document refers to (default 300). Messages go to standard error."),
            0);
    out += QLatin1Char('\n') + wrapped(QString(), QString::fromUtf8(kExitStatus), 0);
    return out;
}

QString commandHelp(const Command &command)
{
    QString out = QStringLiteral("usage: casewright-cli ") + QString::fromUtf8(command.usage)
        + QLatin1Char('\n');
    const CommandText *text = textOf(QString::fromUtf8(command.name));
    QList<OptionHelp> options;
    if (text) {
        out += QLatin1Char('\n') + wrapped(QString(), QString::fromUtf8(text->description), 0);
        options = text->options;
    } else {
        options = { kPrinterDpi };
    }
    options.append(kHelp);
    out += QStringLiteral("\nOptions:\n");
    addOptionLines(out, options);
    out += QLatin1Char('\n') + wrapped(QString(), QString::fromUtf8(kExitStatus), 0);
    return out;
}

HelpRequest helpRequest(const QStringList &arguments, const Command **command)
{
    *command = nullptr;
    if (arguments.isEmpty())
        return HelpRequest::None;
    const QString first = arguments.first();
    if (first == QLatin1String("--version"))
        return HelpRequest::Version;
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return HelpRequest::Program;
    const Command *found = findCommand(first);
    if (!found || !arguments.contains(QLatin1String("--help")))
        return HelpRequest::None;
    // Parsed as the command parses its arguments, with --help as one more
    // flag: "--pdf --help" names a file, and "-- --help" a document.
    Command withHelp = *found;
    withHelp.flags.append(QStringLiteral("help"));
    QString problem;
    if (!parseArguments(withHelp, arguments.mid(1), &problem).has(QStringLiteral("help")))
        return HelpRequest::None;
    *command = found;
    return HelpRequest::Command;
}

} // namespace cw::cli

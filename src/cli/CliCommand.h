#pragma once

#include <QHash>
#include <QImage>
#include <QPageSize>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <limits>
#include <stdexcept>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "document/PrintCorrection.h"

class QSettings;

namespace cw {

// casewright-cli commands. Each command lives in its own file and registers
// itself with CLI_COMMAND, declaring the options and positional arguments it
// takes; main() dispatches on the first argument and parses the rest for it.
//
// Exit status: 0 success, 1 a failed operation (the message on stderr),
// 2 bad arguments (a usage line on stderr).
namespace cli {

struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// A command's arguments as the parser found them. Options are named without
// their dashes ("printer-dpi").
struct Args
{
    QStringList positional;
    QHash<QString, QStringList> options; // name -> the values given (none for a flag)

    bool has(const QString &name) const { return options.contains(name); }
    // The first value given: an option repeated keeps its first value.
    QString value(const QString &name, const QString &fallback = QString()) const;
    // Every value given, in order (for the repeatable ones such as --option).
    QStringList values(const QString &name) const { return options.value(name); }
};

constexpr int kAnyNumber = std::numeric_limits<int>::max();

// How many positional arguments a command takes.
struct Positionals
{
    int min = 0;
    int max = 0; // kAnyNumber for no limit
    // Said when the count is outside [min, max]. Without it, the first
    // argument beyond `max` is named ("unexpected argument: X"), so a command
    // with a minimum gives one.
    const char *problem = nullptr;
};

struct Command
{
    const char *name = nullptr;
    const char *usage = nullptr;
    // The options that take a value and those that do not, without their
    // dashes. Every command also takes the shared --printer-dpi X[xY].
    QStringList valueOptions = {};
    QStringList flags = {};
    Positionals positionals = {};
    std::function<int(const Args &, QTextStream &out, QTextStream &err)> run = {};
};

int registerCommand(Command command);
const QList<Command> &commands();
const Command *findCommand(const QString &name);

// Parses a command's arguments (those after its name) as the command declares
// them. Returns what was found; `problem` is set, and the arguments are to be
// refused, for an unknown option, an option missing its value, a value given
// to a flag, or a wrong number of positional arguments.
Args parseArguments(const Command &command, const QStringList &arguments, QString *problem);

// The refusal of a value of `option` (typed with its dashes) that is not one
// of `valid`, naming them: "--page は front か back です".
QString notOneOfText(const QString &option, const QStringList &valid);

// "X" or "XxY" -> (X, Y); throws UsageError.
QPair<int, int> parseDpi(const QString &text);
// "WxH" -> (W, H); throws UsageError.
QPair<int, int> parseSize(const QString &text);

// The print options: the user's settings (read only; defaults where a value
// does not exist), then every --option NAME=0|1 over them, and the bleed:
// the settings' "Bleed", or --bleed N (0..3). Throws UsageError for an
// unknown name, a value other than 0 or 1, or a bleed out of range. The
// disc's stock is the settings' unless --label-sheet ID, --labels 1,2 or
// --printable-disc (for the commands that take them) say otherwise.
PrintOptions printOptions(const Args &args);
// The disc's layout as the settings and those three options choose it.
// Throws UsageError for an unknown sheet or a label the sheet lacks.
DiscLayout discLayout(const Args &args, QSettings &settings);

// The position correction of a run on `device`: --offset X,Y when given
// (millimetres, one decimal, each within ±10.0), else the one the user's
// settings keep for the device. Throws UsageError for a bad --offset.
PrintCorrection printCorrection(const Args &args, const PrintDevice &device);

// The paper of a PDF file printed to: --paper a4|letter (A4 unless given).
// --paper without --pdf, or another paper, throws UsageError naming the choices.
QPageSize::PageSizeId pdfPaper(const Args &args);

// Messages the GUI would show in a message box: on standard error, verbatim.
class StderrMessages : public MessageSink
{
public:
    explicit StderrMessages(QTextStream &err)
        : m_err(err)
    { }
    void showMessage(const QString &text) override
    {
        m_err << text << '\n';
        m_err.flush();
    }

private:
    QTextStream &m_err;
};

// Writes `image` as a PNG file through the program's safe save: an old file
// is replaced only by a complete new one. False when it cannot be written.
bool savePng(const QImage &image, const QString &path);

} // namespace cli

#define CLI_CONCAT2(a, b) a##b
#define CLI_CONCAT(a, b) CLI_CONCAT2(a, b)
#define CLI_COMMAND(...)                                                                           \
    static const int CLI_CONCAT(cliCommandRegistered_, __LINE__) = cli::registerCommand(__VA_ARGS__)

} // namespace cw

#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <stdexcept>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"

namespace cw {

// casewright-cli commands. Each command lives in its own file and registers
// itself with CLI_COMMAND; main() dispatches on the first argument.
//
// Exit status: 0 success, 1 a failed operation (the message on stderr),
// 2 bad arguments (a usage line on stderr).
namespace cli {

struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct Args
{
    QStringList positional;
    QList<QPair<QString, QString>> options; // "--name" -> value ("" for flags)

    bool has(const QString &name) const;
    QString value(const QString &name, const QString &fallback = QString()) const;
    QStringList values(const QString &name) const;
};

struct Command
{
    const char *name;
    const char *usage;
    // Options that take a value (the others are flags).
    QStringList valueOptions;
    std::function<int(const Args &, QTextStream &out, QTextStream &err)> run;
};

int registerCommand(Command command);
const QList<Command> &commands();

// "X" or "XxY" -> (X, Y); throws UsageError.
QPair<int, int> parseDpi(const QString &text);
// "WxH" -> (W, H); throws UsageError.
QPair<int, int> parseSize(const QString &text);

// The print options: the user's settings (read only; defaults where a value
// does not exist), then every --option NAME=0|1 over them. Throws UsageError
// for an unknown name or a value other than 0 or 1.
PrintOptions printOptions(const Args &args);

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

} // namespace cli

#define CLI_CONCAT2(a, b) a##b
#define CLI_CONCAT(a, b) CLI_CONCAT2(a, b)
#define CLI_COMMAND(...)                                                                           \
    static const int CLI_CONCAT(cliCommandRegistered_, __LINE__) = cli::registerCommand(__VA_ARGS__)

} // namespace cw

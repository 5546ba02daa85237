// casewright-cli formats: every case format the program makes, with its
// sheets and their panels in millimetres, as JSON.

#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "text/JsonStream.h"

namespace cw {

namespace {

void writePanel(IndentedJsonWriter &w, const CasePanel &p)
{
    w.beginObject();
    w.key(QStringLiteral("id"));
    w.value(p.id);
    w.key(QStringLiteral("role"));
    w.value(panelRoleName(p.role));
    w.key(QStringLiteral("xMm"));
    w.value(p.xMm);
    w.key(QStringLiteral("yMm"));
    w.value(p.yMm);
    w.key(QStringLiteral("widthMm"));
    w.value(p.widthMm);
    w.key(QStringLiteral("heightMm"));
    w.value(p.heightMm);
    w.end();
}

void writeSheet(IndentedJsonWriter &w, const CaseSheet &s)
{
    w.beginObject();
    w.key(QStringLiteral("id"));
    w.value(s.id);
    if (s.printedWithInside) {
        w.key(QStringLiteral("printedWhen"));
        w.value(QStringLiteral("inside"));
    }
    w.key(QStringLiteral("widthMm"));
    w.value(s.widthMm);
    w.key(QStringLiteral("heightMm"));
    w.value(s.heightMm);
    w.key(QStringLiteral("panels"));
    w.beginArray();
    for (const CasePanel &p : s.panels)
        writePanel(w, p);
    w.end();
    w.end();
}

int runFormats(const cli::Args &, QTextStream &out, QTextStream &err)
{
    out.flush();
    // Members in the order a reader meets them: what a thing is, then its size.
    IndentedJsonWriter w(*out.device());
    w.beginArray();
    for (const CaseFormat &f : caseFormats()) {
        w.beginObject();
        w.key(QStringLiteral("id"));
        w.value(f.id);
        w.key(QStringLiteral("name"));
        w.value(f.name());
        // A case whose sizes each document gives: the sizes below are its defaults.
        if (f.custom) {
            w.key(QStringLiteral("custom"));
            w.value(true);
        }
        w.key(QStringLiteral("sheets"));
        w.beginArray();
        for (const CaseSheet &s : f.sheets)
            writeSheet(w, s);
        w.end();
        w.end();
    }
    w.end();
    if (!w.flush()) {
        err << UiText::tr("出力が書き込めません") << '\n';
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "formats", .usage = "formats", .run = runFormats });

} // namespace cw

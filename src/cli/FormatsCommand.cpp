// casewright-cli formats: every case format the program makes, with its
// sheets and their panels in millimetres, as JSON; or, for a document, the
// format it is printed on, a booklet's sides among its sheets.

#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/CommandDocument.h"
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
    if (p.page > 0) {
        w.key(QStringLiteral("page"));
        w.value(p.page);
    }
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

void writeFormat(IndentedJsonWriter &w, const CaseFormat &f, int pages)
{
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
    // A document's booklet: its page count, its sides among the sheets.
    if (pages > 2) {
        w.key(QStringLiteral("pages"));
        w.value(pages);
    }
    w.key(QStringLiteral("sheets"));
    w.beginArray();
    for (const CaseSheet &s : f.sheets)
        writeSheet(w, s);
    w.end();
    w.end();
}

int runFormats(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    cli::CommandDocument document;
    const bool ofDocument = !args.positional.isEmpty();
    if (ofDocument) {
        cli::StderrMessages messages(err);
        if (!cli::loadCommandDocument(args, args.positional.first(), messages, document))
            return 1;
    }
    out.flush();
    // Members in the order a reader meets them: what a thing is, then its size.
    IndentedJsonWriter w(*out.device());
    w.beginArray();
    if (ofDocument) {
        writeFormat(w, formatOf(document.doc), document.doc.bookletPages);
    } else {
        for (const CaseFormat &f : caseFormats())
            writeFormat(w, f, 2);
    }
    w.end();
    if (!w.flush()) {
        err << UiText::tr("出力が書き込めません") << '\n';
        return 1;
    }
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "formats",
    .usage = "formats [DOC.cwr]",
    .positionals = { 0, 1, QT_TRANSLATE_NOOP("cw::UiText", "文書を一つ指定してください") },
    .run = runFormats });

} // namespace cw

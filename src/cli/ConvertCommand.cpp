#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "cli/CliCommand.h"
#include "cli/CommandDocument.h"
#include "document/CaseSizeText.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"

namespace cw {

namespace {

int runConvert(const cli::Args &args, QTextStream &, QTextStream &err)
{
    const QString formatOption = QStringLiteral("format");
    const QString format = args.value(formatOption);
    if (args.has(formatOption) && !findCaseFormat(format))
        throw cli::UsageError(
            cli::notOneOfText(QStringLiteral("--format"), caseFormatIds()).toStdString());
    // A custom case's sizes, "P,H,S" in millimetres, checked before the
    // document is read.
    const QString sizeOption = QStringLiteral("size");
    std::optional<CaseSize> size;
    if (args.has(sizeOption)) {
        QString error;
        size = parseCaseSizeTriple(args.value(sizeOption), &error);
        if (!size)
            throw cli::UsageError(error.toStdString());
    }
    cli::StderrMessages messages(err);
    cli::CommandDocument document;
    if (!cli::loadCommandDocument(args, args.positional[0], messages, document))
        return 1;
    // Written for another case: placed on its panels as the window's
    // "ケースの種類" places it, and at other sizes as its size fields do.
    DocumentEditor editor(document.doc, &messages);
    if (args.has(formatOption))
        editor.setCaseFormat(format);
    if (size) {
        if (!formatOf(document.doc).custom)
            throw cli::UsageError(
                UiText::tr("--size はカスタムケース (custom-wrap) の文書にだけ指定できます")
                    .toStdString());
        editor.setCaseSize(*size);
    }
    // A jewel-case document whose text fits CP932 stays 1.06; otherwise only
    // --allow-unicode writes the UTF-8 form 1.07. Any other case is 1.08.
    const UnicodeSave unicode
        = args.has(QStringLiteral("allow-unicode")) ? UnicodeSave::Allow : UnicodeSave::Refuse;
    return saveDocument(document.doc, args.positional[1], messages, unicode) ? 0 : 1;
}

} // namespace

CLI_COMMAND({ .name = "convert",
    .usage = "convert IN.cwr OUT.cwr [--format ID] [--size P,H,S] [--printer-dpi X[xY]] "
             "[--allow-unicode]",
    .valueOptions = { QStringLiteral("format"), QStringLiteral("size") },
    .flags = { QStringLiteral("allow-unicode") },
    .positionals
    = { 2, 2, QT_TRANSLATE_NOOP("cw::UiText", "読む文書と書き出す文書を指定してください") },
    .run = runConvert });

} // namespace cw

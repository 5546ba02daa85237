// casewright-cli render: one sheet of a document's case drawn by the renderer,
// as a PNG picture, a PDF page or the list of canvas calls; and export-pdf:
// every sheet of the case on A4 landscape pages, or with --press each sheet on
// a page of its own with its trim and bleed boxes, for a print shop.

#include <iterator>

#include "base/BookletFormat.h"
#include "base/BookletImposition.h"
#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "canvas/RecordingCanvas.h"
#include "cli/CliCommand.h"
#include "cli/CommandDocument.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/DiscPages.h"
#include "render/PageOutput.h"
#include "render/PressPdf.h"
#include "render/PreviewState.h"

namespace cw {

namespace {

int runRender(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    // A sheet no case has is refused before the document is read; one its
    // case lacks, once it is.
    const QString page = args.value(QStringLiteral("page"));
    const QString pageOption = QStringLiteral("--page");
    QStringList anySheet;
    for (const CaseFormat &f : caseFormats())
        for (const QString &id : f.sheetIds())
            if (!anySheet.contains(id))
                anySheet.append(id);
    // Every case has its disc; a booklet its sides and each of its pages,
    // which only a document's own refusal names.
    const QString discPage = QStringLiteral("disc");
    anySheet.append(discPage);
    QStringList bookletSheets;
    const int mostPages = kBookletPageCounts[std::size(kBookletPageCounts) - 1];
    for (int k = 1; k <= mostPages / 4; ++k)
        for (bool back : { false, true })
            bookletSheets.append(bookletSideId(k, back));
    for (int page = 1; page <= mostPages; ++page)
        bookletSheets.append(bookletPageId(page));
    if (!anySheet.contains(page) && !bookletSheets.contains(page))
        throw cli::UsageError(cli::notOneOfText(pageOption, anySheet).toStdString());
    auto [dpiX, dpiY] = cli::parseDpi(args.value(QStringLiteral("dpi"), QStringLiteral("96")));
    // Without a size, the preview page of the document's case (277.0 x 160.0 mm
    // for the jewel case) at the resolution asked for, once the case is known.
    const bool sized = args.has(QStringLiteral("size"));
    auto [width, height]
        = sized ? cli::parseSize(args.value(QStringLiteral("size"))) : QPair<int, int>(0, 0);
    const int outputs = int(args.has(QStringLiteral("png"))) + int(args.has(QStringLiteral("pdf")))
        + int(args.has(QStringLiteral("ops")));
    if (outputs != 1)
        throw cli::UsageError(
            UiText::tr("--png、--pdf、--ops のどれか一つを指定してください").toStdString());
    PrintOptions options = cli::printOptions(args);
    options.disc.guides = args.has(QStringLiteral("disc-guides"));

    cli::StderrMessages messages(err);
    cli::DocumentReading reading;
    if (!args.has(QStringLiteral("ops")))
        reading.warmUp
            = args.has(QStringLiteral("pdf")) ? OutputWarmUp::Vector : OutputWarmUp::Raster;
    cli::CommandDocument document;
    if (!cli::loadCommandDocument(args, args.positional.first(), messages, document, reading))
        return 1;
    LabelDocument &doc = document.doc;
    // A page alone is a sheet of the booklet's pages in reading order (a
    // front insert of two pages has two: the cover and the inside face).
    const CaseFormat &pagesAlone = bookletReadingFormat(caseFormatOf(doc), doc.bookletPages);
    const bool onePage = &pagesAlone != &caseFormatOf(doc) && pagesAlone.sheetIndex(page) >= 0;
    const CaseFormat &format = onePage ? pagesAlone : formatOf(doc);
    const int sheet = page == discPage ? -2 : format.sheetIndex(page);
    if (sheet == -1) {
        // A booklet's refusal names its pages too.
        QStringList offered = formatOf(doc).sheetIds() << discPage;
        if (doc.bookletPages > 2)
            offered << pagesAlone.sheetIds();
        throw cli::UsageError(cli::notOneOfText(pageOption, offered).toStdString());
    }
    // The inside sheet is drawn as it is printed: only with the inside.
    if (sheet >= 0 && !onePage && !shownSheets(options, format).contains(sheet))
        throw cli::UsageError(
            UiText::tr("--page %1 は --option InsidePrint=1 と一緒に指定してください")
                .arg(page)
                .toStdString());
    const PreviewPage pageIndex = sheet >= 0 ? PreviewPage(sheet) : PreviewPage::Disc;
    if (!sized && pageIndex == PreviewPage::Disc) {
        // The disc alone, on a square of its outer diameter (and bleed).
        const QSize square = discFacePageSize(discDrawingOf(options), dpiX, dpiY);
        width = square.width();
        height = square.height();
    } else if (!sized) {
        const QSize previewPage = PreviewState::pageSizeAt(dpiX, dpiY, format);
        width = previewPage.width();
        height = previewPage.height();
    }
    FilePictureReader reader(messages);

    if (args.has(QStringLiteral("ops"))) {
        RecordingCanvas canvas(dpiX, dpiY);
        drawDocumentPage(
            canvas, doc, options, pageIndex, dpiX, dpiY, width, height, &reader, &format);
        for (const QString &line : canvas.lines())
            out << line << '\n';
        return 0;
    }
    if (args.has(QStringLiteral("png"))) {
        const QString file = args.value(QStringLiteral("png"));
        QImage image = renderPageImage(
            doc, options, pageIndex, dpiX, dpiY, width, height, &reader, &format);
        if (image.isNull()) {
            err << UiText::tr("ファイル(%1)が記録できません(ページが大きすぎます)").arg(file)
                << '\n';
            return 1;
        }
        if (!cli::savePng(image, file)) {
            err << UiText::tr("ファイル(%1)が記録できません").arg(file) << '\n';
            return 1;
        }
        return 0;
    }
    const QString file = args.value(QStringLiteral("pdf"));
    QString error;
    if (!renderPagePdf(
            doc, options, pageIndex, dpiX, dpiY, width, height, file, &error, &reader, &format)) {
        err << UiText::tr("ファイル(%1)が記録できません").arg(file) << " (" << error << ")\n";
        return 1;
    }
    return 0;
}

int runExportPdf(const cli::Args &args, QTextStream &out, QTextStream &err)
{
    const int dpi = cli::parseDpi(args.value(QStringLiteral("dpi"), QStringLiteral("300"))).first;
    const PrintOptions options = cli::printOptions(args);
    const bool press = args.has(QStringLiteral("press"));
    // A booklet's sides as they are printed, instead of its pages in order.
    const bool imposed = args.has(QStringLiteral("imposed"));
    if (imposed && !press)
        throw cli::UsageError(
            UiText::tr("--imposed は --press と一緒に指定してください").toStdString());
    // A print shop cuts at the trim boxes: no printer's correction moves the sheets.
    if (press && args.has(QStringLiteral("offset")))
        throw cli::UsageError(
            UiText::tr("--press と --offset は一緒に指定できません").toStdString());
    const PrintCorrection correction
        = press ? PrintCorrection {} : cli::printCorrection(args, PrintDevice::pdf());
    cli::StderrMessages messages(err);
    cli::CommandDocument document;
    if (!cli::loadCommandDocument(
            args, args.positional[0], messages, document, { .warmUp = OutputWarmUp::Vector }))
        return 1;
    LabelDocument &doc = document.doc;
    FilePictureReader reader(messages);
    const QString file = args.positional[1];
    QString error;
    const bool written = press
        ? ExportPressPdf(doc, options, file, dpi, &error, &reader, imposed)
        : ExportDocumentPdf(doc, options, file, dpi, &error, &reader, correction);
    if (!written) {
        err << UiText::tr("ファイル(%1)が記録できません").arg(file) << " (" << error << ")\n";
        return 1;
    }
    out << file << '\n';
    return 0;
}

} // namespace

CLI_COMMAND({ .name = "render",
    .usage = "render DOC.cwr --page front|back|disc|page-K [--dpi X[xY]] [--size WxH] "
             "(--png F | --pdf F | --ops) [--option NAME=0|1]... [--bleed N] [--disc-guides] "
             "[--label-sheet ID | --printable-disc]",
    .valueOptions = { QStringLiteral("page"), QStringLiteral("dpi"), QStringLiteral("size"),
        QStringLiteral("png"), QStringLiteral("pdf"), QStringLiteral("option"),
        QStringLiteral("bleed"), QStringLiteral("label-sheet") },
    .flags = { QStringLiteral("ops"), QStringLiteral("disc-guides"),
        QStringLiteral("printable-disc") },
    .positionals = { 1, 1, QT_TRANSLATE_NOOP("cw::UiText", "文書を一つ指定してください") },
    .run = runRender });

CLI_COMMAND({ .name = "export-pdf",
    .usage = "export-pdf DOC.cwr OUT.pdf [--dpi N] [--option NAME=0|1]... [--offset X,Y] "
             "[--bleed N] [--press [--imposed]]",
    .valueOptions = { QStringLiteral("dpi"), QStringLiteral("option"), QStringLiteral("offset"),
        QStringLiteral("bleed") },
    .flags = { QStringLiteral("press"), QStringLiteral("imposed") },
    .positionals
    = { 2, 2, QT_TRANSLATE_NOOP("cw::UiText", "文書と書き出すファイルを指定してください") },
    .run = runExportPdf });

} // namespace cw

#pragma once

#include <QImage>
#include <QString>

#include "document/LabelDocument.h"
#include "render/PrintDocument.h"

namespace cw {

class MessageSink;
class LabelCanvas;
class PictureFileReader;

// Draws sheet `page` of the document's case format onto a canvas at the target resolution and
// printable area, reading picture files through `reader` (null: the
// program's loader without messages). `sheets` names another format the
// sheet is of, such as a booklet's pages in reading order
// (bookletReadingFormat); null: the document's.
void drawDocumentPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    PreviewPage page, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader = nullptr, const CaseFormat *sheets = nullptr);

// One page drawn onto a white image of width x height pixels whose
// resolution is dpiX x dpiY.
QImage renderPageImage(LabelDocument &doc, const PrintOptions &options, PreviewPage page, int dpiX,
    int dpiY, int width, int height, PictureFileReader *reader = nullptr,
    const CaseFormat *sheets = nullptr);

// One page drawn into a one-page PDF file whose page is width x height pixels
// at dpiX x dpiY. False, with the reason in `error`, when the file cannot be
// written.
bool renderPagePdf(LabelDocument &doc, const PrintOptions &options, PreviewPage page, int dpiX,
    int dpiY, int width, int height, const QString &path, QString *error,
    PictureFileReader *reader = nullptr, const CaseFormat *sheets = nullptr);

// Every sheet of the document's case format the options show (shownSheets),
// in order, each on its own A4
// landscape sheet at `dpi`, into
// a PDF file: printing without a printer. The whole sheet is the printable
// area. Every sheet is moved by `correction`. False, with the reason in
// `error`, when the file cannot be written.
bool ExportDocumentPdf(LabelDocument &doc, const PrintOptions &options, const QString &path,
    int dpi, QString *error, PictureFileReader *reader = nullptr,
    const PrintCorrection &correction = {});

} // namespace cw

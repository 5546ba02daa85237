#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "document/LabelDocument.h"
#include "render/PressLayout.h"

namespace cw {

class PictureFileReader;

// The resolution of a print shop's PDF unless told otherwise: pictures go
// into the file at the pixels they cover at it.
constexpr int kPressDpi = 300;

// Sets the MediaBox, TrimBox and BleedBox of every page of the PDF file in
// `pdf` (as Qt's PDF writer makes it, which sets the MediaBox only), one
// entry of `boxes` per page in order, and returns the file rewritten. The
// streams are kept as they are. Empty, with the reason in `error`, when the
// bytes are no PDF file, the pages are not as many as the entries, or a
// page's trim does not lie within its bleed and its bleed within its media.
QByteArray setPdfPageBoxes(const QByteArray &pdf, const QVector<PdfPageBoxes> &boxes,
    QString *error);

// setPdfPageBoxes, then the result saved whole at `path` (a new file beside
// it, which replaces the old one only once complete): a failure leaves an
// old file as it was and no new one. False, with the reason in `error`.
bool savePdfWithBoxes(const QString &path, const QByteArray &pdf,
    const QVector<PdfPageBoxes> &boxes, QString *error);

// A PDF for a print shop: each sheet of `doc`'s case format the options show
// (shownSheets), in order, on its own page laid out by pressPageLayout at
// `dpi` with the bleed of `options`, pictures at the pixels they cover at
// `dpi`, its boxes set. A booklet of more than two pages gives its pages in
// reading order instead of its sides, each page on its own page
// (bookletReadingFormat), unless `imposed` asks for the sides as they are
// printed. False, with the
// reason in `error`, when the file cannot be written; nothing is then left
// at `path` but what was there before.
bool ExportPressPdf(LabelDocument &doc, const PrintOptions &options, const QString &path, int dpi,
    QString *error, PictureFileReader *reader = nullptr, bool imposed = false);

} // namespace cw

#pragma once

#include <QIODevice>
#include <QJsonObject>

#include "document/LabelDocument.h"

namespace cw {

// The document as the command line prints it: the document's field names;
// colours as unsigned decimal numbers; pictures without their bitmaps.
QJsonObject documentToJson(const LabelDocument &doc);
// Writes the text of QJsonDocument(documentToJson(doc)).toJson(Indented) to
// `out` piece by piece: the list rows and free-print items one at a time, so
// a long list never exists as JSON whole. False when `out` refused the text.
// `extra` adds members beside the document's own (the file's version, say).
bool writeDocumentJson(
    QIODevice &out, const LabelDocument &doc, const QJsonObject &extra = QJsonObject());
// A text block also gets "textBlock": its box, alignment, spacing, the lines
// it shows as wrapped at (dpiX, dpiY), and how many are cut.
QJsonObject printsItemToJson(const TPrintsData &item, int dpiX, int dpiY);

} // namespace cw

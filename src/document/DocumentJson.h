#pragma once

#include <QJsonObject>

#include "document/LabelDocument.h"

// The document as the command line prints it: the document's field names;
// colours as unsigned decimal numbers; pictures without their bitmaps.
QJsonObject documentToJson(const LabelDocument &doc);
QJsonObject printsItemToJson(const TPrintsData &item);

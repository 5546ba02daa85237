#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

#include "tracklist/ListTemplate.h"
#include "tracklist/TListData.h"

namespace cw {

// JSON forms of the track list, as the command line prints them.

// {separate, kind, columns: three {text, align, font}}; the editor-only
// `enabled` flags are left out.
QJsonObject listRowToJson(const TListData &row);
QJsonArray listRowsToJson(const QList<TListData> &rows);
class IndentedJsonWriter;
// Writes listRowsToJson(rows) row by row, as the value the writer expects
// next; the rows' JSON is never held whole.
void writeListRowsJson(IndentedJsonWriter &out, const QList<TListData> &rows);
// The nine fields by name.
QJsonObject listLayoutToJson(const ListLayout &layout);
// {surface, name, layout}
QJsonObject listTemplateToJson(int surface, const ListTemplate &t);

} // namespace cw

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

#include "document/UserPrompts.h"
#include "tracklist/ListRows.h"

// Rows read from tab-separated text or CSV files.

using ImportFields = std::array<QString, 3>;

// Longest line the import takes in one piece, in characters (bytes); the
// rest of a longer line is read as the next line.
constexpr int kImportLineLimit = 1023;

// A path names a CSV file when its last four characters, in lower case, are
// ".csv"; everything else is tab-separated text.
bool isCsvPath(const QString &path);

// Splits file data into the raw lines the import reads: CR LF or LF ends a
// line, at most kImportLineLimit bytes are taken at a time (never half of a
// double-byte character), a NUL byte ends the line's text. Every line counts,
// empty ones too; data without a final line break still ends its last line.
QList<QByteArray> splitImportLines(const QByteArray &data);

// At most three fields of one line.
ImportFields splitTabLine(const QString &line);
ImportFields splitCsvLine(const QString &line);

struct ListImportData
{
    QList<ImportFields> lines;
    int firstInvalidLine = 0; // 1-based; 0 when every line is CP932
};
// Decodes and splits a whole file's data.
ListImportData parseListImport(const QByteArray &data, bool csv);

// Appends one row per line, made as the editor's "new" command makes it, with
// the fields put into the cells by the column count (one column: field 1 into
// cell 2; two: fields 1 and 2 into cells 1 and 2; three: fields 1..3).
void appendImportedRows(QList<TListData> &rows, const QList<ImportFields> &lines,
    const ListEditorDefaults &defaults, int columnCount);

// Reads `path` and appends its rows. When the file cannot be opened (or is
// not a regular file), shows
// "ファイル(" + path + ")がオープンできません"; when it is not CP932 text, says
// which line is not; in both cases the list stays as it was and the result is
// -1. Otherwise returns the number of rows appended.
int ImportListFile(const QString &path, QList<TListData> &rows, const ListEditorDefaults &defaults,
    int columnCount, MessageSink &messages);

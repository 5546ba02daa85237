#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <array>
#include <functional>

#include "base/UserPrompts.h"
#include "tracklist/ListRows.h"

namespace cw {

// Rows read from tab-separated text or CSV files.

using ImportFields = std::array<QString, 3>;

// Longest line the import takes in one piece, in characters (bytes); the
// rest of a longer line is read as the next line.
constexpr int kImportLineLimit = 1023;

// A path names a CSV file when its last four characters, in lower case, are
// ".csv"; everything else is tab-separated text.
bool isCsvPath(const QString &path);

// How the bytes of an import file are read. A file that starts with the
// UTF-8 byte-order mark is UTF-8 (the mark is not text); so is a file whose
// bytes are all valid UTF-8 and hold at least one multi-byte sequence, which
// is what spreadsheets export. Every other file is CP932.
enum class ImportEncoding { Cp932, Utf8, Utf8WithBom };
ImportEncoding detectImportEncoding(const QByteArray &data);
// The same, reading the device from where it is to its end.
ImportEncoding detectImportEncoding(QIODevice &device, bool *readError = nullptr);

// Splits file data into the raw lines the import reads: CR LF, LF or a lone
// CR ends a line, at most kImportLineLimit bytes are taken at a time (never
// half of a character of the encoding), a NUL byte ends the line's text.
// Every line counts, empty ones too; data without a final line break still
// ends its last line. The byte-order mark of UTF-8 data is skipped.
QList<QByteArray> splitImportLines(
    const QByteArray &data, ImportEncoding encoding = ImportEncoding::Cp932);

// At most three fields of one line.
ImportFields splitTabLine(const QString &line);
ImportFields splitCsvLine(const QString &line);

// A CSV record may span line breaks inside a double-quoted field that starts
// at the beginning of its field (a spreadsheet cell holding line breaks):
// the lines are joined with a space for each break and read as one line.
// A record whose quote is not closed within this many lines, or before the
// end of the file, or that holds a quote that does not follow those rules,
// is read line by line as before.
constexpr int kCsvRecordMaxLines = 16;

struct ListImportData
{
    QList<ImportFields> lines;
    int firstInvalidLine = 0; // 1-based; 0 when every line is valid text
    ImportEncoding encoding = ImportEncoding::Cp932;
};
// Decodes and splits a whole file's data.
ListImportData parseListImport(const QByteArray &data, bool csv);

// Reads the records of an open device from its start, deciding the encoding
// first (the device is read twice, so it must be able to seek), and hands
// each to `take` in order. Returns 0 when every line was valid text, the
// 1-based number of the first line that was not (nothing after it is
// read), or -1 when the device could not be read.
int readListImport(QIODevice &device, bool csv,
    const std::function<void(const ImportFields &)> &take, ImportEncoding *encoding = nullptr);

// One row made as the editor's "new" command makes it, with the fields put
// into the cells by the column count.
TListData importedRow(
    const ImportFields &fields, const ListEditorDefaults &defaults, int columnCount);

// Appends one row per line, made as the editor's "new" command makes it, with
// the fields put into the cells by the column count (one column: field 1 into
// cell 2; two: fields 1 and 2 into cells 1 and 2; three: fields 1..3).
void appendImportedRows(QList<TListData> &rows, const QList<ImportFields> &lines,
    const ListEditorDefaults &defaults, int columnCount);

// Reads `path` and appends its rows. When the file cannot be opened (or is
// not a regular file), shows
// "ファイル(" + path + ")がオープンできません"; when it is not valid text of
// its encoding, says which line is not; in these cases the list stays as it
// was and the result is -1. Otherwise returns the number of rows appended.
// The file is read as a stream: memory holds the new rows, not the file.
int ImportListFile(const QString &path, QList<TListData> &rows, const ListEditorDefaults &defaults,
    int columnCount, MessageSink &messages);

} // namespace cw

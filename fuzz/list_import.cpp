// Tab-separated text and CSV import of track-list rows, in either encoding.
// The first byte picks the format and the column count; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tracklist/ListImport.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool csv = data[0] & 1;
    const int columns = (data[0] >> 1) % 5; // 0..4: counts outside 1..3 too
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const ListImportData parsed = parseListImport(file, csv);
    for (const ImportFields &f : parsed.lines)
        for (const QString &field : f)
            if (field.size() > kCsvRecordMaxLines * (kImportLineLimit + 1))
                std::abort(); // a field never outgrows the lines of its record
    QList<TListData> rows;
    appendImportedRows(rows, parsed.lines, ListEditorDefaults(), columns);
    if (rows.size() != parsed.lines.size())
        std::abort();
    // Never more records than lines.
    if (parsed.lines.size() > splitImportLines(file, parsed.encoding).size())
        std::abort();
    return 0;
}

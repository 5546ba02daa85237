#include "tracklist/ListImport.h"

#include <QFile>
#include <QFileInfo>

#include "text/Cp932.h"

namespace {
bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
} // namespace

bool isCsvPath(const QString &path)
{
    return path.right(4).toLower() == QLatin1String(".csv");
}

QList<QByteArray> splitImportLines(const QByteArray &data)
{
    QList<QByteArray> lines;
    const char *d = data.constData();
    const qsizetype size = data.size();
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype start = pos;
        qsizetype end = pos; // end of the line's text
        int taken = 0;
        bool trailNext = false;
        bool lineBreak = false;
        while (pos < size && taken < kImportLineLimit) {
            const unsigned char c = static_cast<unsigned char>(d[pos]);
            if (c == '\n') {
                ++pos;
                lineBreak = true;
                break;
            }
            if (c == '\r' && pos + 1 < size && d[pos + 1] == '\n') {
                pos += 2;
                lineBreak = true;
                break;
            }
            trailNext = !trailNext && isLeadByte(c);
            ++pos;
            ++taken;
            end = pos;
        }
        // A piece that would end between the two bytes of a character leaves
        // the lead byte to the next piece.
        if (!lineBreak && taken == kImportLineLimit && trailNext && pos < size) {
            --pos;
            --end;
        }
        QByteArray line(d + start, end - start);
        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        lines.append(line);
    }
    return lines;
}

ImportFields splitTabLine(const QString &line)
{
    ImportFields f;
    int field = 0;
    for (QChar c : line) {
        if (c == QLatin1Char('\t')) {
            if (++field >= 3)
                break;
            continue;
        }
        f[size_t(field)].append(c);
    }
    return f;
}

ImportFields splitCsvLine(const QString &line)
{
    ImportFields f;
    int field = 0;
    bool quoted = false;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n && field < 3; ++i) {
        const QChar c = line[i];
        if (!quoted) {
            if (c == QLatin1Char(','))
                ++field;
            else if (c == QLatin1Char('"'))
                quoted = true; // opens a quoted part; the quote is dropped
            else
                f[size_t(field)].append(c);
            continue;
        }
        if (c != QLatin1Char('"')) {
            f[size_t(field)].append(c); // commas included
            continue;
        }
        if (i + 1 >= n) {
            quoted = false; // closes the last field
            break;
        }
        const QChar next = line[i + 1];
        if (next == QLatin1Char('"')) {
            f[size_t(field)].append(QLatin1Char('"'));
            ++i;
        } else if (next == QLatin1Char(',')) {
            quoted = false;
            ++field;
            ++i;
        }
        // Any other character: the quote is dropped and the quoted part goes on.
    }
    return f;
}

ListImportData parseListImport(const QByteArray &data, bool csv)
{
    ListImportData result;
    const QList<QByteArray> raw = splitImportLines(data);
    result.lines.reserve(raw.size());
    int number = 0;
    for (const QByteArray &bytes : raw) {
        ++number;
        int invalid = 0;
        const QString line = cp932::decode(bytes, &invalid);
        if (invalid && !result.firstInvalidLine)
            result.firstInvalidLine = number;
        result.lines.append(csv ? splitCsvLine(line) : splitTabLine(line));
    }
    return result;
}

void appendImportedRows(QList<TListData> &rows, const QList<ImportFields> &lines,
    const ListEditorDefaults &defaults, int columnCount)
{
    rows.reserve(rows.size() + lines.size());
    for (const ImportFields &f : lines) {
        TListData row = newListRow(defaults, columnCount);
        // A count outside 1..3 (from a hand-edited file) keeps the fields
        // rather than dropping them: below one counts as one, above three as
        // three.
        if (columnCount <= 1) {
            row.columns[1].text = f[0];
        } else {
            row.columns[0].text = f[0];
            row.columns[1].text = f[1];
            if (columnCount >= 3)
                row.columns[2].text = f[2];
        }
        rows.append(row);
    }
}

int ImportListFile(const QString &path, QList<TListData> &rows, const ListEditorDefaults &defaults,
    int columnCount, MessageSink &messages)
{
    // Only regular files: a pipe would leave the editor waiting for a writer
    // and a device may never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        messages.showMessage(
            QStringLiteral("ファイル(") + path + QStringLiteral(")がオープンできません"));
        return -1;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        messages.showMessage(
            QStringLiteral("ファイル(") + path + QStringLiteral(")が読み込めません"));
        return -1;
    }
    const ListImportData parsed = parseListImport(data, isCsvPath(path));
    if (parsed.firstInvalidLine) {
        messages.showMessage(QStringLiteral("ファイル(") + path
            + QStringLiteral(")の%1行目にShift-JISとして読めない文字があります")
                  .arg(parsed.firstInvalidLine));
        return -1;
    }
    appendImportedRows(rows, parsed.lines, defaults, columnCount);
    return int(parsed.lines.size());
}

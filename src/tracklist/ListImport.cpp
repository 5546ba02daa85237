#include "tracklist/ListImport.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include "base/UiText.h"
#include "text/Cp932.h"

#include <deque>
#include <vector>

namespace cw {

namespace {

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool startsWithBom(const char *d, qsizetype size)
{
    return size >= 3 && d[0] == '\xEF' && d[1] == '\xBB' && d[2] == '\xBF';
}

// Strict UTF-8 validation, fed in pieces (sequences may cross pieces): no
// overlong forms, no surrogates, nothing above U+10FFFF.
class Utf8Check
{
public:
    void feed(const char *d, qsizetype n)
    {
        for (qsizetype i = 0; i < n && m_valid; ++i) {
            const unsigned char c = static_cast<unsigned char>(d[i]);
            if (m_need > 0) {
                if (c < m_low || c > m_high) {
                    m_valid = false;
                    break;
                }
                m_low = 0x80;
                m_high = 0xBF;
                --m_need;
                continue;
            }
            if (c < 0x80)
                continue;
            m_multiByte = true;
            m_low = 0x80;
            m_high = 0xBF;
            if (c >= 0xC2 && c <= 0xDF) {
                m_need = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                m_need = 2;
                if (c == 0xE0)
                    m_low = 0xA0;
                else if (c == 0xED)
                    m_high = 0x9F;
            } else if (c >= 0xF0 && c <= 0xF4) {
                m_need = 3;
                if (c == 0xF0)
                    m_low = 0x90;
                else if (c == 0xF4)
                    m_high = 0x8F;
            } else {
                m_valid = false;
            }
        }
    }
    // Valid when nothing was wrong and no sequence is left open.
    bool valid() const { return m_valid && m_need == 0; }
    bool multiByte() const { return m_multiByte; }

private:
    int m_need = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
    bool m_valid = true;
    bool m_multiByte = false;
};

bool validUtf8(const QByteArray &bytes)
{
    Utf8Check check;
    check.feed(bytes.constData(), bytes.size());
    return check.valid();
}

// The raw lines of an import file, read from a device in chunks.
class ImportLineReader
{
public:
    ImportLineReader(QIODevice &device, ImportEncoding encoding)
        : m_device(device)
        , m_encoding(encoding)
    {
        if (encoding == ImportEncoding::Utf8WithBom) {
            ensure(3);
            if (startsWithBom(m_buffer.constData(), m_buffer.size()))
                m_pos = 3;
        }
    }

    // The next line; `broken` tells whether a line break ended it (rather
    // than the length limit or the end of the data).
    bool next(QByteArray &line, bool &broken)
    {
        // The piece, its break and the byte after a CR must all be at hand.
        ensure(kImportLineLimit + 2);
        const char *d = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        qsizetype pos = m_pos;
        if (pos >= size)
            return false;
        const qsizetype start = pos;
        int taken = 0;
        bool leadLast = false;
        broken = false;
        while (pos < size && taken < kImportLineLimit) {
            const unsigned char c = static_cast<unsigned char>(d[pos]);
            if (c == '\n') {
                ++pos;
                broken = true;
                break;
            }
            if (c == '\r') {
                ++pos;
                if (pos < size && d[pos] == '\n')
                    ++pos;
                broken = true;
                break;
            }
            leadLast = !leadLast && isLeadByte(c);
            ++pos;
            ++taken;
        }
        qsizetype end = start + taken;
        // A piece that would end inside a character leaves the whole
        // character to the next piece.
        if (!broken && taken == kImportLineLimit && pos < size) {
            if (m_encoding == ImportEncoding::Cp932) {
                if (leadLast)
                    --end;
            } else if ((static_cast<unsigned char>(d[end]) & 0xC0) == 0x80) {
                qsizetype k = end;
                while (
                    k > start && end - k < 3 && (static_cast<unsigned char>(d[k]) & 0xC0) == 0x80)
                    --k;
                if (k > start && (static_cast<unsigned char>(d[k]) & 0xC0) == 0xC0)
                    end = k;
            }
            pos = end;
        }
        line = QByteArray(d + start, end - start);
        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        m_pos = pos;
        return true;
    }

    bool readError() const { return m_readError; }

private:
    void ensure(qsizetype bytes)
    {
        if (m_buffer.size() - m_pos >= bytes || m_atEnd)
            return;
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        constexpr qsizetype kChunk = 64 * 1024;
        while (m_buffer.size() < bytes && !m_atEnd) {
            const qsizetype kept = m_buffer.size();
            m_buffer.resize(kept + kChunk);
            const qint64 got = m_device.read(m_buffer.data() + kept, kChunk);
            m_buffer.resize(kept + std::max<qint64>(got, 0));
            if (got <= 0) {
                m_atEnd = true;
                m_readError = got < 0;
            }
        }
    }

    QIODevice &m_device;
    ImportEncoding m_encoding;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_readError = false;
};

// Follows a CSV record for the line-spanning rule: a field that starts with a
// double quote runs to a quote followed by a comma or the line's end; a
// doubled quote stands for one. Any other quote is "stray", and the record is
// left to the line-by-line rules.
class CsvRecordScan
{
public:
    enum End { Closed, Open, Stray };

    void feed(QStringView text)
    {
        for (const QChar c : text) {
            switch (m_mode) {
            case Mode::Done:
            case Mode::Stray:
                return;
            case Mode::FieldStart:
                if (c == u'"')
                    m_mode = Mode::Quoted;
                else if (c == u',')
                    nextField();
                else
                    m_mode = Mode::Unquoted;
                break;
            case Mode::Unquoted:
                if (c == u',')
                    nextField();
                else if (c == u'"')
                    m_mode = Mode::Stray;
                break;
            case Mode::Quoted:
                if (c == u'"')
                    m_mode = Mode::QuoteSeen;
                break;
            case Mode::QuoteSeen:
                if (c == u'"')
                    m_mode = Mode::Quoted; // a doubled quote
                else if (c == u',')
                    nextField();
                else
                    m_mode = Mode::Stray;
                break;
            }
        }
    }
    // How the record stands at the end of the text fed so far.
    End end() const
    {
        return m_mode == Mode::Quoted ? Open : m_mode == Mode::Stray ? Stray : Closed;
    }

private:
    enum class Mode { FieldStart, Unquoted, Quoted, QuoteSeen, Done, Stray };
    void nextField() { m_mode = ++m_field >= 3 ? Mode::Done : Mode::FieldStart; }
    Mode m_mode = Mode::FieldStart;
    int m_field = 0;
};

struct Piece
{
    QByteArray bytes;
    bool broken = false;
    int number = 0;
};

// Records (one row each) from the lines of a file.
class RecordReader
{
public:
    RecordReader(ImportLineReader &lines, ImportEncoding encoding, bool csv)
        : m_lines(lines)
        , m_encoding(encoding)
        , m_csv(csv)
    { }

    // False at the end. `invalidLine` becomes the number of a line that is
    // not valid text (the record is then not to be used).
    bool next(ImportFields &fields, int &invalidLine)
    {
        Piece first;
        if (!nextPiece(first))
            return false;
        QString text;
        if (!decode(first, text)) {
            invalidLine = first.number;
            return true;
        }
        if (!m_csv) {
            fields = splitTabLine(text);
            return true;
        }
        CsvRecordScan scan;
        scan.feed(text);
        if (!first.broken || scan.end() != CsvRecordScan::Open) {
            fields = splitCsvLine(text);
            return true;
        }
        // A quoted field runs on past the line break.
        std::vector<Piece> taken;
        QString joined = text;
        bool breakBefore = true;
        while (int(taken.size()) + 1 < kCsvRecordMaxLines) {
            Piece p;
            if (!nextPiece(p))
                break;
            taken.push_back(p);
            QString more;
            if (!decode(p, more)) {
                invalidLine = p.number;
                return true;
            }
            const QString gap = breakBefore ? QStringLiteral(" ") : QString();
            scan.feed(gap);
            scan.feed(more);
            joined += gap + more;
            breakBefore = p.broken;
            const CsvRecordScan::End e = scan.end();
            if (e == CsvRecordScan::Closed) {
                fields = splitCsvLine(joined);
                return true;
            }
            if (e == CsvRecordScan::Stray)
                break;
        }
        // No proper end: the first line alone, as before; the others are
        // read again in their own right.
        for (auto it = taken.rbegin(); it != taken.rend(); ++it)
            m_pending.push_front(*it);
        fields = splitCsvLine(text);
        return true;
    }

private:
    bool nextPiece(Piece &p)
    {
        if (!m_pending.empty()) {
            p = m_pending.front();
            m_pending.pop_front();
            return true;
        }
        if (m_ended || !m_lines.next(p.bytes, p.broken)) {
            m_ended = true;
            return false;
        }
        p.number = ++m_count;
        return true;
    }

    bool decode(const Piece &p, QString &text) const
    {
        if (m_encoding == ImportEncoding::Cp932) {
            int invalid = 0;
            text = cp932::decode(p.bytes, &invalid);
            return invalid == 0;
        }
        if (!validUtf8(p.bytes))
            return false;
        text = QString::fromUtf8(p.bytes);
        return true;
    }

    ImportLineReader &m_lines;
    ImportEncoding m_encoding;
    bool m_csv;
    std::deque<Piece> m_pending;
    int m_count = 0;
    bool m_ended = false;
};

} // namespace

bool isCsvPath(const QString &path)
{
    return path.right(4).toLower() == QLatin1String(".csv");
}

ImportEncoding detectImportEncoding(QIODevice &device, bool *readError)
{
    if (readError)
        *readError = false;
    Utf8Check check;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        const qint64 got = device.read(chunk.data(), chunk.size());
        if (got < 0 && readError)
            *readError = true;
        if (got <= 0)
            break;
        if (first && startsWithBom(chunk.constData(), got))
            return ImportEncoding::Utf8WithBom;
        first = false;
        check.feed(chunk.constData(), got);
        if (!check.valid())
            return ImportEncoding::Cp932; // no need to read further
    }
    return check.valid() && check.multiByte() ? ImportEncoding::Utf8 : ImportEncoding::Cp932;
}

ImportEncoding detectImportEncoding(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return detectImportEncoding(buffer);
}

QList<QByteArray> splitImportLines(const QByteArray &data, ImportEncoding encoding)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    ImportLineReader reader(buffer, encoding);
    QList<QByteArray> lines;
    QByteArray line;
    bool broken = false;
    while (reader.next(line, broken))
        lines.append(line);
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

int readListImport(QIODevice &device, bool csv,
    const std::function<void(const ImportFields &)> &take, ImportEncoding *encodingOut)
{
    if (!device.seek(0))
        return -1;
    bool readError = false;
    const ImportEncoding encoding = detectImportEncoding(device, &readError);
    if (encodingOut)
        *encodingOut = encoding;
    if (readError || !device.seek(0))
        return -1;
    ImportLineReader lines(device, encoding);
    RecordReader records(lines, encoding, csv);
    ImportFields fields;
    int invalidLine = 0;
    while (records.next(fields, invalidLine)) {
        if (invalidLine)
            return invalidLine;
        take(fields);
    }
    return lines.readError() ? -1 : 0;
}

ListImportData parseListImport(const QByteArray &data, bool csv)
{
    ListImportData result;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    const int r = readListImport(
        buffer, csv, [&](const ImportFields &f) { result.lines.append(f); }, &result.encoding);
    result.firstInvalidLine = std::max(r, 0);
    return result;
}

TListData importedRow(const ImportFields &f, const ListEditorDefaults &defaults, int columnCount)
{
    TListData row = newListRow(defaults, columnCount);
    // A count outside 1..3 (from a hand-edited file) keeps the fields rather
    // than dropping them: below one counts as one, above three as three.
    if (columnCount <= 1) {
        row.columns[1].text = f[0];
    } else {
        row.columns[0].text = f[0];
        row.columns[1].text = f[1];
        if (columnCount >= 3)
            row.columns[2].text = f[2];
    }
    return row;
}

void appendImportedRows(QList<TListData> &rows, const QList<ImportFields> &lines,
    const ListEditorDefaults &defaults, int columnCount)
{
    rows.reserve(rows.size() + lines.size());
    for (const ImportFields &f : lines)
        rows.append(importedRow(f, defaults, columnCount));
}

int ImportListFile(const QString &path, QList<TListData> &rows, const ListEditorDefaults &defaults,
    int columnCount, MessageSink &messages)
{
    // Only regular files: a pipe would leave the editor waiting for a writer
    // and a device may never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        messages.showMessage(UiText::tr("ファイル(%1)がオープンできません").arg(path));
        return -1;
    }
    // The rows are made as the file is read; the list only changes when the
    // whole file was good.
    QList<TListData> added;
    ImportEncoding encoding = ImportEncoding::Cp932;
    const int r = readListImport(
        file, isCsvPath(path),
        [&](const ImportFields &f) { added.append(importedRow(f, defaults, columnCount)); },
        &encoding);
    if (r < 0) {
        messages.showMessage(UiText::tr("ファイル(%1)が読み込めません").arg(path));
        return -1;
    }
    if (r > 0) {
        const QString what = encoding == ImportEncoding::Cp932 ? QStringLiteral("Shift-JIS")
                                                               : QStringLiteral("UTF-8");
        messages.showMessage(UiText::tr("ファイル(%1)の%2行目に%3として読めない文字があります")
                                 .arg(path, QString::number(r), what));
        return -1;
    }
    const int count = int(added.size());
    if (rows.isEmpty())
        rows = std::move(added);
    else
        rows.append(std::move(added));
    return count;
}

} // namespace cw

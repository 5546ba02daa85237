#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

#include "text/Cp932.h"
#include "text/UnicodeForm.h"

namespace cw {

// Line-oriented CP932 text files: CR LF on disk, one value per line.
//
// Reading takes at most `maxBytes` bytes of a line together with its line
// break (255 for documents and templates); what lies beyond is not dropped but
// read as the next line, so a longer line takes the place of the lines after
// it. CR LF and a lone LF both end a line; the break itself is removed.
class LineReader
{
public:
    explicit LineReader(QByteArray data, int maxBytes = 255);
    // Reads from an open device in chunks, so memory stays bounded by the
    // longest piece read (maxBytes) and the chunk, not by the device's size.
    // The device must outlive the reader.
    explicit LineReader(QIODevice *device, int maxBytes = 255, int chunkBytes = 64 * 1024);

    // Reads the next line; false at the end of the data.
    bool readLine(QString &line);
    // The raw bytes of the next line (without its break); false at the end.
    bool readRawLine(QByteArray &line);
    // Changes the limit for the lines still to come (a file's version line
    // may tell that its lines are longer).
    void setMaxBytes(int maxBytes) { m_maxBytes = maxBytes < 1 ? 1 : maxBytes; }
    bool atEnd();
    // Lines that held bytes which are not CP932 (each such byte became U+FFFD).
    int invalidLines() const { return m_invalidLines; }
    // The device reported a read error (the data read so far is all there is).
    bool readError() const { return m_readError; }

private:
    // Moves more of the device into the buffer; false when nothing came.
    bool fill();

    QByteArray m_data;
    qsizetype m_pos = 0;
    QIODevice *m_device = nullptr;
    int m_chunkBytes = 0;
    int m_maxBytes;
    int m_invalidLines = 0;
    bool m_readError = false;
};

// Collects lines as CP932 (or UTF-8) with CR LF. Text that the encoding cannot
// hold is not written: the lines in question are reported through problems().
class LineWriter
{
public:
    struct Problem
    {
        int line = 0; // 1-based line number in the output
        QString field; // what the caller named the line
        QList<cp932::Unencodable> unencodable;
        int byteLength = 0; // when the line is too long
        bool lineBreak = false; // the text holds a line break
    };

    // maxLineBytes: longest line a reader will take back whole (the break
    // counted in the reader's limit), 0 for no limit.
    explicit LineWriter(int maxLineBytes = 254, TextEncoding encoding = TextEncoding::Cp932)
        : m_maxLineBytes(maxLineBytes)
        , m_encoding(encoding)
    { }

    void writeLine(const QString &text, const QString &field = QString());
    void writeLine(int value);
    const QByteArray &data() const { return m_data; }
    const QList<Problem> &problems() const { return m_problems; }
    bool ok() const { return m_problems.isEmpty(); }
    // A message naming every refused line.
    QString problemText() const;

private:
    QByteArray m_data;
    QList<Problem> m_problems;
    int m_lines = 0;
    int m_maxLineBytes;
    TextEncoding m_encoding;
};

} // namespace cw

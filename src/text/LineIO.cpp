#include "text/LineIO.h"
#include "base/UiText.h"

#include <algorithm>

namespace cw {

LineReader::LineReader(QByteArray data, int maxBytes)
    : m_data(std::move(data))
    , m_maxBytes(maxBytes < 1 ? 1 : maxBytes)
{ }

LineReader::LineReader(QIODevice *device, int maxBytes, int chunkBytes)
    : m_device(device)
    , m_chunkBytes(chunkBytes < 1 ? 1 : chunkBytes)
    , m_maxBytes(maxBytes < 1 ? 1 : maxBytes)
{ }

bool LineReader::fill()
{
    if (!m_device)
        return false;
    // Drop what was read; the buffer then holds at most a chunk and the
    // unread tail before it.
    if (m_pos > 0) {
        m_data.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype kept = m_data.size();
    m_data.resize(kept + m_chunkBytes);
    const qint64 got = m_device->read(m_data.data() + kept, m_chunkBytes);
    if (got <= 0) {
        m_data.resize(kept);
        m_readError = got < 0;
        m_device = nullptr;
        return false;
    }
    m_data.resize(kept + qsizetype(got));
    return true;
}

bool LineReader::atEnd()
{
    return m_pos >= m_data.size() && !fill();
}

bool LineReader::readRawLine(QByteArray &line)
{
    line.resize(0); // keeps the allocation for the next line
    if (atEnd())
        return false;
    // In text mode CR LF counts as one character. A read takes characters
    // until it has taken the break or maxBytes characters in all, so a line of
    // maxBytes bytes leaves its break to the next read (an empty line).
    qsizetype taken = 0;
    for (;;) {
        if (m_pos >= m_data.size() && !fill())
            return true; // the data ends the line
        const char *d = m_data.constData();
        const qsizetype size = m_data.size();
        const qsizetype stop = std::min(size, m_pos + (m_maxBytes - taken));
        qsizetype p = m_pos;
        while (p < stop && d[p] != '\n' && d[p] != '\r')
            ++p;
        line.append(d + m_pos, p - m_pos);
        taken += p - m_pos;
        m_pos = p;
        if (p == stop) {
            if (taken == m_maxBytes)
                return true;
            continue; // the buffer ended: read on
        }
        if (d[p] == '\n') {
            ++m_pos;
            return true;
        }
        // A CR: a break only when an LF follows.
        if (m_pos + 1 >= m_data.size())
            fill(); // keeps the CR at the buffer's start
        if (m_pos + 1 < m_data.size() && m_data.at(m_pos + 1) == '\n') {
            m_pos += 2;
            return true;
        }
        line.append('\r');
        ++taken;
        ++m_pos;
    }
}

bool LineReader::readLine(QString &line)
{
    QByteArray raw;
    if (!readRawLine(raw))
        return false;
    int invalid = 0;
    line = cp932::decode(raw, &invalid);
    if (invalid)
        ++m_invalidLines;
    return true;
}

void LineWriter::writeLine(const QString &text, const QString &field)
{
    ++m_lines;
    cp932::EncodeResult r = encodeText(text, m_encoding);
    if (!r.ok()) {
        m_problems.append({ m_lines, field, r.unencodable, 0 });
        m_data.append("\r\n");
        return;
    }
    if (m_maxLineBytes > 0 && r.bytes.size() > m_maxLineBytes) {
        m_problems.append({ m_lines, field, {}, int(r.bytes.size()) });
        m_data.append("\r\n");
        return;
    }
    if (r.bytes.contains('\n') || r.bytes.contains('\r')) {
        // A line break inside a value would shift every following line.
        m_problems.append({ m_lines, field, { { U'\n', r.bytes.indexOf('\n') } }, 0, true });
        m_data.append("\r\n");
        return;
    }
    m_data.append(r.bytes);
    m_data.append("\r\n");
}

void LineWriter::writeLine(int value)
{
    writeLine(QString::number(value));
}

QString LineWriter::problemText() const
{
    QStringList lines;
    for (const Problem &p : m_problems) {
        QString name = p.field.isEmpty() ? UiText::tr("%1行目").arg(p.line) : p.field;
        if (!p.unencodable.isEmpty())
            lines.append(UiText::tr("%1: 保存できない文字があります %2")
                             .arg(name, cp932::describe(p.unencodable)));
        else
            lines.append(UiText::tr("%1: 長すぎます(%2バイト、最大%3バイト)")
                             .arg(name)
                             .arg(p.byteLength)
                             .arg(m_maxLineBytes));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace cw

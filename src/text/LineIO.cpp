#include "text/LineIO.h"

LineReader::LineReader(QByteArray data, int maxBytes)
    : m_data(std::move(data))
    , m_maxBytes(maxBytes < 1 ? 1 : maxBytes)
{ }

bool LineReader::atEnd() const
{
    return m_pos >= m_data.size();
}

bool LineReader::readRawLine(QByteArray &line)
{
    if (atEnd())
        return false;
    // In text mode CR LF counts as one character. A read takes characters
    // until it has taken the break or maxBytes characters in all, so a line of
    // maxBytes bytes leaves its break to the next read (an empty line).
    const char *d = m_data.constData();
    const qsizetype size = m_data.size();
    qsizetype p = m_pos;
    int taken = 0;
    line.clear();
    while (p < size) {
        if (taken == m_maxBytes)
            break;
        char c = d[p];
        if (c == '\n') {
            ++p;
            m_pos = p;
            return true;
        }
        if (c == '\r' && p + 1 < size && d[p + 1] == '\n') {
            p += 2;
            m_pos = p;
            return true;
        }
        line.append(c);
        ++taken;
        ++p;
    }
    m_pos = p;
    return true;
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
    cp932::EncodeResult r = cp932::encode(text);
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
        m_problems.append({ m_lines, field, { { U'\n', r.bytes.indexOf('\n') } }, 0 });
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
        QString name = p.field.isEmpty() ? QStringLiteral("%1行目").arg(p.line) : p.field;
        if (!p.unencodable.isEmpty())
            lines.append(QStringLiteral("%1: 保存できない文字があります %2")
                             .arg(name, cp932::describe(p.unencodable)));
        else
            lines.append(QStringLiteral("%1: 長すぎます(%2バイト、最大%3バイト)")
                             .arg(name)
                             .arg(p.byteLength)
                             .arg(m_maxLineBytes));
    }
    return lines.join(QLatin1Char('\n'));
}

#include "text/JsonStream.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cw {

namespace {
constexpr qsizetype kFlushBytes = 64 * 1024;
}

QByteArray indentedJsonText(const QJsonValue &v, qsizetype depth)
{
    if (v.isObject() || v.isArray()) {
        QByteArray text = v.isObject() ? QJsonDocument(v.toObject()).toJson(QJsonDocument::Indented)
                                       : QJsonDocument(v.toArray()).toJson(QJsonDocument::Indented);
        text.chop(1); // the document's final line break
        // Strings are escaped, so every raw line break starts a new line.
        if (depth > 0)
            text.replace("\n", "\n" + QByteArray(4 * depth, ' '));
        return text;
    }
    QByteArray text = QJsonDocument(QJsonArray { v }).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

IndentedJsonWriter::IndentedJsonWriter(QIODevice &out)
    : m_out(out)
{ }

IndentedJsonWriter::~IndentedJsonWriter()
{
    flush();
}

void IndentedJsonWriter::beforeValue()
{
    if (m_levels.isEmpty())
        return;
    Level &level = m_levels.last();
    if (level.object) {
        m_keyed = false; // the key has written the separator and the indent
        return;
    }
    m_buffer += level.count ? ",\n" : "\n";
    m_buffer += indent(m_levels.size());
    ++level.count;
}

void IndentedJsonWriter::key(const QString &name)
{
    Level &level = m_levels.last();
    m_buffer += level.count ? ",\n" : "\n";
    m_buffer += indent(m_levels.size());
    ++level.count;
    m_buffer += indentedJsonText(QJsonValue(name), 0);
    m_buffer += ": ";
    m_keyed = true;
}

void IndentedJsonWriter::beginObject()
{
    beforeValue();
    m_buffer += '{';
    m_levels.append(Level { true });
}

void IndentedJsonWriter::beginArray()
{
    beforeValue();
    m_buffer += '[';
    m_levels.append(Level { false });
}

void IndentedJsonWriter::value(const QJsonValue &v)
{
    beforeValue();
    m_buffer += indentedJsonText(v, m_levels.size());
    if (m_buffer.size() >= kFlushBytes)
        flush();
}

void IndentedJsonWriter::end()
{
    const Level level = m_levels.takeLast();
    m_buffer += '\n'; // an empty one too spans two lines
    m_buffer += indent(m_levels.size());
    m_buffer += level.object ? '}' : ']';
    if (m_levels.isEmpty())
        m_buffer += '\n';
    if (m_buffer.size() >= kFlushBytes || m_levels.isEmpty())
        flush();
}

bool IndentedJsonWriter::flush()
{
    if (!m_buffer.isEmpty()) {
        if (m_out.write(m_buffer) != m_buffer.size())
            m_ok = false;
        m_buffer.clear();
    }
    return m_ok;
}

} // namespace cw

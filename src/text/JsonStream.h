#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace cw {

// Writes JSON piece by piece in exactly the form QJsonDocument::Indented
// gives, so a large list can be printed without first building it whole as
// a QJsonArray and then as one text. Members of an object must be given in
// the order QJsonObject keeps them (sorted by key) for the text to match.
class IndentedJsonWriter
{
public:
    explicit IndentedJsonWriter(QIODevice &out);
    ~IndentedJsonWriter();
    IndentedJsonWriter(const IndentedJsonWriter &) = delete;
    IndentedJsonWriter &operator=(const IndentedJsonWriter &) = delete;

    void beginObject();
    void beginArray();
    // The key of the next member of the object being written.
    void key(const QString &name);
    // A whole value (an element, or the value of the member just keyed).
    void value(const QJsonValue &v);
    // Ends the innermost object or array; the outermost one ends with a
    // line break, as a document's text does.
    void end();
    // Writes what is buffered; false when the device refused some of it.
    bool flush();

private:
    void beforeValue();
    QByteArray indent(qsizetype depth) const { return QByteArray(4 * depth, ' '); }

    struct Level
    {
        bool object;
        qsizetype count = 0;
    };
    QIODevice &m_out;
    QByteArray m_buffer;
    QList<Level> m_levels;
    bool m_keyed = false;
    bool m_ok = true;
};

// The indented text of one value nested `depth` levels deep (no line break
// after it).
QByteArray indentedJsonText(const QJsonValue &v, qsizetype depth);

} // namespace cw

#include <gtest/gtest.h>

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "document/DocumentJson.h"
#include "text/JsonStream.h"
#include "tracklist/ListJson.h"
#include "tracklist/ListRows.h"

using namespace cw;

namespace {

// Writes `v` through the writer, members and elements one at a time.
void writeValue(IndentedJsonWriter &w, const QJsonValue &v)
{
    if (v.isObject()) {
        w.beginObject();
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            w.key(it.key());
            writeValue(w, it.value());
        }
        w.end();
    } else if (v.isArray()) {
        w.beginArray();
        for (const QJsonValue &e : v.toArray())
            writeValue(w, e);
        w.end();
    } else {
        w.value(v);
    }
}

} // namespace

TEST(IndentedJsonWriter, WritesWhatQJsonDocumentWrites)
{
    const QJsonObject nested {
        { "empty array", QJsonArray {} },
        { "empty object", QJsonObject {} },
        { "list", QJsonArray { 1, 2.5, "two\nlines \"quoted\"", true, QJsonValue() } },
        { "deep",
            QJsonObject { { "a", QJsonArray { QJsonObject { { "b", -7 } }, QJsonArray {} } } } },
        { "日本語", QStringLiteral("ﾌｫﾝﾄ") },
    };
    for (const QJsonValue &v : { QJsonValue(nested), QJsonValue(QJsonArray { nested, nested }),
             QJsonValue(QJsonArray {}), QJsonValue(QJsonObject {}) }) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            IndentedJsonWriter w(out);
            writeValue(w, v);
        }
        const QByteArray expected = v.isObject()
            ? QJsonDocument(v.toObject()).toJson(QJsonDocument::Indented)
            : QJsonDocument(v.toArray()).toJson(QJsonDocument::Indented);
        EXPECT_EQ(out.data(), expected);
    }
}

TEST(IndentedJsonWriter, StreamedDocumentAndRowsMatchTheWholeJson)
{
    LabelDocument doc;
    doc.fileName = QStringLiteral("/tmp/表.cwr");
    for (int i = 0; i < 3; ++i) {
        TListData row = newListRow(ListEditorDefaults(), 3);
        row.columns[1].text = QString::number(i);
        doc.listRows.append(row);
    }
    doc.insidePrints.append(TPrintsData());
    // An empty document, then one with rows and an item (empty lists too).
    const LabelDocument empty;
    for (const LabelDocument *d : { &empty, static_cast<const LabelDocument *>(&doc) }) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        ASSERT_TRUE(writeDocumentJson(out, *d));
        EXPECT_EQ(out.data(), QJsonDocument(documentToJson(*d)).toJson(QJsonDocument::Indented));
    }
    QBuffer rows;
    rows.open(QIODevice::WriteOnly);
    {
        IndentedJsonWriter w(rows);
        writeListRowsJson(w, doc.listRows);
    }
    EXPECT_EQ(
        rows.data(), QJsonDocument(listRowsToJson(doc.listRows)).toJson(QJsonDocument::Indented));
}

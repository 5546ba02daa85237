#include "tracklist/ListJson.h"

#include "fonts/FontJson.h"
#include "text/JsonStream.h"

namespace cw {

QJsonObject listRowToJson(const TListData &row)
{
    QJsonArray columns;
    for (const TListCell &cell : row.columns) {
        QJsonObject c;
        c.insert(QStringLiteral("text"), cell.text);
        c.insert(QStringLiteral("align"), cell.align);
        c.insert(QStringLiteral("font"), fontSpecToJson(cell.font));
        columns.append(c);
    }
    QJsonObject o;
    o.insert(QStringLiteral("separate"), row.separate);
    o.insert(QStringLiteral("kind"), row.kind);
    o.insert(QStringLiteral("columns"), columns);
    return o;
}

QJsonArray listRowsToJson(const QList<TListData> &rows)
{
    QJsonArray a;
    for (const TListData &row : rows)
        a.append(listRowToJson(row));
    return a;
}

void writeListRowsJson(IndentedJsonWriter &out, const QList<TListData> &rows)
{
    out.beginArray();
    for (const TListData &row : rows)
        out.value(listRowToJson(row));
    out.end();
}

QJsonObject listLayoutToJson(const ListLayout &l)
{
    QJsonObject o;
    o.insert(QStringLiteral("columnCount"), l.columnCount);
    o.insert(QStringLiteral("posX"), l.posX);
    o.insert(QStringLiteral("posY"), l.posY);
    o.insert(QStringLiteral("width1"), l.width1);
    o.insert(QStringLiteral("width2"), l.width2);
    o.insert(QStringLiteral("width3"), l.width3);
    o.insert(QStringLiteral("space1"), l.space1);
    o.insert(QStringLiteral("space2"), l.space2);
    o.insert(QStringLiteral("lineSpacing"), l.lineSpacing);
    return o;
}

QJsonObject listTemplateToJson(int surface, const ListTemplate &t)
{
    QJsonObject o;
    o.insert(QStringLiteral("surface"), surface);
    o.insert(QStringLiteral("name"), t.name);
    o.insert(QStringLiteral("layout"), listLayoutToJson(t.layout));
    return o;
}

} // namespace cw

#include "fonts/FontJson.h"

namespace cw {

QJsonObject fontSpecToJson(const FontSpec &font)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), font.name);
    o.insert(QStringLiteral("size"), font.size);
    o.insert(QStringLiteral("color"), qint64(font.color));
    o.insert(QStringLiteral("charset"), font.charset);
    o.insert(QStringLiteral("bold"), font.bold);
    o.insert(QStringLiteral("italic"), font.italic);
    o.insert(QStringLiteral("underline"), font.underline);
    o.insert(QStringLiteral("strikeOut"), font.strikeOut);
    return o;
}

} // namespace cw

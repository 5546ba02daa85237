#include "text/FileFilter.h"

namespace cw {

QStringList toQtFilters(const QString &filter)
{
    QStringList result;
    QStringList fields = filter.split(QLatin1Char('|'));
    // An empty list of entries followed by "|more|entries" (a picture filter
    // with no decoders before the catch-all) leaves one empty field in front.
    if (fields.size() % 2 == 1 && fields.first().isEmpty())
        fields.removeFirst();
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString description = fields[i].trimmed();
        QStringList patterns = fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty())
            continue;
        const QString joined = patterns.join(QLatin1Char(' '));
        if (description.isEmpty())
            result.append(joined + QStringLiteral(" (") + joined + QLatin1Char(')'));
        else
            result.append(description + QStringLiteral(" (") + joined + QLatin1Char(')'));
    }
    return result;
}

} // namespace cw

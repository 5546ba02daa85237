#include "RobotAction.h"

#include <QUrl>

QString RobotAction::serialize() const
{
    return QStringList({ verb, window, target, QString::number(a), QString::number(b),
                           QString::number(c), QString::number(sub),
                           QString::fromLatin1(text.toUtf8().toPercentEncoding()) })
        .join(QLatin1Char('\t'));
}

bool RobotAction::parse(const QString &line, RobotAction &out)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    if (f.size() != 8)
        return false;
    out.verb = f[0];
    out.window = f[1];
    out.target = f[2];
    out.a = f[3].toInt();
    out.b = f[4].toInt();
    out.c = f[5].toInt();
    out.sub = f[6].toUInt();
    out.text = QString::fromUtf8(QByteArray::fromPercentEncoding(f[7].toLatin1()));
    return true;
}

QString RobotAction::describe() const
{
    QString t = text;
    if (t.size() > 24)
        t = t.left(24) + QStringLiteral("...(%1 chars)").arg(text.size());
    QString s = QStringLiteral("%1 %2/%3 %4 %5 %6 #%7").arg(verb, window, target).arg(a).arg(b).arg(c).arg(sub);
    if (!text.isEmpty())
        s += QStringLiteral(" \"%1\"").arg(t);
    return s;
}

RobotActions shrinkActions(
    const RobotActions &all, const std::function<bool(const RobotActions &)> &fails)
{
    RobotActions current = all;
    // Remove chunks of halving size; a removal is kept when the rest still fails.
    for (size_t chunk = std::max<size_t>(1, current.size() / 2); chunk >= 1; chunk /= 2) {
        bool removed = true;
        while (removed) {
            removed = false;
            for (size_t start = 0; start < current.size();) {
                RobotActions candidate;
                candidate.reserve(current.size());
                for (size_t i = 0; i < current.size(); ++i)
                    if (i < start || i >= start + chunk)
                        candidate.push_back(current[i]);
                if (candidate.size() < current.size() && fails(candidate)) {
                    current = std::move(candidate);
                    removed = true;
                } else {
                    start += chunk;
                }
            }
        }
        if (chunk == 1)
            break;
    }
    return current;
}

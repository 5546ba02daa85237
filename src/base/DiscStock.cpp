#include "base/DiscStock.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtGlobal>

#include "base/UiText.h"

namespace cw {

namespace {

// A label lies wholly on its paper when its outer circle does; the table's
// numbers are given to the hundredth, so a circle touching an edge counts
// as on the paper despite the rounding of their sums.
constexpr double kEdgeSlackMm = 1e-6;

bool readNumber(const QJsonObject &o, const char *key, double *out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return false;
    *out = v.toDouble();
    return true;
}

// Reads one product; on failure returns what is wrong with it.
QString readSheet(const QJsonObject &o, LabelSheetProduct *p)
{
    p->id = o.value(QStringLiteral("id")).toString();
    if (p->id.isEmpty())
        return QStringLiteral("a sheet has no id");
    p->name = o.value(QStringLiteral("name")).toString();
    if (p->name.isEmpty())
        return QStringLiteral("no name");
    p->paper = o.value(QStringLiteral("paper")).toString();
    if (p->paper.isEmpty())
        return QStringLiteral("no paper");
    if (!labelSheetPaperSize(p->paper, &p->widthMm, &p->heightMm))
        return QStringLiteral("unknown paper \"%1\"").arg(p->paper);
    if (!readNumber(o, "outerMm", &p->outerMm) || p->outerMm <= 0)
        return QStringLiteral("no outer diameter");
    if (!readNumber(o, "holeMm", &p->holeMm) || p->holeMm < 0)
        return QStringLiteral("no hole diameter");
    if (p->holeMm >= p->outerMm)
        return QStringLiteral("the hole is not smaller than the label");
    const QJsonValue centres = o.value(QStringLiteral("centres"));
    if (!centres.isArray())
        return QStringLiteral("no centres");
    const QJsonArray list = centres.toArray();
    if (list.isEmpty() || list.size() > kMaxSheetLabels)
        return QStringLiteral("%1 labels, not 1 to %2").arg(list.size()).arg(kMaxSheetLabels);
    const double r = p->outerMm / 2;
    for (const QJsonValue &c : list) {
        const QJsonArray xy = c.toArray();
        if (xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble())
            return QStringLiteral("label %1: a centre is two numbers").arg(p->centresMm.size() + 1);
        const QPointF at(xy[0].toDouble(), xy[1].toDouble());
        p->centresMm << at;
        if (at.x() - r < -kEdgeSlackMm || at.y() - r < -kEdgeSlackMm
            || at.x() + r > p->widthMm + kEdgeSlackMm || at.y() + r > p->heightMm + kEdgeSlackMm)
            return QStringLiteral("label %1 is not wholly on the paper").arg(p->centresMm.size());
    }
    return QString();
}

const QVector<LabelSheetProduct> &loadedSheets()
{
    static const QVector<LabelSheetProduct> sheets = [] {
        QFile file(QStringLiteral(":/casewright/label-sheets.json"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The label sheet table is missing from the program.");
        QString error;
        QVector<LabelSheetProduct> read = parseLabelSheets(file.readAll(), &error);
        if (read.isEmpty())
            qFatal("The label sheet table is invalid: %s", qPrintable(error));
        return read;
    }();
    return sheets;
}

} // namespace

bool labelSheetPaperSize(const QString &paper, double *widthMm, double *heightMm)
{
    if (paper == QLatin1String("A4")) {
        *widthMm = 210.0;
        *heightMm = 297.0;
        return true;
    }
    if (paper == QLatin1String("Letter")) {
        *widthMm = 215.9;
        *heightMm = 279.4;
        return true;
    }
    return false;
}

QVector<LabelSheetProduct> parseLabelSheets(const QByteArray &json, QString *error)
{
    QString problem;
    QVector<LabelSheetProduct> sheets;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        problem = QStringLiteral("table: ") + parseError.errorString();
    } else {
        const QJsonArray list = doc.object().value(QStringLiteral("sheets")).toArray();
        if (list.isEmpty())
            problem = QStringLiteral("table: no sheets");
        QSet<QString> ids;
        for (const QJsonValue &v : list) {
            LabelSheetProduct p;
            const QString wrong = readSheet(v.toObject(), &p);
            if (!wrong.isEmpty()) {
                problem
                    = (p.id.isEmpty() ? QStringLiteral("sheet %1").arg(sheets.size() + 1) : p.id)
                    + QStringLiteral(": ") + wrong;
                break;
            }
            if (ids.contains(p.id)) {
                problem = p.id + QStringLiteral(": sheet id repeated");
                break;
            }
            ids.insert(p.id);
            sheets << p;
        }
    }
    if (error)
        *error = problem;
    if (!problem.isEmpty())
        sheets.clear();
    return sheets;
}

const QVector<LabelSheetProduct> &labelSheets()
{
    return loadedSheets();
}

const LabelSheetProduct *findLabelSheet(const QString &id)
{
    for (const LabelSheetProduct &p : labelSheets())
        if (p.id == id)
            return &p;
    return nullptr;
}

const LabelSheetProduct &stockSheet(const DiscStock &stock, const LabelSheetProduct &custom)
{
    if (stock.sheetId == kCustomSheetId)
        return custom;
    const LabelSheetProduct *p = findLabelSheet(stock.sheetId);
    return p ? *p : labelSheets().first();
}

DiscRing discRingOf(const DiscStock &stock, const LabelSheetProduct &custom)
{
    if (stock.kind == DiscStockKind::PrintableDisc)
        return { stock.printableOuterTenths / 10.0, double(stock.hubMm) };
    const LabelSheetProduct &sheet = stockSheet(stock, custom);
    return { sheet.outerMm, sheet.holeMm };
}

QVector<int> printedLabels(const DiscStock &stock, const LabelSheetProduct &sheet)
{
    QVector<int> numbers;
    const int count = qMin(int(sheet.centresMm.size()), kMaxSheetLabels);
    for (int i = 0; i < count; ++i)
        if (stock.labels & (1u << i))
            numbers << i + 1;
    return numbers;
}

std::optional<unsigned> parseLabelList(const QString &text, int count, QString *message)
{
    auto refuse = [&]() -> std::optional<unsigned> {
        if (message)
            *message = UiText::tr("印刷するラベル(%1)が正しくありません。1から%2までの番号を"
                                  "コンマで区切って指定してください")
                           .arg(text)
                           .arg(count);
        return std::nullopt;
    };
    const QStringList items = text.split(QLatin1Char(','));
    unsigned mask = 0;
    for (const QString &item : items) {
        const QString number = item.trimmed();
        // Digits only: toInt would take a sign.
        bool digits = !number.isEmpty() && number.size() <= 2;
        for (QChar c : number)
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digits)
            return refuse();
        const int n = number.toInt();
        if (n < 1 || n > count || n > kMaxSheetLabels)
            return refuse();
        mask |= 1u << (n - 1);
    }
    return mask;
}

} // namespace cw

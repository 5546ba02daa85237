#include "document/DiscStockSettings.h"

#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "base/UiText.h"

namespace cw {

namespace {

const QString kStockKey = QStringLiteral("DiscStock");
const QString kSheetKey = QStringLiteral("DiscSheet");
const QString kLabelsKey = QStringLiteral("DiscLabels");
const QString kOuterKey = QStringLiteral("DiscOuter");
const QString kHubKey = QStringLiteral("DiscHub");
const QString kCustomPaperKey = QStringLiteral("DiscCustomPaper");
const QString kCustomOuterKey = QStringLiteral("DiscCustomOuter");
const QString kCustomHoleKey = QStringLiteral("DiscCustomHole");
const QString kCustomCentresKey = QStringLiteral("DiscCustomCentres");

// The custom sheet's diameters, in tenths of a millimetre.
constexpr int kCustomOuterMinTenths = 200, kCustomOuterMaxTenths = 1300;
constexpr int kCustomHoleMarginTenths = 100;
// Circles that touch, given to the hundredth, still count as apart and as on
// the paper despite the rounding of their sums.
constexpr double kSlackMm = 1e-6;

// A stored whole number; nullopt when absent or not a number.
std::optional<int> storedInt(QSettings &settings, const QString &key)
{
    if (!settings.contains(key))
        return std::nullopt;
    bool ok = false;
    const int v = settings.value(key).toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

int tenthsOf(double mm)
{
    return int(std::lround(mm * 10));
}

// Tenths of a millimetre (never negative here) as "117.0".
QString tenthsText(int tenths)
{
    return QString::asprintf("%d.%d", tenths / 10, tenths % 10);
}

// The sheet as the settings would keep it.
LabelSheetProduct asStored(const LabelSheetProduct &sheet)
{
    LabelSheetProduct s = defaultCustomLabelSheet();
    s.paper = sheet.paper;
    if (!labelSheetPaperSize(s.paper, &s.widthMm, &s.heightMm))
        s.widthMm = s.heightMm = 0;
    s.outerMm = tenthsOf(sheet.outerMm) / 10.0;
    s.holeMm = tenthsOf(sheet.holeMm) / 10.0;
    s.centresMm.clear();
    for (const QPointF &c : sheet.centresMm)
        s.centresMm << QPointF(std::lround(c.x() * 100) / 100.0, std::lround(c.y() * 100) / 100.0);
    return s;
}

// A number to the hundredth without trailing zeros: 105, 79.9, 218.33.
QString hundredthsText(double mm)
{
    const long long h = std::llround(mm * 100);
    const long long a = std::llabs(h);
    QString text = QString::number(a / 100);
    if (a % 100 != 0) {
        text += QString::asprintf(".%02lld", a % 100);
        if (text.endsWith(QLatin1Char('0')))
            text.chop(1);
    }
    return h < 0 ? QLatin1Char('-') + text : text;
}

} // namespace

DiscStock loadDiscStock(QSettings &settings)
{
    DiscStock stock;
    if (const auto kind = storedInt(settings, kStockKey); kind && (*kind == 0 || *kind == 1))
        stock.kind = DiscStockKind(*kind);
    const QString sheet = settings.value(kSheetKey).toString();
    if (sheet == kCustomSheetId || findLabelSheet(sheet))
        stock.sheetId = sheet;
    if (settings.contains(kLabelsKey)) {
        bool ok = false;
        const unsigned mask = settings.value(kLabelsKey).toUInt(&ok);
        if (ok)
            stock.labels = mask;
    }
    if (const auto outer = storedInt(settings, kOuterKey);
        outer && *outer >= kPrintableOuterMinTenths && *outer <= kPrintableOuterMaxTenths)
        stock.printableOuterTenths = *outer;
    if (const auto hub = storedInt(settings, kHubKey); hub
        && std::find(std::begin(kPrintableHubsMm), std::end(kPrintableHubsMm), *hub)
            != std::end(kPrintableHubsMm))
        stock.hubMm = *hub;
    return stock;
}

void storeDiscStock(QSettings &settings, const DiscStock &stock)
{
    settings.setValue(kStockKey, int(stock.kind));
    settings.setValue(kSheetKey, stock.sheetId);
    settings.setValue(kLabelsKey, stock.labels);
    settings.setValue(kOuterKey, stock.printableOuterTenths);
    settings.setValue(kHubKey, stock.hubMm);
    settings.sync();
}

LabelSheetProduct defaultCustomLabelSheet()
{
    LabelSheetProduct s;
    s.id = kCustomSheetId;
    s.name = UiText::tr("カスタム");
    s.paper = QStringLiteral("A4");
    labelSheetPaperSize(s.paper, &s.widthMm, &s.heightMm);
    s.outerMm = 117.0;
    s.holeMm = 41.0;
    s.centresMm = { QPointF(105.0, 79.9), QPointF(105.0, 218.33) };
    return s;
}

LabelSheetProduct loadCustomLabelSheet(QSettings &settings)
{
    const auto outer = storedInt(settings, kCustomOuterKey);
    const auto hole = storedInt(settings, kCustomHoleKey);
    const auto centres = parseCentres(settings.value(kCustomCentresKey).toString(), nullptr);
    if (!outer || !hole || !centres)
        return defaultCustomLabelSheet();
    LabelSheetProduct s = defaultCustomLabelSheet();
    s.paper = settings.value(kCustomPaperKey).toString();
    labelSheetPaperSize(s.paper, &s.widthMm, &s.heightMm);
    s.outerMm = *outer / 10.0;
    s.holeMm = *hole / 10.0;
    s.centresMm = *centres;
    return customLabelSheetProblem(s).isEmpty() ? s : defaultCustomLabelSheet();
}

QString customLabelSheetProblem(const LabelSheetProduct &sheet)
{
    double width = 0, height = 0;
    if (!labelSheetPaperSize(sheet.paper, &width, &height))
        return UiText::tr("用紙は A4 か Letter です");
    const int outer = tenthsOf(sheet.outerMm), hole = tenthsOf(sheet.holeMm);
    if (outer < kCustomOuterMinTenths || outer > kCustomOuterMaxTenths)
        return UiText::tr("ラベルの外径は 20.0mm から 130.0mm までです");
    if (hole < 0 || hole > outer - kCustomHoleMarginTenths)
        return UiText::tr("ラベルの穴の径は 0.0mm から %1mm (外径より 10.0mm 小さい値) までです")
            .arg(tenthsText(outer - kCustomHoleMarginTenths));
    const auto &c = sheet.centresMm;
    if (c.isEmpty() || c.size() > kMaxSheetLabels)
        return UiText::tr("ラベルは 1 枚から %1 枚までです").arg(kMaxSheetLabels);
    const double r = sheet.outerMm / 2;
    for (int i = 0; i < c.size(); ++i) {
        if (c[i].x() - r < -kSlackMm || c[i].y() - r < -kSlackMm || c[i].x() + r > width + kSlackMm
            || c[i].y() + r > height + kSlackMm)
            return UiText::tr("ラベル%1が用紙からはみ出しています").arg(i + 1);
    }
    for (int i = 0; i < c.size(); ++i) {
        for (int j = i + 1; j < c.size(); ++j) {
            if (std::hypot(c[i].x() - c[j].x(), c[i].y() - c[j].y()) < sheet.outerMm - kSlackMm)
                return UiText::tr("ラベル%1とラベル%2が重なっています").arg(i + 1).arg(j + 1);
        }
    }
    return QString();
}

bool storeCustomLabelSheet(QSettings &settings, const LabelSheetProduct &sheet, QString *message)
{
    const LabelSheetProduct stored = asStored(sheet);
    const QString problem = customLabelSheetProblem(stored);
    if (message)
        *message = problem;
    if (!problem.isEmpty())
        return false;
    settings.setValue(kCustomPaperKey, stored.paper);
    settings.setValue(kCustomOuterKey, tenthsOf(stored.outerMm));
    settings.setValue(kCustomHoleKey, tenthsOf(stored.holeMm));
    settings.setValue(kCustomCentresKey, formatCentres(stored.centresMm));
    settings.sync();
    return true;
}

std::optional<QVector<QPointF>> parseCentres(const QString &text, QString *message)
{
    // A millimetre value: digits with up to two decimals.
    static const QRegularExpression pair(QStringLiteral(
        "^\\s*(\\d{1,4})(?:\\.(\\d{1,2}))?\\s*,\\s*(\\d{1,4})(?:\\.(\\d{1,2}))?\\s*$"));
    auto refuse = [&]() -> std::optional<QVector<QPointF>> {
        if (message)
            *message = UiText::tr("ラベルの中心(%1)は「x,y;x,y」の形で、用紙の左上からの mm "
                                  "(小数2桁まで) で入力してください")
                           .arg(text);
        return std::nullopt;
    };
    QStringList items = text.split(QLatin1Char(';'));
    // One ';' after the last pair is allowed.
    if (items.size() > 1 && items.last().trimmed().isEmpty())
        items.removeLast();
    QVector<QPointF> centres;
    for (const QString &item : items) {
        const QRegularExpressionMatch m = pair.match(item);
        if (!m.hasMatch())
            return refuse();
        // Whole hundredths, so that "79.9" is the same number as the table's 79.90.
        auto mm = [&](int whole, int decimals) {
            const QString d = m.captured(decimals);
            const int hundredths = m.captured(whole).toInt() * 100
                + (d.isEmpty() ? 0 : (d.size() == 1 ? d.toInt() * 10 : d.toInt()));
            return hundredths / 100.0;
        };
        centres << QPointF(mm(1, 2), mm(3, 4));
    }
    return centres;
}

QString formatCentres(const QVector<QPointF> &centres)
{
    QStringList pairs;
    for (const QPointF &c : centres)
        pairs << hundredthsText(c.x()) + QLatin1Char(',') + hundredthsText(c.y());
    return pairs.join(QLatin1Char(';'));
}

DiscLayout discLayoutOf(const DiscStock &stock, const LabelSheetProduct &custom)
{
    DiscLayout l;
    const DiscRing ring = discRingOf(stock, custom);
    l.outerMm = ring.outerMm;
    l.holeMm = ring.holeMm;
    l.printableDisc = stock.kind == DiscStockKind::PrintableDisc;
    const LabelSheetProduct &sheet = stockSheet(stock, custom);
    l.paperWidthMm = sheet.widthMm;
    l.paperHeightMm = sheet.heightMm;
    l.centresMm.clear();
    for (int n : printedLabels(stock, sheet))
        l.centresMm.append(sheet.centresMm[n - 1]);
    return l;
}

DiscLayout loadDiscLayout(QSettings &settings)
{
    return discLayoutOf(loadDiscStock(settings), loadCustomLabelSheet(settings));
}

} // namespace cw

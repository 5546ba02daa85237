#include "document/DiscStockChoice.h"

#include <QRegularExpression>
#include <algorithm>
#include <iterator>

#include "base/UiText.h"
#include "document/CaseSizeText.h"

namespace cw {

QStringList discStockEntries()
{
    QStringList entries;
    for (const LabelSheetProduct &p : labelSheets())
        entries << p.name;
    entries << UiText::tr("カスタム") << UiText::tr("プリンタブルディスク");
    return entries;
}

int discStockEntryIndex(const DiscStock &stock)
{
    const QVector<LabelSheetProduct> &sheets = labelSheets();
    if (stock.kind == DiscStockKind::PrintableDisc)
        return int(sheets.size()) + 1;
    if (stock.sheetId == kCustomSheetId)
        return int(sheets.size());
    for (int i = 0; i < sheets.size(); ++i) {
        if (sheets[i].id == stock.sheetId)
            return i;
    }
    return 0;
}

DiscStock discStockWithEntry(DiscStock stock, int index)
{
    const QVector<LabelSheetProduct> &sheets = labelSheets();
    if (index < 0 || index > sheets.size() + 1)
        return stock;
    if (index == sheets.size() + 1) {
        stock.kind = DiscStockKind::PrintableDisc;
        return stock;
    }
    const QString id = index == sheets.size() ? QString(kCustomSheetId) : sheets[index].id;
    stock.kind = DiscStockKind::LabelSheet;
    if (stock.sheetId != id)
        stock.labels = ~0u;
    stock.sheetId = id;
    return stock;
}

int discStockLabelCount(const DiscStock &stock, const LabelSheetProduct &custom)
{
    if (stock.kind == DiscStockKind::PrintableDisc)
        return 0;
    return int(stockSheet(stock, custom).centresMm.size());
}

DiscStock discStockWithLabel(DiscStock stock, int label, bool on, int count)
{
    if (label < 1 || label > count)
        return stock;
    const unsigned bit = 1u << (label - 1);
    const unsigned shown = count >= 32 ? ~0u : (1u << count) - 1;
    unsigned labels = stock.labels & shown;
    labels = on ? labels | bit : labels & ~bit;
    // Labels beyond this sheet's keep their bits for a sheet that has them.
    stock.labels = (stock.labels & ~shown) | labels;
    return stock;
}

std::optional<int> parsePrintableOuter(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,3})(?:\\.([0-9]))?")));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int tenths = m.captured(1).toInt() * 10 + (m.hasCaptured(2) ? m.captured(2).toInt() : 0);
    if (tenths < kPrintableOuterMinTenths || tenths > kPrintableOuterMaxTenths)
        return std::nullopt;
    return tenths;
}

QString invalidPrintableOuterMessage(const QString &text)
{
    return UiText::tr("'%1' は %2 から %3 までの数値(mm、小数1桁)ではありません")
        .arg(text, formatCaseTenths(kPrintableOuterMinTenths),
            formatCaseTenths(kPrintableOuterMaxTenths));
}

QStringList printableHubEntries()
{
    QStringList entries;
    for (int hub : kPrintableHubsMm)
        entries << QStringLiteral("%1mm").arg(hub);
    return entries;
}

int printableHubIndex(int hubMm)
{
    const auto it = std::find(std::begin(kPrintableHubsMm), std::end(kPrintableHubsMm), hubMm);
    return it == std::end(kPrintableHubsMm) ? 0 : int(it - std::begin(kPrintableHubsMm));
}

} // namespace cw

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "base/DiscStock.h"

namespace cw {

// The disc tab's "印刷する用紙" group as the stock decides it: its list of
// stocks, the labels offered, the printable disc's outer diameter and hub.

// The list's entries: the label-sheet products in table order, then
// "カスタム" (the user's own sheet), then "プリンタブルディスク".
QStringList discStockEntries();
// The entry that shows a stock; an unknown sheet shows as the first product.
int discStockEntryIndex(const DiscStock &stock);
// The stock with an entry chosen: its kind and sheet; a sheet chosen anew
// prints all its labels. An index outside the list changes nothing.
DiscStock discStockWithEntry(DiscStock stock, int index);
// The number of labels the stock's sheet holds, as "印刷するラベル" offers
// them; 0 for a printable disc.
int discStockLabelCount(const DiscStock &stock, const LabelSheetProduct &custom);
// The stock with label `label` (1-based) printed or not. Every label may be
// left out: a used-up sheet prints none, and its print job has no disc page.
DiscStock discStockWithLabel(DiscStock stock, int label, bool on, int count);
// A typed outer diameter of a printable disc: millimetres with at most one
// decimal within 116.0 .. 120.0, as tenths; none otherwise.
std::optional<int> parsePrintableOuter(const QString &text);
QString invalidPrintableOuterMessage(const QString &text);
// The hub list's entries ("43mm", ...) and the entry of a hub diameter.
QStringList printableHubEntries();
int printableHubIndex(int hubMm);

} // namespace cw

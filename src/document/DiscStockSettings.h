#pragma once

#include <QPointF>
#include <QString>
#include <QVector>
#include <optional>

#include "base/DiscStock.h"
#include "document/LabelDocument.h"

class QSettings;

namespace cw {

// The disc stock the user chose and the label sheet the user described,
// kept in the user's settings. Like the later print switches, none of these
// values is written until the user changes it, so the settings of a user who
// never prints a disc stay as they were.
//
// "DiscStock" 0 (label sheet) or 1 (printable disc), "DiscSheet" the product
// id or "custom", "DiscLabels" the mask of labels printed, "DiscOuter" the
// printable disc's outer diameter in tenths of a millimetre, "DiscHub" its
// hub in millimetres. The custom sheet: "DiscCustomPaper" ("A4" or
// "Letter"), "DiscCustomOuter" and "DiscCustomHole" (tenths of a
// millimetre) and "DiscCustomCentres" ("x,y;x,y" in millimetres with up to
// two decimals).

// Where a stock lays the disc out: its ring, its paper and the centres of
// the labels it prints (a printable disc: its ring and a page of its own).
DiscLayout discLayoutOf(const DiscStock &stock, const LabelSheetProduct &custom);
// The layout of the stock and custom sheet kept in the settings.
DiscLayout loadDiscLayout(QSettings &settings);

// The stored stock; a value that is absent or out of range reads as its default.
DiscStock loadDiscStock(QSettings &settings);
void storeDiscStock(QSettings &settings, const DiscStock &stock);

// The custom sheet when absent or invalid: A4, 117.0 / 41.0 mm, labels
// centred at (105.0, 79.9) and (105.0, 218.33).
LabelSheetProduct defaultCustomLabelSheet();
// The stored custom sheet; the default when any value is absent or the
// sheet they make is not a valid one.
LabelSheetProduct loadCustomLabelSheet(QSettings &settings);
// What is wrong with a custom sheet, for the user; empty when it is good.
// Its paper is A4 or Letter, its outer diameter 20.0 to 130.0 mm, its hole
// 0 to 10 mm less than that, and it has 1 to kMaxSheetLabels labels, each
// wholly on the paper and none overlapping another.
QString customLabelSheetProblem(const LabelSheetProduct &sheet);
// Stores a custom sheet as the settings keep it (diameters to the tenth,
// centres to the hundredth of a millimetre). A bad sheet is refused,
// changing nothing, with the problem in `message`.
bool storeCustomLabelSheet(QSettings &settings, const LabelSheetProduct &sheet, QString *message);

// The label centres as the settings keep them and the user types them:
// "x,y;x,y", millimetres with up to two decimals, spaces allowed around the
// numbers. nullopt, with a message, for anything else.
std::optional<QVector<QPointF>> parseCentres(const QString &text, QString *message);
// The centres in that form, each number to the hundredth without trailing
// zeros: "105,79.9;105,218.33".
QString formatCentres(const QVector<QPointF> &centres);

} // namespace cw

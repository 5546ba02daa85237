#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "base/DiscStock.h"

namespace cw {

// The user's own label sheet as the dialog "カスタム用紙" holds it while it
// is being described: the paper chosen from a list, the diameters and each
// label's centre as the user typed them, and the label whose centre the X
// and Y fields show. Nothing is checked while typing; OK turns the texts into
// a sheet or says what is wrong with them.
struct CustomSheetCentre
{
    QString x, y; // millimetres from the paper's top-left corner, up to two decimals
    bool operator==(const CustomSheetCentre &) const = default;
};

struct CustomSheetForm
{
    int paper = 0; // the entry of customSheetPapers()
    QString outer, hole; // millimetres, one decimal
    QVector<CustomSheetCentre> centres; // label 1, 2, ... (at least one)
    int current = 0; // the label whose centre is being typed
    bool operator==(const CustomSheetForm &) const = default;
};

// The papers a custom sheet may be: "A4", "Letter".
QStringList customSheetPapers();

// The form showing a sheet: its paper, its diameters to the tenth ("117.0")
// and its centres to the hundredth without trailing zeros ("79.9"), label 1
// current.
CustomSheetForm customSheetForm(const LabelSheetProduct &sheet);

// A label's entry in the list of centres: "2: 105, 218.33".
QString customSheetCentreEntry(const CustomSheetForm &form, int label);
QStringList customSheetCentreEntries(const CustomSheetForm &form);

// "追加": a label with empty texts after the current one, which it becomes;
// a sheet of kMaxSheetLabels labels takes no more. "削除": the current label
// goes, the one after it (or the new last one) becomes current; the last
// label stays. Each returns the form unchanged when it cannot.
bool canAddCentre(const CustomSheetForm &form);
bool canRemoveCentre(const CustomSheetForm &form);
CustomSheetForm withCentreAdded(CustomSheetForm form);
CustomSheetForm withCentreRemoved(CustomSheetForm form);
// The form with another label current (one outside the list changes nothing),
// and with the current label's X or Y typed.
CustomSheetForm withCurrentCentre(CustomSheetForm form, int label);
CustomSheetForm withCentreTyped(CustomSheetForm form, bool y, const QString &text);

// The sheet the form describes: the texts read as numbers (a diameter with
// at most one decimal, a centre with at most two), then the sheet checked as
// the settings would keep it (customLabelSheetProblem). nullopt, with the
// first problem in `message`, when any text is no such number or the sheet
// is not a good one.
std::optional<LabelSheetProduct> customSheetFromForm(
    const CustomSheetForm &form, QString *message);

} // namespace cw

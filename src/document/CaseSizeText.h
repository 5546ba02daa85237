#pragma once

#include <QString>
#include <optional>

#include "base/CaseFormat.h"

namespace cw {

// The three sizes of a custom case as the user types and reads them:
// millimetres with one decimal.
enum class CaseDimension { PanelWidth, PanelHeight, SpineWidth };
constexpr CaseDimension kAllCaseDimensions[]
    = { CaseDimension::PanelWidth, CaseDimension::PanelHeight, CaseDimension::SpineWidth };

int caseDimension(const CaseSize &size, CaseDimension which);
void setCaseDimension(CaseSize &size, CaseDimension which, int tenths);
// The range of a size in tenths of a millimetre.
int caseDimensionMin(CaseDimension which);
int caseDimensionMax(CaseDimension which);

// A typed size: millimetres with at most one decimal ("129", "129.5"),
// blanks around it ignored, within the size's range. Anything else is none.
std::optional<int> parseCaseDimension(CaseDimension which, const QString &text);
// "'abc' は 20.0 から 300.0 までの数値(mm、小数1桁)ではありません".
QString invalidCaseDimensionMessage(CaseDimension which, const QString &text);
// Tenths as millimetres with one decimal: "129.5", "0.0".
QString formatCaseTenths(int tenths);

// "P,H,S" as the command line's --size gives the three sizes. On failure
// `error` says which value is wrong and the range it must be in.
std::optional<CaseSize> parseCaseSizeTriple(const QString &text, QString *error);
// The file's form: "129.5 183.0 14.0", exactly one decimal each, one blank
// between them; any other text, or a size out of range, is none.
std::optional<CaseSize> parseCaseSizeLine(const QByteArray &text);
QString formatCaseSizeLine(const CaseSize &size);

} // namespace cw

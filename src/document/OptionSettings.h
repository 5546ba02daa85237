#pragma once

#include <QString>
#include <array>
#include <optional>

#include "base/PreviewPage.h"

#include "document/LabelDocument.h"

class QSettings;

namespace cw {

// One of the print switches kept in the user's settings.
struct PrintOptionInfo
{
    const char *key; // the settings value and the check box's name
    bool PrintOptions::*field;
    bool defaultValue;
    // The preview page a click refreshes; none for the page switches, which
    // only choose what "印刷" prints.
    std::optional<PreviewPage> refreshPage;
    // Written with its default when missing at start-up (the five switches
    // of old); a later switch is written only once it is changed, so the
    // settings of a user who never touches it stay as they were.
    bool writtenAtStart = true;
};

// In the order in which start-up applies them.
const std::array<PrintOptionInfo, 8> &printOptionTable();
// The entry for a settings key; nullptr for an unknown key.
const PrintOptionInfo *printOptionInfo(const QString &key);

// Reads the switches and the bleed. One of the five switches of old that
// does not exist yet is written with its default first, so the settings hold
// all five after the first run.
PrintOptions loadPrintOptions(QSettings &settings);

// Stores one switch (as 0 or 1) at once and sets it in `options`. Returns the
// preview page to refresh, if any. Unknown keys change nothing and return
// none.
std::optional<PreviewPage> storePrintOption(
    QSettings &settings, PrintOptions &options, const QString &key, bool value);

// The bleed ("塗り足し"): whole millimetres 0..kMaxBleedMm, kept as "Bleed".
// Like "InsidePrint", and unlike the five switches, it is not written until
// it is first changed, so the settings of a user who never touches it stay
// as they were.
constexpr int kMaxBleedMm = 3;
extern const char *const kBleedKey;
// The stored bleed; 0 when absent or not a whole number in range.
int loadBleed(QSettings &settings);
// Stores the bleed at once and sets it in `options`. False, changing
// nothing, for a value out of range.
bool storeBleed(QSettings &settings, PrintOptions &options, int mm);

} // namespace cw

#pragma once

#include <QString>
#include <optional>

#include "base/Printer.h"

class QSettings;

namespace cw {

// Where a printer puts the sheet relative to where it is asked to: a shift of
// every printed sheet as a whole, kept per device in the user's settings.
// Tenths of a millimetre, positive to the right and down on the sheet as it
// comes out; each component within ±10.0 mm.
struct PrintCorrection
{
    int xTenths = 0;
    int yTenths = 0;

    bool isZero() const { return xTenths == 0 && yTenths == 0; }
    bool operator==(const PrintCorrection &) const = default;
};

constexpr int kCorrectionLimitTenths = 100; // 10.0 mm

// A millimetre value with at most one decimal, optionally signed, within
// ±10.0: "2", "2.0", "-1.5", "+0.3". Blanks around it are ignored. Anything
// else (more decimals, other characters, out of range) is none.
std::optional<int> parseCorrectionMm(const QString &text);
// "X,Y" with two such values: the command line's --offset.
std::optional<PrintCorrection> parseCorrectionPair(const QString &text);
// Tenths as millimetres with one decimal: "0.0", "2.0", "-1.5".
QString formatCorrectionMm(int tenths);
// "X,Y" as parseCorrectionPair reads it.
QString formatCorrectionPair(const PrintCorrection &c);
// The message for a typed text that is not a correction.
QString invalidCorrectionMessage(const QString &text);

// A correction in device pixels at `dpi`, to the nearest pixel (halves away
// from zero), with the program's 25.399 mm per inch.
int correctionPixels(int tenths, int dpi);

// The settings: one value per device, "X,Y" in millimetres. A device with no
// value (or an unreadable one) has no correction. Storing a zero correction
// removes the value.
PrintCorrection loadPrintCorrection(QSettings &settings, const PrintDevice &device);
void storePrintCorrection(
    QSettings &settings, const PrintDevice &device, const PrintCorrection &correction);
// How a device is named to the user: the printer's name, or "PDFファイル".
QString printDeviceText(const PrintDevice &device);

// The settings key of a device's correction.
QString printCorrectionKey(const PrintDevice &device);

} // namespace cw

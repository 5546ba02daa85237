#pragma once

#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>

#include "document/PrintCorrection.h"
#include "render/PrintDocument.h"

namespace cw {

class LabelCanvas;

// The calibration sheet: crosses at stated distances from the paper's edges
// and at its centre, each labelled with its distance, to be measured with a
// ruler. What the ruler shows against the labels is how far the printer
// moves the sheet, and so the correction it needs.

// Which sheet: the crosses at the paper's edges and centre, or the one for
// printable discs: a disc's outer circle and hub circle around the paper's
// centre with a cross at that centre, to see where a disc in the tray lies
// against them.
enum class CalibrationVariant { Sheet, Disc };

// The disc sheet's circles: a printable disc's usual outer and hub diameters.
constexpr double kCalibrationDiscOuterMm = 118.0;
constexpr double kCalibrationDiscHubMm = 43.0;

// Distance of the edge crosses from their edge.
constexpr double kCalibrationEdgeMm = 20.0;
// Half the length of a cross's arm.
constexpr double kCalibrationArmMm = 5.0;

struct CalibrationCross
{
    int x = 0, y = 0; // the centre, in canvas pixels (before any correction)
    QString label; // its distance(s) from the edges, as printed beside it
};

// Left, top, right, bottom, centre: where the crosses of a sheet lie on a
// canvas of dpiX x dpiY whose paper's top-left corner is that of `paper`
// (canvas pixels) and whose size is `paperMm` (its size in pixels when
// empty). Each cross sits on the pixel nearest its place on the paper, and
// its label gives that pixel's distance from the edge, to the tenth of a
// millimetre.
QList<CalibrationCross> calibrationCrosses(
    int dpiX, int dpiY, const QRect &paper, const QSizeF &paperMm = {});
// The line of instructions printed on the sheet.
QString calibrationInstructions();
// The disc sheet's caption and its line of instructions.
QString calibrationDiscCaption();
QString calibrationDiscInstructions();

// Draws the sheet: the crosses, their labels, the instructions and a line
// naming the device and the correction applied. The disc sheet has the
// circles, one-pixel lines centred on the paper's centre cross, its caption,
// its instructions and that line.
void DrawCalibrationSheet(LabelCanvas &canvas, int dpiX, int dpiY, const QRect &paper,
    const QSizeF &paperMm, const PrintDevice &device, const PrintCorrection &applied,
    CalibrationVariant variant = CalibrationVariant::Sheet);

// Prints one landscape calibration sheet on the target, moved by the
// target's correction like every printed sheet. Refused while the printer
// has failed, like printing.
PrintResult PrintCalibrationSheet(PrintTarget &target, PrinterBackend &printer,
    MessageSink &messages, PrinterState &state = printerState(),
    CalibrationVariant variant = CalibrationVariant::Sheet);

} // namespace cw

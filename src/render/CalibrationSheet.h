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

// Draws the sheet: the crosses, their labels, the instructions and a line
// naming the device and the correction applied.
void DrawCalibrationSheet(LabelCanvas &canvas, int dpiX, int dpiY, const QRect &paper,
    const QSizeF &paperMm, const PrintDevice &device, const PrintCorrection &applied);

// Prints one landscape calibration sheet on the target, moved by the
// target's correction like every printed sheet. Refused while the printer
// has failed, like printing.
PrintResult PrintCalibrationSheet(PrintTarget &target, PrinterBackend &printer,
    MessageSink &messages, PrinterState &state = printerState());

} // namespace cw

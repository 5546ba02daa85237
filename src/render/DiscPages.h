#pragma once

#include <QPageLayout>
#include <QPointF>
#include <QSize>
#include <QVector>

#include "render/DrawDisc.h"

namespace cw {

class LabelCanvas;
class PictureFileReader;

// How the face is drawn with the print options: their disc layout's ring
// and guides, and their bleed.
DiscDrawing discDrawingOf(const PrintOptions &options);

// The disc face alone, centred on a page of pageWidth x pageHeight pixels:
// the preview's disc page and `render --page disc`.
void drawDiscFacePage(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader = nullptr);

// The disc face once at each of `centresMm`, millimetres from the page's
// top-left corner: the chosen labels of a label sheet, or a printable disc's
// page with its one centre in the middle.
void drawDiscLabels(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    const QVector<QPointF> &centresMm, int targetDpiX, int targetDpiY,
    PictureFileReader *reader = nullptr);

// The paper the disc is printed on: its label sheet's, upright, or a
// printable disc's page of 120 x 120 mm, without margins.
QPageLayout discPaperLayout(const DiscLayout &layout);
constexpr double kPrintableDiscPageMm = 120.0;

// The square page the face alone is drawn on: the outer diameter and the
// bleed on both sides, in whole pixels.
QSize discFacePageSize(const DiscDrawing &drawing, int dpiX, int dpiY);

} // namespace cw

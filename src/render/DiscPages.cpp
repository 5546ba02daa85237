#include "render/DiscPages.h"

#include "base/Units.h"
#include "render/Geometry.h"

namespace cw {

DiscDrawing discDrawingOf(const PrintOptions &options)
{
    DiscDrawing d;
    d.ring = { options.disc.outerMm, options.disc.holeMm };
    d.bleedMm = options.bleedMm;
    d.guides = options.disc.guides;
    return d;
}

void drawDiscFacePage(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight, PictureFileReader *reader)
{
    DrawDisc(canvas, doc, drawing, targetDpiX, targetDpiY, pageWidth / 2, pageHeight / 2, reader);
}

void drawDiscLabels(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    const QVector<QPointF> &centresMm, int targetDpiX, int targetDpiY, PictureFileReader *reader)
{
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    for (const QPointF &c : centresMm)
        DrawDisc(canvas, doc, drawing, targetDpiX, targetDpiY, mmToPixels(c.x(), s.kx),
            mmToPixels(c.y(), s.ky), reader);
}

QPageLayout discPaperLayout(const DiscLayout &layout)
{
    const QSizeF mm = layout.printableDisc
        ? QSizeF(kPrintableDiscPageMm, kPrintableDiscPageMm)
        : QSizeF(layout.paperWidthMm, layout.paperHeightMm);
    // A4 and Letter by their own names, so that a printer feeds its paper.
    return QPageLayout(QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QSize discFacePageSize(const DiscDrawing &drawing, int dpiX, int dpiY)
{
    const PageScale s = pageScale(dpiX, dpiY);
    const double mm = drawing.ring.outerMm + 2.0 * drawing.bleedMm;
    return QSize(mmToPixels(mm, s.kx), mmToPixels(mm, s.ky));
}

} // namespace cw

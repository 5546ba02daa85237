#include "render/ChoosePrinter.h"

#include "render/PrintDocument.h"

namespace cw {

ChoosePrinterResult ChoosePrinter(LabelDocument &doc, PrinterBackend &printer,
    const std::function<void()> &setupDialog, MessageSink &messages, PrinterState &state)
{
    ChoosePrinterResult result;
    if (state.printerFailed) {
        messages.showMessage(kPrinterFailedSetupMessage);
        result.refused = true;
        return result;
    }
    const int oldX = doc.dpiX, oldY = doc.dpiY;
    if (setupDialog)
        setupDialog();
    QueryPrinterResolution(printer, messages, state);
    ComputeSurfacePixels(doc, state);
    result.placement.changed = { Surface::Top, Surface::Bottom, Surface::Left, Surface::Right };

    // The values are converted from what they were before any of them changed:
    // with "表と同じ" on, setting the front's width also sets the back's, which
    // must not then be converted a second time.
    struct Old
    {
        int printWidth, printHeight, posX, posY;
        bool keepAspect;
    };
    Old old[4];
    for (Surface s : kAllSurfaces) {
        PicturePlacement &p = doc.surface(s).picture;
        old[int(s)] = { p.printWidth, p.printHeight, p.posX, p.posY, p.keepAspect };
        p.keepAspect = false;
    }
    QList<TPrintsData> *lists[] = { &doc.coverPrints, &doc.insidePrints, &doc.backPrints };
    if (doc.dpiX != oldX) {
        result.resolutionChanged = true;
        for (Surface s : kAllSurfaces) {
            const Old &o = old[int(s)];
            mergeResult(result.placement,
                setPrintWidth(doc, s, rescaleValue(o.printWidth, oldX, doc.dpiX)));
            mergeResult(result.placement, setPosX(doc, s, rescaleValue(o.posX, oldX, doc.dpiX)));
        }
        for (QList<TPrintsData> *list : lists) {
            for (TPrintsData &item : *list) {
                item.posX = rescaleValue(item.posX, oldX, doc.dpiX);
                item.printWidth = rescaleValue(item.printWidth, oldX, doc.dpiX);
            }
        }
    }
    if (doc.dpiY != oldY) {
        result.resolutionChanged = true;
        for (Surface s : kAllSurfaces) {
            const Old &o = old[int(s)];
            mergeResult(result.placement,
                setPrintHeight(doc, s, rescaleValue(o.printHeight, oldY, doc.dpiY)));
            mergeResult(result.placement, setPosY(doc, s, rescaleValue(o.posY, oldY, doc.dpiY)));
        }
        for (QList<TPrintsData> *list : lists) {
            for (TPrintsData &item : *list) {
                item.posY = rescaleValue(item.posY, oldY, doc.dpiY);
                item.printHeight = rescaleValue(item.printHeight, oldY, doc.dpiY);
            }
        }
    }
    for (Surface s : kAllSurfaces)
        doc.surface(s).picture.keepAspect = old[int(s)].keepAspect;
    if (result.resolutionChanged)
        result.placement.refreshPage = PreviewPage::Shown;
    return result;
}

} // namespace cw

#include "render/ChoosePrinter.h"

#include "base/UiText.h"
#include "render/PrintDocument.h"

namespace cw {

ChoosePrinterResult ChoosePrinter(DocumentEditor &editor, PrinterBackend &printer,
    const std::function<void()> &setupDialog, MessageSink &messages, PrinterState &state)
{
    ChoosePrinterResult result;
    if (state.printerFailed) {
        messages.showMessage(uiText(kPrinterFailedSetupMessage));
        result.refused = true;
        return result;
    }
    LabelDocument &doc = editor.document();
    const int oldX = doc.dpiX, oldY = doc.dpiY;
    if (setupDialog)
        setupDialog();
    QueryPrinterResolution(printer, messages, state);
    // The new resolution and the values converted to it are one step.
    EditStep step(&editor.history(), UiText::tr("プリンタ設定"));
    ComputeSurfacePixels(doc, state);
    result.resolutionChanged = doc.dpiX != oldX || doc.dpiY != oldY;
    result.edit = editor.convertToResolution(oldX, oldY);
    return result;
}

} // namespace cw

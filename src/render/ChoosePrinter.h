#pragma once

#include <functional>

#include "base/UserPrompts.h"
#include "document/DocumentEditor.h"
#include "render/Geometry.h"

namespace cw {

struct ChoosePrinterResult
{
    bool refused = false; // the printer had failed: nothing was done
    bool resolutionChanged = false;
    EditResult edit; // the pages to refresh
};

// Printer setup: shows the setup dialog (confirmed or cancelled, the current
// printer is read again), takes its resolution as the document's reference
// and converts every device-pixel value to it through the editor
// (DocumentEditor::convertToResolution), so that pictures and picture items
// keep their printed size in millimetres.
ChoosePrinterResult ChoosePrinter(DocumentEditor &editor, PrinterBackend &printer,
    const std::function<void()> &setupDialog, MessageSink &messages,
    PrinterState &state = printerState());

} // namespace cw

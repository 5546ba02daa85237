#pragma once

#include <functional>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "document/PicturePlacementOps.h"
#include "render/Geometry.h"

namespace cw {

struct ChoosePrinterResult
{
    bool refused = false; // the printer had failed: nothing was done
    bool resolutionChanged = false;
    PlacementResult placement; // the picture panels to re-read, the page to refresh
};

// Printer setup: shows the setup dialog (confirmed or cancelled, the current
// printer is read again), takes its resolution as the document's reference
// and converts every device-pixel value to it, so that pictures and picture
// items keep their printed size in millimetres. The pictures' values go
// through the same edit rules as typed values, with "縦横比固定" cleared
// meanwhile and restored afterwards.
ChoosePrinterResult ChoosePrinter(LabelDocument &doc, PrinterBackend &printer,
    const std::function<void()> &setupDialog, MessageSink &messages,
    PrinterState &state = printerState());

} // namespace cw

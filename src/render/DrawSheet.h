#pragma once

#include "base/CaseFormat.h"
#include "document/LabelDocument.h"

namespace cw {

class LabelCanvas;
class PictureFileReader;

// Draws sheet `sheet` of `format` for the document, centred on a printable
// area of pageWidth x pageHeight pixels at the target resolution: the panels'
// backgrounds (bled past the sheet's outer edges only), pictures, free
// prints, track lists and titles, then the boundary lines, the folds and the
// trim marks. Only the pictures' render caches of the document change.
// `reader` reads picture files on a cache miss (null: the program's loader
// without messages).
void DrawSheet(LabelCanvas &canvas, LabelDocument &doc, const CaseFormat &format, int sheet,
    const PrintOptions &options, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader = nullptr);

} // namespace cw

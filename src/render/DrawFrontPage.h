#pragma once

#include "document/LabelDocument.h"

namespace cw {

class LabelCanvas;
class PictureFileReader;

// Draws the jewel case's front sheet (the inside face on the left, the cover
// face on the right, the fold between them) through DrawSheet at the target resolution onto a printable
// area of pageWidth x pageHeight pixels. Only the pictures' render caches of
// the document change. `reader` reads picture files on a cache miss (null:
// the program's loader without messages).
void DrawFrontPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader = nullptr);

} // namespace cw

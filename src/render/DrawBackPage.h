#pragma once

#include "document/LabelDocument.h"

namespace cw {

class LabelCanvas;
class PictureFileReader;

// Draws the jewel case's back sheet (left spine, back label, right spine)
// through DrawSheet at the target resolution onto a printable area of
// pageWidth x pageHeight pixels. Only the pictures' render caches of the
// document change.
void DrawBackPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader = nullptr);

} // namespace cw

#pragma once

#include <functional>

#include "base/PreviewPage.h"
#include "canvas/LabelCanvas.h"

namespace cw {

// Draws page 0 (front) or 1 (back) of the document onto a canvas at a target
// resolution and printable area. The renderers are bound to it by the caller.
using PageDrawer = std::function<void(LabelCanvas &canvas, PreviewPage page, int targetDpiX,
    int targetDpiY, int pageWidth, int pageHeight)>;

} // namespace cw

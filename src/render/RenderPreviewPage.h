#pragma once

#include <QImage>

#include "base/PreviewPage.h"
#include "canvas/PartBoxCanvas.h"
#include "render/PageDrawer.h"

namespace cw {

// Draws one page of the preview: at 96 dpi on the preview page of the
// drawer's case format (the jewel case's: 1046 x 604 pixels), scaled onto the
// whole bitmap. With `boxes`, where each thing of the page landed on the
// 96-dpi page.
void RenderPreviewPage(PreviewPage page, QImage &bitmap, const PageDrawer &drawPage,
    QList<PartBox> *boxes = nullptr);

} // namespace cw

#include "render/RenderPreviewPage.h"

#include <QPainter>

#include "canvas/QPainterCanvas.h"
#include "render/PreviewState.h"

namespace cw {

void RenderPreviewPage(
    PreviewPage page, QImage &bitmap, const PageDrawer &drawPage, QList<PartBox> *boxes)
{
    // Drawn straight onto the bitmap through a scale from the 96-dpi page, which
    // gives what playing a 96-dpi recording onto it would, without recording
    // and replaying the pictures' pixels on every refresh.
    const QSize pageSize = PreviewState::pageSize(drawPage.format());
    QPainter painter(&bitmap);
    painter.scale(
        double(bitmap.width()) / pageSize.width(), double(bitmap.height()) / pageSize.height());
    QPainterCanvas canvas(&painter, 96, 96);
    if (!boxes) {
        drawPage(canvas, page, 96, 96, pageSize.width(), pageSize.height());
        return;
    }
    PartBoxCanvas recording(canvas);
    drawPage(recording, page, 96, 96, pageSize.width(), pageSize.height());
    *boxes = recording.boxes();
}

} // namespace cw

#include "render/DrawBackPage.h"

#include "render/DrawSheet.h"

namespace cw {

void DrawBackPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight, PictureFileReader *reader)
{
    const CaseFormat &jewel = jewelCaseFormat();
    DrawSheet(canvas, doc, jewel, jewel.sheetOf(PanelRole::Back), options, targetDpiX, targetDpiY,
        pageWidth, pageHeight, reader);
}

} // namespace cw

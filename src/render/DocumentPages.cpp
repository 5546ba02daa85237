#include "render/DocumentPages.h"

#include "render/PageOutput.h"

namespace cw {

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options,
                              PictureFileReader *reader)
{
    return PageDrawer(
        [&doc, options, reader](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY, int w,
            int h) { drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, w, h, reader); },
        [&doc]() -> const CaseFormat & { return formatOf(doc); },
        [&doc, options] { return int(shownSheets(options, formatOf(doc)).size()); });
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options,
                              PictureFileReader *reader)
{
    return PageDrawer(
        [&doc, options, reader](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY, int w,
            int h) { drawDocumentPage(canvas, doc, *options, page, dpiX, dpiY, w, h, reader); },
        [&doc]() -> const CaseFormat & { return formatOf(doc); },
        [&doc, options] { return int(shownSheets(*options, formatOf(doc)).size()); });
}

} // namespace cw

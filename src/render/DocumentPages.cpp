#include "render/DocumentPages.h"

#include "render/PageOutput.h"

namespace cw {

bool discPageShown(const LabelDocument &doc, const PrintOptions &options)
{
    return options.printDisc || usesDiscFace(doc);
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options,
                              PictureFileReader *reader)
{
    return PageDrawer(
        [&doc, options, reader](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY, int w,
            int h) { drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, w, h, reader); },
        [&doc]() -> const CaseFormat & { return formatOf(doc); },
        [&doc, options] { return int(shownSheets(options, formatOf(doc)).size()); },
        [&doc, options] { return discPageShown(doc, options); });
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options,
                              PictureFileReader *reader, bool discGuides)
{
    return PageDrawer(
        [&doc, options, reader, discGuides](LabelCanvas &canvas, PreviewPage page, int dpiX,
            int dpiY, int w, int h) {
            if (discGuides && page == PreviewPage::Disc) {
                PrintOptions guided = *options;
                guided.disc.guides = true;
                drawDocumentPage(canvas, doc, guided, page, dpiX, dpiY, w, h, reader);
                return;
            }
            drawDocumentPage(canvas, doc, *options, page, dpiX, dpiY, w, h, reader);
        },
        [&doc]() -> const CaseFormat & { return formatOf(doc); },
        [&doc, options] { return int(shownSheets(*options, formatOf(doc)).size()); },
        [&doc, options] { return discPageShown(doc, *options); });
}

} // namespace cw

#include "render/DocumentPages.h"

#include "render/PageOutput.h"

#include "base/BookletFormat.h"

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

const CaseFormat &previewFormatOf(const LabelDocument &doc)
{
    return doc.bookletPages > 2 ? bookletSpreadFormat(caseFormatOf(doc), doc.bookletPages)
                                : formatOf(doc);
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options,
                              PictureFileReader *reader, bool preview)
{
    if (!preview)
        return PageDrawer(
            [&doc, options, reader](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY,
                int w, int h) {
                drawDocumentPage(canvas, doc, *options, page, dpiX, dpiY, w, h, reader);
            },
            [&doc]() -> const CaseFormat & { return formatOf(doc); },
            [&doc, options] { return int(shownSheets(*options, formatOf(doc)).size()); },
            [&doc, options] { return discPageShown(doc, *options); });
    return PageDrawer(
        [&doc, options, reader](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY, int w,
            int h) {
            // The disc's page is drawn with its ring as a guide.
            if (page == PreviewPage::Disc) {
                PrintOptions guided = *options;
                guided.disc.guides = true;
                drawDocumentPage(canvas, doc, guided, page, dpiX, dpiY, w, h, reader);
                return;
            }
            drawDocumentPage(
                canvas, doc, *options, page, dpiX, dpiY, w, h, reader, &previewFormatOf(doc));
        },
        [&doc]() -> const CaseFormat & { return previewFormatOf(doc); },
        [&doc, options] { return int(shownSheets(*options, previewFormatOf(doc)).size()); },
        [&doc, options] { return discPageShown(doc, *options); });
}

} // namespace cw

#include "render/DocumentPages.h"

#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"

static void drawDocumentPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int page, int dpiX, int dpiY, int width, int height)
{
    if (page == 0)
        DrawFrontPage(canvas, doc, options, dpiX, dpiY, width, height);
    else
        DrawBackPage(canvas, doc, options, dpiX, dpiY, width, height);
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options)
{
    return [&doc, options](LabelCanvas &canvas, int page, int dpiX, int dpiY, int w, int h) {
        drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, w, h);
    };
}

PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options)
{
    return [&doc, options](LabelCanvas &canvas, int page, int dpiX, int dpiY, int w, int h) {
        drawDocumentPage(canvas, doc, *options, page, dpiX, dpiY, w, h);
    };
}

#include "render/DrawFrontPage.h"

#include "canvas/LabelCanvas.h"
#include "render/DrawFreePrints.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/PageParts.h"

#include "tracklist/DrawTrackList.h"

namespace cw {

using namespace pageparts;

void DrawFrontPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight, PictureFileReader *reader)
{
    PictureFileReader &files = reader ? *reader : defaultPictureFileReader();
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    const FrontPageGeometry g
        = computeFrontPageGeometry(targetDpiX, targetDpiY, pageWidth, pageHeight);
    const SurfacePixels ref = surfacePixelsAt(doc.dpiX, doc.dpiY);
    const PictureScale scale { doc.dpiX, doc.dpiY, targetDpiX, targetDpiY };
    const int cover = g.L + g.W; // the fold; the cover face starts here

    // With a bleed, each face continues past the sheet's outer edges, never
    // across the fold. The trim runs round the page block's last pixels.
    const bool bleeds = options.bleedMm > 0;
    const SurfaceBleed coverBleed
        = surfaceBleed(s, options.bleedMm, cover, g.T, g.R + 1, g.B + 1, false, true, true, true);
    const SurfaceBleed insideBleed
        = surfaceBleed(s, options.bleedMm, g.L, g.T, cover, g.B + 1, true, true, false, true);

    // Backgrounds: the cover face, then the inside face.
    if (bleeds) {
        fillBled(canvas, doc.top.backgroundColor1, coverBleed);
        fillBled(canvas, doc.top.backgroundColor2, insideBleed);
    } else {
        fill(canvas, doc.top.backgroundColor1, cover, g.T, g.R, g.B);
        fill(canvas, doc.top.backgroundColor2, g.L, g.T, cover, g.B);
    }
    blackPenAndBrush(canvas);

    // Cover picture.
    if (doc.top.picture.use && !doc.top.picture.fileName.isEmpty()) {
        canvas.BeginPart(PagePart { PartKind::Picture, int(Surface::Top), -1, QPoint(cover, g.T) });
        DrawSurfacePicture(canvas, PictureRef::of(doc.top.picture), ref.topWidth, ref.topHeight,
            scale, cover, g.T, files, bleeds ? &coverBleed : nullptr);
        canvas.EndPart();
    }

    // Free prints of both faces; each list stays on its own face.
    if (doc.top.useCoverPrints)
        DrawFreePrints(canvas, doc.coverPrints,
            FreePrintFace { cover, g.R, g.T, g.B, ref.topWidth, ref.topHeight, 0,
                bleeds ? &coverBleed : nullptr },
            s, scale, files);
    if (doc.top.useInsidePrints)
        DrawFreePrints(canvas, doc.insidePrints,
            FreePrintFace { g.L, cover, g.T, g.B, ref.topWidth, ref.topHeight, 1,
                bleeds ? &insideBleed : nullptr },
            s, scale, files);

    // Track list on the inside face.
    if (doc.top.useList) {
        canvas.BeginPart(PagePart { PartKind::List, 0, -1, QPoint(g.L, g.T) });
        DrawTrackList(canvas, doc.listRows, doc.listLayout[0], 117, g.L, g.T, s.kx, s.ky);
        canvas.EndPart();
    }

    // Title on the cover face, 5 mm in from the top and the bottom.
    if (doc.top.title.use) {
        canvas.BeginPart(PagePart { PartKind::Title, int(Surface::Top), -1, QPoint(cover, g.T) });
        drawLabelTitle(canvas, doc.top.title, s, cover, g.T + mmToPixels(5.0, s.ky), g.R,
            g.B - mmToPixels(5.0, s.ky), cover, g.R, g.T, g.B);
        canvas.EndPart();
    }

    // Frame: boundary lines, the fold, and the trim marks, which are always drawn.
    const int lwX = int(s.lineX), lwY = int(s.lineY);
    for (int i = 0; i < lwX; ++i)
        verticalEdge(canvas, s, g.L + i, g.T, g.B, options.boundaryLines);
    for (int i = 0; i < lwX; ++i)
        foldColumn(canvas, s, cover - int(s.lineX * 0.5) + i, g.T, g.B, options.foldLines);
    for (int i = 0; i < lwX; ++i)
        verticalEdge(canvas, s, g.R - lwX + 1 + i, g.T, g.B, options.boundaryLines);
    for (int j = 0; j < lwY; ++j)
        horizontalEdge(canvas, s, g.T + j, g.L, g.R, options.boundaryLines);
    for (int j = 0; j < lwY; ++j)
        horizontalEdge(canvas, s, g.B - lwY + 1 + j, g.L, g.R, options.boundaryLines);
}

} // namespace cw

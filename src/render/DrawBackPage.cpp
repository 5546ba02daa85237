#include "render/DrawBackPage.h"

#include "canvas/LabelCanvas.h"
#include "render/DrawFreePrints.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/PageParts.h"

#include "tracklist/DrawTrackList.h"

namespace cw {

using namespace pageparts;

void DrawBackPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight, PictureFileReader *reader)
{
    PictureFileReader &files = reader ? *reader : defaultPictureFileReader();
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    const BackPageGeometry g
        = computeBackPageGeometry(targetDpiX, targetDpiY, pageWidth, pageHeight);
    const SurfacePixels ref = surfacePixelsAt(doc.dpiX, doc.dpiY);
    const PictureScale scale { doc.dpiX, doc.dpiY, targetDpiX, targetDpiY };

    // With a bleed, each surface continues past the strip's outer edges,
    // never across a spine line. The trim runs round the block's last pixels.
    const bool bleeds = options.bleedMm > 0;
    const int mm = options.bleedMm;
    const SurfaceBleed leftBleed
        = surfaceBleed(s, mm, g.L, g.T, g.X1, g.B + 1, true, true, false, true);
    const SurfaceBleed backBleed
        = surfaceBleed(s, mm, g.X1, g.T, g.X2, g.B + 1, false, true, false, true);
    const SurfaceBleed rightBleed
        = surfaceBleed(s, mm, g.X2, g.T, g.X3 + 1, g.B + 1, false, true, true, true);

    // Backgrounds: left spine, back label, right spine.
    if (bleeds) {
        fillBled(canvas, doc.left.backgroundColor1, leftBleed);
        fillBled(canvas, doc.bottom.backgroundColor1, backBleed);
        fillBled(canvas, doc.right.backgroundColor1, rightBleed);
    } else {
        fill(canvas, doc.left.backgroundColor1, g.L, g.T, g.X1, g.B);
        fill(canvas, doc.bottom.backgroundColor1, g.X1, g.T, g.X2, g.B);
        fill(canvas, doc.right.backgroundColor1, g.X2, g.T, g.X3, g.B);
    }
    blackPenAndBrush(canvas);

    // Pictures. A picture that follows another one is not printed while the
    // one it follows is switched off. Spine pictures stand upright.
    const PicturePlacement &back = doc.bottom.picture;
    if (back.use && (!doc.bottom.pictureSameAsFront || doc.top.picture.use)
        && !back.fileName.isEmpty()) {
        canvas.BeginPart(PagePart { PartKind::Picture, int(Surface::Bottom), -1, QPoint(g.X1, g.T) });
        DrawSurfacePicture(canvas, PictureRef::of(doc.bottom.picture), ref.bottomWidth,
            ref.bottomHeight, scale, g.X1, g.T, files, bleeds ? &backBleed : nullptr);
        canvas.EndPart();
    }
    if (doc.left.picture.use && doc.left.picture.pixelWidth != 0) {
        canvas.BeginPart(PagePart { PartKind::Picture, int(Surface::Left), -1, QPoint(g.L, g.T) });
        DrawSurfacePicture(canvas, PictureRef::of(doc.left.picture), ref.sideWidth, ref.sideHeight,
            scale, g.L, g.T, files, bleeds ? &leftBleed : nullptr);
        canvas.EndPart();
    }
    if (doc.right.picture.use && (!doc.right.pictureSameAsLeft || doc.left.picture.use)
        && doc.right.picture.pixelWidth != 0) {
        canvas.BeginPart(PagePart { PartKind::Picture, int(Surface::Right), -1, QPoint(g.X2, g.T) });
        DrawSurfacePicture(canvas, PictureRef::of(doc.right.picture), ref.sideWidth, ref.sideHeight,
            scale, g.X2, g.T, files, bleeds ? &rightBleed : nullptr);
        canvas.EndPart();
    }

    // Free prints of the back label.
    if (doc.bottom.usePrints)
        DrawFreePrints(canvas, doc.backPrints,
            FreePrintFace { g.X1, g.X2, g.T, g.B, ref.bottomWidth, ref.bottomHeight, 2,
                bleeds ? &backBleed : nullptr },
            s, scale,
            files);

    // Track list on the back label.
    if (doc.bottom.useList) {
        canvas.BeginPart(PagePart { PartKind::List, 1, -1, QPoint(g.X1, g.T) });
        DrawTrackList(canvas, doc.listRows, doc.listLayout[1], 115, g.X1, g.T, s.kx, s.ky);
        canvas.EndPart();
    }

    // Back title, between the two fold lines and 5 mm in from top and bottom.
    const TitleSettings &frontTitle = doc.top.title;
    if (doc.bottom.title.use && (!doc.bottom.titleSameAsFront || frontTitle.use)) {
        const int half = int(s.lineX * 0.5);
        canvas.BeginPart(PagePart { PartKind::Title, int(Surface::Bottom), -1, QPoint(g.X1, g.T) });
        drawLabelTitle(canvas, doc.bottom.title, s, g.X1 - half + int(s.lineX),
            g.T + mmToPixels(5.0, s.ky), g.X2 - half, g.B - mmToPixels(5.0, s.ky), g.X1, g.X2, g.T,
            g.B);
        canvas.EndPart();
    }

    // Spine titles: the cell height follows the spine's width, not the font's
    // size. The right spine reads downward; the left one upward unless both
    // are to read the same way.
    const int cell = (g.X1 - g.L) - mmToPixels(2.0, s.kx);
    // A spine title's offset runs from 1 mm inside the end it starts from.
    const int startTop = g.T + mmToPixels(1.0, s.ky), startBottom = g.B - mmToPixels(1.0, s.ky);
    if (doc.left.title.use && (!doc.left.titleSameAsFront || frontTitle.use)) {
        canvas.BeginPart(PagePart { PartKind::Title, int(Surface::Left), -1,
            QPoint(g.L, options.spinesSameDirection ? startTop : startBottom) });
        drawSpineTitle(
            canvas, doc.left.title, s, g.L, g.X1, g.T, g.B, cell, !options.spinesSameDirection);
        canvas.EndPart();
    }
    if (doc.right.title.use && (!doc.right.titleSameAsFront || frontTitle.use)
        && (!doc.right.titleSameAsLeft || doc.left.title.use)) {
        canvas.BeginPart(
            PagePart { PartKind::Title, int(Surface::Right), -1, QPoint(g.X2, startTop) });
        drawSpineTitle(canvas, doc.right.title, s, g.X2, g.X3, g.T, g.B, cell, false);
        canvas.EndPart();
    }

    // Frame: boundary lines, both folds, trim marks (always).
    const int lwX = int(s.lineX), lwY = int(s.lineY);
    const int half = int(s.lineX * 0.5);
    for (int i = 0; i < lwX; ++i)
        verticalEdge(canvas, s, g.L + i, g.T, g.B, options.boundaryLines);
    for (int i = 0; i < lwX; ++i)
        foldColumn(canvas, s, g.X1 - half + i, g.T, g.B, options.foldLines);
    for (int i = 0; i < lwX; ++i)
        foldColumn(canvas, s, g.X2 - half + i, g.T, g.B, options.foldLines);
    for (int i = 0; i < lwX; ++i)
        verticalEdge(canvas, s, g.X3 - lwX + 1 + i, g.T, g.B, options.boundaryLines);
    for (int j = 0; j < lwY; ++j)
        horizontalEdge(canvas, s, g.T + j, g.L, g.X3, options.boundaryLines);
    for (int j = 0; j < lwY; ++j)
        horizontalEdge(canvas, s, g.B - lwY + 1 + j, g.L, g.X3, options.boundaryLines);
}

} // namespace cw

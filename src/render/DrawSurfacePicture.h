#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "canvas/LabelCanvas.h"
#include "document/LabelDocument.h"
#include "render/PictureFileReader.h"

namespace cw {

// One picture as the renderer sees it: its placement in reference pixels,
// its own size, and the render cache (bitmap + the part of the picture it
// holds), which drawing updates.
struct PictureRef
{
    int posX = 0, posY = 0;
    int printWidth = 0, printHeight = 0;
    int pixelWidth = 0, pixelHeight = 0;
    const QString *fileName = nullptr;
    QImage *bitmap = nullptr;
    PixelRect *cacheRect = nullptr;
    int *reduction = nullptr; // the bitmap's reduction; null: always whole
    ReductionKind *kind = nullptr; // how it was reduced; null: averaged

    StretchedPicture *stretched = nullptr; // may be null: stretched on every draw
    BleedPart *bleedPart = nullptr; // null: the picture does not bleed
    bool transparent = false;
    ColorRef transColor = 0;

    static PictureRef of(PicturePlacement &p);
    static PictureRef of(TPrintsData &item);
};

// The resolutions a picture is drawn between: the document's reference
// resolution (the one its pixel values refer to) and the canvas's.
struct PictureScale
{
    int dpiX = 300, dpiY = 300;
    int targetDpiX = 300, targetDpiY = 300;
};

// What DrawSurfacePicture works out before drawing; exposed for tests and for
// callers that want to know where a picture lands.
struct PictureWindow
{
    bool empty = true; // nothing of the picture is drawn
    PixelRect source; // picture pixels
    QRect destination; // target pixels, relative to the surface origin
    QSize visible; // reference pixels of the surface the picture covers
};
PictureWindow computePictureWindow(
    const PictureRef &pic, int surfaceWidth, int surfaceHeight, const PictureScale &scale);

// The reduction (1, 2, 4 or 8 per side) a picture may be drawn from: the
// largest that still leaves at least one pixel of the visible part for
// every device pixel it covers, at the canvas's resolution or the reference
// resolution, whichever is finer (a window shows the page at the reference
// resolution whatever its own). Pictures without a reduction to keep are
// drawn from their whole pixels. A picture with a transparent colour is
// reduced by sampling (see ReductionKind), so the colour still matches.
int pictureReductionNeeded(const PictureRef &pic, const PictureWindow &window);

// Draws one picture clipped to its surface at (originX, originY) on the
// canvas. When the visible part of the picture differs from the part the
// cache holds, that part is taken from the bitmap if it still holds the whole
// picture (with pixels enough) and read from the file otherwise, at the
// reduction pictureReductionNeeded allows; the cache then keeps only that
// visible part, in those reduced pixels. On a canvas that paints pictures at a size of its own
// (see LabelCanvas::stretchedPictureSize) the visible part is stretched to
// that size once and kept in the picture's stretched cache while the part
// and the size stay the same.
// With a bleed, the picture also continues past the bleeding edges of its
// surface that it reaches (see drawPictureBleed).
struct SurfaceBleed;
void DrawSurfacePicture(LabelCanvas &canvas, PictureRef pic, int surfaceWidth, int surfaceHeight,
    const PictureScale &scale, int originX, int originY, PictureFileReader &reader,
    const SurfaceBleed *bleed = nullptr);

} // namespace cw

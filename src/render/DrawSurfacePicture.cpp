#include "render/DrawSurfacePicture.h"

#include <algorithm>
#include <limits>

#include "canvas/QPainterCanvas.h"
#include "render/PictureBleed.h"

namespace cw {

namespace {

// Integer values of the placement arithmetic: multiplication first, division
// truncating toward zero. Products are formed in 64 bits so that extreme
// values from a file cannot overflow; ordinary values give the same result as
// 32-bit arithmetic.
int clampToInt(long long v)
{
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

int mulDiv(long long a, long long b, long long c)
{
    if (c == 0)
        return clampToInt(a);
    return clampToInt(a * b / c);
}

} // namespace

PictureRef PictureRef::of(PicturePlacement &p)
{
    PictureRef r;
    r.posX = p.posX;
    r.posY = p.posY;
    r.printWidth = p.printWidth;
    r.printHeight = p.printHeight;
    r.pixelWidth = p.pixelWidth;
    r.pixelHeight = p.pixelHeight;
    r.fileName = &p.fileName;
    r.bitmap = &p.bitmap;
    r.cacheRect = &p.sourceRect;
    r.reduction = &p.bitmapReduction;
    r.stretched = &p.stretched;
    r.bleedPart = &p.bleed;
    return r;
}

PictureRef PictureRef::of(TPrintsData &item)
{
    PictureRef r;
    r.posX = item.posX;
    r.posY = item.posY;
    r.printWidth = item.printWidth;
    r.printHeight = item.printHeight;
    r.pixelWidth = item.pixelWidth;
    r.pixelHeight = item.pixelHeight;
    r.fileName = &item.fileName;
    r.bitmap = &item.bitmap;
    r.cacheRect = &item.cacheRect;
    r.reduction = &item.bitmapReduction;
    r.kind = &item.bitmapKind;
    r.stretched = &item.stretched;
    r.bleedPart = &item.bleed;
    r.transparent = item.transparent;
    r.transColor = item.transColor;
    return r;
}

PictureWindow computePictureWindow(
    const PictureRef &pic, int surfaceWidth, int surfaceHeight, const PictureScale &scale)
{
    PictureWindow w;
    // A picture printed at no size has no defined source rectangle.
    if (pic.printWidth <= 0 || pic.printHeight <= 0 || pic.pixelWidth <= 0 || pic.pixelHeight <= 0)
        return w;
    // Visible window in reference pixels.
    const long long vx0 = std::max<long long>(pic.posX, 0);
    const long long vy0 = std::max<long long>(pic.posY, 0);
    const long long vx1 = std::min<long long>((long long)pic.posX + pic.printWidth, surfaceWidth);
    const long long vy1 = std::min<long long>((long long)pic.posY + pic.printHeight, surfaceHeight);
    if (vx1 <= vx0 || vy1 <= vy0)
        return w; // wholly outside its surface
    // Source rectangle in picture pixels.
    w.source.left = mulDiv(vx0 - pic.posX, pic.pixelWidth, pic.printWidth);
    w.source.top = mulDiv(vy0 - pic.posY, pic.pixelHeight, pic.printHeight);
    w.source.right = mulDiv(vx1 - pic.posX, pic.pixelWidth, pic.printWidth);
    w.source.bottom = mulDiv(vy1 - pic.posY, pic.pixelHeight, pic.printHeight);
    // Destination in target pixels.
    const int dx0 = mulDiv(vx0, scale.targetDpiX, scale.dpiX);
    const int dy0 = mulDiv(vy0, scale.targetDpiY, scale.dpiY);
    const int dx1 = mulDiv(vx1, scale.targetDpiX, scale.dpiX);
    const int dy1 = mulDiv(vy1, scale.targetDpiY, scale.dpiY);
    w.destination = QRect(QPoint(dx0, dy0), QPoint(dx1 - 1, dy1 - 1));
    w.visible = QSize(int(vx1 - vx0), int(vy1 - vy0));
    // A visible part thinner than one picture pixel or one target pixel
    // cannot be drawn.
    w.empty = w.source.right <= w.source.left || w.source.bottom <= w.source.top || dx1 <= dx0
        || dy1 <= dy0;
    return w;
}

int pictureReductionNeeded(const PictureRef &pic, const PictureWindow &window)
{
    if (window.empty || !pic.reduction)
        return 1;
    const long long sw = window.source.right - window.source.left;
    const long long sh = window.source.bottom - window.source.top;
    const long long dw = std::max(window.destination.width(), window.visible.width());
    const long long dh = std::max(window.destination.height(), window.visible.height());
    for (int f = kLargestPictureReduction; f > 1; f /= 2)
        if (sw >= f * dw && sh >= f * dh)
            return f;
    return 1;
}

namespace {

// The part of a picture reduced by `factor`: the rectangle of file pixels
// in reduced pixels, its edges rounded to the nearest, never empty.
QRect reducedPart(const PixelRect &r, int factor, QSize reduced)
{
    if (factor <= 1)
        return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    auto round = [factor](int v) { return (v + factor / 2) / factor; };
    const int l = std::min(round(r.left), reduced.width() - 1);
    const int t = std::min(round(r.top), reduced.height() - 1);
    const int right = std::clamp(round(r.right), l + 1, reduced.width());
    const int bottom = std::clamp(round(r.bottom), t + 1, reduced.height());
    return QRect(l, t, right - l, bottom - t);
}

void stretch(LabelCanvas &canvas, const PictureRef &pic, const QImage &bitmap, const QRect &d)
{
    const int l = d.left(), t = d.top(), r = d.left() + d.width(), b = d.top() + d.height();
    const QImage *drawn = &bitmap;
    const QSize size = canvas.stretchedPictureSize(l, t, r, b);
    if (pic.stretched && size.isValid() && !size.isEmpty() && size != bitmap.size()) {
        StretchedPicture &cache = *pic.stretched;
        if (cache.sourceKey != bitmap.cacheKey() || cache.image.size() != size) {
            cache.image = QImage(); // never two stretched copies alive
            cache.image = QPainterCanvas::stretchNearest(bitmap, size.width(), size.height());
            cache.sourceKey = cache.image.isNull() ? 0 : bitmap.cacheKey();
        }
        if (!cache.image.isNull())
            drawn = &cache.image;
    }
    if (pic.transparent)
        canvas.StretchPictureTransparent(*drawn, l, t, r, b, pic.transColor);
    else
        canvas.StretchPicture(*drawn, l, t, r, b);
}

} // namespace

void DrawSurfacePicture(LabelCanvas &canvas, PictureRef pic, int surfaceWidth, int surfaceHeight,
    const PictureScale &scale, int originX, int originY, PictureFileReader &reader,
    const SurfaceBleed *bleed)
{
    if (!pic.bitmap || !pic.cacheRect || !pic.fileName)
        return;
    PictureWindow w = computePictureWindow(pic, surfaceWidth, surfaceHeight, scale);
    if (w.empty)
        return;
    const QRect dest = w.destination.translated(originX, originY);
    // The bleed first, while the bitmap may still hold the whole picture.
    if (bleed && bleed->any())
        drawPictureBleed(canvas, pic, w, dest, surfaceWidth, surfaceHeight, *bleed, reader);

    // The cache holds exactly the visible part, with pixels enough and
    // reduced in the way the picture needs: draw it as it is.
    const int need = pictureReductionNeeded(pic, w);
    const int held = pic.reduction ? *pic.reduction : 1;
    const ReductionKind kind = pic.transparent ? ReductionKind::Sample : ReductionKind::Average;
    const bool heldServes = held <= need
        && reductionServes(held, pic.kind ? *pic.kind : ReductionKind::Average, kind);
    if (*pic.cacheRect == w.source && heldServes) {
        stretch(canvas, pic, *pic.bitmap, dest);
        return;
    }

    // The visible part changed, or needs more pixels. A bitmap that still
    // holds the whole picture, as loading leaves it, with pixels enough,
    // already has every pixel of the new part: take the part from it.
    // Otherwise read the picture again at the reduction needed. Either way
    // only that part is kept. A file that cannot be read leaves the cache as
    // it was and draws nothing, so that a stale bitmap is never drawn as the
    // new part; so does a read that a window's reader runs in the background
    // (the page is drawn again when it ends).
    const QSize full(pic.pixelWidth, pic.pixelHeight);
    const bool holdsWholePicture
        = *pic.cacheRect == PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight } && heldServes
        && pic.bitmap->size() == reducedPictureSize(full, held);
    int factor = held;
    if (!holdsWholePicture) {
        PictureReduction got;
        if (!reader.loadReducedKnowing(
                *pic.bitmap, *pic.fileName, full, wantedSizeFor(full, need), got, kind))
            return;
        factor = got.factor;
    }
    if (pic.kind)
        *pic.kind = kind;
    if (pic.bitmap->isNull())
        return;
    const QRect part = reducedPart(w.source, factor, pic.bitmap->size());
    QImage cropped = reader.copyRegion(*pic.bitmap, part);
    if (cropped.isNull()) {
        // Not enough memory for a second bitmap of that size: crop in place.
        const PixelRect inPlace { part.left(), part.top(), part.left() + part.width(),
            part.top() + part.height() };
        if (!reader.crop(*pic.bitmap, inPlace)) {
            // The bitmap holds the whole picture again; say so.
            *pic.cacheRect = factor > 1
                ? PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight }
                : PixelRect { 0, 0, pic.bitmap->width(), pic.bitmap->height() };
            if (pic.reduction)
                *pic.reduction = factor;
            return;
        }
    } else {
        *pic.bitmap = std::move(cropped);
    }
    if (pic.reduction)
        *pic.reduction = factor;
    *pic.cacheRect = w.source;
    stretch(canvas, pic, *pic.bitmap, dest);
}

} // namespace cw

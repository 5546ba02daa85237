#include "render/PictureBleed.h"

#include <algorithm>

#include "render/Geometry.h"

namespace cw {

SurfaceBleed surfaceBleed(const PageScale &s, int mm, int left, int top, int right, int bottom,
    bool bleedLeft, bool bleedTop, bool bleedRight, bool bleedBottom)
{
    SurfaceBleed b;
    b.trim = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (mm <= 0)
        return b;
    const int bx = mmToPixels(mm, s.kx), by = mmToPixels(mm, s.ky);
    b.left = bleedLeft ? bx : 0;
    b.top = bleedTop ? by : 0;
    b.right = bleedRight ? bx : 0;
    b.bottom = bleedBottom ? by : 0;
    return b;
}

namespace {

long long floorDiv(long long a, long long b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The body's nearest-neighbour mapping from target pixels to picture pixels,
// carried on past the body's edges and held at the picture's own edges.
struct Mapping
{
    int d0, dLen; // body start and length in target pixels
    int s0, sLen; // visible part start and length in picture pixels
    int limit; // picture size
    int at(int t) const
    {
        const long long p = s0 + floorDiv((long long)(t - d0) * sLen, dLen);
        return int(std::clamp<long long>(p, 0, limit - 1));
    }
};

// Where the bleed takes its pixels from: an image holding the picture
// reduced by `factor`, whose pixel (0, 0) is reduced pixel `origin`.
struct BleedSource
{
    const QImage *image = nullptr;
    QPoint origin;
    int factor = 1;
};

// `r` (picture pixels) grown to whole blocks of `factor` and within `size`.
PixelRect blockAligned(const PixelRect &r, int factor, QSize size)
{
    const auto up = [factor](int v, int limit) {
        return int(std::min<long long>(limit, ((long long)v + factor - 1) / factor * factor));
    };
    return PixelRect { r.left / factor * factor, r.top / factor * factor, up(r.right, size.width()),
        up(r.bottom, size.height()) };
}

// The picture pixels the bleed needs, at the reduction the body may be drawn
// from: from the bitmap while it holds the whole picture, else from the bleed
// cache, else from the file.
BleedSource bleedSource(const PictureRef &pic, const PictureWindow &window, const PixelRect &need,
    PictureFileReader &reader)
{
    const QSize size(pic.pixelWidth, pic.pixelHeight);
    const int allowed = pictureReductionNeeded(pic, window);
    const int held = pic.reduction ? *pic.reduction : 1;
    // A picture with a transparent colour is reduced by sampling, as its body.
    const ReductionKind kind = pic.transparent ? ReductionKind::Sample : ReductionKind::Average;
    const bool holdsWhole = *pic.cacheRect == PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight }
        && held <= allowed
        && reductionServes(held, pic.kind ? *pic.kind : ReductionKind::Average, kind)
        && pic.bitmap->size() == reducedPictureSize(size, held);
    BleedPart *cache = pic.bleedPart;
    auto keep = [&](const QImage &whole, int factor, ReductionKind wholeKind) {
        if (!cache)
            return;
        const PixelRect r = blockAligned(need, factor, size);
        cache->image = reader.copyRegion(whole,
            QRect(r.left / factor, r.top / factor, (r.right - r.left + factor - 1) / factor,
                (r.bottom - r.top + factor - 1) / factor));
        cache->rect = r;
        cache->factor = factor;
        cache->kind = wholeKind;
        cache->fileName = *pic.fileName;
        cache->pictureSize = size;
    };
    if (holdsWhole) {
        // The body is about to crop the bitmap to its own part: keep what
        // the bleed needs first. A bitmap that stays whole needs no copy.
        if (*pic.cacheRect != window.source)
            keep(*pic.bitmap, held, pic.kind ? *pic.kind : ReductionKind::Average);
        return BleedSource { pic.bitmap, QPoint(0, 0), held };
    }
    const bool cached = cache && !cache->image.isNull() && cache->fileName == *pic.fileName
        && cache->pictureSize == size && cache->factor <= allowed
        && reductionServes(cache->factor, cache->kind, kind) && cache->rect.left <= need.left
        && cache->rect.top <= need.top && cache->rect.right >= need.right
        && cache->rect.bottom >= need.bottom;
    if (!cached) {
        QImage whole;
        PictureReduction got;
        if (!cache
            || !reader.loadReducedKnowing(
                whole, *pic.fileName, size, wantedSizeFor(size, allowed), got, kind)
            || got.factor < 1 || got.factor > allowed
            || whole.size() != reducedPictureSize(size, got.factor))
            return {};
        keep(whole, got.factor, kind);
        // The body is about to need the file too when its part changed or
        // needs more pixels: hand it the whole picture rather than reading
        // the file twice.
        if (*pic.cacheRect != window.source || held > allowed) {
            *pic.bitmap = std::move(whole);
            *pic.cacheRect = PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight };
            if (pic.reduction)
                *pic.reduction = got.factor;
            if (pic.kind)
                *pic.kind = kind;
        }
        if (cache->image.isNull())
            return {};
    }
    return BleedSource { &cache->image,
        QPoint(cache->rect.left / cache->factor, cache->rect.top / cache->factor), cache->factor };
}

} // namespace

void drawPictureBleed(LabelCanvas &canvas, const PictureRef &pic, const PictureWindow &window,
    const QRect &body, int surfaceWidth, int surfaceHeight, const SurfaceBleed &bleed,
    PictureFileReader &reader)
{
    if (window.empty || !bleed.any() || !pic.bitmap || !pic.cacheRect || !pic.fileName)
        return;
    const int dl = body.left(), dt = body.top();
    const int dr = body.left() + body.width(), db = body.top() + body.height();
    // The edges of its surface the picture reaches, where the bleed continues it.
    const bool reachL = pic.posX <= 0;
    const bool reachT = pic.posY <= 0;
    const bool reachR = (long long)pic.posX + pic.printWidth >= surfaceWidth;
    const bool reachB = (long long)pic.posY + pic.printHeight >= surfaceHeight;
    // On an edge it reaches, the picture continues to the bleed's end, or to
    // the trim on an edge that does not bleed: a surface's trim may lie a
    // pixel or two past its reference pixels' last device pixel, and the
    // ring beside it would otherwise show the face's colour there.
    const QRect ext = bleed.extended();
    const int el = reachL ? std::min(dl, ext.left()) : dl;
    const int et = reachT ? std::min(dt, ext.top()) : dt;
    const int er = reachR ? std::max(dr, ext.left() + ext.width()) : dr;
    const int eb = reachB ? std::max(db, ext.top() + ext.height()) : db;
    if (el == dl && et == dt && er == dr && eb == db)
        return;

    const Mapping cols { dl, dr - dl, window.source.left, window.source.right - window.source.left,
        pic.pixelWidth };
    const Mapping rows { dt, db - dt, window.source.top, window.source.bottom - window.source.top,
        pic.pixelHeight };
    const PixelRect need { cols.at(el), rows.at(et), cols.at(er - 1) + 1, rows.at(eb - 1) + 1 };
    const BleedSource found = bleedSource(pic, window, need, reader);
    if (!found.image)
        return;
    const QImage &f = *found.image;
    const QImage src = f.format() == QImage::Format_RGB32 || f.format() == QImage::Format_ARGB32
        ? f
        : f.convertToFormat(QImage::Format_RGB32);
    if (src.isNull())
        return;

    // The ring around the body, in up to eight pieces, each drawn pixel for
    // pixel from the mapping.
    const int xs[4] = { el, dl, dr, er };
    const int ys[4] = { et, dt, db, eb };
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            if (i == 1 && j == 1)
                continue; // the body
            const int x0 = xs[i], x1 = xs[i + 1], y0 = ys[j], y1 = ys[j + 1];
            if (x1 <= x0 || y1 <= y0)
                continue;
            QImage piece(x1 - x0, y1 - y0, QImage::Format_RGB32);
            if (piece.isNull())
                continue;
            std::vector<int> sx(size_t(x1 - x0));
            for (int x = x0; x < x1; ++x)
                sx[size_t(x - x0)] = cols.at(x) / found.factor - found.origin.x();
            for (int y = y0; y < y1; ++y) {
                const QRgb *s = reinterpret_cast<const QRgb *>(
                    src.constScanLine(rows.at(y) / found.factor - found.origin.y()));
                QRgb *d = reinterpret_cast<QRgb *>(piece.scanLine(y - y0));
                for (size_t x = 0; x < sx.size(); ++x)
                    d[x] = s[sx[x]] | 0xFF000000u;
            }
            if (pic.transparent)
                canvas.StretchPictureTransparent(piece, x0, y0, x1, y1, pic.transColor);
            else
                canvas.StretchPicture(piece, x0, y0, x1, y1);
        }
    }
}

} // namespace cw

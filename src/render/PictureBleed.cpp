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

// The picture pixels the bleed needs, from the bitmap while it holds the
// whole picture, else from the bleed cache, else from the file.
const QImage *bleedSource(const PictureRef &pic, const PictureWindow &window, const PixelRect &need,
    QPoint &origin, PictureFileReader &reader)
{
    const QSize size(pic.pixelWidth, pic.pixelHeight);
    // The bleed maps the picture's own pixels: only a whole bitmap at full
    // size serves it.
    const bool holdsWhole = *pic.cacheRect == PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight }
        && pic.bitmap->size() == size && (!pic.reduction || *pic.reduction == 1);
    BleedPart *cache = pic.bleedPart;
    auto keep = [&](const QImage &whole) {
        if (!cache)
            return;
        cache->image = reader.copyRegion(
            whole, QRect(need.left, need.top, need.right - need.left, need.bottom - need.top));
        cache->rect = need;
        cache->fileName = *pic.fileName;
        cache->pictureSize = size;
    };
    if (holdsWhole) {
        // The body is about to crop the bitmap to its own part: keep what
        // the bleed needs first. A bitmap that stays whole needs no copy.
        if (*pic.cacheRect != window.source)
            keep(*pic.bitmap);
        origin = QPoint(0, 0);
        return pic.bitmap;
    }
    const bool cached = cache && !cache->image.isNull() && cache->fileName == *pic.fileName
        && cache->pictureSize == size && cache->rect.left <= need.left
        && cache->rect.top <= need.top && cache->rect.right >= need.right
        && cache->rect.bottom >= need.bottom;
    if (!cached) {
        QImage whole;
        if (!cache || !reader.load(whole, *pic.fileName) || whole.size() != size)
            return nullptr;
        keep(whole);
        // The body is about to need the file too when its part changed:
        // hand it the whole picture rather than reading the file twice.
        if (*pic.cacheRect != window.source) {
            *pic.bitmap = std::move(whole);
            *pic.cacheRect = PixelRect { 0, 0, pic.pixelWidth, pic.pixelHeight };
            if (pic.reduction)
                *pic.reduction = 1;
        }
        if (cache->image.isNull())
            return nullptr;
    }
    origin = QPoint(cache->rect.left, cache->rect.top);
    return &cache->image;
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
    const QRect ext = bleed.extended();
    const int el = reachL && bleed.left > 0 ? std::min(dl, ext.left()) : dl;
    const int et = reachT && bleed.top > 0 ? std::min(dt, ext.top()) : dt;
    const int er = reachR && bleed.right > 0 ? std::max(dr, ext.left() + ext.width()) : dr;
    const int eb = reachB && bleed.bottom > 0 ? std::max(db, ext.top() + ext.height()) : db;
    if (el == dl && et == dt && er == dr && eb == db)
        return;

    const Mapping cols { dl, dr - dl, window.source.left, window.source.right - window.source.left,
        pic.pixelWidth };
    const Mapping rows { dt, db - dt, window.source.top, window.source.bottom - window.source.top,
        pic.pixelHeight };
    const PixelRect need { cols.at(el), rows.at(et), cols.at(er - 1) + 1, rows.at(eb - 1) + 1 };
    QPoint origin;
    const QImage *found = bleedSource(pic, window, need, origin, reader);
    if (!found)
        return;
    const QImage src
        = found->format() == QImage::Format_RGB32 || found->format() == QImage::Format_ARGB32
        ? *found
        : found->convertToFormat(QImage::Format_RGB32);
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
                sx[size_t(x - x0)] = cols.at(x) - origin.x();
            for (int y = y0; y < y1; ++y) {
                const QRgb *s
                    = reinterpret_cast<const QRgb *>(src.constScanLine(rows.at(y) - origin.y()));
                QRgb *d = reinterpret_cast<QRgb *>(piece.scanLine(y - y0));
                for (size_t x = 0; x < sx.size(); ++x)
                    d[x] = s[sx[x]] | 0xFF000000u;
            }
            canvas.StretchPicture(piece, x0, y0, x1, y1);
        }
    }
}

} // namespace cw

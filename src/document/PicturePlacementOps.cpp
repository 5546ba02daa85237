// Placement of the surface pictures: default placement, typed sizes and
// positions, the fit and align actions, and the two picture links.
#include "document/PicturePlacementOps.h"

#include <algorithm>
#include <limits>

#include "base/Printer.h"
#include "base/Units.h"
#include "pictures/PictureLoading.h"

namespace cw {

namespace {

// The slot's picture; every public operation first makes sure it exists.
PicturePlacement &pic(LabelDocument &doc, PictureSlot s)
{
    return *pictureAt(doc, s);
}

bool exists(const LabelDocument &doc, PictureSlot s)
{
    return pictureAt(doc, s) != nullptr;
}

Surface followerOf(PictureSlot leader)
{
    return leader.surface == Surface::Top ? Surface::Bottom : Surface::Right;
}

// A 64-bit value as a 32-bit one; products of hostile sizes are clamped
// rather than overflowing.
int clampToInt(long long value)
{
    return int(std::clamp<long long>(
        value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// trunc(pixels * num / den), multiplication first, in 64 bits: the exact
// value of pixels scaled by the ratio num / den, truncated toward zero. A
// ratio held as a floating-point number is not exact (1429 / 618 comes out a
// hair small), so a fitted side would lose its last pixel.
int scaled(int pixels, long long num, long long den)
{
    if (den == 0)
        return 0;
    return clampToInt((long long)pixels * num / den);
}

void touch(PlacementResult &r, PictureSlot s)
{
    if (!r.changed.contains(s))
        r.changed.append(s);
}

void refresh(PlacementResult &r, std::optional<PreviewPage> page)
{
    if (!page)
        return;
    if (!r.refreshPage)
        r.refreshPage = page;
    else if (*r.refreshPage != *page)
        r.refreshPage = PreviewPage::Shown;
}

// A change of surface s refreshes its page; a change that a link carried to
// the follower on the other page refreshes the page shown, whichever it is.
// A booklet page is on a sheet of its own format's: the editor finds it.
void refreshFor(PlacementResult &r)
{
    for (PictureSlot s : r.changed)
        refresh(r, s.isPage() ? PreviewPage::Shown : surfacePage(s.surface));
}

bool linkedLeader(const LabelDocument &doc, PictureSlot s)
{
    return !s.isPage() && isPictureLeader(s.surface) && pictureLinkOn(doc, s.surface);
}

// The follower takes the leader's picture and placement as they are.
void copyToFollower(LabelDocument &doc, PictureSlot leader, PlacementResult &r)
{
    const PicturePlacement &from = pic(doc, leader);
    PicturePlacement &to = pic(doc, followerOf(leader));
    to.fileName = from.fileName;
    to.bitmap = from.bitmap;
    to.bitmapReduction = from.bitmapReduction;
    to.sourceRect = from.sourceRect;
    to.pixelWidth = from.pixelWidth;
    to.pixelHeight = from.pixelHeight;
    to.printWidth = from.printWidth;
    to.printHeight = from.printHeight;
    to.posX = from.posX;
    to.posY = from.posY;
    touch(r, followerOf(leader));
}

// "幅合わせ" scales by Ws / pixelWidth, "高さ合わせ" by Hs / pixelHeight: the
// fitted side becomes exactly the surface's.
void fitSize(LabelDocument &doc, PictureSlot s, PictureSizing mode)
{
    PicturePlacement &p = pic(doc, s);
    long long num = 0, den = 0;
    if (mode == PictureSizing::FitWidth && p.pixelWidth != 0) {
        num = surfaceWidth(doc, s.surface);
        den = p.pixelWidth;
    } else if (mode == PictureSizing::FitHeight && p.pixelHeight != 0) {
        num = surfaceHeight(doc, s.surface);
        den = p.pixelHeight;
    } else {
        return;
    }
    p.printWidth = scaled(p.pixelWidth, num, den);
    p.printHeight = scaled(p.pixelHeight, num, den);
}

void align(LabelDocument &doc, PictureSlot s, PictureAlignment mode)
{
    PicturePlacement &p = pic(doc, s);
    const int ws = surfaceWidth(doc, s.surface);
    const int hs = surfaceHeight(doc, s.surface);
    switch (mode) {
    case PictureAlignment::Left:
        p.posX = 0;
        break;
    case PictureAlignment::CentreAcross:
        p.posX = clampToInt(((long long)ws - p.printWidth) / 2);
        break;
    case PictureAlignment::Right:
        p.posX = clampToInt((long long)ws - p.printWidth);
        break;
    case PictureAlignment::Top:
        p.posY = 0;
        break;
    case PictureAlignment::CentreDown:
        p.posY = clampToInt(((long long)hs - p.printHeight) / 2);
        break;
    case PictureAlignment::Bottom:
        p.posY = clampToInt((long long)hs - p.printHeight);
        break;
    case PictureAlignment::Custom:
        break;
    }
}

PrinterState stateOf(const LabelDocument &doc)
{
    PrinterState st;
    st.printerDpiX = doc.dpiX > 0 ? doc.dpiX : geom::kFallbackDpi;
    st.printerDpiY = doc.dpiY > 0 ? doc.dpiY : geom::kFallbackDpi;
    return st;
}

} // namespace

bool isPictureLeader(Surface s)
{
    return s == Surface::Top || s == Surface::Left;
}

bool pictureLinkOn(const LabelDocument &doc, Surface leader)
{
    if (leader == Surface::Top)
        return doc.bottom.pictureSameAsFront;
    if (leader == Surface::Left)
        return doc.right.pictureSameAsLeft;
    return false;
}

int surfaceWidth(const LabelDocument &doc, Surface s)
{
    if (doc.surfacePixels.topWidth == 0)
        return surfacePixelsAt(doc.dpiX, doc.dpiY, formatOf(doc)).width(s);
    return doc.surfacePixels.width(s);
}

int surfaceHeight(const LabelDocument &doc, Surface s)
{
    if (doc.surfacePixels.topWidth == 0)
        return surfacePixelsAt(doc.dpiX, doc.dpiY, formatOf(doc)).height(s);
    return doc.surfacePixels.height(s);
}

const PicturePlacement &shownPlacement(const LabelDocument &doc, PictureSlot s)
{
    static const PicturePlacement none;
    const PicturePlacement *p = pictureAt(doc, s);
    return p ? *p : none;
}

PlacementTexts placementTexts(const LabelDocument &doc, PictureSlot s)
{
    const PicturePlacement &p = shownPlacement(doc, s);
    const PrinterState st = stateOf(doc);
    auto mmX = [&](int v) { return formatMm(PixelsToMmX(v, st)); };
    auto mmY = [&](int v) { return formatMm(PixelsToMmY(v, st)); };
    PlacementTexts t;
    t.fileName = p.fileName;
    t.pixelWidth = QString::number(p.pixelWidth);
    t.pixelHeight = QString::number(p.pixelHeight);
    t.pixelWidthMm = mmX(p.pixelWidth);
    t.pixelHeightMm = mmY(p.pixelHeight);
    t.printWidth = QString::number(p.printWidth);
    t.printHeight = QString::number(p.printHeight);
    t.printWidthMm = mmX(p.printWidth);
    t.printHeightMm = mmY(p.printHeight);
    t.posX = QString::number(p.posX);
    t.posY = QString::number(p.posY);
    t.posXMm = mmX(p.posX);
    t.posYMm = mmY(p.posY);
    return t;
}

PlacementResult LoadSurfacePicture(
    LabelDocument &doc, PictureSlot s, const QString &fileName, MessageSink &messages)
{
    PlacementResult r;
    if (!exists(doc, s)) {
        r.ok = false;
        return r;
    }
    PicturePlacement &p = pic(doc, s);
    p.fileName = fileName;
    touch(r, s);
    // The picture is placed to cover the surface: it needs at least the
    // surface's reference pixels, and is held at the reduction that allows
    // (drawing reads it again should a later placement need more).
    const int ws = surfaceWidth(doc, s.surface);
    const int hs = surfaceHeight(doc, s.surface);
    QImage image;
    PictureReduction reduction;
    if (!LoadPictureFile(image, fileName, messages, QSize(ws, hs), reduction)) {
        r.ok = false;
        return r;
    }
    p.bitmap = std::move(image);
    p.bitmapReduction = reduction.factor;
    p.pixelWidth = reduction.fullSize.width();
    p.pixelHeight = reduction.fullSize.height();
    p.sourceRect = PixelRect { 0, 0, p.pixelWidth, p.pixelHeight };

    // Cover the whole surface, centred: the larger of the two ratios
    // Ws / pixelWidth and Hs / pixelHeight, compared and applied exactly.
    const bool byWidth = (long long)ws * p.pixelHeight >= (long long)hs * p.pixelWidth;
    const long long num = byWidth ? ws : hs;
    const long long den = byWidth ? p.pixelWidth : p.pixelHeight;
    p.printWidth = scaled(p.pixelWidth, num, den);
    p.printHeight = scaled(p.pixelHeight, num, den);
    p.posX = clampToInt(((long long)ws - p.printWidth) / 2);
    p.posY = clampToInt(((long long)hs - p.printHeight) / 2);

    if (linkedLeader(doc, s))
        copyToFollower(doc, s, r);
    return r;
}

// After a typed width or height: the size mode becomes "カスタム", and a
// linked follower takes both sizes.
static PlacementResult sizeTyped(LabelDocument &doc, PictureSlot s)
{
    PlacementResult r;
    PicturePlacement &p = pic(doc, s);
    p.sizeMode = PictureSizing::Custom;
    touch(r, s);
    if (linkedLeader(doc, s)) {
        PicturePlacement &f = pic(doc, followerOf(s));
        f.printWidth = p.printWidth;
        f.printHeight = p.printHeight;
        f.sizeMode = PictureSizing::Custom;
        touch(r, followerOf(s));
    }
    refreshFor(r);
    return r;
}

PlacementResult setPrintWidth(LabelDocument &doc, PictureSlot s, int value)
{
    if (!exists(doc, s))
        return {};
    PicturePlacement &p = pic(doc, s);
    p.printWidth = value;
    if (p.keepAspect && p.pixelWidth != 0)
        p.printHeight = scaled(p.pixelHeight, p.printWidth, p.pixelWidth);
    return sizeTyped(doc, s);
}

PlacementResult setPrintHeight(LabelDocument &doc, PictureSlot s, int value)
{
    if (!exists(doc, s))
        return {};
    PicturePlacement &p = pic(doc, s);
    p.printHeight = value;
    if (p.keepAspect && p.pixelHeight != 0)
        p.printWidth = scaled(p.pixelWidth, p.printHeight, p.pixelHeight);
    return sizeTyped(doc, s);
}

PlacementResult setPosX(LabelDocument &doc, PictureSlot s, int value)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    PicturePlacement &p = pic(doc, s);
    p.posX = value;
    p.alignMode = PictureAlignment::Custom;
    touch(r, s);
    if (linkedLeader(doc, s)) {
        PicturePlacement &f = pic(doc, followerOf(s));
        f.posX = value;
        f.alignMode = PictureAlignment::Custom;
        touch(r, followerOf(s));
    }
    refreshFor(r);
    return r;
}

PlacementResult setPosY(LabelDocument &doc, PictureSlot s, int value)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    PicturePlacement &p = pic(doc, s);
    p.posY = value;
    p.alignMode = PictureAlignment::Custom;
    touch(r, s);
    if (linkedLeader(doc, s)) {
        PicturePlacement &f = pic(doc, followerOf(s));
        f.posY = value;
        f.alignMode = PictureAlignment::Custom;
        touch(r, followerOf(s));
    }
    refreshFor(r);
    return r;
}

PlacementResult applySizeMode(LabelDocument &doc, PictureSlot s, PictureSizing mode)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    pic(doc, s).sizeMode = mode;
    fitSize(doc, s, mode);
    touch(r, s);
    if (linkedLeader(doc, s)) {
        const Surface f = followerOf(s);
        pic(doc, f).sizeMode = mode;
        fitSize(doc, f, mode);
        touch(r, f);
    }
    if (mode != PictureSizing::Custom)
        refreshFor(r);
    return r;
}

PlacementResult refitPicture(LabelDocument &doc, PictureSlot s)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    const PicturePlacement &p = pic(doc, s);
    if (p.sizeMode == PictureSizing::Custom)
        return r;
    const int width = p.printWidth, height = p.printHeight;
    fitSize(doc, s, p.sizeMode);
    if (p.printWidth != width || p.printHeight != height) {
        touch(r, s);
        refreshFor(r);
    }
    return r;
}

PlacementResult applyAlignMode(LabelDocument &doc, PictureSlot s, PictureAlignment mode)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    pic(doc, s).alignMode = mode;
    align(doc, s, mode);
    touch(r, s);
    if (linkedLeader(doc, s)) {
        const Surface f = followerOf(s);
        pic(doc, f).alignMode = mode;
        align(doc, f, mode);
        touch(r, f);
    }
    if (mode != PictureAlignment::Custom)
        refreshFor(r);
    return r;
}

PlacementResult setKeepAspect(LabelDocument &doc, PictureSlot s, bool on)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    pic(doc, s).keepAspect = on;
    touch(r, s);
    if (s == Surface::Top && pictureLinkOn(doc, Surface::Top)) {
        pic(doc, Surface::Bottom).keepAspect = on;
        touch(r, Surface::Bottom);
    }
    return r;
}

PlacementResult setPictureLink(LabelDocument &doc, Surface leader, bool on)
{
    PlacementResult r;
    if (!isPictureLeader(leader))
        return r;
    if (leader == Surface::Top)
        doc.bottom.pictureSameAsFront = on;
    else
        doc.right.pictureSameAsLeft = on;
    const Surface f = followerOf(leader);
    if (on)
        copyToFollower(doc, leader, r);
    touch(r, f);
    refresh(r, PreviewPage::Back);
    return r;
}

PlacementResult setPictureUse(LabelDocument &doc, PictureSlot s, bool on)
{
    if (!exists(doc, s))
        return {};
    PlacementResult r;
    pic(doc, s).use = on;
    touch(r, s);
    refreshFor(r);
    // The back picture that follows the cover is drawn only while the
    // cover's is switched on.
    if (s == Surface::Top && doc.bottom.pictureSameAsFront) {
        touch(r, Surface::Bottom);
        refresh(r, PreviewPage::Back);
    }
    return r;
}

} // namespace cw

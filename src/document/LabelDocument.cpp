#include "document/LabelDocument.h"

#include <algorithm>
#include <limits>

#include "base/BookletFormat.h"
#include "base/DiscStock.h"

namespace cw {

LabelDocument::LabelDocument()
{
    // Spine titles start at the top of the spine, label titles in the centre.
    left.title.posMode = TitlePosition::Top;
    right.title.posMode = TitlePosition::Top;
    // The disc's subtitle stands on the bottom arc, across from the title.
    disc.subtitle.arc.place = DiscTextPlace::BottomArc;
}

std::optional<DiscTextPlace> discTextPlaceFrom(int number)
{
    if (number < 0 || number > 2)
        return std::nullopt;
    return DiscTextPlace(number);
}

TitleSettings &LabelDocument::discText(DiscText which)
{
    return which == DiscText::Title ? disc.title : disc.subtitle;
}

const TitleSettings &LabelDocument::discText(DiscText which) const
{
    return which == DiscText::Title ? disc.title : disc.subtitle;
}

SurfaceSettings &LabelDocument::surface(Surface s)
{
    switch (s) {
    case Surface::Top:
        return top;
    case Surface::Bottom:
        return bottom;
    case Surface::Left:
        return left;
    case Surface::Right:
        return right;
    case Surface::Disc:
        return disc;
    }
    return top;
}

const SurfaceSettings &LabelDocument::surface(Surface s) const
{
    return const_cast<LabelDocument *>(this)->surface(s);
}

static bool sameTitle(const TitleSettings &a, const TitleSettings &b)
{
    return a.use == b.use && a.text == b.text && a.posMode == b.posMode
        && a.customXUse == b.customXUse && a.customX == b.customX && a.customYUse == b.customYUse
        && a.customY == b.customY && a.offset == b.offset && a.font == b.font && a.arc == b.arc;
}

bool samePicturePlacement(const PicturePlacement &a, const PicturePlacement &b)
{
    return a.use == b.use && a.fileName == b.fileName && a.pixelWidth == b.pixelWidth
        && a.pixelHeight == b.pixelHeight && a.printWidth == b.printWidth
        && a.printHeight == b.printHeight && a.posX == b.posX && a.posY == b.posY
        && a.sizeMode == b.sizeMode && a.alignMode == b.alignMode && a.keepAspect == b.keepAspect;
}

bool sameSurfaceSettings(const SurfaceSettings &a, const SurfaceSettings &b)
{
    return sameTitle(a.title, b.title) && samePicturePlacement(a.picture, b.picture)
        && a.backgroundColor1 == b.backgroundColor1 && a.backgroundColor2 == b.backgroundColor2
        && a.useList == b.useList && a.useCoverPrints == b.useCoverPrints
        && a.useInsidePrints == b.useInsidePrints && a.usePrints == b.usePrints
        && a.titleSameAsFront == b.titleSameAsFront && a.titleSameAsLeft == b.titleSameAsLeft
        && a.pictureSameAsFront == b.pictureSameAsFront
        && a.pictureSameAsLeft == b.pictureSameAsLeft && a.spineText == b.spineText
        && sameTitle(a.subtitle, b.subtitle);
}

bool usesDiscFace(const LabelDocument &doc)
{
    static const LabelDocument fresh;
    return !sameSurfaceSettings(doc.disc, fresh.disc)
        || !(doc.listLayout[2] == fresh.listLayout[2]) || !doc.discPrints.isEmpty();
}

DiscLayout::DiscLayout()
{
    const QVector<LabelSheetProduct> &sheets = labelSheets();
    if (sheets.isEmpty())
        return;
    const LabelSheetProduct &sheet = sheets.front();
    outerMm = sheet.outerMm;
    holeMm = sheet.holeMm;
    paperWidthMm = sheet.widthMm;
    paperHeightMm = sheet.heightMm;
    centresMm = sheet.centresMm;
}

const CaseFormat &caseFormatOf(const LabelDocument &doc)
{
    const CaseFormat *format = findCaseFormat(doc.caseFormat);
    if (!format)
        return jewelCaseFormat();
    return format->custom ? customCaseFormat(*format, doc.caseSize) : *format;
}

const CaseFormat &formatOf(const LabelDocument &doc)
{
    const CaseFormat &format = caseFormatOf(doc);
    return doc.bookletPages > 2 ? bookletCaseFormat(format, doc.bookletPages) : format;
}

bool pageHasContent(const BookletPage &page)
{
    static const BookletPage fresh;
    return page.background != fresh.background || page.usePrints || !page.prints.isEmpty()
        || page.useList || !(page.listLayout == fresh.listLayout)
        || !samePicturePlacement(page.picture, fresh.picture);
}

PicturePlacement *pictureAt(LabelDocument &doc, PictureSlot slot)
{
    if (!slot.isPage())
        return &doc.surface(slot.surface).picture;
    if (slot.page < 2 || slot.page - 2 >= doc.pages.size())
        return nullptr;
    return &doc.pages[slot.page - 2].picture;
}

const PicturePlacement *pictureAt(const LabelDocument &doc, PictureSlot slot)
{
    if (!slot.isPage())
        return &doc.surface(slot.surface).picture;
    if (slot.page < 2 || slot.page - 2 >= doc.pages.size())
        return nullptr;
    return &doc.pages.at(slot.page - 2).picture;
}

int rescaleValue(int value, int oldDpi, int newDpi)
{
    if (oldDpi == 0)
        return value;
    long long v = (long long)value * newDpi / oldDpi;
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

void ComputeSurfacePixels(LabelDocument &doc, const PrinterState &state)
{
    doc.dpiX = state.printerDpiX;
    doc.dpiY = state.printerDpiY;
    doc.surfacePixels = surfacePixelsAt(doc.dpiX, doc.dpiY, formatOf(doc));
}

TitlePosition titlePositionFrom(int number)
{
    return TitlePosition(std::clamp(number, 0, 3));
}

std::optional<PictureSizing> pictureSizingFrom(int number)
{
    if (number < 0 || number > 2)
        return std::nullopt;
    return PictureSizing(number);
}

std::optional<PictureAlignment> pictureAlignmentFrom(int number)
{
    if (number < 0 || number > 6)
        return std::nullopt;
    return PictureAlignment(number);
}

std::optional<SpineText> spineTextFrom(int number)
{
    if (number < 0 || number > 2)
        return std::nullopt;
    return SpineText(number);
}

SpineText spineTextRun(const CasePanel &panel, SpineText chosen, const PrintOptions &options)
{
    if (chosen != SpineText::CaseOwn)
        return chosen;
    return panel.titleRun == TitleRun::Up && !options.spinesSameDirection
        ? SpineText::BottomToTop
        : SpineText::TopToBottom;
}

std::optional<SpineText> shownSpineText(
    const LabelDocument &doc, Surface s, const PrintOptions &options)
{
    if (!hasTitleOffset(s))
        return std::nullopt;
    // A spine the case lacks keeps its value for the jewel case, which has it.
    const CasePanel *panel = formatOf(doc).panel(surfaceRole(s));
    if (!panel)
        panel = jewelCaseFormat().panel(surfaceRole(s));
    return spineTextRun(*panel, doc.surface(s).spineText, options);
}

} // namespace cw

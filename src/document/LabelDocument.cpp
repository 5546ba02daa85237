#include "document/LabelDocument.h"

#include <algorithm>
#include <limits>

namespace cw {

LabelDocument::LabelDocument()
{
    // Spine titles start at the top of the spine, label titles in the centre.
    left.title.posMode = TitlePosition::Top;
    right.title.posMode = TitlePosition::Top;
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
    }
    return top;
}

const SurfaceSettings &LabelDocument::surface(Surface s) const
{
    return const_cast<LabelDocument *>(this)->surface(s);
}

const CaseFormat &formatOf(const LabelDocument &doc)
{
    const CaseFormat *format = findCaseFormat(doc.caseFormat);
    if (!format)
        return jewelCaseFormat();
    return format->custom ? customCaseFormat(*format, doc.caseSize) : *format;
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

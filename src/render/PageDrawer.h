#pragma once

#include <functional>
#include <type_traits>

#include "base/CaseFormat.h"
#include "base/PreviewPage.h"
#include "canvas/LabelCanvas.h"

namespace cw {

// Draws a page (a sheet of the document's case format, by index) of the
// document onto a canvas at a target resolution and printable area, and
// tells the case format whose sheets it draws. The renderers are bound to it
// by the caller; without a format it draws the jewel case's two sheets.
class PageDrawer
{
public:
    using Draw = std::function<void(LabelCanvas &canvas, PreviewPage page, int targetDpiX,
        int targetDpiY, int pageWidth, int pageHeight)>;
    // The format of the document drawn, asked at every use: it may change.
    using Format = std::function<const CaseFormat &()>;

    PageDrawer() = default;
    template <class F,
        class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, PageDrawer>
            && std::is_constructible_v<Draw, F>>>
    PageDrawer(F draw)
        : m_draw(std::move(draw))
    { }
    // How many of the format's first sheets are shown (the others are
    // printed only with an option that is off), asked at every use.
    using Shown = std::function<int()>;

    // Whether the disc face's page is offered besides the sheets, asked at
    // every use.
    using DiscShown = std::function<bool()>;

    PageDrawer(Draw draw, Format format, Shown shown = {}, DiscShown disc = {})
        : m_draw(std::move(draw))
        , m_format(std::move(format))
        , m_shown(std::move(shown))
        , m_disc(std::move(disc))
    { }

    void operator()(LabelCanvas &canvas, PreviewPage page, int targetDpiX, int targetDpiY,
        int pageWidth, int pageHeight) const
    {
        m_draw(canvas, page, targetDpiX, targetDpiY, pageWidth, pageHeight);
    }
    explicit operator bool() const { return bool(m_draw); }
    const CaseFormat &format() const { return m_format ? m_format() : jewelCaseFormat(); }
    // The sheets the preview offers: unless told, all of the format's.
    int shownSheetCount() const { return m_shown ? m_shown() : int(format().sheets.size()); }
    // Whether the disc page is offered: unless told, it is not.
    bool discShown() const { return m_disc && m_disc(); }
    // Whether a page is one the preview may show now.
    bool offers(PreviewPage page) const
    {
        return page == PreviewPage::Disc ? discShown()
                                         : int(page) >= 0 && int(page) < shownSheetCount();
    }

private:
    Draw m_draw;
    Format m_format;
    Shown m_shown;
    DiscShown m_disc;
};

} // namespace cw

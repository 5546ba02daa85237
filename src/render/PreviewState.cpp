#include "render/PreviewState.h"

#include "base/Units.h"

#include <algorithm>
#include <cmath>

namespace cw {

QSize PreviewState::bitmapSize(int zoom, const CaseFormat &format)
{
    const int dpi = kZoomDpi[zoom < 0 ? 0 : (zoom > 2 ? 2 : zoom)];
    return pageSizeAt(dpi, dpi, format);
}

QSize PreviewState::pageSizeAt(int dpiX, int dpiY, const CaseFormat &format)
{
    return QSize(int(std::trunc(dpiX * geom::kInchPerMm * format.previewWidthMm)),
        int(std::trunc(dpiY * geom::kInchPerMm * format.previewHeightMm)));
}

QSize PreviewState::windowSize(const CaseFormat &format)
{
    const QSize page = bitmapSize(0, format);
    return QSize(std::max(632, page.width() + 16), std::max(449, 32 + page.height() + 16));
}

bool PreviewState::showPage(PreviewPage page)
{
    if (page == m_page)
        return false;
    m_page = page;
    return true;
}

bool PreviewState::keepWithin(int sheetCount, bool discShown)
{
    if (m_page == PreviewPage::Disc ? discShown
                                    : int(m_page) < sheetCount || m_page == PreviewPage::Front)
        return false;
    m_page = PreviewPage::Front;
    return true;
}

PreviewPage PreviewState::changedPage(PreviewPage page, const CaseFormat &format)
{
    // The disc has a page of its own in every case.
    if (page == PreviewPage::Disc)
        return page;
    for (PanelRole role : { PanelRole::Cover, PanelRole::Inside, PanelRole::Back,
             PanelRole::SpineLeft, PanelRole::SpineRight }) {
        const int jewelPage = role == PanelRole::Cover || role == PanelRole::Inside ? 0 : 1;
        const int sheet = format.sheetOf(role);
        if (sheet >= 0 && sheet != jewelPage)
            return PreviewPage::Shown;
    }
    return page;
}

bool PreviewState::requestRefresh(PreviewPage page)
{
    if (page == PreviewPage::Shown)
        page = m_page;
    if (page != m_page)
        return false;
    if (m_visible)
        return true;
    m_stale = true;
    return false;
}

bool PreviewState::windowShown()
{
    m_visible = true;
    if (!m_stale)
        return false;
    m_stale = false;
    return true;
}

bool PreviewState::zoomIn()
{
    if (m_zoom >= 2)
        return false;
    ++m_zoom;
    return true;
}

bool PreviewState::zoomOut()
{
    if (m_zoom <= 0)
        return false;
    --m_zoom;
    return true;
}

} // namespace cw

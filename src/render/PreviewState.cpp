#include "render/PreviewState.h"

#include "base/UiText.h"
#include "base/Units.h"
#include "document/StepLabels.h"

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

QString PreviewState::pageCaption(PreviewPage page, const CaseFormat &format)
{
    if (page == PreviewPage::Disc)
        return UiText::tr("ディスク");
    const int sheet = int(page);
    if (format.frontSheets > 1 && sheet >= 0 && sheet < format.frontSheets
        && sheet < format.sheets.size()) {
        int first = 0, last = 0;
        for (const CasePanel &p : format.sheets[sheet].panels) {
            if (p.page <= 0)
                continue;
            first = first ? std::min(first, p.page) : p.page;
            last = std::max(last, p.page);
        }
        if (first > 0)
            return first == last ? bookletPageName(first)
                                 : UiText::tr("%1-%2ページ").arg(first).arg(last);
    }
    return page == PreviewPage::Front ? UiText::tr("表レーベル") : UiText::tr("裏レーベル");
}

std::optional<PreviewPage> PreviewState::turnedPage(
    PreviewPage shown, const CaseFormat &format, int step)
{
    const int sheet = int(shown);
    const int to = sheet + step;
    if (format.frontSheets <= 1 || sheet < 0 || sheet >= format.frontSheets || to < 0
        || to >= format.frontSheets)
        return std::nullopt;
    return PreviewPage(to);
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

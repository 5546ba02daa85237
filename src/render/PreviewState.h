#pragma once

#include <QSize>
#include <QString>
#include <optional>

#include "base/CaseFormat.h"
#include "base/PreviewPage.h"

namespace cw {

// The preview's page, zoom and staleness, and the decisions that follow from
// them: which requests redraw what, and when. The window only shows the bitmap.
class PreviewState
{
public:
    // The preview resolutions for the three zoom steps.
    static constexpr int kZoomDpi[3] = { 48, 72, 96 };
    // The format's preview page at a zoom step's resolution:
    // trunc(dpi * (1/25.399) * width mm) x trunc(dpi * (1/25.399) * height mm).
    static QSize bitmapSize(int zoom, const CaseFormat &format = jewelCaseFormat());
    // The format's preview page in pixels of dpiX x dpiY, by the same rule.
    static QSize pageSizeAt(int dpiX, int dpiY, const CaseFormat &format = jewelCaseFormat());
    // The 96-dpi page the renderers draw the preview on.
    static QSize pageSize(const CaseFormat &format = jewelCaseFormat())
    {
        return bitmapSize(2, format);
    }

    // The preview window's size: the jewel case's 632 x 449, or more, to hold
    // a larger format's page whole at the smallest zoom below the buttons'
    // 32-pixel row, with 16 pixels to spare on the right and at the bottom.
    static QSize windowSize(const CaseFormat &format);

    // A booklet shown as it is read has its pages on the format's first
    // sheets (frontSheets of them). The caption of such a sheet names its
    // pages ("1ページ目", "2-3ページ"); any other page is named as before:
    // "表レーベル", "裏レーベル", "ディスク".
    static QString pageCaption(PreviewPage page, const CaseFormat &format);
    // The booklet's sheet `step` sheets on from the shown one (-1: back, 1:
    // on), kept among the booklet's sheets; nothing when there is none there
    // or the shown page is none of them.
    static std::optional<PreviewPage> turnedPage(
        PreviewPage shown, const CaseFormat &format, int step);

    PreviewPage previewPage() const { return m_page; }
    int zoom() const { return m_zoom; }
    bool stale() const { return m_stale; }
    bool visible() const { return m_visible; }
    bool canZoomIn() const { return m_zoom < 2; }
    bool canZoomOut() const { return m_zoom > 0; }

    // Showing a page: true when it has to be drawn (it is not already shown).
    bool showPage(PreviewPage page);
    // The document's case has this many sheets: a page it lacks (the back
    // page of a case without a back sheet) cannot stay shown, and the first
    // sheet is shown instead. True when the shown page changed.
    // The disc's page stays while it is offered (`discShown`).
    bool keepWithin(int sheetCount, bool discShown = false);
    // The page a change request names, for a format's sheets. Edits name the
    // jewel case's page of what they change (the cover and inside faces: the
    // front; the back label and the spines: the back). A format that puts a
    // surface on another sheet than the jewel case does (a wrap: the back
    // label beside the cover, the inside face on the second sheet) cannot
    // tell which of its sheets changed, and any change names its shown page.
    static PreviewPage changedPage(PreviewPage page, const CaseFormat &format);
    // A document change on a page (Shown: whichever page is shown):
    // true when the shown page has to be redrawn now. While hidden, a change
    // of the shown page marks it stale instead.
    bool requestRefresh(PreviewPage page);
    // The window is shown: true when a stale page has to be redrawn.
    bool windowShown();
    void windowHidden() { m_visible = false; }
    // Zoom steps: true when the zoom changed (the shown page is then redrawn
    // through requestRefresh(PreviewPage::Shown)).
    bool zoomIn();
    bool zoomOut();

private:
    PreviewPage m_page = PreviewPage::Front;
    int m_zoom = 0;
    bool m_stale = true;
    bool m_visible = false;
};

} // namespace cw

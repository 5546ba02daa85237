#include "render/Geometry.h"

#include <algorithm>
#include <cmath>

namespace cw {

using namespace geom;

PageScale pageScale(int targetDpiX, int targetDpiY)
{
    PageScale s;
    s.kx = targetDpiX * kInchPerMm;
    s.ky = targetDpiY * kInchPerMm;
    s.lineX = kFrameLineMm * s.kx;
    s.lineY = kFrameLineMm * s.ky;
    if (s.lineX < 1.0)
        s.lineX = 1.0;
    if (s.lineY < 1.0)
        s.lineY = 1.0;
    return s;
}

namespace {

// The pixel offset of every panel edge along one axis: the edges sorted from
// 0, each one the previous one's offset plus the truncated distance between
// them. Panels that share an edge therefore meet without a gap or overlap.
class EdgePixels
{
public:
    EdgePixels(QVector<double> edges, double k)
    {
        edges.append(0.0);
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        m_edges = edges;
        m_pixels.append(0);
        for (int i = 1; i < edges.size(); ++i)
            m_pixels.append(m_pixels.last() + mmToPixels(edges[i] - edges[i - 1], k));
    }
    int at(double mm) const { return m_pixels[int(m_edges.indexOf(mm))]; }
    double last() const { return m_edges.last(); }
    int total() const { return m_pixels.last(); }
    // The pixel offsets strictly between the first and the last edge.
    QVector<int> inner() const { return m_pixels.mid(1, m_pixels.size() - 2); }

private:
    QVector<double> m_edges;
    QVector<int> m_pixels;
};

} // namespace

SheetGeometry computeSheetGeometry(
    const CaseSheet &sheet, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    QVector<double> xs, ys;
    for (const CasePanel &p : sheet.panels) {
        xs << p.xMm << p.xMm + p.widthMm;
        ys << p.yMm << p.yMm + p.heightMm;
    }
    const EdgePixels across(xs, s.kx), down(ys, s.ky);

    SheetGeometry g;
    // Centred by the panels' own pixels, or by the sheet's size in pixels.
    const int blockWidth
        = sheet.centreBySheet ? mmToPixels(sheet.widthMm, s.kx) : across.total();
    const int blockHeight
        = sheet.centreBySheet ? mmToPixels(sheet.heightMm, s.ky) : down.total();
    g.L = (pageWidth - blockWidth) / 2;
    g.T = (pageHeight - blockHeight) / 2;
    g.R = g.L + across.total() - (sheet.rightEdgeBeyond ? 0 : 1);
    g.B = g.T + down.total() - 1;
    for (const CasePanel &p : sheet.panels) {
        PanelPixels px;
        px.left = g.L + across.at(p.xMm);
        px.top = g.T + down.at(p.yMm);
        const double right = p.xMm + p.widthMm, bottom = p.yMm + p.heightMm;
        const int rightEdge = g.L + across.at(right), bottomEdge = g.T + down.at(bottom);
        const bool atRight = right == across.last(), atBottom = bottom == down.last();
        px.right = atRight ? g.R : rightEdge;
        px.trimRight = atRight ? g.R + 1 : rightEdge;
        px.bottom = atBottom ? g.B : bottomEdge;
        px.trimBottom = atBottom ? g.B + 1 : bottomEdge;
        px.width = rightEdge - px.left;
        g.panels << px;
    }
    for (int x : across.inner())
        g.folds << g.L + x;
    return g;
}

FrontPageGeometry computeFrontPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    const CaseFormat &jewel = jewelCaseFormat();
    const CaseSheet &sheet = jewel.sheets[jewel.sheetOf(PanelRole::Cover)];
    const SheetGeometry sg
        = computeSheetGeometry(sheet, targetDpiX, targetDpiY, pageWidth, pageHeight);
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    FrontPageGeometry g;
    g.W = mmToPixels(jewel.panel(PanelRole::Cover)->widthMm, s.kx);
    g.H = sg.B - sg.T + 1;
    g.L = sg.L;
    g.T = sg.T;
    g.R = sg.R;
    g.B = sg.B;
    return g;
}

BackPageGeometry computeBackPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    const CaseFormat &jewel = jewelCaseFormat();
    const CaseSheet &sheet = jewel.sheets[jewel.sheetOf(PanelRole::Back)];
    const SheetGeometry sg
        = computeSheetGeometry(sheet, targetDpiX, targetDpiY, pageWidth, pageHeight);
    BackPageGeometry g;
    g.H = sg.B - sg.T + 1;
    g.T = sg.T;
    g.B = sg.B;
    g.L = sg.L;
    g.X1 = sg.folds.value(0);
    g.X2 = sg.folds.value(1);
    g.X3 = sg.R;
    return g;
}

namespace {
// The jewel case's back sheet, or its front sheet.
const CaseSheet &jewelSheet(bool backPage)
{
    const CaseFormat &jewel = jewelCaseFormat();
    return jewel.sheets[jewel.sheetOf(backPage ? PanelRole::Back : PanelRole::Cover)];
}

// The marks along one axis with `room` pixels beyond the sheet; `fits` set
// to false when they do not fit.
MarkSpan axisMarks(const CaseSheet &sheet, double k, int bleedMm, int room, bool &fits)
{
    const MarkSpan whole { mmToPixels(kTrimMarkGapMm, k), mmToPixels(kTrimMarkReachMm, k) };
    if (room >= whole.to)
        return whole;
    if (sheet.wholeMarks) {
        fits = false;
        return whole;
    }
    const MarkSpan shortened { mmToPixels(bleedMm + kShortMarkGapMm, k), room };
    if (shortened.to - shortened.from >= mmToPixels(kShortMarkLengthMm, k))
        return shortened;
    // Too little room: the sheet is not printed, and drawn as it would be
    // on a page with room (its marks run off the page).
    fits = false;
    return whole;
}
} // namespace

SheetMarks sheetMarks(const CaseSheet &sheet, const SheetGeometry &g, const PageScale &s,
    int bleedMm, int pageWidth, int pageHeight)
{
    SheetMarks m;
    m.fits = true;
    const int roomX = std::min(g.L, pageWidth - 1 - g.R);
    const int roomY = std::min(g.T, pageHeight - 1 - g.B);
    m.across = axisMarks(sheet, s.kx, bleedMm, roomX, m.fits);
    m.down = axisMarks(sheet, s.ky, bleedMm, roomY, m.fits);
    return m;
}

bool pageFitsWithMarks(const CaseSheet &sheet, int bleedMm, int targetDpiX, int targetDpiY,
    int pageWidth, int pageHeight)
{
    const SheetGeometry g
        = computeSheetGeometry(sheet, targetDpiX, targetDpiY, pageWidth, pageHeight);
    return sheetMarks(sheet, g, pageScale(targetDpiX, targetDpiY), bleedMm, pageWidth, pageHeight)
        .fits;
}

bool pageFitsWithMarks(bool backPage, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    return pageFitsWithMarks(
        jewelSheet(backPage), 0, targetDpiX, targetDpiY, pageWidth, pageHeight);
}

PageExtent pageExtentWithMarks(const CaseSheet &sheet, int bleedMm, int targetDpiX, int targetDpiY)
{
    const PageScale s = pageScale(targetDpiX, targetDpiY);
    // Each side of the sheet needs this much: whole marks, or the bleed and
    // shortened marks.
    const double sideMm
        = sheet.wholeMarks ? kTrimMarkReachMm : bleedMm + kShortMarkGapMm + kShortMarkLengthMm;
    const int sideX = mmToPixels(sideMm, s.kx);
    const int sideY = mmToPixels(sideMm, s.ky);
    PageExtent e;
    e.widthMm = sheet.widthMm + 2 * sideMm;
    e.heightMm = sheet.heightMm + 2 * sideMm;
    // The block's pixels and the marks on both sides come close; the
    // renderers' centring decides the last pixels, so they are found by
    // asking the rule itself from just below that size.
    const SheetGeometry g = computeSheetGeometry(sheet, targetDpiX, targetDpiY, 0, 0);
    const int blockWidth
        = sheet.centreBySheet ? mmToPixels(sheet.widthMm, s.kx) : g.R - g.L + 1;
    const int blockHeight = g.B - g.T + 1;
    const int tall = blockHeight + 2 * mmToPixels(kTrimMarkReachMm, s.ky) + 8;
    auto fits = [&](int width, int height) {
        return pageFitsWithMarks(sheet, bleedMm, targetDpiX, targetDpiY, width, height);
    };
    e.width = std::max(0, blockWidth + 2 * sideX - 8);
    while (!fits(e.width, tall))
        ++e.width;
    e.height = std::max(0, blockHeight + 2 * sideY - 8);
    while (!fits(e.width, e.height))
        ++e.height;
    return e;
}

PageExtent pageExtentWithMarks(bool backPage, int targetDpiX, int targetDpiY)
{
    return pageExtentWithMarks(jewelSheet(backPage), 0, targetDpiX, targetDpiY);
}

} // namespace cw

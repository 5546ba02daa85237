#include "render/DrawSheet.h"

#include <cmath>

#include "canvas/LabelCanvas.h"
#include "document/BookletPages.h"
#include "prints/PrintsItems.h"
#include "render/DrawFreePrints.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/PageParts.h"

#include "tracklist/DrawTrackList.h"

namespace cw {

using namespace pageparts;

namespace {

bool isSpine(PanelRole role)
{
    return role == PanelRole::SpineLeft || role == PanelRole::SpineRight;
}

// The panel that carries its surface's picture and title: every panel but
// the inside face, which shares the cover's surface.
bool ownsSurface(PanelRole role)
{
    return surfaceRole(panelSurface(role)) == role;
}

// The free prints placed on a panel, and the switch that prints them.
struct PanelPrints
{
    QList<TPrintsData> *prints = nullptr;
    bool use = false;
    int face = 0; // the index the prints' parts are recorded under
};

// A booklet's inner page on a page panel; null for any other panel, or a
// page the document lacks.
BookletPage *innerPage(LabelDocument &doc, const CasePanel &p)
{
    if (p.role != PanelRole::Page || p.page < 2 || p.page - 2 >= doc.pages.size())
        return nullptr;
    return &doc.pages[p.page - 2];
}

PanelPrints panelPrints(LabelDocument &doc, const CasePanel &panel)
{
    switch (panel.role) {
    case PanelRole::Cover:
        return { &doc.coverPrints, doc.top.useCoverPrints, 0 };
    case PanelRole::Inside:
        return { &doc.insidePrints, doc.top.useInsidePrints, 1 };
    case PanelRole::Back:
        return { &doc.backPrints, doc.bottom.usePrints, 2 };
    case PanelRole::Page:
        if (BookletPage *page = innerPage(doc, panel))
            return { &page->prints, page->usePrints, int(pagePrintsList(panel.page)) };
        return {};
    default:
        return {};
    }
}

class SheetDrawer
{
public:
    SheetDrawer(LabelCanvas &canvas, LabelDocument &doc, const CaseFormat &format,
        const CaseSheet &sheet, const PrintOptions &options, int targetDpiX, int targetDpiY,
        int pageWidth, int pageHeight, PictureFileReader &files)
        : canvas(canvas)
        , doc(doc)
        , format(format)
        , sheet(sheet)
        , options(options)
        , s(pageScale(targetDpiX, targetDpiY))
        , g(computeSheetGeometry(sheet, targetDpiX, targetDpiY, pageWidth, pageHeight))
        , marks(sheetMarks(sheet, g, s, options.bleedMm, pageWidth, pageHeight))
        , scale { doc.dpiX, doc.dpiY, targetDpiX, targetDpiY }
        , files(files)
    {
        bleeds = options.bleedMm > 0;
        for (int i = 0; i < sheet.panels.size(); ++i) {
            const CasePanel &p = sheet.panels[i];
            const PanelPixels &px = g.panels[i];
            bleed << surfaceBleed(s, options.bleedMm, px.left, px.top, px.trimRight,
                px.trimBottom, p.outer.left, p.outer.top, p.outer.right, p.outer.bottom);
        }
    }

    void draw()
    {
        // Each layer goes over the panels in the sheet's order; pictures and
        // titles draw the faces' before the spines'.
        forPanels(&SheetDrawer::background);
        blackPenAndBrush(canvas);
        forFacesThenSpines(&SheetDrawer::picture);
        forPanels(&SheetDrawer::freePrints);
        forPanels(&SheetDrawer::trackList);
        forFacesThenSpines(&SheetDrawer::title);
        frame();
    }

private:
    // The layers pass blank panels by: nothing but the frame is drawn there.
    using Layer = void (SheetDrawer::*)(int);
    void forPanels(Layer layer)
    {
        for (int i = 0; i < sheet.panels.size(); ++i)
            if (sheet.panels[i].role != PanelRole::Blank)
                (this->*layer)(i);
    }
    void forFacesThenSpines(Layer layer)
    {
        for (int i = 0; i < sheet.panels.size(); ++i)
            if (!isSpine(sheet.panels[i].role) && sheet.panels[i].role != PanelRole::Blank)
                (this->*layer)(i);
        for (int i = 0; i < sheet.panels.size(); ++i)
            if (isSpine(sheet.panels[i].role))
                (this->*layer)(i);
    }

    SurfaceSettings &settingsOf(const CasePanel &p) const
    {
        return doc.surface(panelSurface(p.role));
    }
    // The surface of the panel `id` of this format names.
    Surface followedSurface(const QString &id) const
    {
        for (const CaseSheet &other : format.sheets)
            for (const CasePanel &p : other.panels)
                if (p.id == id)
                    return panelSurface(p.role);
        return Surface::Top;
    }
    // A panel's picture or title that follows another surface's is not
    // printed while the one it follows is switched off. Following the
    // cover is switched by "same as front", following the left spine by
    // "same as left".
    bool followedOn(const SurfaceSettings &own, const QString &id, bool title) const
    {
        const Surface followed = followedSurface(id);
        const bool follows = followed == Surface::Left
            ? (title ? own.titleSameAsLeft : own.pictureSameAsLeft)
            : (title ? own.titleSameAsFront : own.pictureSameAsFront);
        const SurfaceSettings &other = doc.surface(followed);
        return !follows || (title ? other.title.use : other.picture.use);
    }
    int refWidth(const CasePanel &p) const
    {
        return int(std::trunc(doc.dpiX * geom::kInchPerMm * p.widthMm));
    }
    int refHeight(const CasePanel &p) const
    {
        return int(std::trunc(doc.dpiY * geom::kInchPerMm * p.heightMm));
    }
    const SurfaceBleed *bleedOf(int i) const { return bleeds ? &bleed[i] : nullptr; }

    void background(int i)
    {
        const CasePanel &p = sheet.panels[i];
        const SurfaceSettings &own = settingsOf(p);
        // The inside face has its own colour on the cover's surface; a
        // booklet's page its own.
        const BookletPage *page = innerPage(doc, p);
        const ColorRef color = page ? page->background
            : p.role == PanelRole::Inside ? own.backgroundColor2
                                          : own.backgroundColor1;
        const PanelPixels &px = g.panels[i];
        if (bleeds)
            fillBled(canvas, color, bleed[i]);
        else
            fill(canvas, color, px.left, px.top, px.right, px.bottom);
    }

    void picture(int i)
    {
        const CasePanel &p = sheet.panels[i];
        if (BookletPage *page = innerPage(doc, p)) {
            // A booklet page's picture, placed as a face's.
            if (!page->picture.use || page->picture.fileName.isEmpty())
                return;
            const PanelPixels &px = g.panels[i];
            canvas.BeginPart(PagePart { PartKind::Picture,
                pictureOwner(PictureSlot::ofPage(p.page)), -1, QPoint(px.left, px.top) });
            DrawSurfacePicture(canvas, PictureRef::of(page->picture), refWidth(p), refHeight(p),
                scale, px.left, px.top, files, bleedOf(i));
            canvas.EndPart();
            return;
        }
        if (!ownsSurface(p.role))
            return;
        SurfaceSettings &own = settingsOf(p);
        // A spine's picture counts once it has a size, a face's once it has a file.
        const bool placed = isSpine(p.role) ? own.picture.pixelWidth != 0
                                            : !own.picture.fileName.isEmpty();
        if (!own.picture.use || !placed
            || (!p.pictureFollows.isEmpty() && !followedOn(own, p.pictureFollows, false)))
            return;
        const PanelPixels &px = g.panels[i];
        canvas.BeginPart(PagePart {
            PartKind::Picture, int(panelSurface(p.role)), -1, QPoint(px.left, px.top) });
        DrawSurfacePicture(canvas, PictureRef::of(own.picture), refWidth(p), refHeight(p), scale,
            px.left, px.top, files, bleedOf(i));
        canvas.EndPart();
    }

    void freePrints(int i)
    {
        const CasePanel &p = sheet.panels[i];
        const PanelPrints prints = panelPrints(doc, p);
        if (!prints.use)
            return;
        const PanelPixels &px = g.panels[i];
        DrawFreePrints(canvas, *prints.prints,
            FreePrintFace { px.left, px.right, px.top, px.bottom, refWidth(p), refHeight(p),
                prints.face, bleedOf(i), {} },
            s, scale, files);
    }

    void trackList(int i)
    {
        const CasePanel &p = sheet.panels[i];
        const PanelPixels &px = g.panels[i];
        if (const BookletPage *page = innerPage(doc, p)) {
            // A page's list, in its own layout.
            if (!page->useList)
                return;
            canvas.BeginPart(
                PagePart { PartKind::List, pageListSurface(p.page), -1, QPoint(px.left, px.top) });
            DrawTrackList(canvas, doc.listRows, page->listLayout, p.listHeightMm, px.left, px.top,
                s.kx, s.ky);
            canvas.EndPart();
            return;
        }
        if (p.listIndex < 0 || !settingsOf(p).useList)
            return;
        canvas.BeginPart(PagePart { PartKind::List, p.listIndex, -1, QPoint(px.left, px.top) });
        DrawTrackList(canvas, doc.listRows, doc.listLayout[p.listIndex], p.listHeightMm, px.left,
            px.top, s.kx, s.ky);
        canvas.EndPart();
    }

    void title(int i)
    {
        const CasePanel &p = sheet.panels[i];
        if (!ownsSurface(p.role))
            return;
        const SurfaceSettings &own = settingsOf(p);
        if (!own.title.use)
            return;
        for (const QString &id : p.titleFollows)
            if (!followedOn(own, id, true))
                return;
        const PanelPixels &px = g.panels[i];
        const int surface = int(panelSurface(p.role));
        if (p.titleRun == TitleRun::Across) {
            // 5 mm in from the top and the bottom; across the panel, or
            // between the fold lines on both its sides.
            int left = px.left, right = px.right;
            if (p.titleInset == TitleInset::Folds) {
                const int half = int(s.lineX * 0.5);
                left = px.left - half + int(s.lineX);
                right = px.right - half;
            }
            canvas.BeginPart(PagePart { PartKind::Title, surface, -1, QPoint(px.left, px.top) });
            drawLabelTitle(canvas, own.title, s, left, px.top + mmToPixels(5.0, s.ky), right,
                px.bottom - mmToPixels(5.0, s.ky), px.left, px.right, px.top, px.bottom);
            canvas.EndPart();
            return;
        }
        // Along a spine: the cell height follows the spine's width, not the
        // font's size. It runs as chosen for the spine, or as the panel runs
        // (see spineTextRun). Its offset runs from 1 mm inside the end it
        // starts from.
        const bool upward = spineTextRun(p, own.spineText, options) == SpineText::BottomToTop;
        // A wide spine's cap keeps the cell centred across the spine.
        int cell = px.width - mmToPixels(2.0, s.kx);
        int inset = 0;
        if (p.titleCellMaxMm > 0 && mmToPixels(p.titleCellMaxMm, s.kx) < cell) {
            inset = (cell - mmToPixels(p.titleCellMaxMm, s.kx)) / 2;
            cell = mmToPixels(p.titleCellMaxMm, s.kx);
        }
        const int start
            = upward ? px.bottom - mmToPixels(1.0, s.ky) : px.top + mmToPixels(1.0, s.ky);
        canvas.BeginPart(PagePart { PartKind::Title, surface, -1, QPoint(px.left, start) });
        drawSpineTitle(canvas, own.title, s, px.left + inset, px.right - inset, px.top, px.bottom,
            cell, upward);
        canvas.EndPart();
    }

    // Boundary lines round the sheet, a fold where two panels join, and the
    // trim marks, which are always drawn: whole, or shortened to the paper.
    void frame()
    {
        const int lwX = int(s.lineX), lwY = int(s.lineY);
        const int half = int(s.lineX * 0.5);
        for (int i = 0; i < lwX; ++i)
            verticalEdge(canvas, g.L + i, g.T, g.B, options.boundaryLines, marks.down);
        for (int fold : g.folds)
            for (int i = 0; i < lwX; ++i)
                foldColumn(canvas, s, fold - half + i, g.T, g.B, options.foldLines, marks.down);
        for (int i = 0; i < lwX; ++i)
            verticalEdge(canvas, g.R - lwX + 1 + i, g.T, g.B, options.boundaryLines, marks.down);
        for (int j = 0; j < lwY; ++j)
            horizontalEdge(canvas, g.T + j, g.L, g.R, options.boundaryLines, marks.across);
        for (int j = 0; j < lwY; ++j)
            horizontalEdge(
                canvas, g.B - lwY + 1 + j, g.L, g.R, options.boundaryLines, marks.across);
    }

    LabelCanvas &canvas;
    LabelDocument &doc;
    const CaseFormat &format;
    const CaseSheet &sheet;
    const PrintOptions &options;
    const PageScale s;
    const SheetGeometry g;
    const SheetMarks marks;
    const PictureScale scale;
    PictureFileReader &files;
    bool bleeds = false;
    QVector<SurfaceBleed> bleed;
};

} // namespace

void DrawSheet(LabelCanvas &canvas, LabelDocument &doc, const CaseFormat &format, int sheet,
    const PrintOptions &options, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader)
{
    if (sheet < 0 || sheet >= format.sheets.size())
        return;
    PictureFileReader &files = reader ? *reader : defaultPictureFileReader();
    SheetDrawer(canvas, doc, format, format.sheets[sheet], options, targetDpiX, targetDpiY,
        pageWidth, pageHeight, files)
        .draw();
}

} // namespace cw

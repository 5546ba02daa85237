#include "render/DrawDisc.h"

#include <cmath>

#include "canvas/LabelCanvas.h"
#include "render/ArcText.h"
#include "prints/PrintsItems.h"
#include "render/DrawFreePrints.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/PageParts.h"
#include "tracklist/DrawTrackList.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

using namespace pageparts;

namespace {

// A point size in millimetres, with the program's inch.
double pointsToMm(int points)
{
    return points * geom::kMmPerInch / 72.0;
}

class DiscDrawer
{
public:
    DiscDrawer(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
        int targetDpiX, int targetDpiY, int centreX, int centreY, PictureFileReader &files)
        : canvas(canvas)
        , doc(doc)
        , drawing(drawing)
        , s(pageScale(targetDpiX, targetDpiY))
        , scale { doc.dpiX, doc.dpiY, targetDpiX, targetDpiY }
        , cx(centreX)
        , cy(centreY)
        , files(files)
    {
        // The design square, centred on the disc.
        squareLeft = cx - mmToPixels(kDiscDesignMm / 2, s.kx);
        squareTop = cy - mmToPixels(kDiscDesignMm / 2, s.ky);
        squareRight = squareLeft + mmToPixels(kDiscDesignMm, s.kx);
        squareBottom = squareTop + mmToPixels(kDiscDesignMm, s.ky);
    }

    void draw()
    {
        const SurfaceSettings &disc = doc.disc;
        const double bleed = drawing.bleedMm;
        const QRect outer = circle(drawing.ring.outerMm / 2 + bleed);
        const double holeRadius = drawing.ring.holeMm / 2 - bleed;
        const QRect hole = holeRadius > 0 ? circle(holeRadius) : QRect();
        canvas.ClipToRing(outer, hole);
        fill(canvas, disc.backgroundColor1, outer.left(), outer.top(), outer.right() + 1,
            outer.bottom() + 1);
        blackPenAndBrush(canvas);
        picture();
        freePrints();
        trackList();
        text(DiscText::Title);
        text(DiscText::Subtitle);
        canvas.ClearClip();
        if (drawing.guides) {
            canvas.SetPen(kGuideGrey);
            const QRect ring = circle(drawing.ring.outerMm / 2);
            canvas.Ellipse(ring.left(), ring.top(), ring.right() + 1, ring.bottom() + 1);
            if (drawing.ring.holeMm > 0) {
                const QRect in = circle(drawing.ring.holeMm / 2);
                canvas.Ellipse(in.left(), in.top(), in.right() + 1, in.bottom() + 1);
            }
            blackPenAndBrush(canvas);
        }
    }

private:
    static constexpr ColorRef kGuideGrey = 0x00A0A0A0;

    // The box of a circle of `radiusMm` about the centre (right and bottom
    // inclusive, as QRect keeps them).
    QRect circle(double radiusMm) const
    {
        const int rx = mmToPixels(radiusMm, s.kx), ry = mmToPixels(radiusMm, s.ky);
        return QRect(QPoint(cx - rx, cy - ry), QPoint(cx + rx - 1, cy + ry - 1));
    }

    void picture()
    {
        PicturePlacement &pic = doc.disc.picture;
        if (!pic.use || pic.fileName.isEmpty())
            return;
        canvas.BeginPart(PagePart { PartKind::Picture, int(Surface::Disc), -1,
            QPoint(squareLeft, squareTop) });
        DrawSurfacePicture(canvas, PictureRef::of(pic), doc.surfacePixels.discWidth,
            doc.surfacePixels.discHeight, scale, squareLeft, squareTop, files);
        canvas.EndPart();
    }

    // The free prints and the track list are placed on the design square
    // as on a label; the ring clips them.
    void freePrints()
    {
        if (!doc.disc.usePrints)
            return;
        FreePrintFace face { squareLeft, squareRight, squareTop, squareBottom,
            doc.surfacePixels.discWidth, doc.surfacePixels.discHeight, int(PrintsList::Disc),
            nullptr, {} };
        // A text item on an arc is set as the disc's texts are.
        face.drawApart = [this](int index, TPrintsData &item) {
            if (item.kind != PrintsText || item.arc.place == DiscTextPlace::Custom)
                return false;
            if (!item.text.isEmpty())
                arcText(item.text, item.font, item.arc,
                    PagePart { PartKind::PrintText, int(PrintsList::Disc), index, QPoint(cx, cy) });
            return true;
        };
        DrawFreePrints(canvas, doc.discPrints, face, s, scale, files);
        blackPenAndBrush(canvas);
    }

    void trackList()
    {
        if (!doc.disc.useList)
            return;
        canvas.BeginPart(
            PagePart { PartKind::List, kListSurfaceDisc, -1, QPoint(squareLeft, squareTop) });
        DrawTrackList(canvas, doc.listRows, doc.listLayout[kListSurfaceDisc],
            listPrintableHeight(kListSurfaceDisc), squareLeft, squareTop, s.kx, s.ky);
        canvas.EndPart();
        blackPenAndBrush(canvas);
    }

    void text(DiscText which)
    {
        const TitleSettings &t = doc.discText(which);
        if (!t.use || t.text.isEmpty())
            return;
        const int index = int(which);
        if (t.arc.place == DiscTextPlace::Custom) {
            canvas.BeginPart(PagePart { PartKind::Title, int(Surface::Disc), index,
                QPoint(squareLeft, squareTop) });
            drawLabelTitle(canvas, t, s, squareLeft, squareTop + mmToPixels(5.0, s.ky),
                squareRight, squareBottom - mmToPixels(5.0, s.ky), squareLeft, squareRight,
                squareTop, squareBottom);
            canvas.EndPart();
            return;
        }
        arcText(t.text, t.font, t.arc,
            PagePart { PartKind::Title, int(Surface::Disc), index, QPoint(cx, cy) });
    }

    // A text set along its arc, letter by letter, as one part of the page.
    void arcText(const QString &text, const FontSpec &textFont, const ArcPlacement &arc,
        PagePart part)
    {
        FontSpec font = textFont;
        font.size = fitDiscTextPoints(textFont, arc, drawing.ring, s.kx, [&](int points) {
            FontSpec f = textFont;
            f.size = points;
            canvas.SetFont(f);
            return canvas.TextWidth(text);
        });
        canvas.SetFont(font);
        canvas.SetBrushClear();
        // Letter by letter, each with its own advance.
        QVector<int> advances;
        QStringList letters;
        for (int i = 0; i < text.size();) {
            const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            letters << text.mid(i, n);
            advances << canvas.TextWidth(letters.last());
            i += n;
        }
        const double radius = discTextRadiusMm(arc, drawing.ring, font.size);
        const ArcSide side = arc.place == DiscTextPlace::TopArc ? ArcSide::Top : ArcSide::Bottom;
        const QVector<ArcGlyph> glyphs = layoutArc(
            advances, radius * s.kx, radius * s.ky, arc.angleTenths / 10.0, side);
        part.arcRadius = std::max(1, int(radius * s.kx));
        part.arcBottom = side == ArcSide::Bottom;
        canvas.BeginPart(part);
        for (int i = 0; i < glyphs.size(); ++i)
            canvas.TextOutTurned(cx + glyphs[i].x, cy + glyphs[i].y, glyphs[i].degrees, letters[i]);
        canvas.EndPart();
    }

    LabelCanvas &canvas;
    LabelDocument &doc;
    const DiscDrawing &drawing;
    const PageScale s;
    const PictureScale scale;
    const int cx, cy;
    PictureFileReader &files;
    int squareLeft = 0, squareTop = 0, squareRight = 0, squareBottom = 0;
};

} // namespace

double discTextRadiusMm(const ArcPlacement &arc, const DiscRingMm &ring, int points)
{
    if (arc.radiusTenths > 0)
        return arc.radiusTenths / 10.0;
    return ring.outerMm / 2 - 4.0 - pointsToMm(points);
}

int fitDiscTextPoints(const FontSpec &font, const ArcPlacement &arc, const DiscRingMm &ring,
    double pixelsPerMmX, const std::function<int(int points)> &widthAt)
{
    int points = std::max(font.size, 1);
    while (points > 1) {
        const double radius = discTextRadiusMm(arc, ring, points) * pixelsPerMmX;
        if (radius > 0 && arcSweepDegrees(widthAt(points), radius) <= kArcMaxSweepDegrees)
            break;
        --points;
    }
    return points;
}

void DrawDisc(LabelCanvas &canvas, LabelDocument &doc, const DiscDrawing &drawing,
    int targetDpiX, int targetDpiY, int centreX, int centreY, PictureFileReader *reader)
{
    PictureFileReader &files = reader ? *reader : defaultPictureFileReader();
    DiscDrawer(canvas, doc, drawing, targetDpiX, targetDpiY, centreX, centreY, files).draw();
}

} // namespace cw

#pragma once

#include <QList>
#include <QPolygon>
#include <QRect>

#include "canvas/LabelCanvas.h"

namespace cw {

// Where one thing of a page landed: the pieces it drew (text boxes, turned
// with their text, and picture rectangles, each cut to its clip rectangle)
// and their bounding rectangle, in canvas pixels.
struct PartBox
{
    PagePart part;
    QList<QPolygon> pieces;
    QRect bounds;
    // The turn of the text last drawn for it, in tenths of a degree
    // counter-clockwise (0 for upright text and pictures).
    int escapement = 0;

    // Whether the point lies on the thing: on one of its pieces, or for a
    // list block anywhere in its bounding rectangle (between its rows).
    bool contains(const QPoint &p) const;
};

// A canvas that passes every call on to another one and records, for each
// part the renderers name (LabelCanvas::BeginPart), where its drawing
// landed. A part that draws nothing (empty text, a picture cut away) gets no
// box. The boxes are in drawing order: a later one lies on top.
class PartBoxCanvas : public LabelCanvas
{
public:
    explicit PartBoxCanvas(LabelCanvas &inner)
        : m_inner(inner)
    { }

    const QList<PartBox> &boxes() const { return m_boxes; }

    int dpiX() const override { return m_inner.dpiX(); }
    int dpiY() const override { return m_inner.dpiY(); }
    void SetPen(ColorRef color) override { m_inner.SetPen(color); }
    void SetBrush(ColorRef color) override { m_inner.SetBrush(color); }
    void SetBrushClear() override { m_inner.SetBrushClear(); }
    void Rectangle(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override { m_inner.MoveTo(x, y); }
    void LineTo(int x, int y) override { m_inner.LineTo(x, y); }
    void SetFont(const FontSpec &font) override { m_inner.SetFont(font); }
    void DrawTextInRect(
        const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v) override;
    void TextOutClipped(
        int left, int top, int right, int bottom, int x, int y, const QString &text) override;
    int TextWidth(const QString &text) override { return m_inner.TextWidth(text); }
    int TextHeight(const QString &text) override { return m_inner.TextHeight(text); }
    void SelectRotatedFont(int escapement, int cellHeight) override;
    void RestoreFont() override;
    void TextOutTurned(double x, double y, double degrees, const QString &text) override;
    void ClipToRing(const QRect &outer, const QRect &hole) override
    {
        m_inner.ClipToRing(outer, hole);
    }
    void ClearClip() override { m_inner.ClearClip(); }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        m_inner.Ellipse(left, top, right, bottom);
    }
    QSize stretchedPictureSize(int left, int top, int right, int bottom) const override
    {
        return m_inner.stretchedPictureSize(left, top, right, bottom);
    }
    void StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom) override;
    void StretchPictureTransparent(const QImage &bitmap, int left, int top, int right, int bottom,
        ColorRef transparent) override;
    void BeginPart(const PagePart &part) override;
    void EndPart() override;

private:
    void addPiece(const QPolygon &piece);

    LabelCanvas &m_inner;
    QList<PartBox> m_boxes;
    bool m_open = false;
    PartBox m_current;
    QList<int> m_escapements; // the turns of the fonts RestoreFont brings back
    int m_escapement = 0;
};

// The topmost box at a point; -1 when there is none.
int partAt(const QList<PartBox> &boxes, const QPoint &p);

// The box of a thing in a list of boxes; -1 when it was not drawn.
int findPart(const QList<PartBox> &boxes, const PagePart &part);

} // namespace cw

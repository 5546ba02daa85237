#include "canvas/PartBoxCanvas.h"

#include <QTransform>

namespace cw {

bool PartBox::contains(const QPoint &p) const
{
    if (part.kind == PartKind::List)
        return bounds.contains(p);
    for (const QPolygon &piece : pieces)
        if (piece.containsPoint(p, Qt::OddEvenFill))
            return true;
    return false;
}

void PartBoxCanvas::addPiece(const QPolygon &piece)
{
    if (!m_open || piece.isEmpty())
        return;
    const QRect r = piece.boundingRect();
    if (r.isEmpty())
        return;
    m_current.pieces.append(piece);
    m_current.bounds = m_current.bounds.isNull() ? r : m_current.bounds.united(r);
}

namespace {

// The clip rectangle (right and bottom exclusive) as a polygon.
QPolygon clipPolygon(int left, int top, int right, int bottom)
{
    return QPolygon(QRect(left, top, right - left, bottom - top));
}

} // namespace

void PartBoxCanvas::Rectangle(int left, int top, int right, int bottom)
{
    m_inner.Rectangle(left, top, right, bottom);
}

void PartBoxCanvas::DrawTextInRect(
    const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v)
{
    m_inner.DrawTextInRect(text, left, top, right, bottom, h, v);
    if (!m_open || text.isEmpty() || right <= left || bottom <= top)
        return;
    // The text's box, placed as the painting canvas places it.
    const int tw = m_inner.TextWidth(text);
    const int th = m_inner.TextHeight(text);
    int x = left, y = top;
    if (h == HAlign::Center)
        x = left + (right - left - tw) / 2;
    else if (h == HAlign::Right)
        x = right - tw;
    if (v == VAlign::Center)
        y = top + (bottom - top - th) / 2;
    else if (v == VAlign::Bottom)
        y = bottom - th;
    const QRect box = QRect(x, y, tw, th).intersected(QRect(left, top, right - left, bottom - top));
    if (!box.isEmpty())
        addPiece(QPolygon(box));
    m_current.escapement = 0;
}

void PartBoxCanvas::TextOutClipped(
    int left, int top, int right, int bottom, int x, int y, const QString &text)
{
    m_inner.TextOutClipped(left, top, right, bottom, x, y, text);
    if (!m_open || text.isEmpty() || right <= left || bottom <= top)
        return;
    // The text's box turned about its reference point, counter-clockwise on
    // the page (y grows downward), then cut to the clip rectangle.
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(-m_escapement / 10.0);
    const QPolygon box = turn.map(
        QPolygon(QRect(0, 0, m_inner.TextWidth(text), m_inner.TextHeight(text))));
    addPiece(box.intersected(clipPolygon(left, top, right, bottom)));
    m_current.escapement = m_escapement;
}

void PartBoxCanvas::TextOutTurned(double x, double y, double degrees, const QString &text)
{
    m_inner.TextOutTurned(x, y, degrees, text);
    if (!m_open || text.isEmpty())
        return;
    // The text's box stands on its baseline, turned clockwise about its start.
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(degrees);
    const int h = m_inner.TextHeight(text);
    addPiece(turn.map(QPolygon(QRect(0, -h, m_inner.TextWidth(text), h))));
}

void PartBoxCanvas::SelectRotatedFont(int escapement, int cellHeight)
{
    m_inner.SelectRotatedFont(escapement, cellHeight);
    m_escapements.append(m_escapement);
    m_escapement = escapement;
}

void PartBoxCanvas::RestoreFont()
{
    m_inner.RestoreFont();
    if (!m_escapements.isEmpty())
        m_escapement = m_escapements.takeLast();
}

void PartBoxCanvas::StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom)
{
    m_inner.StretchPicture(bitmap, left, top, right, bottom);
    if (!bitmap.isNull() && right > left && bottom > top)
        addPiece(clipPolygon(left, top, right, bottom));
}

void PartBoxCanvas::StretchPictureTransparent(
    const QImage &bitmap, int left, int top, int right, int bottom, ColorRef transparent)
{
    m_inner.StretchPictureTransparent(bitmap, left, top, right, bottom, transparent);
    if (!bitmap.isNull() && right > left && bottom > top)
        addPiece(clipPolygon(left, top, right, bottom));
}

void PartBoxCanvas::BeginPart(const PagePart &part)
{
    m_inner.BeginPart(part);
    m_current = PartBox();
    m_current.part = part;
    m_open = true;
}

void PartBoxCanvas::EndPart()
{
    m_inner.EndPart();
    if (m_open && !m_current.pieces.isEmpty())
        m_boxes.append(m_current);
    m_open = false;
}

int partAt(const QList<PartBox> &boxes, const QPoint &p)
{
    for (qsizetype i = boxes.size() - 1; i >= 0; --i)
        if (boxes[i].contains(p))
            return int(i);
    return -1;
}

int findPart(const QList<PartBox> &boxes, const PagePart &part)
{
    for (qsizetype i = 0; i < boxes.size(); ++i)
        if (boxes[i].part.sameThing(part))
            return int(i);
    return -1;
}

} // namespace cw

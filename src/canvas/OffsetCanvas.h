#pragma once

#include "canvas/LabelCanvas.h"

namespace cw {

// Draws onto another canvas moved by whole device pixels: every coordinate
// handed on is shifted by (dx, dy), so a page drawn through it lands on the
// target as a whole, a given number of pixels right and down.
class OffsetCanvas : public LabelCanvas
{
public:
    OffsetCanvas(LabelCanvas &target, int dx, int dy)
        : m_t(target)
        , m_dx(dx)
        , m_dy(dy)
    { }

    int dpiX() const override { return m_t.dpiX(); }
    int dpiY() const override { return m_t.dpiY(); }
    void SetPen(ColorRef color) override { m_t.SetPen(color); }
    void SetBrush(ColorRef color) override { m_t.SetBrush(color); }
    void SetBrushClear() override { m_t.SetBrushClear(); }
    void Rectangle(int left, int top, int right, int bottom) override
    {
        m_t.Rectangle(left + m_dx, top + m_dy, right + m_dx, bottom + m_dy);
    }
    void MoveTo(int x, int y) override { m_t.MoveTo(x + m_dx, y + m_dy); }
    void LineTo(int x, int y) override { m_t.LineTo(x + m_dx, y + m_dy); }
    void SetFont(const FontSpec &font) override { m_t.SetFont(font); }
    void DrawTextInRect(
        const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v) override
    {
        m_t.DrawTextInRect(text, left + m_dx, top + m_dy, right + m_dx, bottom + m_dy, h, v);
    }
    void TextOutClipped(
        int left, int top, int right, int bottom, int x, int y, const QString &text) override
    {
        m_t.TextOutClipped(
            left + m_dx, top + m_dy, right + m_dx, bottom + m_dy, x + m_dx, y + m_dy, text);
    }
    int TextWidth(const QString &text) override { return m_t.TextWidth(text); }
    int TextHeight(const QString &text) override { return m_t.TextHeight(text); }
    void SelectRotatedFont(int escapement, int cellHeight) override
    {
        m_t.SelectRotatedFont(escapement, cellHeight);
    }
    void RestoreFont() override { m_t.RestoreFont(); }
    void TextOutTurned(double x, double y, double degrees, const QString &text) override
    {
        m_t.TextOutTurned(x + m_dx, y + m_dy, degrees, text);
    }
    void ClipToRing(const QRect &outer, const QRect &hole) override
    {
        m_t.ClipToRing(outer.translated(m_dx, m_dy),
            hole.isEmpty() ? hole : hole.translated(m_dx, m_dy));
    }
    void ClearClip() override { m_t.ClearClip(); }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        m_t.Ellipse(left + m_dx, top + m_dy, right + m_dx, bottom + m_dy);
    }
    QSize stretchedPictureSize(int left, int top, int right, int bottom) const override
    {
        return m_t.stretchedPictureSize(left + m_dx, top + m_dy, right + m_dx, bottom + m_dy);
    }
    void StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom) override
    {
        m_t.StretchPicture(bitmap, left + m_dx, top + m_dy, right + m_dx, bottom + m_dy);
    }
    void StretchPictureTransparent(const QImage &bitmap, int left, int top, int right, int bottom,
        ColorRef transparent) override
    {
        m_t.StretchPictureTransparent(
            bitmap, left + m_dx, top + m_dy, right + m_dx, bottom + m_dy, transparent);
    }

private:
    LabelCanvas &m_t;
    int m_dx, m_dy;
};

} // namespace cw

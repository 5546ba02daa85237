#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "canvas/PagePart.h"
#include "fonts/Font.h"

namespace cw {

// The drawing operations the renderers use. Coordinates are integer pixels,
// y grows downward; rectangles are (left, top, right, bottom) with right and
// bottom exclusive.
class LabelCanvas
{
public:
    enum class HAlign { Left, Center, Right };
    enum class VAlign { Top, Center, Bottom };

    virtual ~LabelCanvas() = default;

    // The canvas's own resolution (the printer's when printing).
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;

    // One-pixel solid pen, copy mode.
    virtual void SetPen(ColorRef color) = 0;
    virtual void SetBrush(ColorRef color) = 0;
    // Clear brush: text is drawn without a background.
    virtual void SetBrushClear() = 0;
    // Interior with the brush, outline with the pen.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A one-pixel line from the current point up to but excluding (x, y).
    virtual void LineTo(int x, int y) = 0;

    // Realised pixel height: points * dpiY / 72 rounded, halves away from zero
    // (the character height without internal leading).
    virtual void SetFont(const FontSpec &font) = 0;
    // One line, never wrapped, clipped to the rectangle, placed by the alignment.
    virtual void DrawTextInRect(
        const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v)
        = 0;
    // Text whose top-left reference point is (x, y) in the font's own,
    // possibly rotated, direction; clipped to the rectangle.
    virtual void TextOutClipped(
        int left, int top, int right, int bottom, int x, int y, const QString &text)
        = 0;
    virtual int TextWidth(const QString &text) = 0;
    virtual int TextHeight(const QString &text) = 0;

    // Makes current the current font turned by `escapement` tenths of a
    // degree counter-clockwise, with the given cell height in pixels (0: the
    // height is kept). RestoreFont brings back the font that was current.
    virtual void SelectRotatedFont(int escapement, int cellHeight) = 0;
    virtual void RestoreFont() = 0;

    // Text with the current font whose baseline starts at (x, y), turned
    // clockwise by `degrees` about that point: a letter set along a circle.
    // Canvases that only measure or record may leave it undrawn.
    virtual void TextOutTurned(double x, double y, double degrees, const QString &text)
    {
        (void)x, (void)y, (void)degrees, (void)text;
    }
    // Everything drawn after this lands only inside the ellipse `outer` and
    // outside the ellipse `hole` (an empty hole: none), until ClearClip.
    // Rectangles are the ellipses' bounding boxes, right and bottom exclusive.
    virtual void ClipToRing(const QRect &outer, const QRect &hole) { (void)outer, (void)hole; }
    virtual void ClearClip() { }
    // The outline of the ellipse inscribed in the rectangle, one pixel wide,
    // with the pen.
    virtual void Ellipse(int left, int top, int right, int bottom)
    {
        (void)left, (void)top, (void)right, (void)bottom;
    }

    // The size, in the pixels the canvas really paints, that a picture
    // stretched onto the rectangle becomes. A bitmap of exactly that size is
    // drawn as it is, so a caller can stretch once and draw the result again.
    // An invalid size: the canvas keeps pictures as they are given.
    virtual QSize stretchedPictureSize(int left, int top, int right, int bottom) const
    {
        (void)left, (void)top, (void)right, (void)bottom;
        return QSize();
    }

    // Nearest-neighbour stretch of the whole bitmap onto the rectangle.
    virtual void StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom) = 0;
    // As StretchPicture, but pixels of the transparent colour leave the
    // destination unchanged.
    virtual void StretchPictureTransparent(
        const QImage &bitmap, int left, int top, int right, int bottom, ColorRef transparent)
        = 0;

    // The renderers name each thing they draw: the calls between BeginPart
    // and EndPart draw `part`. Parts do not nest. Canvases that only paint
    // ignore them.
    virtual void BeginPart(const PagePart &part) { (void)part; }
    virtual void EndPart() { }
};

// Copies a rectangle of a bitmap into a new bitmap of the rectangle's size.
// Parts outside the source are left white.
QImage CopyBitmapRegion(const QImage &source, const QRect &rect);

// The pixel height a font of `points` gets on a canvas of `dpi`.
int fontPixelHeight(int points, int dpi);

} // namespace cw

#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QVector>

#include "canvas/LabelCanvas.h"

class QPaintDevice;

namespace cw {

// The canvas over a QPainter: a QImage, a QPicture, a QPrinter or a
// QPdfWriter. Antialiasing is off so that lines and fills land on whole pixels.
class QPainterCanvas : public LabelCanvas
{
public:
    // Paints on `device`; dpiX/dpiY default to the device's logical resolution.
    explicit QPainterCanvas(QPaintDevice *device, int dpiX = 0, int dpiY = 0);
    // Paints with an existing, active painter (for example a printer's).
    QPainterCanvas(QPainter *painter, int dpiX, int dpiY);
    ~QPainterCanvas() override;

    QPainter *painter() { return m_painter; }
    // The font text is drawn with now, its colour and the factor it is
    // scaled by.
    const QFont &currentFont() const { return m_font.font; }
    QColor currentFontColor() const { return m_font.color; }
    double currentFontScale() const { return m_font.scale; }

    int dpiX() const override { return m_dpiX; }
    int dpiY() const override { return m_dpiY; }
    void SetPen(ColorRef color) override;
    void SetBrush(ColorRef color) override;
    void SetBrushClear() override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetFont(const FontSpec &font) override;
    void DrawTextInRect(
        const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v) override;
    void TextOutClipped(
        int left, int top, int right, int bottom, int x, int y, const QString &text) override;
    int TextWidth(const QString &text) override;
    int TextHeight(const QString &text) override;
    void SelectRotatedFont(int escapement, int cellHeight) override;
    void RestoreFont() override;
    void TextOutTurned(double x, double y, double degrees, const QString &text) override;
    void ClipToRing(const QRect &outer, const QRect &hole) override;
    void ClearClip() override;
    void Ellipse(int left, int top, int right, int bottom) override;
    QSize stretchedPictureSize(int left, int top, int right, int bottom) const override;
    void StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom) override;
    void StretchPictureTransparent(const QImage &bitmap, int left, int top, int right, int bottom,
        ColorRef transparent) override;

    // The QFont a FontSpec becomes on a canvas of the given vertical resolution.
    static QFont makeFont(const FontSpec &font, int dpiY);
    // The font with the largest pixel size whose ascent + descent is not
    // taller than cellHeight.
    static QFont fontWithCellHeight(QFont font, int cellHeight);
    // The factor by which that font is drawn so that its ascent + descent is
    // exactly cellHeight (1.0 for a cellHeight of 0).
    static double cellScale(const QFont &font, int cellHeight);

    // Nearest-neighbour scaling of a picture to w x h (no smoothing), in
    // 24-bit colour: the alpha channel is dropped.
    static QImage stretchNearest(const QImage &bitmap, int w, int h);

private:
    struct FontState
    {
        QFont font;
        QColor color;
        int escapement = 0; // tenths of a degree, counter-clockwise
        // Drawn scaled by this factor: a font asked for with a cell height
        // that no whole pixel size gives exactly is the nearest smaller size,
        // scaled up to the cell.
        double scale = 1.0;
    };
    void init();
    void fillPixels(int x, int y, int w, int h, const QColor &c);
    // The bitmap stretched to stretchedPictureSize (itself when it has that
    // size already), opaque.
    QImage stretchedForDevice(const QImage &bitmap, int left, int top, int right, int bottom) const;
    void drawTextBackground(const QRect &r);
    // Draws text with its baseline starting at `baseline` in the painter's
    // current coordinates, with the current font and colour.
    void paintText(const QPoint &baseline, const QString &text);
    // paintText for a bold font whose face has no bold style: the regular
    // outlines filled and stroked. False (nothing drawn) when every face the
    // text uses has a bold style of its own.
    bool paintEmboldened(const QPoint &baseline, const QString &text);
    // The current font's underline and strike-out along `width` from
    // `baseline`, as drawText draws them.
    void paintDecorations(const QPointF &baseline, qreal width);

    QPainter *m_painter = nullptr;
    bool m_ownsPainter = false;
    int m_dpiX = 96, m_dpiY = 96;
    QColor m_pen = Qt::black;
    QColor m_brush = Qt::white;
    bool m_brushClear = false;
    QPoint m_current;
    FontState m_font;
    QVector<FontState> m_savedFonts;
};

} // namespace cw

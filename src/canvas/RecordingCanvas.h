#pragma once

#include <QStringList>
#include <memory>

#include "canvas/LabelCanvas.h"

namespace cw {

class QPainterCanvas;

// A canvas that records every call as one text line (the "--ops" form) and
// measures text with the same fonts as the painting canvas would.
class RecordingCanvas : public LabelCanvas
{
public:
    RecordingCanvas(int dpiX = 96, int dpiY = 96);
    ~RecordingCanvas() override;

    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    void clear() { m_lines.clear(); }

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
    void StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom) override;
    void StretchPictureTransparent(const QImage &bitmap, int left, int top, int right, int bottom,
        ColorRef transparent) override;

private:
    void add(const QString &line) { m_lines.append(line); }
    int m_dpiX, m_dpiY;
    QStringList m_lines;
    QImage m_measureImage;
    std::unique_ptr<QPainterCanvas> m_measure; // keeps the font state for measuring
};

} // namespace cw

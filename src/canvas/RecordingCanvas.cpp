#include "canvas/RecordingCanvas.h"

#include "canvas/QPainterCanvas.h"

namespace cw {

namespace {
QString hex(ColorRef c)
{
    return QStringLiteral("%1").arg(c, 8, 16, QLatin1Char('0'));
}
const char *hName(LabelCanvas::HAlign h)
{
    switch (h) {
    case LabelCanvas::HAlign::Left:
        return "left";
    case LabelCanvas::HAlign::Center:
        return "center";
    case LabelCanvas::HAlign::Right:
        return "right";
    }
    return "left";
}
const char *vName(LabelCanvas::VAlign v)
{
    switch (v) {
    case LabelCanvas::VAlign::Top:
        return "top";
    case LabelCanvas::VAlign::Center:
        return "center";
    case LabelCanvas::VAlign::Bottom:
        return "bottom";
    }
    return "top";
}
} // namespace

RecordingCanvas::RecordingCanvas(int dpiX, int dpiY)
    : m_dpiX(dpiX)
    , m_dpiY(dpiY)
    , m_measureImage(1, 1, QImage::Format_RGB32)
{
    m_measure = std::make_unique<QPainterCanvas>(&m_measureImage, dpiX, dpiY);
}

RecordingCanvas::~RecordingCanvas() = default;

void RecordingCanvas::SetPen(ColorRef color)
{
    add(QStringLiteral("SetPen %1").arg(hex(color)));
}

void RecordingCanvas::SetBrush(ColorRef color)
{
    add(QStringLiteral("SetBrush %1").arg(hex(color)));
}

void RecordingCanvas::SetBrushClear()
{
    add(QStringLiteral("SetBrush clear"));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    add(QStringLiteral("Rectangle %1 %2 %3 %4").arg(left).arg(top).arg(right).arg(bottom));
}

void RecordingCanvas::MoveTo(int x, int y)
{
    add(QStringLiteral("MoveTo %1 %2").arg(x).arg(y));
}

void RecordingCanvas::LineTo(int x, int y)
{
    add(QStringLiteral("LineTo %1 %2").arg(x).arg(y));
}

void RecordingCanvas::SetFont(const FontSpec &f)
{
    m_measure->SetFont(f);
    add(QStringLiteral("SetFont %1 %2 %3 %4 %5 %6 %7 %8")
            .arg(f.size)
            .arg(f.charset)
            .arg(hex(f.color))
            .arg(int(f.bold))
            .arg(int(f.italic))
            .arg(int(f.underline))
            .arg(int(f.strikeOut))
            .arg(f.name));
}

void RecordingCanvas::DrawTextInRect(
    const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v)
{
    add(QStringLiteral("DrawTextInRect %1 %2 %3 %4 %5 %6 %7")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(QLatin1String(hName(h)), QLatin1String(vName(v)), text));
}

void RecordingCanvas::TextOutClipped(
    int left, int top, int right, int bottom, int x, int y, const QString &text)
{
    add(QStringLiteral("TextOutClipped %1 %2 %3 %4 %5 %6 %7")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(x)
            .arg(y)
            .arg(text));
}

int RecordingCanvas::TextWidth(const QString &text)
{
    return m_measure->TextWidth(text);
}

int RecordingCanvas::TextHeight(const QString &text)
{
    return m_measure->TextHeight(text);
}

void RecordingCanvas::SelectRotatedFont(int escapement, int cellHeight)
{
    m_measure->SelectRotatedFont(escapement, cellHeight);
    add(QStringLiteral("SelectRotatedFont %1 %2").arg(escapement).arg(cellHeight));
}

void RecordingCanvas::TextOutTurned(double x, double y, double degrees, const QString &text)
{
    add(QStringLiteral("TextOutTurned %1 %2 %3 %4")
            .arg(x, 0, 'f', 2)
            .arg(y, 0, 'f', 2)
            .arg(degrees, 0, 'f', 2)
            .arg(text));
}

void RecordingCanvas::ClipToRing(const QRect &outer, const QRect &hole)
{
    add(QStringLiteral("ClipToRing %1 %2 %3 %4 %5 %6 %7 %8")
            .arg(outer.left())
            .arg(outer.top())
            .arg(outer.right() + 1)
            .arg(outer.bottom() + 1)
            .arg(hole.left())
            .arg(hole.top())
            .arg(hole.right() + 1)
            .arg(hole.bottom() + 1));
}

void RecordingCanvas::ClearClip()
{
    add(QStringLiteral("ClearClip"));
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    add(QStringLiteral("Ellipse %1 %2 %3 %4").arg(left).arg(top).arg(right).arg(bottom));
}

void RecordingCanvas::RestoreFont()
{
    m_measure->RestoreFont();
    add(QStringLiteral("RestoreFont"));
}

void RecordingCanvas::StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom)
{
    add(QStringLiteral("StretchPicture %1 %2 %3 %4 %5 %6")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(bitmap.width())
            .arg(bitmap.height()));
}

void RecordingCanvas::StretchPictureTransparent(
    const QImage &bitmap, int left, int top, int right, int bottom, ColorRef transparent)
{
    add(QStringLiteral("StretchPictureTransparent %1 %2 %3 %4 %5 %6 %7")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(bitmap.width())
            .arg(bitmap.height())
            .arg(hex(transparent)));
}

} // namespace cw

#include "app/ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

ColorSwatch::ColorSwatch(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setColor(ColorRef color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        Q_EMIT pressed();
        return;
    }
    QFrame::mousePressEvent(event);
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), resolveColor(m_color));
    }
    QFrame::paintEvent(event);
}

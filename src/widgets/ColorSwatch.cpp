#include "widgets/ColorSwatch.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace cw {

namespace {

// A swatch reads as a button to a screen reader, named by its caption, and
// its press action asks for a colour like a click does.
class ColorSwatchAccessible : public QAccessibleWidget
{
public:
    explicit ColorSwatchAccessible(ColorSwatch *swatch)
        : QAccessibleWidget(swatch, QAccessible::Button)
    { }
    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && widget()->isEnabled())
            static_cast<ColorSwatch *>(widget())->press();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *swatchAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(ColorSwatch::staticMetaObject.className()) && object
        && object->isWidgetType())
        return new ColorSwatchAccessible(static_cast<ColorSwatch *>(object));
    return nullptr;
}

} // namespace

ColorSwatch::ColorSwatch(QWidget *parent)
    : QFrame(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(swatchAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab and pressed with Space or Enter as well as the mouse.
    setFocusPolicy(Qt::StrongFocus);
}

void ColorSwatch::setColor(ColorRef color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void ColorSwatch::press()
{
    Q_EMIT pressed();
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        press();
        return;
    }
    QFrame::mousePressEvent(event);
}

void ColorSwatch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        press();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), resolveColor(m_color));
        if (hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = contentsRect().adjusted(1, 1, -1, -1);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
    QFrame::paintEvent(event);
}

} // namespace cw

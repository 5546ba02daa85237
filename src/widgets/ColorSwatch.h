#pragma once

#include <QFrame>

#include "fonts/Font.h"

namespace cw {

// A framed rectangle filled with a colour; a mouse press on it (or Space or
// Enter while it has the focus) asks for a new colour.
class ColorSwatch : public QFrame
{
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    void setColor(ColorRef color);
    ColorRef color() const { return m_color; }
    // Asks for a new colour, as a click does.
    void press();

Q_SIGNALS:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    ColorRef m_color = kWhite;
};

} // namespace cw

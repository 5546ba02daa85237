#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>

#include "fonts/Font.h"

class QPushButton;
class QScrollArea;

namespace cw {

class ColorSwatch;

// The picture in the transparent-colour picker: one screen pixel per picture
// pixel; any mouse button reports the pixel under the pointer.
class TransColImage : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void pressedAt(QPoint pos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// The transparent-colour picker: a click on the picture makes that pixel's
// colour the sample; "取込" accepts it. The window is made once and reused,
// so the sample keeps the colour picked last, also after "ｷｬﾝｾﾙ".
class TTransColGet : public QDialog
{
    Q_OBJECT
public:
    explicit TTransColGet(QWidget *parent = nullptr);

    // Puts the picture into Image at its own size.
    void setPicture(const QImage &picture);
    // The sample's colour (0x00BBGGRR).
    ColorRef color() const;

    void ImageMouseDown(QPoint pos);

    TransColImage *image() const { return m_image; }
    ColorSwatch *transColor() const { return m_transColor; }

private:
    QScrollArea *m_scroll = nullptr;
    TransColImage *m_image = nullptr;
    QImage m_picture;
    ColorSwatch *m_transColor = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace cw

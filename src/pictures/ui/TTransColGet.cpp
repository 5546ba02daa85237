#include "pictures/ui/TTransColGet.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include "pictures/PictureDialogRules.h"
#include "widgets/ColorSwatch.h"

namespace cw {

void TransColImage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT pressedAt(event->position().toPoint());
}

TTransColGet::TTransColGet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TransColGet"));
    setWindowTitle(QStringLiteral("Casewright"));
    setModal(true);
    setFixedSize(383, 243);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setAccessibleName(QStringLiteral("透明色"));
    m_scroll->setGeometry(0, 0, 320, 240);
    m_image = new TransColImage;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAccessibleName(QStringLiteral("透明色"));
    m_image->setCursor(Qt::CrossCursor);
    m_scroll->setWidget(m_image);

    auto *title = new QLabel(QStringLiteral("透明色"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(330, 8, 50, 16);
    m_transColor = new ColorSwatch(this);
    m_transColor->setObjectName(QStringLiteral("TransColor"));
    m_transColor->setAccessibleName(QStringLiteral("透明色"));
    m_transColor->setGeometry(335, 28, 33, 33);
    m_transColor->setColor(kWhite);
    m_transColor->setCursor(Qt::ArrowCursor);
    title->setBuddy(m_transColor);

    m_ok = new QPushButton(QStringLiteral("取込"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setGeometry(326, 176, 53, 25);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_cancel->setGeometry(326, 208, 53, 25);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_image, &TransColImage::pressedAt, this, &TTransColGet::ImageMouseDown);
}

void TTransColGet::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_image->setPixmap(QPixmap::fromImage(picture));
    m_image->resize(picture.size());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

ColorRef TTransColGet::color() const
{
    return m_transColor->color();
}

void TTransColGet::ImageMouseDown(QPoint pos)
{
    if (const auto picked = pickedPixelColor(m_picture, pos))
        m_transColor->setColor(*picked);
}

} // namespace cw

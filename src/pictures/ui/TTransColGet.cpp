#include "pictures/ui/TTransColGet.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include "base/UiText.h"
#include "pictures/PictureDialogRules.h"
#include "widgets/ColorSwatch.h"
#include "widgets/EnglishSizes.h"

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
    // The picture on the left, the colour and the buttons in a panel on the
    // right, wide enough for its caption.
    auto *title = new QLabel(UiText::tr("透明色"), this);
    const int panel = widthForEnglish(63, title->sizeHint().width() + 13);
    setFixedSize(320 + panel, 243);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setAccessibleName(UiText::tr("透明色"));
    m_scroll->setGeometry(0, 0, 320, 240);
    m_image = new TransColImage;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAccessibleName(UiText::tr("透明色"));
    m_image->setCursor(Qt::CrossCursor);
    m_scroll->setWidget(m_image);

    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(330, 8, panel - 13, 16);
    m_transColor = new ColorSwatch(this);
    m_transColor->setObjectName(QStringLiteral("TransColor"));
    m_transColor->setAccessibleName(UiText::tr("透明色"));
    m_transColor->setGeometry(320 + (panel - 33) / 2, 28, 33, 33);
    m_transColor->setColor(kWhite);
    m_transColor->setCursor(Qt::ArrowCursor);
    title->setBuddy(m_transColor);

    m_ok = new QPushButton(UiText::tr("取込"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setGeometry(326, 176, panel - 10, 25);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(UiText::tr("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_cancel->setGeometry(326, 208, panel - 10, 25);

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

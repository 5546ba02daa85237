#include "render/ui/TPreviewWindow.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>

TPreviewWindow::TPreviewWindow(PageDrawer drawPage, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_drawPage(std::move(drawPage))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Casewright [Preview]"));
    resize(632, 449);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto button = [this](const char *name, const QString &caption, int x) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, 2, 75, 25);
        return b;
    };
    m_topShow = button("PreviewTopShow", QStringLiteral("表レーベル"), 8);
    m_bottomShow = button("PreviewBottomShow", QStringLiteral("裏レーベル"), 88);
    m_close = button("PreviewClose", QStringLiteral("閉じる"), 168);
    m_zoom1 = button("Zoom1", QStringLiteral("縮小"), 472);
    m_zoom2 = button("Zoom2", QStringLiteral("拡大"), 552);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Window);
    m_image = new QLabel;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setWidget(m_image);
    m_scroll->setWidgetResizable(false);

    m_bitmap = QImage(PreviewState::bitmapSize(0), QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
    m_image->setPixmap(QPixmap::fromImage(m_bitmap));
    m_image->resize(m_bitmap.size());

    connect(m_topShow, &QPushButton::clicked, this, &TPreviewWindow::PreviewTopShowClick);
    connect(m_bottomShow, &QPushButton::clicked, this, &TPreviewWindow::PreviewBottomShowClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_zoom1, &QPushButton::clicked, this, &TPreviewWindow::Zoom1Click);
    connect(m_zoom2, &QPushButton::clicked, this, &TPreviewWindow::Zoom2Click);
    updateZoomButtons();
}

void TPreviewWindow::redraw()
{
    m_bitmap = QImage(PreviewState::bitmapSize(m_state.zoom()), QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
    RenderPreviewPage(m_state.previewPage(), m_bitmap, m_drawPage);
    ++m_drawCount;
    m_image->setPixmap(QPixmap::fromImage(m_bitmap));
    m_image->resize(m_bitmap.size());
}

void TPreviewWindow::showPage(int page)
{
    if (m_state.showPage(page))
        redraw();
}

void TPreviewWindow::PreviewTopShowClick()
{
    showPage(0);
}

void TPreviewWindow::PreviewBottomShowClick()
{
    showPage(1);
}

void TPreviewWindow::RequestPreviewRefresh(int page)
{
    if (m_state.requestRefresh(page))
        redraw();
}

void TPreviewWindow::updateZoomButtons()
{
    m_zoom1->setEnabled(m_state.canZoomOut());
    m_zoom2->setEnabled(m_state.canZoomIn());
}

void TPreviewWindow::Zoom1Click()
{
    if (m_state.zoomOut()) {
        updateZoomButtons();
        RequestPreviewRefresh(2);
    }
}

void TPreviewWindow::Zoom2Click()
{
    if (m_state.zoomIn()) {
        updateZoomButtons();
        RequestPreviewRefresh(2);
    }
}

void TPreviewWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_state.windowShown())
        redraw();
}

void TPreviewWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_state.windowHidden();
}

void TPreviewWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = event->size().width(), h = event->size().height();
    m_scroll->setGeometry(0, 32, w, h - 32 > 0 ? h - 32 : 0);
    m_zoom1->move(w - 160, 2);
    m_zoom2->move(w - 80, 2);
}

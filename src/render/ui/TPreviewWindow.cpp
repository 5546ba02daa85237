#include "render/ui/TPreviewWindow.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QWindow>

#include "base/UiText.h"
#include "render/RenderPreviewPage.h"
#include "widgets/ScreenPlacement.h"

namespace cw {

TPreviewWindow::TPreviewWindow(PageDrawer drawPage, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_drawPage(std::move(drawPage))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Casewright [Preview]"));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, Qt::white);
    client->setPalette(pal);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    resize(PreviewState::windowSize(m_drawPage.format()));

    auto button = [client](const char *name, const QString &caption, int x) {
        auto *b = new QPushButton(caption, client);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, 2, 75, 25);
        return b;
    };
    m_topShow = button("PreviewTopShow", UiText::tr("表レーベル"), 8);
    m_bottomShow = button("PreviewBottomShow", UiText::tr("裏レーベル"), 88);
    m_close = button("PreviewClose", UiText::tr("閉じる"), 168);
    // The disc's page, offered only while there is a disc face to show.
    m_discShow = button("PreviewDiscShow", UiText::tr("ディスク"), 248);
    m_discShow->setVisible(m_drawPage.discShown());
    // A booklet's pages, turned one spread at a time.
    m_pageBack = button("PreviewPageBack", UiText::tr("前へ"), 328);
    m_pageOn = button("PreviewPageOn", UiText::tr("次へ"), 392);
    for (QPushButton *b : { m_pageBack, m_pageOn })
        b->resize(60, 25);
    m_zoom1 = button("Zoom1", UiText::tr("縮小"), 472);
    m_zoom2 = button("Zoom2", UiText::tr("拡大"), 552);

    m_scroll = new QScrollArea(client);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Window);
    m_image = new PreviewPageView;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->setAccessibleName(PreviewState::pageCaption(m_state.previewPage(), m_drawPage.format()));
    m_scroll->setWidget(m_image);
    m_scroll->setWidgetResizable(false);

    m_bitmap = QImage(PreviewState::bitmapSize(0, m_drawPage.format()), QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
    m_image->setPixmap(QPixmap::fromImage(m_bitmap));
    m_image->resize(m_bitmap.size());

    connect(m_topShow, &QPushButton::clicked, this, &TPreviewWindow::PreviewTopShowClick);
    connect(m_bottomShow, &QPushButton::clicked, this, &TPreviewWindow::PreviewBottomShowClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_discShow, &QPushButton::clicked, this, [this] { showPage(PreviewPage::Disc); });
    connect(m_pageBack, &QPushButton::clicked, this, [this] { turnPage(-1); });
    connect(m_pageOn, &QPushButton::clicked, this, [this] { turnPage(1); });
    connect(m_zoom1, &QPushButton::clicked, this, &TPreviewWindow::Zoom1Click);
    connect(m_zoom2, &QPushButton::clicked, this, &TPreviewWindow::Zoom2Click);
    updateZoomButtons();
    updatePageButtons();
    // Reading order: the buttons left to right, then the page.
    setTabOrder(m_topShow, m_bottomShow);
    setTabOrder(m_bottomShow, m_close);
    setTabOrder(m_close, m_discShow);
    setTabOrder(m_discShow, m_pageBack);
    setTabOrder(m_pageBack, m_pageOn);
    setTabOrder(m_pageOn, m_zoom1);
    setTabOrder(m_zoom1, m_zoom2);
    setTabOrder(m_zoom2, m_scroll);
}

bool TPreviewWindow::followShownSheets()
{
    // A case without a back sheet, or a wrap whose inside is not printed,
    // shows its first sheet and offers no back page.
    const int shown = m_drawPage.shownSheetCount();
    m_bottomShow->setEnabled(shown > 1);
    const bool disc = m_drawPage.discShown();
    m_discShow->setVisible(disc);
    const bool kept = m_state.keepWithin(shown, disc);
    updatePageButtons();
    if (!kept)
        return false;
    m_image->clearSelection();
    return true;
}

void TPreviewWindow::growFor(const CaseFormat &format)
{
    // Once for each case shown: a larger page makes the window larger, as far
    // as the screen allows; a window the user made larger stays so.
    if (&format == m_sizedFor)
        return;
    m_sizedFor = &format;
    QSize want = PreviewState::windowSize(format);
    if (const QScreen *screen = this->screen()) {
        const QSize frame = frameGeometry().size() - size();
        want = want.boundedTo(screen->availableGeometry().size() - frame);
    }
    if (width() < want.width() || height() < want.height())
        resize(size().expandedTo(want));
}

void TPreviewWindow::redraw()
{
    const CaseFormat &format = m_drawPage.format();
    growFor(format);
    followShownSheets();
    m_bitmap = QImage(PreviewState::bitmapSize(m_state.zoom(), format), QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
    QList<PartBox> boxes;
    RenderPreviewPage(m_state.previewPage(), m_bitmap, m_drawPage, &boxes);
    ++m_drawCount;
    m_image->pageDrawn(m_bitmap, boxes, PreviewState::pageSize(format), 96);
    m_image->setAccessibleName(PreviewState::pageCaption(m_state.previewPage(), m_drawPage.format()));
}

void TPreviewWindow::setEditing(PreviewEditing editing)
{
    m_image->setEditing(std::move(editing));
}

void TPreviewWindow::showPage(PreviewPage page)
{
    if (!m_drawPage.offers(page))
        return;
    // Things of the other page cannot stay selected.
    if (page != m_state.previewPage())
        m_image->clearSelection();
    if (m_state.showPage(page))
        redraw();
    updatePageButtons();
}

void TPreviewWindow::turnPage(int step)
{
    if (const auto to = PreviewState::turnedPage(m_state.previewPage(), m_drawPage.format(), step))
        showPage(*to);
}

void TPreviewWindow::updatePageButtons()
{
    // Only a booklet has pages to turn.
    const CaseFormat &format = m_drawPage.format();
    const bool booklet = format.frontSheets > 1;
    for (QPushButton *b : { m_pageBack, m_pageOn })
        if (b->isVisibleTo(this) != booklet)
            b->setVisible(booklet);
    const PreviewPage shown = m_state.previewPage();
    m_pageBack->setEnabled(PreviewState::turnedPage(shown, format, -1).has_value());
    m_pageOn->setEnabled(PreviewState::turnedPage(shown, format, 1).has_value());
}

void TPreviewWindow::PreviewTopShowClick()
{
    showPage(PreviewPage::Front);
}

void TPreviewWindow::PreviewBottomShowClick()
{
    // The sheet after the front label's: the back label, or a booklet's back
    // label after its sides.
    showPage(PreviewPage(m_drawPage.format().frontSheets));
}

void TPreviewWindow::RequestPreviewRefresh(PreviewPage page)
{
    // The sheets offered follow the case and the inside switch at once; a
    // page that gives way redraws the one shown instead.
    page = followShownSheets() ? PreviewPage::Shown
                               : PreviewState::changedPage(page, m_drawPage.format());
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
        RequestPreviewRefresh(PreviewPage::Shown);
    }
}

void TPreviewWindow::Zoom2Click()
{
    if (m_state.zoomIn()) {
        updateZoomButtons();
        RequestPreviewRefresh(PreviewPage::Shown);
    }
}

void TPreviewWindow::placeOnScreen()
{
    QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    cw::placeOnScreen(*this, main, m_placedBefore);
}

void TPreviewWindow::showEvent(QShowEvent *event)
{
    // Before the window is mapped, so that the window manager puts it there.
    if (!event->spontaneous())
        placeOnScreen();
    QMainWindow::showEvent(event);
    if (m_state.windowShown())
        redraw();
}

void TPreviewWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    m_state.windowHidden();
}

void TPreviewWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    const int w = event->size().width(), h = event->size().height();
    m_scroll->setGeometry(0, 32, w, h - 32 > 0 ? h - 32 : 0);
    m_zoom1->move(w - 160, 2);
    m_zoom2->move(w - 80, 2);
}

} // namespace cw

#pragma once

#include <QImage>
#include <QMainWindow>

#include "render/PageDrawer.h"
#include "render/PreviewState.h"
#include "render/ui/PreviewPageView.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace cw {

// "Casewright [Preview]": the front or back page as it will print (a wrap and
// its inside; a booklet's pages as it is read, a spread at a time), at one of
// three sizes, kept current while the document is edited. A main window of its
// own (not a plain widget), so that the desktop and screen readers treat it as
// a window. It shows fully on the screen of the window it belongs to.
class TPreviewWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit TPreviewWindow(PageDrawer drawPage, QWidget *parent = nullptr);

    // Page 0 front, 1 back, 2 the page shown.
    void RequestPreviewRefresh(PreviewPage page);
    const PreviewState &state() const { return m_state; }
    // The bitmap last drawn (white before the first drawing).
    const QImage &bitmap() const { return m_bitmap; }
    // How many times a page has been drawn.
    int drawCount() const { return m_drawCount; }

    void PreviewTopShowClick();
    void PreviewBottomShowClick();
    void Zoom1Click();
    void Zoom2Click();

    // Lets the page's things be selected and moved (see PreviewPageView).
    void setEditing(PreviewEditing editing);
    PreviewPageView *pageView() const { return m_image; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPage(PreviewPage page);
    // "前へ" and "次へ": a booklet's previous or next spread; shown for a
    // booklet only, each enabled while there is a spread that way.
    void turnPage(int step);
    void updatePageButtons();
    // Offers the back page only while the drawer shows a second sheet, and
    // shows the first sheet instead of one no longer shown: true then.
    bool followShownSheets();
    void redraw();
    void growFor(const CaseFormat &format);
    void updateZoomButtons();
    void placeOnScreen();

    PageDrawer m_drawPage;
    PreviewState m_state;
    QImage m_bitmap;
    int m_drawCount = 0;
    bool m_placedBefore = false;
    const CaseFormat *m_sizedFor = nullptr; // the case the window was last sized for
    QPushButton *m_topShow;
    QPushButton *m_bottomShow;
    QPushButton *m_discShow = nullptr;
    QPushButton *m_close;
    QPushButton *m_pageBack = nullptr, *m_pageOn = nullptr;
    QPushButton *m_zoom1;
    QPushButton *m_zoom2;
    QScrollArea *m_scroll;
    PreviewPageView *m_image;
};

} // namespace cw

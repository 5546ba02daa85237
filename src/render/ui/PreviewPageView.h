#pragma once

#include <QLabel>
#include <functional>
#include <memory>

#include "render/DirectEdit.h"

namespace cw {

// What the preview needs to change the document: the change operations and
// the windows to tell.
struct PreviewEditing
{
    DocumentEditor *document = nullptr;
    PrintsEditor *prints = nullptr;
    // After a change: the windows show the document again and the pages
    // are refreshed (the main window's handling of an operation's result).
    std::function<void(const EditResult &, const PagePart &)> changed;
    // Double-click or Enter on a thing: bring up where it is edited.
    std::function<void(const PagePart &)> open;
    // The free-print editor's "縦横比固定" for picture items (ticked when unset).
    std::function<bool()> itemKeepAspect;
    // While a picture is dragged, picture files are to be kept decoded
    // (HeldPictureReader); false when the drag ends.
    std::function<void(bool)> holdPictures;
};

// The shown page of the preview. Things on it are selected by clicking,
// Tab and Shift+Tab, and moved by dragging and the arrow keys; the selection
// is outlined with handles on the screen only, never in the bitmap.
// The handle drawn around a corner of the selected thing; none (a null
// rectangle) for a corner far off the widget (an item placed or sized
// thousands of millimetres away), whose handle could not be reached and
// whose rectangle would not fit the integers.
QRect previewHandleAround(const QPoint &corner, const QRect &widget);

class PreviewPageView : public QLabel
{
    Q_OBJECT
public:
    explicit PreviewPageView(QWidget *parent = nullptr);

    void setEditing(PreviewEditing editing);
    bool editable() const { return m_editing.document && m_editing.prints; }
    // The document edited (only while editable()).
    const LabelDocument &editingDocument() const { return m_editing.document->document(); }

    // The page was drawn: `bitmap` shows a page of `pageSize` canvas pixels
    // (at `pageDpi`) on which the renderers reported `boxes`.
    void pageDrawn(const QImage &bitmap, const QList<PartBox> &boxes, QSize pageSize, int pageDpi);

    const QList<PartBox> &boxes() const { return m_boxes; }
    // The selected thing's index in boxes(); -1 for none.
    int selectedIndex() const;
    bool hasSelection() const { return m_hasSelection; }
    const PagePart &selection() const { return m_selection; }
    void select(int boxIndex);
    void clearSelection();
    // The tip last shown while moving ("横 12mm 縦 30mm").
    const QString &lastTip() const { return m_tip; }
    // Widget pixels of a canvas rectangle at the shown zoom.
    QRect toWidget(const QRect &canvas) const;
    // The selected picture's size handle at `corner` in widget pixels; empty
    // when the selection cannot be sized.
    QRect sizeHandle(SizeCorner corner = SizeCorner::BottomRight) const;
    // Whether the handles of box `i` size its thing (a picture or a text block).
    bool sizesBox(int i) const;

Q_SIGNALS:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPoint toCanvas(const QPoint &widget) const;
    void moveTo(const PartBox &box, PartPosition pos, const QPoint &tipAt);
    void step(int dx, int dy);
    void endRun();

    PreviewEditing m_editing;
    QList<PartBox> m_boxes;
    QSize m_pageSize;
    int m_pageDpi = 96;
    double m_scale = 1.0;
    bool m_hasSelection = false;
    PagePart m_selection;
    // A drag in progress: the step it makes, where it started.
    std::unique_ptr<EditStep> m_dragStep;
    bool m_dragging = false;
    QPoint m_pressAt;
    PartBox m_dragBox;
    PartPosition m_dragStart;
    PartPosition m_last;
    bool m_resizing = false; // the drag sizes the picture
    PartPosition m_sizeStart;
    SizeCorner m_sizeCorner = SizeCorner::BottomRight;
    bool m_runOpen = false; // arrow presses since the last other action
    QString m_tip;
};

} // namespace cw

#include "render/ui/PreviewPageView.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

#include "base/UiText.h"
#include "render/ui/PreviewPageAccessible.h"

namespace cw {

namespace {
constexpr int kHandle = 5; // the handles' size in widget pixels
} // namespace

QRect previewHandleAround(const QPoint &c, const QRect &widget)
{
    if (!widget.adjusted(-kHandle, -kHandle, kHandle, kHandle).contains(c))
        return QRect();
    return QRect(c - QPoint(kHandle / 2, kHandle / 2), QSize(kHandle, kHandle));
}

PreviewPageView::PreviewPageView(QWidget *parent)
    : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(previewPageAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void PreviewPageView::setEditing(PreviewEditing editing)
{
    m_editing = std::move(editing);
    // Only a page whose things can be moved takes the keyboard.
    setFocusPolicy(editable() ? Qt::StrongFocus : Qt::NoFocus);
}

void PreviewPageView::pageDrawn(
    const QImage &bitmap, const QList<PartBox> &boxes, QSize pageSize, int pageDpi)
{
    m_boxes = boxes;
    m_pageSize = pageSize;
    m_pageDpi = pageDpi;
    m_scale = pageSize.width() > 0 ? double(bitmap.width()) / pageSize.width() : 1.0;
    setPixmap(QPixmap::fromImage(bitmap));
    resize(bitmap.size());
    // A thing that no longer prints cannot stay selected.
    if (m_hasSelection && selectedIndex() < 0 && !m_dragging) {
        m_hasSelection = false;
        Q_EMIT selectionChanged();
    }
    update();
}

int PreviewPageView::selectedIndex() const
{
    return m_hasSelection ? findPart(m_boxes, m_selection) : -1;
}

void PreviewPageView::select(int boxIndex)
{
    endRun();
    if (boxIndex < 0 || boxIndex >= m_boxes.size()) {
        clearSelection();
        return;
    }
    m_selection = m_boxes[boxIndex].part;
    m_hasSelection = true;
    update();
    if (QAccessible::isActive()) {
        QAccessibleInterface *page = QAccessible::queryAccessibleInterface(this);
        const int child = int(readingOrder(m_boxes).indexOf(boxIndex));
        if (page && hasFocus()) {
            QAccessibleEvent focus(page->child(child), QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
    Q_EMIT selectionChanged();
}

void PreviewPageView::clearSelection()
{
    endRun();
    const bool had = m_hasSelection;
    m_hasSelection = false;
    update();
    if (had)
        Q_EMIT selectionChanged();
}

QPoint PreviewPageView::toCanvas(const QPoint &widget) const
{
    return QPoint(int(widget.x() / m_scale), int(widget.y() / m_scale));
}

QRect PreviewPageView::toWidget(const QRect &canvas) const
{
    const QRectF r(canvas.x() * m_scale, canvas.y() * m_scale, canvas.width() * m_scale,
        canvas.height() * m_scale);
    return r.toAlignedRect();
}

void PreviewPageView::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    const int i = selectedIndex();
    if (i < 0)
        return;
    // A thin outline with a handle at each corner, on the screen only.
    QPainter p(this);
    const QRect r = toWidget(m_boxes[i].bounds);
    p.setPen(QPen(QColor(0, 120, 215), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    // The handles that size a picture or a text block are filled.
    p.setBrush(sizesBox(i) ? QColor(0, 120, 215) : QColor(Qt::white));
    for (const QPoint &c : { r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight() })
        if (const QRect handle = previewHandleAround(c, rect()); !handle.isNull())
            p.drawRect(handle);
}

bool PreviewPageView::sizesBox(int i) const
{
    return m_editing.document ? sizedByHandle(m_editing.document->document(), m_boxes[i].part)
                              : resizable(m_boxes[i].part);
}

QRect PreviewPageView::sizeHandle(SizeCorner corner) const
{
    const int i = selectedIndex();
    if (i < 0 || !sizesBox(i))
        return QRect();
    const QRect r = toWidget(m_boxes[i].bounds);
    QPoint c;
    switch (corner) {
    case SizeCorner::TopLeft:
        c = r.topLeft();
        break;
    case SizeCorner::TopRight:
        c = r.topRight();
        break;
    case SizeCorner::BottomLeft:
        c = r.bottomLeft();
        break;
    case SizeCorner::BottomRight:
        c = r.bottomRight();
        break;
    }
    return previewHandleAround(c, rect());
}

void PreviewPageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !editable()) {
        QLabel::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    endRun();
    const QPoint at = event->position().toPoint();
    for (SizeCorner corner : { SizeCorner::BottomRight, SizeCorner::BottomLeft,
             SizeCorner::TopRight, SizeCorner::TopLeft }) {
        const QRect handle = sizeHandle(corner);
        if (!handle.adjusted(-2, -2, 2, 2).contains(at))
            continue;
        // Sizing the selected picture or text block by a handle; the
        // opposite corner stays.
        m_dragBox = m_boxes[selectedIndex()];
        m_sizeCorner = corner;
        m_sizeStart = partSize(m_editing.document->document(), m_dragBox.part);
        m_dragStart = partPosition(m_editing.document->document(), m_dragBox, m_pageDpi, m_pageDpi);
        m_last = m_sizeStart;
        m_pressAt = at;
        m_dragging = m_resizing = true;
        if (resizable(m_dragBox.part) && m_editing.holdPictures)
            m_editing.holdPictures(true);
        m_dragStep = std::make_unique<EditStep>(&m_editing.document->history(),
            stepLabel(
                UiText::tr("サイズ変更"), partName(m_editing.document->document(), m_dragBox.part)),
            partEditParts(m_dragBox.part));
        return;
    }
    const int hit = partAt(m_boxes, toCanvas(event->position().toPoint()));
    select(hit);
    if (hit < 0)
        return;
    m_dragBox = m_boxes[hit];
    m_dragStart = partPosition(m_editing.document->document(), m_dragBox, m_pageDpi, m_pageDpi);
    m_last = m_dragStart;
    m_pressAt = event->position().toPoint();
    m_dragging = true;
    if (resizable(m_dragBox.part) && m_editing.holdPictures)
        m_editing.holdPictures(true);
    // Every change until the drop is one step.
    m_dragStep = std::make_unique<EditStep>(&m_editing.document->history(),
        stepLabel(UiText::tr("移動"), partName(m_editing.document->document(), m_dragBox.part)),
        partEditParts(m_dragBox.part));
}

void PreviewPageView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    const QPoint deltaWidget = event->position().toPoint() - m_pressAt;
    const QPoint delta(int(deltaWidget.x() / m_scale), int(deltaWidget.y() / m_scale));
    if (m_resizing) {
        LabelDocument &doc = m_editing.document->document();
        const PartUnit unit = partUnit(m_dragBox.part);
        const PartPosition size
            = draggedSize(doc, m_sizeStart, delta, m_pageDpi, m_pageDpi, m_sizeCorner, unit);
        if (size == m_last)
            return;
        m_last = size;
        const bool keep = m_editing.itemKeepAspect ? m_editing.itemKeepAspect() : true;
        const PartEditors editors { *m_editing.document, *m_editing.prints };
        EditResult r = sizePart(editors, m_dragBox.part, size, keep);
        // A handle other than the bottom right one moves the picture by what
        // its size changed (as stored: the aspect lock may have set the height).
        if (m_sizeCorner != SizeCorner::BottomRight) {
            const PartPosition stored = partSize(doc, m_dragBox.part);
            r.merge(placePart(editors, m_dragBox.part,
                sizedPosition(m_dragStart, m_sizeStart, stored, m_sizeCorner)));
        }
        m_tip = sizeTip(partSize(doc, m_dragBox.part), unit);
        QToolTip::showText(event->globalPosition().toPoint(), m_tip, this);
        if (m_editing.changed)
            m_editing.changed(r, m_dragBox.part);
        return;
    }
    const PartPosition to = draggedPosition(
        m_editing.document->document(), m_dragBox, m_dragStart, delta, m_pageDpi, m_pageDpi);
    moveTo(m_dragBox, to, event->globalPosition().toPoint());
}

void PreviewPageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_dragging = m_resizing = false;
    m_dragStep.reset();
    if (resizable(m_dragBox.part) && m_editing.holdPictures)
        m_editing.holdPictures(false);
    QToolTip::hideText();
}

void PreviewPageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int hit = partAt(m_boxes, toCanvas(event->position().toPoint()));
    if (hit >= 0 && m_editing.open) {
        select(hit);
        m_editing.open(m_boxes[hit].part);
    }
}

void PreviewPageView::moveTo(const PartBox &box, PartPosition pos, const QPoint &tipAt)
{
    if (pos == m_last && m_dragging)
        return;
    m_last = pos;
    const EditResult r = placePart({ *m_editing.document, *m_editing.prints }, box.part, pos);
    // The values as stored (cut to their fields) make the tip.
    const PartPosition stored
        = partPosition(m_editing.document->document(), box, m_pageDpi, m_pageDpi);
    m_tip = positionTip(box.part, stored);
    QToolTip::showText(tipAt, m_tip, this);
    if (m_editing.changed)
        m_editing.changed(r, box.part);
}

void PreviewPageView::step(int dx, int dy)
{
    const int i = selectedIndex();
    if (i < 0 || !editable())
        return;
    const PartBox box = m_boxes[i];
    const LabelDocument &doc = m_editing.document->document();
    const PartPosition to
        = steppedPosition(box, partPosition(doc, box, m_pageDpi, m_pageDpi), dx, dy);
    // A run of arrow presses on one thing is one step: the steps share a
    // typing key, which any other action ends.
    const QString name = partName(doc, box.part);
    {
        EditStep run(&m_editing.document->history(), stepLabel(UiText::tr("移動"), name),
            partEditParts(box.part), QStringLiteral("preview-move:") + name);
        m_runOpen = true;
        moveTo(box, to, mapToGlobal(toWidget(box.bounds).bottomLeft()));
    }
}

void PreviewPageView::endRun()
{
    if (m_runOpen && m_editing.document)
        m_editing.document->history().endTyping();
    m_runOpen = false;
}

void PreviewPageView::keyPressEvent(QKeyEvent *event)
{
    const int unit = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        step(-unit, 0);
        return;
    case Qt::Key_Right:
        step(unit, 0);
        return;
    case Qt::Key_Up:
        step(0, -unit);
        return;
    case Qt::Key_Down:
        step(0, unit);
        return;
    case Qt::Key_Escape:
        if (m_hasSelection) {
            clearSelection();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selectedIndex() >= 0 && m_editing.open) {
            endRun();
            m_editing.open(m_selection);
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

bool PreviewPageView::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab walk the page's things in reading order; past the
    // last (or before the first) the focus leaves the page.
    const QList<int> order = readingOrder(m_boxes);
    const int current = order.indexOf(selectedIndex());
    const int to = current < 0 ? (next ? 0 : int(order.size()) - 1) : current + (next ? 1 : -1);
    if (!editable() || order.isEmpty() || to < 0 || to >= order.size()) {
        clearSelection();
        return QLabel::focusNextPrevChild(next);
    }
    select(order[to]);
    return true;
}

void PreviewPageView::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    // Coming in by Tab selects the first thing, by Shift+Tab the last one.
    if (!editable() || m_hasSelection || m_boxes.isEmpty())
        return;
    const QList<int> order = readingOrder(m_boxes);
    if (event->reason() == Qt::TabFocusReason)
        select(order.first());
    else if (event->reason() == Qt::BacktabFocusReason)
        select(order.last());
}

void PreviewPageView::focusOutEvent(QFocusEvent *event)
{
    // The tip's window coming and going is no end of a run; the user
    // going elsewhere is.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        endRun();
    QLabel::focusOutEvent(event);
}

} // namespace cw

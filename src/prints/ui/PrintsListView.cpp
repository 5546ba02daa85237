#include "prints/ui/PrintsListView.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>

#include "prints/PrintsListModel.h"

namespace cw {

const int kPrintsSectionWidths[4] = { 50, 80, 80, 286 };

void PrintsListBox::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    viewport()->update();
}

PrintsLineDelegate::PrintsLineDelegate(QHeaderView *header, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_header(header)
{ }

void PrintsLineDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QStringList cells = index.data(PrintsListModel::CellsRole).toStringList();
    const QVariant contentFont = index.data(PrintsListModel::ContentFontRole);
    const int offset = -m_header->offset();
    for (int c = 0; c < cells.size() && c < 4; ++c) {
        const int left = m_header->sectionPosition(c) + offset;
        const int right = left + m_header->sectionSize(c);
        const QRect cell(QPoint(option.rect.left() + left + 3, option.rect.top()),
            QPoint(option.rect.left() + right - 5, option.rect.bottom()));
        QFont font = option.font;
        // The whole item font (the list's own size where it sets none).
        if (c == 3 && contentFont.isValid())
            font = contentFont.value<QFont>().resolve(option.font);
        painter->setFont(font);
        painter->drawText(cell,
            (c == 3 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter | Qt::TextSingleLine,
            cells[c]);
    }
    painter->restore();
}

QSize PrintsLineDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(m_header->length(), QFontMetrics(option.font).height() + 2);
}

} // namespace cw

#include "tracklist/ui/ListRowView.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

#include "fonts/FontQt.h"
#include "tracklist/ListEditor.h"

namespace cw {

ListRowModel::ListRowModel(QList<TListData> &rows, QObject *parent)
    : QAbstractListModel(parent)
    , m_rows(rows)
{ }

int ListRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ListRowModel::data(const QModelIndex &index, int role) const
{
    const TListData *r = row(index.row());
    if (!r || index.column() != 0)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return listRowLine(*r);
    return QVariant();
}

const TListData *ListRowModel::row(int index) const
{
    return index >= 0 && index < m_rows.size() ? &m_rows[index] : nullptr;
}

void ListRowModel::beginInsert(int first, int count)
{
    beginInsertRows(QModelIndex(), first, first + count - 1);
}

void ListRowModel::endInsert()
{
    endInsertRows();
}

void ListRowModel::beginRemove(int first, int count)
{
    beginRemoveRows(QModelIndex(), first, first + count - 1);
}

void ListRowModel::endRemove()
{
    endRemoveRows();
}

void ListRowModel::beginReset()
{
    beginResetModel();
}

void ListRowModel::endReset()
{
    endResetModel();
}

void ListRowModel::rowsChanged(int first, int last)
{
    if (first < 0 || last < first || last >= m_rows.size())
        return;
    Q_EMIT dataChanged(index(first), index(last));
}

void ListRowModel::allRowsChanged()
{
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1));
}

ListRowDelegate::ListRowDelegate(QHeaderView *header, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_header(header)
{ }

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(m_header->length(), kListLineHeight);
}

void ListRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ListRowModel *>(index.model());
    const TListData *row = model ? model->row(index.row()) : nullptr;
    if (!row)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const auto sections = listRowSections(*row);
    for (int s = 0; s < kListSectionCount; ++s) {
        const int left = option.rect.left() + m_header->sectionViewportPosition(s);
        const QRect r = listSectionTextRect(
            left, m_header->sectionSize(s), option.rect.top(), option.rect.height());
        if (r.width() <= 0)
            continue;
        QFont font = m_font;
        Qt::Alignment align = Qt::AlignHCenter | Qt::AlignVCenter;
        const bool content = s % 2 == 1;
        if (content) {
            const size_t k = size_t(s / 2);
            align = Qt::AlignLeft | Qt::AlignVCenter;
            if (row->columns[k].enabled) {
                // The cell's own face and style at the display size.
                font = toQFont(row->columns[k].font);
                if (m_font.pixelSize() > 0)
                    font.setPixelSize(m_font.pixelSize());
                else
                    font.setPointSizeF(m_font.pointSizeF());
            }
        }
        painter->setFont(font);
        painter->setClipRect(r);
        painter->drawText(r, int(align) | Qt::TextSingleLine, sections[size_t(s)]);
    }
    painter->restore();
}

} // namespace cw

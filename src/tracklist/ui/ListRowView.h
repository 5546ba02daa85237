#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QStyledItemDelegate>

#include "tracklist/TListData.h"

class QHeaderView;

namespace cw {

// The document's rows as a list model: one item per row, its text what the
// line shows (for screen readers and tests). The rows are edited in place by
// the list editor, which tells the model what changed.
class ListRowModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ListRowModel(QList<TListData> &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    const TListData *row(int index) const;

    // Notifications around changes the editor makes.
    void beginInsert(int first, int count);
    void endInsert();
    void beginRemove(int first, int count);
    void endRemove();
    void beginReset();
    void endReset();
    void rowsChanged(int first, int last);
    void allRowsChanged();

private:
    QList<TListData> &m_rows;
};

// Draws one line per row over the header's seven sections: the "ｾﾊﾟﾚｰﾄ" choice,
// then each cell's text in its own face at the display font's size and its
// position, or hyphens for a cell that is switched off.
class ListRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    ListRowDelegate(QHeaderView *header, QObject *parent = nullptr);
    void setDisplayFont(const QFont &font) { m_font = font; }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QHeaderView *m_header;
    QFont m_font;
};

} // namespace cw

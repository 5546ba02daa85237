#pragma once

#include <QListView>
#include <QStyledItemDelegate>

class QHeaderView;

namespace cw {

// The free-print editor's item list. Qt's views make the first row current
// when they get the focus with nothing current; here "nothing selected" is a
// state of its own (all item controls off), so the focus alone selects
// nothing.
class PrintsListBox : public QListView
{
public:
    using QListView::QListView;

protected:
    void focusInEvent(QFocusEvent *event) override;
};

// The widths of the list's four header sections.
extern const int kPrintsSectionWidths[4];

// Draws an item's line cell by cell under the header's sections: each cell
// from its section's left + 3 to its right - 5, the first three centred, the
// content left-aligned (a text item's in its own font: face, style and
// character set).
class PrintsLineDelegate : public QStyledItemDelegate
{
public:
    PrintsLineDelegate(QHeaderView *header, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override;

private:
    QHeaderView *m_header;
};

} // namespace cw

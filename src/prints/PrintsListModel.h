#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QList>
#include <QStringList>

#include "document/TPrintsData.h"

namespace cw {

// The four cells of an item's line in the free-print editor:
//   "種類"       "Text" / "Graph"
//   "印刷位置"   "%d, %d mm" of textX, textY / "%d, %d px" of posX, posY
//   "印刷サイズ" "-------" / "%3d,%3d" of printWidth, printHeight
//   "内容"       the text / the file name
QStringList printsItemCells(const TPrintsData &item);

// The font a text item's content cell is drawn in: the item font's face,
// style and character set (applyFontCharset); the size is left unset so that
// the list's own size applies.
QFont printsContentFont(const TPrintsData &item);

// One row per item of a free-print list. The display text is the line as
// shown (its cells joined by a space), which is also what assistive tools
// read; CellsRole gives the cells, ContentFontRole the content cell's font
// (text items only).
class PrintsListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { CellsRole = Qt::UserRole + 1, ContentFontRole };

    explicit PrintsListModel(QObject *parent = nullptr);

    // The list shown; null shows nothing. Resets the model.
    void setList(const QList<TPrintsData> *list);
    const QList<TPrintsData> *list() const { return m_list; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // The owner of the list reports its changes.
    void beginInsert(int row);
    void endInsert();
    void beginRemove(int row);
    void endRemove();
    void rowsSwapped(int first); // first and first + 1
    void rowChanged(int row);

private:
    const QList<TPrintsData> *m_list = nullptr;
};

} // namespace cw

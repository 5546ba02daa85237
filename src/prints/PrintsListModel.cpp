#include "prints/PrintsListModel.h"

#include "fonts/FontQt.h"

namespace cw {

QStringList printsItemCells(const TPrintsData &item)
{
    if (item.kind == PrintsTextBlock) {
        // Placed in millimetres with its box's size; its first line stands
        // for its text.
        const QString first = item.text.section(QLatin1Char('\n'), 0, 0);
        return { QStringLiteral("Block"), QString::asprintf("%d, %d mm", item.textX, item.textY),
            QString::asprintf("%3d,%3d", item.blockWidth, item.blockHeight),
            item.text.contains(QLatin1Char('\n')) ? first + QStringLiteral(" …") : first };
    }
    const bool picture = item.kind == 1;
    const QString kind = picture ? QStringLiteral("Graph") : QStringLiteral("Text");
    // A text item is placed in millimetres, a picture item in the printer's
    // pixels: the position says which.
    const QString pos = picture ? QString::asprintf("%d, %d px", item.posX, item.posY)
                                : QString::asprintf("%d, %d mm", item.textX, item.textY);
    const QString size = picture ? QString::asprintf("%3d,%3d", item.printWidth, item.printHeight)
                                 : QStringLiteral("-------");
    return { kind, pos, size, picture ? item.fileName : item.text };
}

QFont printsContentFont(const TPrintsData &item)
{
    QFont font;
    font.setFamilies({ item.font.name });
    font.setBold(item.font.bold);
    font.setItalic(item.font.italic);
    font.setUnderline(item.font.underline);
    font.setStrikeOut(item.font.strikeOut);
    applyFontCharset(item.font.charset, font);
    return font;
}

PrintsListModel::PrintsListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void PrintsListModel::setList(const QList<TPrintsData> *list)
{
    beginResetModel();
    m_list = list;
    endResetModel();
}

int PrintsListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_list)
        return 0;
    return int(m_list->size());
}

QVariant PrintsListModel::data(const QModelIndex &index, int role) const
{
    if (!m_list || !index.isValid() || index.row() >= m_list->size())
        return QVariant();
    const TPrintsData &item = m_list->at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return printsItemCells(item).join(QLatin1Char(' '));
    case CellsRole:
        return printsItemCells(item);
    case ContentFontRole:
        return item.kind == 1 ? QVariant() : QVariant(printsContentFont(item));
    default:
        return QVariant();
    }
}

void PrintsListModel::beginInsert(int row)
{
    beginInsertRows(QModelIndex(), row, row);
}

void PrintsListModel::endInsert()
{
    endInsertRows();
}

void PrintsListModel::beginRemove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
}

void PrintsListModel::endRemove()
{
    endRemoveRows();
}

void PrintsListModel::rowsSwapped(int first)
{
    Q_EMIT dataChanged(index(first), index(first + 1));
}

void PrintsListModel::rowChanged(int row)
{
    if (row >= 0 && row < rowCount())
        Q_EMIT dataChanged(index(row), index(row));
}

} // namespace cw

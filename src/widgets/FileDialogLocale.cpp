#include "widgets/FileDialogLocale.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace cw {

namespace {

// The columns of QFileSystemModel.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

class InterfaceLocaleFiles : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files
            || (index.column() != kSizeColumn && index.column() != kDateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        // Folders have no size; the file list leaves it empty.
        if (index.column() == kSizeColumn)
            return files->isDir(source)
                ? QIdentityProxyModel::data(index, role)
                : QVariant(QLocale().formattedDataSize(files->size(source)));
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    }
};

} // namespace

void listFilesInInterfaceLocale(QFileDialog &dialog)
{
    dialog.setProxyModel(new InterfaceLocaleFiles(&dialog));
}

} // namespace cw

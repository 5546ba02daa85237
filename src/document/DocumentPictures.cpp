#include "document/DocumentPictures.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace cw {

QString resolveDocumentPicture(const QString &stored, const QString &documentPath)
{
    if (stored.isEmpty())
        return stored;
    const QFileInfo info(stored);
    if (info.isAbsolute() && info.exists())
        return stored;
    const QDir folder = QFileInfo(documentPath).absoluteDir();
    if (!info.isAbsolute()) {
        const QString candidate = folder.absoluteFilePath(stored);
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    // Documents written elsewhere may name a folder that does not exist here
    // (with either kind of separator): look beside the document.
    const qsizetype cut
        = std::max(stored.lastIndexOf(QLatin1Char('/')), stored.lastIndexOf(QLatin1Char('\\')));
    const QString last = stored.mid(cut + 1);
    if (!last.isEmpty()) {
        const QString candidate = folder.absoluteFilePath(last);
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return stored;
}

QString readPictureName(
    const QString &stored, const QString &documentPath, QHash<QString, QString> &namesAsStored)
{
    const QString found = resolveDocumentPicture(stored, documentPath);
    if (found != stored)
        namesAsStored.insert(found, stored);
    return found;
}

QString pictureNameToWrite(const QString &fileName, const QString &documentPath,
    const QHash<QString, QString> &namesAsStored)
{
    const auto stored = namesAsStored.constFind(fileName);
    if (stored != namesAsStored.constEnd()
        && resolveDocumentPicture(*stored, documentPath) == fileName)
        return *stored;
    return fileName;
}

} // namespace cw

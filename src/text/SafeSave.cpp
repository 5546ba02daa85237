#include "text/SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace cw {

bool saveFileSafely(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        if (target.isDir())
            return false;
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size()
            || !device.flush())
            return false;
        device.close();
        return device.error() == QFileDevice::NoError;
    }
    if (target.exists()
        && (!target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner)))
        return false;
    // Unbuffered, and every write checked before the commit: with a buffered
    // QSaveFile, Qt 6.4 commits even when the flush inside commit() fails (a
    // full disk), replacing the old file by a cut one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError
        || !file.commit()) {
        file.cancelWriting();
        return false;
    }
    return true;
}

bool fileCanBeSaved(const QString &path)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir())
        return false;
    // A file marked read-only is refused by saveFileSafely whoever runs the
    // program, though the superuser may write it: ask the mark as well.
    if (target.exists())
        return target.isWritable()
            && (!target.isFile() || (target.permissions() & QFileDevice::WriteOwner));
    const QFileInfo folder(target.absolutePath());
    return folder.isDir() && folder.isWritable();
}

} // namespace cw

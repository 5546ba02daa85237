#pragma once

#include <QHash>
#include <QString>

namespace cw {

// Where a picture named in a document is read from: the stored name when it
// is an existing absolute path; otherwise the name relative to the document's
// folder, then the name's last component in the document's folder, when that
// file exists; otherwise the stored name as it is.
QString resolveDocumentPicture(const QString &stored, const QString &documentPath);

// A picture name as a document file stores it, read from the document at
// `documentPath`: the path the picture is found at (resolveDocumentPicture).
// When that differs from the stored name, `namesAsStored` (the document's
// pictureNamesAsStored) keeps the stored name under the path.
QString readPictureName(
    const QString &stored, const QString &documentPath, QHash<QString, QString> &namesAsStored);

// The name to write for the picture at `fileName` into a document at
// `documentPath`: the name the document was read with, when that name still
// leads to the same file from there; otherwise `fileName`.
QString pictureNameToWrite(const QString &fileName, const QString &documentPath,
    const QHash<QString, QString> &namesAsStored);

} // namespace cw

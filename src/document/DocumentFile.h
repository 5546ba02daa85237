#pragma once

#include <QByteArray>
#include <QString>

#include "document/LabelDocument.h"
#include "document/UserPrompts.h"

class DocumentEditor;

// The document file "*.cwr": CP932 text, CR LF, one value per line.
namespace docfile {
inline const char *const kHeader = "<Casewright Data File>";
inline const char *const kVersion = "1.06";
constexpr double kNewestVersion = 1.06;
} // namespace docfile

// The file's bytes, or the fields that cannot be written (text that CP932
// cannot hold or that is too long for a line), named in `problems`.
struct DocumentBytes
{
    QByteArray data;
    QString problems;
    bool ok() const { return problems.isEmpty(); }
};
// `path` is where the document will be written (empty: its own fileName);
// picture names read from a file are written back as they were stored when
// they still lead to the same picture from there.
DocumentBytes documentBytes(const LabelDocument &doc, const QString &path = QString());

// Writes the document to `path` through a temporary file that replaces the
// old one only when everything was written. On failure the message
// "ファイル(path)が記録できません" (with the refused fields, if any) is shown,
// nothing is written and false is returned. The document is never changed.
bool saveDocument(const LabelDocument &doc, const QString &path, MessageSink &messages);

enum class LoadStatus {
    Loaded,
    CannotOpen, // "がオープンできません": the document is as before
    NotADataFile, // "はデータファイルではありません": the document is as before
    WrongVersion, // "のバージョンが違います": the document is as before
    Damaged, // "が異常です": what was read stays; fileName becomes empty
};

// Replaces the editor's document from the file at `path`, every value through
// the editor's change operations. Progress shows "セーブデータロード中";
// failures are reported through the editor's message sink. On success the
// document's fileName becomes `path`. Only a regular file is opened (a pipe or
// a device gives the open-failure message without being read); the file is
// read line by line, so memory does not grow with the file's size.
LoadStatus loadDocument(DocumentEditor &editor, const QString &path, ProgressSink &progress);
// The same from bytes already read; `path` names the file in messages and is
// the folder that relative picture names are looked up in.
LoadStatus readDocument(
    DocumentEditor &editor, const QByteArray &data, const QString &path, ProgressSink &progress);
// The same from an open device, read line by line. A read error part-way
// counts as a damaged file.
LoadStatus readDocument(
    DocumentEditor &editor, QIODevice &device, const QString &path, ProgressSink &progress);

// Where a picture named in a document is read from: the stored name when it
// is an existing absolute path; otherwise the name relative to the document's
// folder, then the name's last component in the document's folder, when that
// file exists; otherwise the stored name as it is.
QString resolveDocumentPicture(const QString &stored, const QString &documentPath);

#pragma once

#include <QByteArray>
#include <QString>

#include "base/UserPrompts.h"
#include "text/UnicodeForm.h"

class QIODevice;

namespace cw {

class DocumentEditor;

// Reading the document file (see DocumentFileFormat.h).

enum class LoadStatus {
    Loaded,
    CannotOpen, // "がオープンできません": the document is as before
    NotADataFile, // "はデータファイルではありません": the document is as before
    WrongVersion, // "のバージョンが違います": the document is as before
    // "のケースの種類(%2)はこのプログラムでは扱えません": a 1.08 file names a case
    // format this program does not know; the document is as before
    UnknownCaseFormat,
    // "が異常です": what was read stays; fileName becomes empty. (A 1.08 file
    // without its "[Case]" section is not read at all: the document is as before.)
    Damaged,
};

// The version line and the encoding of the file that was read (filled once
// the version line has been read).
struct DocumentFileInfo
{
    QString version;
    TextEncoding encoding = TextEncoding::Cp932;
};

// Replaces the editor's document from the file at `path`, every value through
// the editor's change operations. Progress shows "セーブデータロード中";
// failures are reported through the editor's message sink. On success the
// document's fileName becomes `path`. Only a regular file is opened (a pipe or
// a device gives the open-failure message without being read); the file is
// read line by line, so memory does not grow with the file's size.
LoadStatus loadDocument(DocumentEditor &editor, const QString &path, ProgressSink &progress,
    DocumentFileInfo *info = nullptr);
// The same from bytes already read; `path` names the file in messages and is
// the folder that relative picture names are looked up in.
LoadStatus readDocument(DocumentEditor &editor, const QByteArray &data, const QString &path,
    ProgressSink &progress, DocumentFileInfo *info = nullptr);
// The same from an open device, read line by line. A read error part-way
// counts as a damaged file.
LoadStatus readDocument(DocumentEditor &editor, QIODevice &device, const QString &path,
    ProgressSink &progress, DocumentFileInfo *info = nullptr);

} // namespace cw

#pragma once

#include <QByteArray>
#include <QString>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "text/UnicodeForm.h"

namespace cw {

class DocumentEditor;

// The document file "*.cwr": CR LF, one value per line. Version 1.06 is CP932
// with lines of at most 255 bytes; a document whose text CP932 cannot hold is
// written as version 1.07, the same lines in UTF-8 (no byte-order mark) of at
// most 1,023 bytes. Both carry the same header, so a reader that knows only
// 1.06 refuses a 1.07 file with its version message.
namespace docfile {
inline const char *const kHeader = "<Casewright Data File>";
inline const char *const kVersion = "1.06";
inline const char *const kUnicodeVersion = "1.07";
constexpr double kUnicodeFrom = 1.07;
constexpr double kNewestVersion = 1.07;
// The most a reader takes of a line, its break included.
constexpr int kLineBytes = 255;
constexpr int kUnicodeLineBytes = 1023;
} // namespace docfile

// The file's bytes, or the fields that cannot be written (text the encoding
// cannot hold or that is too long for a line), named in `problems`.
struct DocumentBytes
{
    QByteArray data;
    QString problems;
    // Some text has characters outside CP932: only the Unicode form can hold
    // the document. Set by a CP932 write.
    bool needsUnicode = false;
    bool ok() const { return problems.isEmpty(); }
};
// `path` is where the document will be written (empty: its own fileName);
// picture names read from a file are written back as they were stored when
// they still lead to the same picture from there. CP932 writes version 1.06,
// UTF-8 version 1.07; the line-length checks follow the version.
DocumentBytes documentBytes(const LabelDocument &doc, const QString &path = QString(),
    TextEncoding encoding = TextEncoding::Cp932);

// The fields whose text CP932 cannot hold, each with its characters, in file
// order; empty when the document saves as 1.06.
struct UnicodeField
{
    QString field; // as the save message names it: "表レーベル タイトル"
    QList<cp932::Unencodable> characters;
};
QList<UnicodeField> fieldsNeedingUnicode(const LabelDocument &doc);

// What a save does with a document whose text CP932 cannot hold.
enum class UnicodeSave {
    Refuse, // the message names the fields and characters; nothing is written
    Ask, // asks unicodeSaveQuestion(); Yes writes 1.07, No refuses as above
    Allow, // writes 1.07 without asking
};
// The question, with the caption "確認".
QString unicodeSaveQuestion();

// Writes the document to `path` through a temporary file that replaces the
// old one only when everything was written. A document whose text fits CP932
// is written as 1.06; otherwise `unicode` decides (Ask needs `confirm`;
// without it the save refuses). On failure the message
// "ファイル(path)が記録できません" (with the refused fields, if any) is shown,
// nothing is written and false is returned. The document is never changed.
bool saveDocument(const LabelDocument &doc, const QString &path, MessageSink &messages,
    UnicodeSave unicode = UnicodeSave::Refuse, ConfirmSink *confirm = nullptr);

enum class LoadStatus {
    Loaded,
    CannotOpen, // "がオープンできません": the document is as before
    NotADataFile, // "はデータファイルではありません": the document is as before
    WrongVersion, // "のバージョンが違います": the document is as before
    Damaged, // "が異常です": what was read stays; fileName becomes empty
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

// Where a picture named in a document is read from: the stored name when it
// is an existing absolute path; otherwise the name relative to the document's
// folder, then the name's last component in the document's folder, when that
// file exists; otherwise the stored name as it is.
QString resolveDocumentPicture(const QString &stored, const QString &documentPath);

} // namespace cw

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "text/UnicodeForm.h"

namespace cw {

// Writing the document file (see DocumentFileFormat.h).

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
// they still lead to the same picture from there. For the CD jewel case,
// CP932 writes version 1.06 and UTF-8 version 1.07; a document of any other
// case format is written as version 1.08 in UTF-8 whatever `encoding` says.
// The line-length checks follow the version.
DocumentBytes documentBytes(const LabelDocument &doc, const QString &path = QString(),
    TextEncoding encoding = TextEncoding::Cp932);

// The fields whose text CP932 cannot hold, each with its characters, in file
// order; empty when the document saves as 1.06 or as 1.08 (always UTF-8).
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

} // namespace cw

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace cw {

// Windows code page 932 (the Shift-JIS variant that documents, templates and
// lists are written in), converted with glibc's CP932 table. One table for the
// whole program: every text file, every document value and every plug-in text
// goes through here.
namespace cp932 {

// A character that CP932 cannot hold: the character and its index (in UTF-16
// code units) within the string that was encoded.
struct Unencodable
{
    char32_t character = 0;
    qsizetype index = 0;
};

struct EncodeResult
{
    QByteArray bytes; // what could be encoded; unencodable characters are left out
    QList<Unencodable> unencodable; // empty when the whole text was encoded
    bool ok() const { return unencodable.isEmpty(); }
};

// Encodes text. Characters CP932 cannot hold are reported, never replaced.
EncodeResult encode(const QString &text);

// Decodes bytes. A byte sequence that is not CP932 becomes U+FFFD and, when
// `invalid` is given, is counted there.
QString decode(const QByteArray &bytes, int *invalid = nullptr);
QString decode(const char *data, qsizetype size, int *invalid = nullptr);

// Describes unencodable characters for a message: "「😀」(3文字目)".
QString describe(const QList<Unencodable> &unencodable);

} // namespace cp932

} // namespace cw

#pragma once

#include <QString>

#include "text/Cp932.h"

namespace cw {

// The program's text files are CP932 as long as their text fits; a file whose
// text CP932 cannot hold is written in UTF-8 under a newer version number.
// These are the rules that decide it, for the writers and for the marks the
// windows show beside a field while the user types.
enum class TextEncoding { Cp932, Utf8 };

// The name a message or the command line gives an encoding: "CP932", "UTF-8".
QString encodingName(TextEncoding encoding);

// Encodes text as UTF-8 (no byte-order mark). Only a lone surrogate has no
// UTF-8 form: it is reported, never replaced.
cp932::EncodeResult encodeUtf8(const QString &text);

// Encodes text in either encoding.
cp932::EncodeResult encodeText(const QString &text, TextEncoding encoding);

// Decodes a line of a file in its encoding; bytes that are not valid in it
// become U+FFFD.
QString decodeText(const QByteArray &bytes, TextEncoding encoding);

// The characters of `text` that CP932 cannot hold (empty when it fits).
QList<cp932::Unencodable> charactersOutsideCp932(const QString &text);

// True when the text can only be saved in the Unicode form of a file.
bool needsUnicodeForm(const QString &text);

// What the mark beside such a field tells the user: which characters do not
// fit, and that saving will ask for the newer format. Empty when the text fits.
QString unicodeFormToolTip(const QString &text);

} // namespace cw

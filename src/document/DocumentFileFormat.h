#pragma once

#include <QString>

#include "base/UiText.h"

namespace cw {

// The document file "*.cwr": CR LF, one value per line. Version 1.06 is CP932
// with lines of at most 255 bytes; a document whose text CP932 cannot hold is
// written as version 1.07, the same lines in UTF-8 (no byte-order mark) of at
// most 1,023 bytes. A document for any case but the CD jewel case is written
// as version 1.08: the lines of 1.07, after a "[Case]" section that names the
// case format, before every other section (docs/FILE-FORMAT.md); so is a
// jewel-case document with a chosen spine text direction. All carry the
// same header, so a reader that knows only 1.06 refuses a 1.07 file, and one
// that knows only 1.07 refuses a 1.08 file, with its version message.
namespace docfile {
inline const char *const kHeader = "<Casewright Data File>";
inline const char *const kVersion = "1.06";
inline const char *const kUnicodeVersion = "1.07";
inline const char *const kCaseVersion = "1.08";
inline const char *const kCaseSection = "[Case]";
// The optional line of the "[Case]" section after the id that keeps the
// spines' text directions; written only when one is chosen.
inline const char *const kSpineTextWord = "SpineText";
constexpr double kUnicodeFrom = 1.07;
constexpr double kCaseFrom = 1.08;
constexpr double kNewestVersion = 1.08;
// The most a reader takes of a line, its break included.
constexpr int kLineBytes = 255;
constexpr int kUnicodeLineBytes = 1023;

// Whether a reader whose newest version is `newest` refuses a file of
// `version` (the leading number of its version line) as another version.
constexpr bool isNewerVersion(double version, double newest)
{
    return version > newest + 1e-9;
}

// The messages about a document file: `reason`, a text marked for translation
// with the path as %1 ("ファイル(%1)が異常です").
inline QString fileMessage(const QString &path, const char *reason)
{
    return UiText::tr(reason).arg(path);
}
} // namespace docfile

} // namespace cw

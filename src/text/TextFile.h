#pragma once

#include <QString>
#include <optional>

#include "base/UserPrompts.h"

namespace cw {

// Reads a plain text file whole: UTF-8 (a byte-order mark dropped) or, when
// its bytes are not valid UTF-8, CP932. Line breaks come back as '\n' and
// those at the end of the file are dropped. Nothing, after a message naming
// the file, for a file that is no regular file or cannot be read
// ("ファイル(%1)がオープンできません"), one larger than `maxBytes`
// ("ファイル(%1)が大きすぎます(最大%2KB)"), and one that holds bytes neither
// encoding reads or control characters other than tab, form feed and line
// breaks ("ファイル(%1)はテキストファイルではありません").
std::optional<QString> readTextFile(const QString &path, qint64 maxBytes, MessageSink &messages);

} // namespace cw

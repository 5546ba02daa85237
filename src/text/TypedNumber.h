#pragma once

#include <QString>
#include <optional>

#include "base/UserPrompts.h"

namespace cw {

// Numbers typed into the windows' edits. A whole number is decimal digits
// with an optional sign; blanks around them are ignored. An empty text, a
// lone sign and anything else are not whole numbers.
std::optional<long long> typedWholeNumber(const QString &text);
// The same for a field that holds an int: a number outside its range is not
// one either.
std::optional<int> typedInt(const QString &text);

// "'abc' は正しい整数値ではありません": the message for a text that is not a
// whole number where one is applied. The field's stored value stays and the
// field shows it again.
QString invalidNumberMessage(const QString &text);
// typedInt(text), or nothing after the message.
std::optional<int> takeTypedInt(const QString &text, MessageSink &messages);

} // namespace cw

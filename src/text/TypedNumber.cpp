#include "text/TypedNumber.h"
#include "base/UiText.h"

#include <limits>

namespace cw {

std::optional<long long> typedWholeNumber(const QString &text)
{
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> typedInt(const QString &text)
{
    const std::optional<long long> value = typedWholeNumber(text);
    if (!value || *value < std::numeric_limits<int>::min()
        || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

QString invalidNumberMessage(const QString &text)
{
    return UiText::tr("'%1' は正しい整数値ではありません").arg(text);
}

std::optional<int> takeTypedInt(const QString &text, MessageSink &messages)
{
    const std::optional<int> value = typedInt(text);
    if (!value)
        messages.showMessage(invalidNumberMessage(text));
    return value;
}

} // namespace cw

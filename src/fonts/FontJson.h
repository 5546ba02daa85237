#pragma once

#include <QJsonObject>

#include "fonts/Font.h"

namespace cw {

// {name, size, color, charset, bold, italic, underline, strikeOut}; the
// colour as an unsigned decimal number (0x80000008 is 2147483656).
QJsonObject fontSpecToJson(const FontSpec &font);

} // namespace cw

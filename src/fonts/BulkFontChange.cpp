#include "fonts/BulkFontChange.h"

namespace cw {

FontSpec applyBulkFontChange(
    const FontSpec &target, const FontSpec &chosen, const BulkFontChangeSwitches &switches)
{
    FontSpec f = target;
    if (switches.changeFont) {
        f.name = chosen.name;
        f.charset = chosen.charset;
    }
    if (switches.changeSize)
        f.size = chosen.size;
    if (switches.changeColor)
        f.color = chosen.color;
    if (switches.changeStyle) {
        f.bold = chosen.bold;
        f.italic = chosen.italic;
    }
    if (switches.changeDecoration) {
        f.underline = chosen.underline;
        f.strikeOut = chosen.strikeOut;
    }
    return f;
}

QPoint centredOver(const QRect &owner, const QSize &size)
{
    return QPoint(owner.left() + (owner.width() - size.width()) / 2,
        owner.top() + (owner.height() - size.height()) / 2);
}

} // namespace cw

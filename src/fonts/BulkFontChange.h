#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "fonts/Font.h"

namespace cw {

// The six switches of the bulk font change. They live as long as the window
// that shows them, so the user's last choice is kept for the run.
struct BulkFontChangeSwitches
{
    bool changeFont = true; // face and character set
    bool changeSize = true;
    bool changeColor = true;
    bool changeStyle = true; // bold and italic
    bool changeDecoration = true; // underline and strike-out
    bool changeDefault = true; // the list's default font changes as well

    bool operator==(const BulkFontChangeSwitches &) const = default;
};

// What the bulk font change window returns when the user presses "変更".
struct BulkFontChoice
{
    FontSpec font;
    BulkFontChangeSwitches switches;
};

// `target` with the parts of `chosen` that the switches select carried over.
FontSpec applyBulkFontChange(
    const FontSpec &target, const FontSpec &chosen, const BulkFontChangeSwitches &switches);

// Where a window of `size` goes to be centred over `owner`: the owner's
// left + (its width - this width) / 2, likewise for the top, halving toward
// zero.
QPoint centredOver(const QRect &owner, const QSize &size);

} // namespace cw

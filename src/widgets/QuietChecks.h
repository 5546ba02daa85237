#pragma once

class QAbstractButton;
class QButtonGroup;

namespace cw {

// Mirroring the document into checkable controls. The windows bind check
// boxes and radio buttons to `toggled` / `idToggled` (which every way of
// changing them emits: mouse, keyboard, an accessibility action,
// setChecked); these setters change a control without emitting anything, so
// showing a value never runs its handler again.

// Sets a check box or radio button, blocking the button and its group.
void setCheckedQuietly(QAbstractButton *button, bool on);
// Checks the group's button with `id`; with no such button, none is checked.
void checkGroupQuietly(QButtonGroup *group, int id);

} // namespace cw

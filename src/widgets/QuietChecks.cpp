#include "widgets/QuietChecks.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QSignalBlocker>
#include <vector>

namespace cw {

void setCheckedQuietly(QAbstractButton *button, bool on)
{
    if (!button || button->isChecked() == on)
        return;
    const QSignalBlocker blockButton(button);
    const QSignalBlocker blockGroup(button->group());
    button->setChecked(on);
}

void checkGroupQuietly(QButtonGroup *group, int id)
{
    if (!group)
        return;
    const QSignalBlocker blockGroup(group);
    // Checking one button of an exclusive group unchecks another: every
    // button stays silent.
    std::vector<QSignalBlocker> blockers;
    for (QAbstractButton *each : group->buttons())
        blockers.emplace_back(each);
    if (QAbstractButton *b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    // No button stands for the value: none is checked.
    group->setExclusive(false);
    for (QAbstractButton *each : group->buttons())
        each->setChecked(false);
    group->setExclusive(true);
}

} // namespace cw

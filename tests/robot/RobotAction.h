#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One user action of the robot user, as it is replayed: what to do, in which
// window, on which control, with which numbers and text. Subsidiary choices
// made while the action runs (how a dialog it opens is answered, what is done
// inside that dialog) come from `sub`, so an action replays the same way
// wherever it stands in a list.
struct RobotAction
{
    QString verb; // click, toggle, press, combo, type, key, row, tab, drag, menu, ...
    QString window; // the top-level window's object name
    QString target; // "name#ordinal" of the control in that window
    int a = 0, b = 0, c = 0;
    quint32 sub = 0;
    QString text;

    // One line, tab-separated; the text percent-encoded.
    QString serialize() const;
    static bool parse(const QString &line, RobotAction &out);
    // For people: the text shortened and quoted.
    QString describe() const;
};

using RobotActions = std::vector<RobotAction>;

// Delta debugging: the shortest list found (removing chunks, then single
// actions) for which `fails` still holds. `fails(all)` must hold.
RobotActions shrinkActions(
    const RobotActions &all, const std::function<bool(const RobotActions &)> &fails);

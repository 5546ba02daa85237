#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "document/DocumentControls.h"
#include "document/DocumentEditor.h"

using namespace cw;

// An edit as the main window sees it: the pages the operation refreshes,
// and the controls whose enabled state (with its new value) or shown value
// differ after it, from enabledStates() and controlValues() before and after.
struct ObservedEdit : EditResult
{
    ControlStates enabled;
    QStringList changed; // in name order
    bool isEmpty() const { return pages.isEmpty() && enabled.isEmpty() && changed.isEmpty(); }
};

template<typename Edit> ObservedEdit observeEdit(const LabelDocument &doc, Edit &&edit)
{
    const ControlStates enabledBefore = enabledStates(doc);
    const QMap<QString, QString> valuesBefore = controlValues(doc);
    ObservedEdit o;
    static_cast<EditResult &>(o) = edit();
    const ControlStates enabledAfter = enabledStates(doc);
    for (auto it = enabledAfter.begin(); it != enabledAfter.end(); ++it)
        if (enabledBefore.value(it.key()) != it.value())
            o.enabled.insert(it.key(), it.value());
    const QMap<QString, QString> valuesAfter = controlValues(doc);
    for (auto it = valuesAfter.begin(); it != valuesAfter.end(); ++it)
        if (valuesBefore.value(it.key()) != it.value())
            o.changed.append(it.key());
    return o;
}

#pragma once

#include <QLabel>

namespace cw {

// A label with an object name, so that tests and accessibility tools can
// find it.
inline QLabel *namedLabel(const QString &text, QWidget *parent, const QString &name)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace cw

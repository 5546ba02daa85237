#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <gtest/gtest.h>

// A control's accessibility actions, run as an assistive client runs them.

inline QAccessibleActionInterface *accessibleActions(QWidget *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    return iface ? iface->actionInterface() : nullptr;
}

// "toggle", which a check box or radio button offers: it calls toggle(), so
// only `toggled` is emitted.
inline void toggleByAction(QAbstractButton *button)
{
    QAccessibleActionInterface *actions = accessibleActions(button);
    ASSERT_NE(actions, nullptr) << button->objectName().toStdString();
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        << button->objectName().toStdString();
    actions->doAction(QAccessibleActionInterface::toggleAction());
}

// "press": an animated click, delivered a moment later; waits for it (at
// most five seconds).
inline void pressByAction(QAbstractButton *button)
{
    QAccessibleActionInterface *actions = accessibleActions(button);
    ASSERT_NE(actions, nullptr) << button->objectName().toStdString();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(clicked.count() > 0 || clicked.wait(5000)) << button->objectName().toStdString();
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QWidget;

// The texts a window shows of its own, gathered from the window and every
// child shown in it: titles, tool tips, accessible names and descriptions,
// actions and their menus, labels, buttons, group boxes, tabs, combo box
// items and header sections. Each label, button, group and tab text is also
// measured against the room its control gives it.
struct ShownText
{
    QString where; // the window's and the control's object names
    QString kind; // "label", "button", "item", ...
    QString text;
};

class WindowTexts
{
public:
    explicit WindowTexts(QWidget *window);
    void run();

    QList<ShownText> texts;
    QStringList cutOff; // texts wider than their room

private:
    void shown(const QWidget *w, const QString &kind, const QString &text);
    void fits(const QWidget *w, const QString &text, int room);
    void actions(const QWidget *w, const QList<QAction *> &list);
    void visit(QWidget *w);

    QWidget *m_window;
};

// A caption without its mnemonic markers ("&&" stays one "&").
QString withoutMnemonics(QString text);
// The object names of a control's window and of the control.
QString widgetPath(const QWidget *w);
// "where kind: text", for a failure message.
QString describe(const ShownText &t);

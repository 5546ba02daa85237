#pragma once

#include <QAccessible>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>

#include "tracklist/ui/ListRowView.h"
#include "tracklist/ui/TListSetWindow.h"
#include "tracklist/ui/TListWindow.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

// The list editor opened from the main window, with every dialog scripted.
class ListEditorTest : public MainWindowTest
{
protected:
    TListWindow *list() { return window->listWindow(); }
    TListSetWindow *setWindow() { return list()->listSetWindow(); }
    QList<TListData> &rows() { return window->document().listRows; }
    ListLayout &layout(int side) { return window->document().listLayout[size_t(side)]; }

    // Shows the main window and opens the editor from its "リスト編集".
    void openEditor(int side = 0, int columns = 3)
    {
        layout(side).columnCount = columns;
        showWindow();
        if (!checked(side == 0 ? "UseTopList" : "UseBottomList"))
            MainWindowTest::click(side == 0 ? "UseTopList" : "UseBottomList");
        MainWindowTest::click(side == 0 ? "TopListEdit" : "BottomListEdit");
        QCoreApplication::processEvents();
        refresher.pages.clear();
    }
    template<class T = QWidget> T *in(QWidget *root, const QString &name)
    {
        T *w = root->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    template<class T = QWidget> T *ed(const QString &name) { return in<T>(list(), name); }
    template<class T = QWidget> T *lw(const QString &name) { return in<T>(setWindow(), name); }
    void press(QWidget *root, const QString &name)
    {
        auto *b = in<QAbstractButton>(root, name);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << name.toStdString();
        const bool radio = qobject_cast<QRadioButton *>(b) != nullptr;
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, radio ? QPoint(8, b->height() / 2) : QPoint());
    }
    void pressEd(const QString &name) { press(list(), name); }
    void pressLw(const QString &name) { press(setWindow(), name); }
    // Clicks the line of a row in the row display.
    void clickRow(int row)
    {
        QListView *view = list()->rowView();
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    void typeInto(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void replaceText(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        typeInto(edit, text);
    }
    bool on(QWidget *w) { return w && w->isEnabled(); }
    QString lineOf(int row)
    {
        return list()->rowView()->model()->index(row, 0).data().toString();
    }
    TListData textRow(const QString &a, const QString &b, const QString &c, bool separate = true)
    {
        TListData r;
        r.separate = separate;
        r.columns[0].text = a;
        r.columns[1].text = b;
        r.columns[2].text = c;
        return r;
    }
    // Opens the layout window from the editor.
    void openLayoutWindow()
    {
        pressEd(QStringLiteral("ListSet"));
        QCoreApplication::processEvents();
        ASSERT_TRUE(setWindow()->isVisible());
    }
};

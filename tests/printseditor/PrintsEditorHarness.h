#pragma once

#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>

#include "prints/ui/TPrintsList.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

// The editor opened from the main window's cover-face button.
class PrintsWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        showWindow();
        click("UseTop1Prints");
        click("Top1PrintsEdit");
        editor = window->printsEditor();
        ASSERT_NE(editor, nullptr);
    }
    template<class T = QWidget> T *in(const char *name)
    {
        T *w = editor->findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void press(const char *name)
    {
        auto *b = in<QAbstractButton>(name);
        ASSERT_TRUE(b->isEnabled()) << name;
        const bool box = qobject_cast<QCheckBox *>(b);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, box ? QPoint(8, b->height() / 2) : QPoint());
    }
    // Types into an editor field (replacing its text) and presses Enter.
    void enter(const char *name, const QString &text)
    {
        auto *edit = in<QLineEdit>(name);
        ASSERT_TRUE(edit->isEnabled()) << name;
        edit->setFocus();
        edit->selectAll();
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void showTab(int index) { in<QTabWidget>("PageControl")->setCurrentIndex(index); }
    QString label(const char *name) { return in<QLabel>(name)->text(); }
    QList<TPrintsData> &items() { return window->document().coverPrints; }
    QString picture(int w, int h, QRgb color = qRgb(255, 0, 0))
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(color);
        img.setPixel(0, 0, qRgb(0, 255, 0));
        const QString path = pictures.filePath(QStringLiteral("p%1x%2.bmp").arg(w).arg(h));
        EXPECT_TRUE(img.save(path, "BMP"));
        return path;
    }

    QTemporaryDir pictures;
    TPrintsList *editor = nullptr;
};

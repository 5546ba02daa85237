#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "app/QtUserDialogs.h"
#include "app/TAboutBox.h"
#include "app/TMainWindow.h"
#include "base/PreviewPage.h"
#include "render/Geometry.h"

using namespace cw;

// Dialog answers scripted by a test; every question is recorded.
class ScriptedDialogs : public UserDialogs
{
public:
    struct Question
    {
        QString text, caption;
    };
    void showMessage(const QString &text) override { messages.append(text); }
    bool confirm(const QString &text, const QString &caption) override
    {
        questions.push_back({ text, caption });
        return confirmAnswer;
    }
    QString openFile(const QString &filter, const QString &suffix) override
    {
        openFilters.append(filter + QLatin1Char('#') + suffix);
        return openAnswer;
    }
    QString saveFile(const QString &current, const QString &filter, const QString &suffix) override
    {
        saveStarts.append(current);
        saveFilters.append(filter + QLatin1Char('#') + suffix);
        return saveAnswer;
    }
    QString openPicture(const QString &filter, const QString &startFolder) override
    {
        pictureFilters.append(filter);
        pictureStarts.append(startFolder);
        return pictureAnswer;
    }
    std::optional<ColorRef> chooseColor(ColorRef start) override
    {
        colorStarts.append(start);
        return colorAnswer;
    }
    std::optional<FontSpec> chooseFont(const FontSpec &font) override
    {
        fontStarts.append(font);
        return fontAnswer;
    }
    std::optional<BulkFontChoice> chooseBulkFontChange(const FontSpec &font) override
    {
        bulkFontStarts.append(font);
        return bulkFontAnswer;
    }
    std::optional<ColorRef> pickTransparentColor(const QImage &picture) override
    {
        pickedPictureSizes.append(picture.size());
        return pickAnswer;
    }
    // Recorded with the single-file filters; answers openFilesAnswer, or
    // openAnswer alone when that is empty.
    QStringList openFiles(const QString &filter) override
    {
        openFilters.append(filter + QLatin1Char('#'));
        if (!openFilesAnswer.isEmpty() || openAnswer.isEmpty())
            return openFilesAnswer;
        return { openAnswer };
    }

    // The print dialog: records the job's page count, then plays the user's
    // choice (printAnswer), or cancels when there is none.
    bool choosePrint(QPrinter &printer, int pageCount) override
    {
        printPageCounts.append(pageCount);
        return printAnswer && printAnswer(printer);
    }
    void choosePrinter(QPrinter &printer) override
    {
        ++printerSetups;
        if (printerSetupAnswer)
            printerSetupAnswer(printer);
    }

    SaveChangesAnswer askSaveChanges(const QString &text, const QString &caption) override
    {
        saveQuestions.push_back({ text, caption });
        return saveChangesAnswer;
    }

    bool confirmAnswer = false;
    std::function<bool(QPrinter &)> printAnswer;
    std::function<void(QPrinter &)> printerSetupAnswer;
    QList<int> printPageCounts;
    int printerSetups = 0;
    SaveChangesAnswer saveChangesAnswer = SaveChangesAnswer::Cancel;
    std::vector<Question> saveQuestions;
    QString openAnswer, saveAnswer, pictureAnswer;
    QStringList openFilesAnswer;
    std::optional<ColorRef> colorAnswer;
    std::optional<FontSpec> fontAnswer;
    std::optional<BulkFontChoice> bulkFontAnswer;
    std::optional<ColorRef> pickAnswer;
    QStringList messages, openFilters, saveFilters, saveStarts, pictureFilters, pictureStarts;
    QList<QSize> pickedPictureSizes;
    std::vector<Question> questions;
    QList<ColorRef> colorStarts;
    QList<FontSpec> fontStarts, bulkFontStarts;
};

class RecordingRefresher : public PreviewRefresher
{
public:
    void RequestPreviewRefresh(PreviewPage page) override { pages.append(page); }
    QList<PreviewPage> pages;
};

class FixedPrinter : public PrinterBackend
{
public:
    FixedPrinter(int x, int y)
        : dpiX(x)
        , dpiY(y)
    { }
    bool queryResolution(int &x, int &y) override
    {
        ++queries;
        x = dpiX;
        y = dpiY;
        return ok;
    }
    int dpiX, dpiY;
    bool ok = true;
    int queries = 0;
};

class SilentProgress : public ProgressSink
{
public:
    void ShowText(const QString &text) override { texts.append(text); }
    void hide() override { }
    QStringList texts;
};

// A main window with every dialog, the printer, the preview and the settings
// replaced; the settings live in a temporary folder.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
        printerState() = PrinterState();
        window = std::make_unique<TMainWindow>();
        window->setDialogs(&dialogs);
        window->setPreviewRefresher(&refresher);
        window->setPrinterBackend(&printer);
        window->setProgressWindow(&progress);
    }
    void TearDown() override
    {
        // Let the window go without the exit question.
        dialogs.confirmAnswer = true;
        dialogs.saveChangesAnswer = SaveChangesAnswer::Discard;
        window.reset();
        printerState() = PrinterState();
    }

    template<class T = QWidget> T *find(const char *name)
    {
        T *w = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Brings the tab that holds `w` to the front, as the user would.
    void reveal(QWidget *w)
    {
        auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("PageControl"));
        for (QWidget *p = w; p; p = p->parentWidget()) {
            const int index = tabs->indexOf(p);
            if (index >= 0) {
                tabs->setCurrentIndex(index);
                QCoreApplication::processEvents();
                return;
            }
        }
    }
    void click(const char *name)
    {
        auto *b = find<QAbstractButton>(name);
        ASSERT_NE(b, nullptr);
        reveal(b);
        ASSERT_TRUE(b->isEnabled()) << name;
        // Check boxes and radio buttons are clicked on their indicator.
        const bool indicator = qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b);
        QTest::mouseClick(
            b, Qt::LeftButton, Qt::NoModifier, indicator ? QPoint(8, b->height() / 2) : QPoint());
    }
    // Types text (any characters) into a line edit, one key event each.
    void type(const char *name, const QString &text)
    {
        auto *edit = find<QLineEdit>(name);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->isEnabled()) << name;
        reveal(edit);
        edit->setFocus();
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void selectAllAndType(const char *name, const QString &text)
    {
        auto *edit = find<QLineEdit>(name);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        type(name, text);
    }
    void pressEnter(const char *name) { QTest::keyClick(find<QWidget>(name), Qt::Key_Return); }
    QString text(const char *name) { return find<QLineEdit>(name)->text(); }
    bool enabled(const char *name) { return find<QWidget>(name)->isEnabled(); }
    bool checked(const char *name) { return find<QAbstractButton>(name)->isChecked(); }
    // Shows the window as start-up does and closes the splash.
    void showWindow()
    {
        window->show();
        QCoreApplication::processEvents();
        window->aboutBox()->close();
    }

    QTemporaryDir configDir;
    ScriptedDialogs dialogs;
    RecordingRefresher refresher;
    FixedPrinter printer { 300, 300 };
    SilentProgress progress;
    std::unique_ptr<TMainWindow> window;
};

#pragma once

#include <QPointer>
#include <QSet>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <random>

#include "RobotAction.h"
#include "RobotUser.h"
#include "base/Printer.h"
#include "widgets/UserDialogs.h"

class QDialog;
class QWidget;

namespace cw {
class TMainWindow;
class TFontChange;
class TTransColGet;
}

class RobotSession;
class QImage;

// How many pixels of two drawings of a page differ by more than text
// rasterising may round (every pixel when the sizes differ).
int differingPixels(const QImage &a, const QImage &b);

// The robot's printer: each query answers one of the resolutions printers
// report, chosen by the running action.
class RobotPrinter : public cw::PrinterBackend
{
public:
    explicit RobotPrinter(RobotSession &session)
        : m_session(session)
    { }
    bool queryResolution(int &dpiX, int &dpiY) override;

private:
    RobotSession &m_session;
};

// The robot's answers to every dialog of the program. The dialogs that have a
// window of the program's own (font, bulk font change, picture, colour
// picker) are run for real and driven by the robot; file dialogs choose from
// the prepared folder; messages are recorded; questions are answered yes or
// no by the running action's choices.
class RobotDialogs : public cw::UserDialogs
{
public:
    explicit RobotDialogs(RobotSession &session);
    ~RobotDialogs() override;
    void showMessage(const QString &text) override;
    bool confirm(const QString &text, const QString &caption) override;
    cw::SaveChangesAnswer askSaveChanges(const QString &text, const QString &caption) override;
    // The print dialog is cancelled and the printer setup keeps the printer:
    // the robot prints nothing.
    bool choosePrint(QPrinter &printer, int pageCount) override;
    void choosePrinter(QPrinter &printer) override;
    QString openFile(const QString &filter, const QString &defaultSuffix) override;
    QString saveFile(const QString &currentName, const QString &filter,
        const QString &defaultSuffix) override;
    QString openPicture(const QString &filter, const QString &startFolder) override;
    std::optional<cw::ColorRef> chooseColor(cw::ColorRef start) override;
    std::optional<cw::FontSpec> chooseFont(const cw::FontSpec &font) override;
    std::optional<cw::BulkFontChoice> chooseBulkFontChange(const cw::FontSpec &font) override;
    std::optional<cw::ColorRef> pickTransparentColor(const QImage &picture) override;
    QStringList openFiles(const QString &filter) override;

    // Answers forced by the robot's own commands (save and reopen).
    std::optional<QString> forcedOpen, forcedSave;
    std::optional<bool> forcedConfirm;
    QStringList messages;

private:
    QString chooseFile(const QString &filter);
    RobotSession &m_session;
    QPointer<cw::TFontChange> m_fontChange;
    QPointer<cw::TTransColGet> m_transColGet;
};

// One fresh start of the program's windows and the robot acting on them.
class RobotSession
{
public:
    RobotSession(const QString &files, const RobotSettings &settings);
    ~RobotSession();

    // Chooses the next action from `rng` (not run).
    RobotAction choose(std::mt19937 &rng);
    // Runs one action and checks the invariants; a failure's text, or empty.
    // `last`: the list ends here, so the document is saved and read back too.
    QString perform(const RobotAction &action, int index, bool last = false);

    // The choices of the action running now (dialog answers, resolutions).
    std::mt19937 &sub() { return m_sub; }
    int pick(int n) { return n <= 0 ? 0 : int(m_sub() % unsigned(n)); }
    QString files() const { return m_files; }
    QString out() const;
    // A text the robot types: digits, huge numbers, minus signs, letters,
    // Japanese, characters CP932 cannot hold, 2,000-character strings.
    static QString typedText(std::mt19937 &rng);

    // Dialogs run for real: the robot drives each modal window that opens
    // while it acts; a modal window it did not open is a failure.
    void driveModal(QDialog *dialog, const std::function<void()> &specific = {});
    void noteFailure(const QString &text);
    // Runs random actions on the controls of `window` (a dialog being driven).
    void actInside(QWidget *window, int count);

    cw::TMainWindow *window() const { return m_window.get(); }

private:
    friend class RobotDialogs;
    QWidget *findWindow(const QString &key) const;
    QList<QWidget *> robotWindows() const;
    QWidget *findTarget(QWidget *window, const QString &target) const;
    QList<QWidget *> candidates(QWidget *window) const;
    RobotAction actionFor(QWidget *window, QWidget *w, std::mt19937 &rng);
    void run(const RobotAction &action);
    void runOn(QWidget *window, QWidget *w, const RobotAction &action);
    void saveAndReopen();
    void pollModals();
    void settle();

    // The invariants (RobotChecks.cpp).
    QString checkControls() const;
    QString checkEnabled() const;
    QString checkPreview() const;
    QString checkRoundTrip() const;

    QString m_files;
    RobotSettings m_settings;
    QTemporaryDir m_config;
    std::mt19937 m_sub;
    RobotPrinter m_printer;
    std::unique_ptr<RobotDialogs> m_dialogs;
    std::unique_ptr<cw::TMainWindow> m_window;
    QStringList m_failures;
    int m_driving = 0; // > 0 while the robot runs a dialog or acts inside one
    QSet<QDialog *> m_driven;
    bool m_polling = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    int m_actions = 0;
    // The field last typed into without Enter or Tab. Some fields (a title's
    // custom position) hold their value at once but redraw the page only when
    // they are left, so the preview is checked once the focus has moved on.
    QPointer<QWidget> m_typedField;
};

QString widgetId(QWidget *window, QWidget *w);

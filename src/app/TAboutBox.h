#pragma once

#include <QDialog>

class QTimer;

namespace cw {

// The version box. Shown over the main window; the first showing of the run
// is the start-up splash, which closes by itself after two seconds. Every
// later showing stays until "OK". While it is shown it stays centred over the
// main window: the window manager places the main window only after it has
// been shown, and the start-up splash follows it there.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *mainWindow = nullptr);
    // Shows the box modally without blocking the caller.
    void showBox();
    QTimer *timer() const { return m_timer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Timer1Timer();
    void centreOverMainWindow();

    QWidget *m_mainWindow;
    QTimer *m_timer;
    bool m_shownBefore = false;
};

} // namespace cw

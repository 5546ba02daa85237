#pragma once

#include <QDialog>

class QTimer;

// The version box. Shown over the main window; the first showing of the run
// is the start-up splash, which closes by itself after two seconds. Every
// later showing stays until "OK".
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *mainWindow = nullptr);
    // Shows the box modally without blocking the caller.
    void showBox();
    QTimer *timer() const { return m_timer; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Timer1Timer();

    QWidget *m_mainWindow;
    QTimer *m_timer;
    bool m_shownBefore = false;
};

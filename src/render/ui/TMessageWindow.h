#pragma once

#include <QWidget>

#include "base/UserPrompts.h"

class QLabel;

namespace cw {

// The progress window: one small always-on-top window for the whole run that
// shows what long work is going on. ShowText puts the text into its label,
// shows the window centred on the main window and lets pending events run
// once so that it is painted before the work starts.
class TMessageWindow : public QWidget, public ProgressSink
{
    Q_OBJECT
public:
    // `mainWindow` owns the window and is the one it centres on (may be
    // null: the screen).
    explicit TMessageWindow(QWidget *mainWindow = nullptr);
    void ShowText(const QString &text) override;
    void hide() override { QWidget::hide(); }
    QString text() const;

private:
    QWidget *m_mainWindow;
    QLabel *m_message;
};

} // namespace cw

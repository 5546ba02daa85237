#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace cw {

// Ctrl+Z takes the last change back; Ctrl+Y and Ctrl+Shift+Z redo it. The
// keys work in every window of the program, text fields included.
enum class HistoryKey { None, Undo, Redo };
HistoryKey historyKey(const QKeyEvent *event);
QList<QKeySequence> undoShortcuts();
QList<QKeySequence> redoShortcuts();

// A field whose typed text has not been taken yet (a CommitEdit before it is
// left) goes back to the text it showed: that is what undo does first there.
// True when it did.
bool revertUntakenTyping(QWidget *focus);

// Installed on the application: a text field that has the focus would take
// the two keys for its own editing; they go to the document's history
// instead (after revertUntakenTyping). `owns` says which widgets belong to
// the windows of this history.
class HistoryKeyFilter : public QObject
{
public:
    HistoryKeyFilter(std::function<bool(QWidget *)> owns, std::function<void()> undo,
        std::function<void()> redo, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<bool(QWidget *)> m_owns;
    std::function<void()> m_undo;
    std::function<void()> m_redo;
};

} // namespace cw

#include "widgets/HistoryKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "widgets/CommitEdit.h"

namespace cw {

HistoryKey historyKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers()
        & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Z && mods == Qt::ControlModifier)
        return HistoryKey::Undo;
    if ((event->key() == Qt::Key_Y && mods == Qt::ControlModifier)
        || (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return HistoryKey::Redo;
    return HistoryKey::None;
}

QList<QKeySequence> undoShortcuts()
{
    return { QKeySequence(Qt::CTRL | Qt::Key_Z) };
}

QList<QKeySequence> redoShortcuts()
{
    return { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) };
}

bool revertUntakenTyping(QWidget *focus)
{
    auto *edit = qobject_cast<CommitEdit *>(focus);
    if (!edit || !edit->hasUntakenText())
        return false;
    edit->revertTyping();
    return true;
}

HistoryKeyFilter::HistoryKeyFilter(std::function<bool(QWidget *)> owns, std::function<void()> undo,
    std::function<void()> redo, QObject *parent)
    : QObject(parent)
    , m_owns(std::move(owns))
    , m_undo(std::move(undo))
    , m_redo(std::move(redo))
{ }

bool HistoryKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || !m_owns(edit))
        return false;
    const HistoryKey key = historyKey(static_cast<QKeyEvent *>(event));
    if (key == HistoryKey::None)
        return false;
    // The field keeps the key from the windows' shortcuts, and then hands it
    // on here instead of undoing its own typing.
    event->accept();
    if (type == QEvent::ShortcutOverride)
        return true;
    if (key == HistoryKey::Undo) {
        if (!revertUntakenTyping(edit))
            m_undo();
    } else {
        m_redo();
    }
    return true;
}

} // namespace cw

#include "widgets/CommitEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpressionValidator>

namespace cw {

CommitEdit::CommitEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // Text set by the program (not typed) is what the field goes back to.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!isModified())
            m_shown = text;
    });
}

void CommitEdit::revertTyping()
{
    setText(m_shown);
}

void CommitEdit::taken()
{
    setModified(false);
    m_shown = text();
}

void CommitEdit::setMask(const QString &pattern)
{
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("(") + pattern + QStringLiteral(")?")), this));
}

bool CommitEdit::commit()
{
    QPointer<CommitEdit> self(this);
    m_refused = false;
    Q_EMIT committed();
    if (!self)
        return true;
    // Taken or refused (then the stored value is shown again): either way
    // nothing typed is waiting any more.
    taken();
    return !m_refused;
}

bool CommitEdit::commitFocused(QWidget *window)
{
    if (!window)
        return true;
    // The window's focus child is kept while the window is inactive, which
    // is how a close through the frame or an accessibility client finds it.
    auto *edit = qobject_cast<CommitEdit *>(window->focusWidget());
    if (!edit || edit->window() != window->window() || !edit->isEnabled() || edit->isReadOnly())
        return true;
    return edit->commit();
}

void CommitEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        commit();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CommitEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        commit();
}

} // namespace cw

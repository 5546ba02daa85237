#include "widgets/CommitEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
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

void CommitEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT committed();
        taken();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CommitEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        Q_EMIT committed();
        taken();
    }
}

} // namespace cw

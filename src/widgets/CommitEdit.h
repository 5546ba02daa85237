#pragma once

#include <QLineEdit>

namespace cw {

// A one-line edit that applies its value when it is left or when Enter is
// pressed in it. Enter is consumed (it does not reach the window) and the
// focus stays. Leaving because another window became active does not count.
class CommitEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CommitEdit(QWidget *parent = nullptr);
    // Accepts what the edit mask accepts: a regular expression for the whole
    // text (empty text is always let through; the handler decides on it).
    void setMask(const QString &pattern);

Q_SIGNALS:
    void committed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace cw

#pragma once

#include <QLineEdit>

namespace cw {

// A one-line edit that applies its value when it is left or when Enter is
// pressed in it. Enter is consumed (it does not reach the window) and the
// focus stays. Leaving because another window became active does not count:
// a window that closes or steps aside while such an edit has the focus
// commits it itself (commitFocused).
class CommitEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CommitEdit(QWidget *parent = nullptr);
    // Accepts what the edit mask accepts: a regular expression for the whole
    // text (empty text is always let through; the handler decides on it).
    void setMask(const QString &pattern);

    // Applies the value exactly as leaving the edit does. False when a
    // handler of `committed` did not take the text (it has then said why and
    // shows the stored value again).
    bool commit();
    // Called by a handler of `committed` that does not take the text.
    void refuse() { m_refused = true; }

    // Commits the edit that holds the focus inside `window`, when it is a
    // CommitEdit. False when that edit refused its text: a window that is
    // closing then stays open.
    static bool commitFocused(QWidget *window);

Q_SIGNALS:
    void committed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_refused = false;
};

} // namespace cw

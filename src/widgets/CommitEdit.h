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
    // Whether the window takes the text on every keystroke (then nothing
    // typed is ever waiting to be taken).
    void setTakesEveryKeystroke(bool on) { m_takesEveryKeystroke = on; }
    // Text typed since the program last set the field's text, and not taken
    // yet by leaving the field or Enter.
    bool hasUntakenText() const { return !m_takesEveryKeystroke && isModified(); }
    // The field shows again the text it showed before the typing.
    void revertTyping();

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
    void taken();

    QString m_shown; // the text the program last set
    bool m_takesEveryKeystroke = false;
    bool m_refused = false;
};

} // namespace cw

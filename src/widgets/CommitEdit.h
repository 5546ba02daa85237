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
    // Whether the window takes the text on every keystroke (then nothing
    // typed is ever waiting to be taken).
    void setTakesEveryKeystroke(bool on) { m_takesEveryKeystroke = on; }
    // Text typed since the program last set the field's text, and not taken
    // yet by leaving the field or Enter.
    bool hasUntakenText() const { return !m_takesEveryKeystroke && isModified(); }
    // The field shows again the text it showed before the typing.
    void revertTyping();

Q_SIGNALS:
    void committed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void taken();

    QString m_shown; // the text the program last set
    bool m_takesEveryKeystroke = false;
};

} // namespace cw

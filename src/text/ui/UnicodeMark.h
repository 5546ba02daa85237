#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QAction;
class QLineEdit;

namespace cw {

// A small mark at the right end of a line edit, shown while the edit's text
// has characters that only the Unicode form of the document can hold (see
// needsUnicodeForm), so that the question at saving comes as no surprise. Its
// tool tip, also the edit's accessible description meanwhile, names the
// characters. The mark follows every change of the text, typed or set.
class UnicodeMark : public QObject
{
public:
    // Adds the mark to `edit`; the edit owns it.
    static UnicodeMark *attach(QLineEdit *edit);
    // The mark of an edit, or null when it has none.
    static UnicodeMark *of(const QLineEdit *edit);

    bool isShown() const;
    QString toolTip() const;
    // Re-evaluates the mark for `text` (connected to the edit's textChanged).
    void update(const QString &text);

    // The mark's picture, for a control that shows the rule its own way (a
    // list cell's decoration, say): 12 x 12 pixels.
    static QIcon icon();

private:
    explicit UnicodeMark(QLineEdit *edit);

    QLineEdit *m_edit;
    QAction *m_action;
};

} // namespace cw

#pragma once

#include <QGroupBox>
#include <array>

#include "document/CaseSizeText.h"
#include "document/DocumentControls.h"
#include "document/LabelDocument.h"

class QComboBox;
class QTabWidget;

namespace cw {

class CommitEdit;

// The options tab's "ケースの種類": a list of the case formats by their names
// in the interface language. Every way of choosing an entry (mouse, keys, an
// accessibility action, a test's setCurrentIndex) reports the format's id
// once; showing the document's case reports nothing.
//
// Below the list, for a custom case only, its sizes: "パネルの幅", "パネルの
// 高さ", "背の幅" in millimetres with one decimal, each reported when Enter is
// pressed in it or it is left.
class CaseTypePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit CaseTypePanel(QWidget *parent = nullptr);

    // Shows the document's case and a custom case's sizes without reporting
    // them; the size fields show only for a custom case. A field with text
    // typed and not yet taken keeps it unless `includeTyping`.
    void showDocument(const LabelDocument &doc, bool includeTyping = false);
    QComboBox *list() const { return m_list; }
    CommitEdit *sizeEdit(CaseDimension which) const { return m_sizes[size_t(which)]; }

Q_SIGNALS:
    void chosen(const QString &formatId);
    // A size field's text is to be taken; a handler that does not take it
    // calls refuse() on the edit.
    void sizeTyped(CaseDimension which, CommitEdit *edit);

private:
    QComboBox *m_list = nullptr;
    QWidget *m_sizeRows = nullptr;
    std::array<CommitEdit *, 3> m_sizes {};
};

// Enables each page of `tabs` whose object name the states name as they say
// (a surface the document's case does not print: its tab is disabled, not
// removed, and keeps its values).
void enableSurfaceTabs(QTabWidget *tabs, const ControlStates &states);

} // namespace cw

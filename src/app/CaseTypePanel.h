#pragma once

#include <QGroupBox>

#include "document/DocumentControls.h"
#include "document/LabelDocument.h"

class QComboBox;
class QTabWidget;

namespace cw {

// The options tab's "ケースの種類": a list of the case formats by their names
// in the interface language. Every way of choosing an entry (mouse, keys, an
// accessibility action, a test's setCurrentIndex) reports the format's id
// once; showing the document's case reports nothing.
class CaseTypePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit CaseTypePanel(QWidget *parent = nullptr);

    // Shows the document's case without reporting it.
    void showDocument(const LabelDocument &doc);
    QComboBox *list() const { return m_list; }

Q_SIGNALS:
    void chosen(const QString &formatId);

private:
    QComboBox *m_list = nullptr;
};

// Enables each page of `tabs` whose object name the states name as they say
// (a surface the document's case does not print: its tab is disabled, not
// removed, and keeps its values).
void enableSurfaceTabs(QTabWidget *tabs, const ControlStates &states);

} // namespace cw

#include "app/CaseTypePanel.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/CaseFormat.h"
#include "base/UiText.h"

namespace cw {

CaseTypePanel::CaseTypePanel(QWidget *parent)
    : QGroupBox(UiText::tr("ケースの種類"), parent)
{
    setObjectName(QStringLiteral("CaseTypeGroup"));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 4, 8, 6);
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("CaseType"));
    m_list->setAccessibleName(title());
    // On Linux a drop-down list reads as the entry it shows; what it is for
    // is its description, which its hint gives.
    m_list->setToolTip(title());
    for (const CaseFormat &f : caseFormats())
        m_list->addItem(f.name(), f.id);
    v->addWidget(m_list);
    // currentIndexChanged, not activated: a list changed by any means reports
    // its entry, and only once.
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Q_EMIT chosen(m_list->itemData(index).toString());
    });
}

void CaseTypePanel::showDocument(const LabelDocument &doc)
{
    const int index = m_list->findData(formatOf(doc).id);
    if (index == m_list->currentIndex())
        return;
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentIndex(index);
}

void enableSurfaceTabs(QTabWidget *tabs, const ControlStates &states)
{
    for (int i = 0; i < tabs->count(); ++i) {
        const auto it = states.constFind(tabs->widget(i)->objectName());
        if (it != states.cend() && tabs->isTabEnabled(i) != it.value())
            tabs->setTabEnabled(i, it.value());
    }
}

} // namespace cw

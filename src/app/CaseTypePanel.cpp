#include "app/CaseTypePanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "widgets/CommitEdit.h"

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

    // A custom case's sizes side by side, each under its caption.
    m_sizeRows = new QWidget(this);
    m_sizeRows->setObjectName(QStringLiteral("CaseSizeRows"));
    auto *grid = new QGridLayout(m_sizeRows);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
    static const std::pair<const char *, const char *> rows[] = {
        { "CasePanelWidth", QT_TRANSLATE_NOOP("cw::UiText", "パネルの幅") },
        { "CasePanelHeight", QT_TRANSLATE_NOOP("cw::UiText", "パネルの高さ") },
        { "CaseSpineWidth", QT_TRANSLATE_NOOP("cw::UiText", "背の幅") },
    };
    for (int i = 0; i < 3; ++i) {
        const QString name = QLatin1String(rows[i].first);
        auto *caption = new QLabel(UiText::tr(rows[i].second), m_sizeRows);
        caption->setObjectName(name + QStringLiteral("Caption"));
        auto *edit = new CommitEdit(m_sizeRows);
        edit->setObjectName(name);
        edit->setMaxLength(8);
        edit->setFixedWidth(40);
        edit->setAlignment(Qt::AlignRight);
        edit->setAccessibleName(caption->text());
        caption->setBuddy(edit);
        auto *unit = new QLabel(QStringLiteral("mm"), m_sizeRows);
        unit->setObjectName(name + QStringLiteral("Unit"));
        auto *field = new QHBoxLayout;
        field->setSpacing(2);
        field->addWidget(edit);
        field->addWidget(unit);
        field->addStretch(1);
        grid->addWidget(caption, 0, i);
        grid->addLayout(field, 1, i);
        m_sizes[size_t(i)] = edit;
        const CaseDimension which = kAllCaseDimensions[i];
        connect(edit, &CommitEdit::committed, this,
            [this, which, edit] { Q_EMIT sizeTyped(which, edit); });
    }
    v->addWidget(m_sizeRows);
    m_sizeRows->hide(); // until a custom case is shown
    setTabOrder(m_list, m_sizes[0]);
    setTabOrder(m_sizes[0], m_sizes[1]);
    setTabOrder(m_sizes[1], m_sizes[2]);
    // currentIndexChanged, not activated: a list changed by any means reports
    // its entry, and only once.
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Q_EMIT chosen(m_list->itemData(index).toString());
    });
}

void CaseTypePanel::showDocument(const LabelDocument &doc, bool includeTyping)
{
    const CaseFormat &format = formatOf(doc);
    const int index = m_list->findData(format.id);
    if (index != m_list->currentIndex()) {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentIndex(index);
    }
    // Setting a field's text reports nothing: only Enter and leaving do.
    for (CaseDimension which : kAllCaseDimensions) {
        CommitEdit *edit = m_sizes[size_t(which)];
        if (edit->hasUntakenText() && !includeTyping)
            continue;
        const QString text = formatCaseTenths(caseDimension(doc.caseSize, which));
        if (edit->text() != text)
            edit->setText(text);
    }
    if (m_sizeRows->isVisibleTo(this) != format.custom)
        m_sizeRows->setVisible(format.custom);
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

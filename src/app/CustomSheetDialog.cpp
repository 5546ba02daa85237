#include "app/CustomSheetDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "base/UiText.h"
#include "widgets/NamedLabel.h"

namespace cw {

namespace {

// A millimetre field named by its label.
QLineEdit *mmEdit(QWidget *parent, const QString &name, const QString &caption, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(64);
    return edit;
}

QPushButton *button(const QString &text, QWidget *parent, const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// Shows a typed text, leaving a field alone that already shows it (so that
// its cursor stays where the user is typing).
void showText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

CustomSheetDialog::CustomSheetDialog(const CustomSheetForm &form, Take take, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_form(form)
    , m_take(std::move(take))
{
    if (m_form.centres.isEmpty())
        m_form.centres.append(CustomSheetCentre {});
    m_form.current = std::clamp(m_form.current, 0, int(m_form.centres.size()) - 1);
    setObjectName(QStringLiteral("CustomSheet"));
    setWindowTitle(UiText::tr("カスタム用紙"));
    setWindowModality(Qt::ApplicationModal);

    auto *v = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);

    // On Linux a drop-down list reads as the entry it shows; what it is for
    // is its hint.
    const QString paperCaption = UiText::tr("用紙");
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("CustomSheetPaper"));
    m_paper->addItems(customSheetPapers());
    m_paper->setToolTip(paperCaption);
    m_paper->setAccessibleDescription(paperCaption);
    QLabel *paperLabel = namedLabel(paperCaption, this, QStringLiteral("CustomSheetPaperCaption"));
    paperLabel->setBuddy(m_paper);
    grid->addWidget(paperLabel, 0, 0);
    grid->addWidget(m_paper, 0, 1, 1, 2, Qt::AlignLeft);

    const QString outerCaption = UiText::tr("外径");
    const QString holeCaption = UiText::tr("穴径");
    m_outer = mmEdit(this, QStringLiteral("CustomSheetOuter"), outerCaption, 5);
    m_hole = mmEdit(this, QStringLiteral("CustomSheetHole"), holeCaption, 5);
    QLabel *outerLabel = namedLabel(outerCaption, this, QStringLiteral("CustomSheetOuterCaption"));
    QLabel *holeLabel = namedLabel(holeCaption, this, QStringLiteral("CustomSheetHoleCaption"));
    outerLabel->setBuddy(m_outer);
    holeLabel->setBuddy(m_hole);
    grid->addWidget(outerLabel, 1, 0);
    grid->addWidget(m_outer, 1, 1);
    grid->addWidget(namedLabel(QStringLiteral("mm"), this, QStringLiteral("CustomSheetOuterUnit")), 1, 2);
    grid->setColumnMinimumWidth(3, 8);
    grid->addWidget(holeLabel, 1, 4);
    grid->addWidget(m_hole, 1, 5);
    grid->addWidget(namedLabel(QStringLiteral("mm"), this, QStringLiteral("CustomSheetHoleUnit")), 1, 6);
    grid->setColumnStretch(7, 1);
    v->addLayout(grid);

    // "ラベルの中心": one entry per label; the chosen label's X and Y below.
    const QString centresCaption = UiText::tr("ラベルの中心");
    auto *centres = new QGroupBox(centresCaption, this);
    centres->setObjectName(QStringLiteral("CustomSheetCentresGroup"));
    auto *cv = new QVBoxLayout(centres);
    m_centres = new QListWidget(centres);
    m_centres->setObjectName(QStringLiteral("CustomSheetCentres"));
    m_centres->setAccessibleName(centresCaption);
    m_centres->setSelectionMode(QAbstractItemView::SingleSelection);
    // Room for the eight labels a sheet may hold.
    m_centres->setMinimumHeight(m_centres->fontMetrics().height() * 9);
    m_centres->setMaximumHeight(m_centres->fontMetrics().height() * 12);
    cv->addWidget(m_centres);
    auto *xy = new QHBoxLayout;
    xy->setSpacing(4);
    // The axes as the main window's positions name them: "横" and "縦" (X and Y).
    const QString xCaption = UiText::tr("横"), yCaption = UiText::tr("縦");
    m_x = mmEdit(centres, QStringLiteral("CustomSheetX"), xCaption, 7);
    m_y = mmEdit(centres, QStringLiteral("CustomSheetY"), yCaption, 7);
    for (QLineEdit *edit : { m_x, m_y })
        edit->setAccessibleDescription(centresCaption);
    QLabel *xLabel = namedLabel(xCaption, centres, QStringLiteral("CustomSheetXCaption"));
    QLabel *yLabel = namedLabel(yCaption, centres, QStringLiteral("CustomSheetYCaption"));
    xLabel->setBuddy(m_x);
    yLabel->setBuddy(m_y);
    xy->addWidget(xLabel);
    xy->addWidget(m_x);
    xy->addWidget(namedLabel(QStringLiteral("mm"), centres, QStringLiteral("CustomSheetXUnit")));
    xy->addSpacing(8);
    xy->addWidget(yLabel);
    xy->addWidget(m_y);
    xy->addWidget(namedLabel(QStringLiteral("mm"), centres, QStringLiteral("CustomSheetYUnit")));
    xy->addStretch(1);
    m_add = button(UiText::tr("追加"), centres, QStringLiteral("CustomSheetAdd"));
    m_remove = button(UiText::tr("削除"), centres, QStringLiteral("CustomSheetDelete"));
    xy->addWidget(m_add);
    xy->addWidget(m_remove);
    cv->addLayout(xy);
    v->addWidget(centres, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = button(QStringLiteral("OK"), this, QStringLiteral("CustomSheetOK"));
    auto *cancel = button(UiText::tr("キャンセル"), this, QStringLiteral("CustomSheetCancel"));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    v->addLayout(buttons);

    // Every way a control changes (mouse, keys, an accessibility action)
    // reaches the form; showForm() mirrors it without signals.
    connect(m_paper, &QComboBox::currentIndexChanged, this, [this](int index) {
        CustomSheetForm f = m_form;
        f.paper = index;
        change(f);
    });
    connect(m_outer, &QLineEdit::textChanged, this, [this](const QString &text) {
        CustomSheetForm f = m_form;
        f.outer = text;
        change(f);
    });
    connect(m_hole, &QLineEdit::textChanged, this, [this](const QString &text) {
        CustomSheetForm f = m_form;
        f.hole = text;
        change(f);
    });
    connect(m_x, &QLineEdit::textChanged, this,
        [this](const QString &text) { change(withCentreTyped(m_form, false, text)); });
    connect(m_y, &QLineEdit::textChanged, this,
        [this](const QString &text) { change(withCentreTyped(m_form, true, text)); });
    connect(m_centres, &QListWidget::currentRowChanged, this,
        [this](int row) { change(withCurrentCentre(m_form, row)); });
    connect(m_add, &QPushButton::clicked, this, [this] {
        change(withCentreAdded(m_form));
        m_x->setFocus();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] { change(withCentreRemoved(m_form)); });
    connect(ok, &QPushButton::clicked, this, &CustomSheetDialog::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_paper, m_outer);
    setTabOrder(m_outer, m_hole);
    setTabOrder(m_hole, m_centres);
    setTabOrder(m_centres, m_x);
    setTabOrder(m_x, m_y);
    setTabOrder(m_y, m_add);
    setTabOrder(m_add, m_remove);
    setTabOrder(m_remove, ok);
    setTabOrder(ok, cancel);
    showForm();
}

void CustomSheetDialog::change(const CustomSheetForm &form)
{
    if (form == m_form)
        return;
    m_form = form;
    showForm();
}

void CustomSheetDialog::showForm()
{
    {
        const QSignalBlocker quiet(m_paper);
        m_paper->setCurrentIndex(m_form.paper);
    }
    const QSignalBlocker quietOuter(m_outer), quietHole(m_hole), quietX(m_x), quietY(m_y),
        quietList(m_centres);
    showText(m_outer, m_form.outer);
    showText(m_hole, m_form.hole);
    const QStringList entries = customSheetCentreEntries(m_form);
    while (m_centres->count() > entries.size())
        delete m_centres->takeItem(m_centres->count() - 1);
    for (int i = 0; i < entries.size(); ++i) {
        if (i == m_centres->count())
            m_centres->addItem(entries[i]);
        else if (m_centres->item(i)->text() != entries[i])
            m_centres->item(i)->setText(entries[i]);
    }
    m_centres->setCurrentRow(m_form.current);
    const CustomSheetCentre &c = m_form.centres.at(m_form.current);
    showText(m_x, c.x);
    showText(m_y, c.y);
    m_add->setEnabled(canAddCentre(m_form));
    m_remove->setEnabled(canRemoveCentre(m_form));
}

void CustomSheetDialog::okClicked()
{
    if (!m_take || m_take(m_form))
        accept();
}

} // namespace cw

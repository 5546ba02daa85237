#include "app/PrintCorrectionPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/UiText.h"
#include "document/OptionSettings.h"
#include "widgets/CommitEdit.h"

namespace cw {

PrintCorrectionPanel::PrintCorrectionPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    auto *group = new QGroupBox(UiText::tr("印刷位置補正"), this);
    group->setObjectName(QStringLiteral("PrintOffsetGroup"));
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(3);
    auto field = [&](int column, const QString &caption, const char *name) {
        auto *caption_ = new QLabel(caption, group);
        auto *edit = new CommitEdit(group);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(6);
        edit->setFixedWidth(56);
        edit->setAlignment(Qt::AlignRight);
        edit->setAccessibleName(group->title() + QLatin1Char(' ') + caption);
        caption_->setBuddy(edit);
        grid->addWidget(caption_, 0, column);
        grid->addWidget(edit, 0, column + 1);
        grid->addWidget(new QLabel(QStringLiteral("mm"), group), 0, column + 2);
        return edit;
    };
    m_x = field(0, UiText::tr("横"), "PrintOffsetX");
    m_y = field(3, UiText::tr("縦"), "PrintOffsetY");
    grid->setColumnStretch(6, 1);
    m_sheet = new QPushButton(UiText::tr("補正用シート印刷"), group);
    m_sheet->setObjectName(QStringLiteral("CalibrationPrint"));
    grid->addWidget(m_sheet, 1, 0, 1, 6, Qt::AlignLeft);
    // The device whose values the fields show.
    m_deviceLabel = new QLabel(group);
    m_deviceLabel->setObjectName(QStringLiteral("PrintOffsetPrinter"));
    grid->addWidget(m_deviceLabel, 1, 6);
    // The sheet for centring the print on a printable disc in the tray.
    m_discSheet = new QPushButton(UiText::tr("ディスク用の調整シートを印刷"), group);
    m_discSheet->setObjectName(QStringLiteral("DiscCalibrationPrint"));
    grid->addWidget(m_discSheet, 2, 0, 1, 7, Qt::AlignLeft);
    column->addWidget(group);

    // The bleed stands with the other print options, elsewhere on the tab.
    m_bleedGroup = new QGroupBox(UiText::tr("塗り足し"), parent);
    m_bleedGroup->setObjectName(QStringLiteral("BleedGroup"));
    auto *bleedRow = new QVBoxLayout(m_bleedGroup);
    bleedRow->setContentsMargins(8, 4, 8, 6);
    m_bleed = new QComboBox(m_bleedGroup);
    m_bleed->setObjectName(QStringLiteral("Bleed"));
    // A list reads as the item it shows; what it is for is its hint.
    m_bleed->setToolTip(UiText::tr("塗り足し"));
    for (int mm = 0; mm <= kMaxBleedMm; ++mm)
        m_bleed->addItem(QString::asprintf("%dmm", mm));
    bleedRow->addWidget(m_bleed, 0, Qt::AlignLeft);

    connect(m_x, &CommitEdit::committed, this, [this] { commit(true); });
    connect(m_y, &CommitEdit::committed, this, [this] { commit(false); });
    connect(m_sheet, &QPushButton::clicked, this,
        [this] { Q_EMIT calibrationSheetRequested(CalibrationVariant::Sheet); });
    connect(m_discSheet, &QPushButton::clicked, this,
        [this] { Q_EMIT calibrationSheetRequested(CalibrationVariant::Disc); });
    // Every way the list changes (mouse, keys, accessibility) reports it.
    connect(m_bleed, &QComboBox::currentIndexChanged, this,
        [this](int index) { Q_EMIT bleedChosen(index); });
    showValues();
}

void PrintCorrectionPanel::setMessageHandler(std::function<void(const QString &)> show)
{
    m_show = std::move(show);
}

void PrintCorrectionPanel::showDevice(const PrintDevice &device)
{
    m_device = device;
    QSettings settings;
    m_correction = loadPrintCorrection(settings, device);
    showValues();
}

void PrintCorrectionPanel::showBleed(int mm)
{
    const QSignalBlocker quiet(m_bleed);
    m_bleed->setCurrentIndex(mm);
}

void PrintCorrectionPanel::showValues()
{
    m_deviceLabel->setText(printDeviceText(m_device));
    m_x->setText(formatCorrectionMm(m_correction.xTenths));
    m_y->setText(formatCorrectionMm(m_correction.yTenths));
}

void PrintCorrectionPanel::commit(bool horizontal)
{
    CommitEdit *edit = horizontal ? m_x : m_y;
    const QString text = edit->text();
    const std::optional<int> tenths = parseCorrectionMm(text);
    if (!tenths) {
        // The field shows its value again before the message, so that the
        // focus leaving for the message box does not commit the text twice.
        showValues();
        if (m_show)
            m_show(invalidCorrectionMessage(text));
        return;
    }
    PrintCorrection next = m_correction;
    (horizontal ? next.xTenths : next.yTenths) = *tenths;
    edit->setText(formatCorrectionMm(*tenths));
    if (next == m_correction)
        return;
    QSettings settings;
    storePrintCorrection(settings, m_device, next);
    if (settings.status() != QSettings::NoError) {
        showValues();
        if (m_show)
            m_show(UiText::tr("設定(%1)が記録できません").arg(settings.fileName()));
        return;
    }
    m_correction = next;
}

} // namespace cw

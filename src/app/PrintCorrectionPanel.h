#pragma once

#include <QWidget>
#include <functional>

#include "base/Printer.h"
#include "document/PrintCorrection.h"
#include "render/CalibrationSheet.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace cw {

class CommitEdit;

// The options tab's print position correction ("印刷位置補正") and bleed
// ("塗り足し"). The correction fields show the values the settings keep for
// the device now chosen and store a changed value when a field is left; a
// text that is no correction gets a message and the field shows its value
// again. The bleed list only reports the user's choice; the window stores it.
class PrintCorrectionPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PrintCorrectionPanel(QWidget *parent = nullptr);

    // Where messages go (the window's dialogs).
    void setMessageHandler(std::function<void(const QString &)> show);
    // Shows the correction kept for `device` and edits it from now on.
    void showDevice(const PrintDevice &device);
    const PrintDevice &device() const { return m_device; }
    // The correction the fields stand for.
    PrintCorrection correction() const { return m_correction; }
    // Mirrors the bleed into the list without reporting it back.
    void showBleed(int mm);
    // The bleed's group box, a child of the panel's parent, to be laid out
    // wherever the tab wants it.
    QWidget *bleedGroup() const { return m_bleedGroup; }

Q_SIGNALS:
    void bleedChosen(int mm);
    void calibrationSheetRequested(CalibrationVariant variant);

private:
    void commit(bool horizontal);
    void showValues();

    PrintDevice m_device;
    PrintCorrection m_correction;
    std::function<void(const QString &)> m_show;
    QLabel *m_deviceLabel = nullptr;
    CommitEdit *m_x = nullptr;
    CommitEdit *m_y = nullptr;
    QPushButton *m_sheet = nullptr;
    QPushButton *m_discSheet = nullptr;
    QComboBox *m_bleed = nullptr;
    QWidget *m_bleedGroup = nullptr;
};

} // namespace cw

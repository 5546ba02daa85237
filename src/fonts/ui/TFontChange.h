#pragma once

#include <QDialog>

#include "fonts/BulkFontChange.h"
#include "fonts/ui/TFontDialogEx.h"

class QCheckBox;
class QPushButton;

namespace cw {

// "一括フォント変更": one font and the six switches that say which of its
// parts go to every row of the track list. Created once and reused, so the
// switches keep the user's last choice for the run.
class TFontChange : public QDialog
{
    Q_OBJECT
public:
    explicit TFontChange(QWidget *parent = nullptr);

    TFontDialogEx Font; // the chosen font; the caller sets the start font
    BulkFontChangeSwitches switches() const;

    // Centres the window over `owner` (the window that opens it) and runs it;
    // true only through "変更".
    bool run(QWidget *owner);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_owner = nullptr;
    QCheckBox *ChangeFont, *ChangeSize, *ChangeColor, *ChangeStyle, *ChangeStyle2, *ChangeDefault;
    QPushButton *FontSet, *Change, *Cancel;

    void FormShow();
    void FontSetClick();
};

} // namespace cw

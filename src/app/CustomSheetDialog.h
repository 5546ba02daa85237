#pragma once

#include <QDialog>
#include <functional>

#include "document/CustomSheetForm.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace cw {

// "カスタム用紙": the user describes the label sheet of the stock "カスタム":
// its paper, the labels' outer and hole diameters and each label's centre
// (a list of the labels; X and Y of the one chosen below it). The typed texts
// are the form's (CustomSheetForm); OK hands them to `take`, which keeps a
// good sheet and says what is wrong with a bad one: the dialog closes only
// when the sheet was taken, and otherwise stays with the typing as it was.
// Cancel, Escape and the frame's close button change nothing.
class CustomSheetDialog : public QDialog
{
    Q_OBJECT
public:
    using Take = std::function<bool(const CustomSheetForm &)>;
    CustomSheetDialog(const CustomSheetForm &form, Take take, QWidget *parent = nullptr);
    const CustomSheetForm &form() const { return m_form; }

private:
    void change(const CustomSheetForm &form);
    void showForm();
    void okClicked();

    CustomSheetForm m_form;
    Take m_take;
    QComboBox *m_paper = nullptr;
    QLineEdit *m_outer = nullptr, *m_hole = nullptr, *m_x = nullptr, *m_y = nullptr;
    QListWidget *m_centres = nullptr;
    QPushButton *m_add = nullptr, *m_remove = nullptr;
};

} // namespace cw

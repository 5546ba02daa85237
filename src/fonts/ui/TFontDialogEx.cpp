#include "fonts/ui/TFontDialogEx.h"

#include <QApplication>
#include <exception>

#include "fonts/ui/TFontDialogX.h"

namespace cw {

bool TFontDialogEx::Execute(QWidget *parent)
{
    try {
        TFontDialogX dialog(installedFontFamilies(), Font,
            parent ? parent : QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        Font = dialog.workingFont();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace cw

#pragma once

#include <QList>

#include "fonts/FontFamilies.h"
#include "fonts/Font.h"

class QWidget;

namespace cw {

// One font-holding place of the program and the dialog that edits it.
class TFontDialogEx
{
public:
    FontSpec Font = defaultFont();

    // Runs "ﾌｫﾝﾄの指定" on Font over `parent`; true when closed with "OK",
    // when Font takes the dialog's result. Cancel, or any failure while the
    // dialog runs, leaves Font as it was and gives false.
    bool Execute(QWidget *parent = nullptr);

};

} // namespace cw

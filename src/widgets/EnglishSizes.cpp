#include "widgets/EnglishSizes.h"

#include <QLayout>
#include <QWidget>
#include <algorithm>

#include "base/UiText.h"

namespace cw {

void growForEnglish(QWidget *widget)
{
    if (currentUiLanguage() != UiLanguage::English || !widget->layout())
        return;
    widget->layout()->activate();
    const QSize needed = widget->layout()->totalMinimumSize();
    if (widget->minimumWidth() == widget->maximumWidth() && needed.width() > widget->minimumWidth())
        widget->setFixedWidth(needed.width());
    if (widget->minimumHeight() == widget->maximumHeight()
        && needed.height() > widget->minimumHeight())
        widget->setFixedHeight(needed.height());
}

int widthForEnglish(int japaneseWidth, int naturalWidth)
{
    if (currentUiLanguage() != UiLanguage::English)
        return japaneseWidth;
    return std::max(japaneseWidth, naturalWidth);
}

} // namespace cw

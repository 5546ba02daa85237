#include "document/StepLabels.h"

#include "base/EditSteps.h"
#include "base/UiText.h"

namespace cw {

// Steps are named after the control that made them and the tab it is on:
// "タイトル(表レーベル)".
QString surfaceTabName(Surface s)
{
    switch (s) {
    case Surface::Top:
        return UiText::tr("表レーベル");
    case Surface::Bottom:
        return UiText::tr("裏レーベル");
    case Surface::Left:
        return UiText::tr("背表紙(左)");
    case Surface::Right:
        return UiText::tr("背表紙(右)");
    case Surface::Disc:
        return UiText::tr("ディスク");
    }
    return QString();
}

QString onSurface(const QString &what, Surface s)
{
    return stepLabel(what, surfaceTabName(s));
}

QString typingKey(const char16_t *field, Surface s)
{
    return QString::fromUtf16(field) + surfacePrefix(s);
}

QString swatchLabel(Swatch swatch)
{
    static const char *const names[] = { QT_TRANSLATE_NOOP("cw::UiText", "表レーベル(表)"),
        QT_TRANSLATE_NOOP("cw::UiText", "表レーベル(裏)"),
        QT_TRANSLATE_NOOP("cw::UiText", "裏レーベル"),
        QT_TRANSLATE_NOOP("cw::UiText", "背表紙(左)"),
        QT_TRANSLATE_NOOP("cw::UiText", "背表紙(右)"),
        QT_TRANSLATE_NOOP("cw::UiText", "ディスク") };
    return stepLabel(UiText::tr("背景色設定"), UiText::tr(names[int(swatch)]));
}

QString bookletPageName(int page)
{
    return UiText::tr("%1ページ目").arg(page);
}

} // namespace cw

#include "document/StepLabels.h"

#include "base/EditSteps.h"

namespace cw {

// Steps are named after the control that made them and the tab it is on:
// "タイトル(表レーベル)".
QString surfaceTabName(Surface s)
{
    switch (s) {
    case Surface::Top:
        return QStringLiteral("表レーベル");
    case Surface::Bottom:
        return QStringLiteral("裏レーベル");
    case Surface::Left:
        return QStringLiteral("背表紙(左)");
    case Surface::Right:
        return QStringLiteral("背表紙(右)");
    }
    return QString();
}

QString onSurface(const char16_t *what, Surface s)
{
    return stepLabel(QString::fromUtf16(what), surfaceTabName(s));
}

QString typingKey(const char16_t *field, Surface s)
{
    return QString::fromUtf16(field) + surfacePrefix(s);
}

QString swatchLabel(Swatch swatch)
{
    static const char16_t *const names[]
        = { u"表レーベル(表)", u"表レーベル(裏)", u"裏レーベル", u"背表紙(左)", u"背表紙(右)" };
    return stepLabel(QStringLiteral("背景色設定"), QString::fromUtf16(names[int(swatch)]));
}

} // namespace cw

#include "document/CaseSizeText.h"

#include <QRegularExpression>
#include <QStringList>

#include "base/UiText.h"

namespace cw {

namespace {

std::optional<int> tenthsInRange(CaseDimension which, int whole, int tenth)
{
    const int tenths = whole * 10 + tenth;
    if (tenths < caseDimensionMin(which) || tenths > caseDimensionMax(which))
        return std::nullopt;
    return tenths;
}

} // namespace

int caseDimension(const CaseSize &size, CaseDimension which)
{
    switch (which) {
    case CaseDimension::PanelWidth:
        return size.panelWidth;
    case CaseDimension::PanelHeight:
        return size.panelHeight;
    case CaseDimension::SpineWidth:
        return size.spineWidth;
    }
    return 0;
}

void setCaseDimension(CaseSize &size, CaseDimension which, int tenths)
{
    switch (which) {
    case CaseDimension::PanelWidth:
        size.panelWidth = tenths;
        break;
    case CaseDimension::PanelHeight:
        size.panelHeight = tenths;
        break;
    case CaseDimension::SpineWidth:
        size.spineWidth = tenths;
        break;
    }
}

int caseDimensionMin(CaseDimension which)
{
    return which == CaseDimension::SpineWidth ? kCaseSpineMinTenths : kCasePanelMinTenths;
}

int caseDimensionMax(CaseDimension which)
{
    return which == CaseDimension::SpineWidth ? kCaseSpineMaxTenths : kCasePanelMaxTenths;
}

std::optional<int> parseCaseDimension(CaseDimension which, const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,4})(?:\\.([0-9]))?")));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return tenthsInRange(
        which, m.captured(1).toInt(), m.hasCaptured(2) ? m.captured(2).toInt() : 0);
}

QString invalidCaseDimensionMessage(CaseDimension which, const QString &text)
{
    return UiText::tr("'%1' は %2 から %3 までの数値(mm、小数1桁)ではありません")
        .arg(text, formatCaseTenths(caseDimensionMin(which)),
            formatCaseTenths(caseDimensionMax(which)));
}

QString formatCaseTenths(int tenths)
{
    return QString::asprintf("%d.%d", tenths / 10, tenths % 10);
}

std::optional<CaseSize> parseCaseSizeTriple(const QString &text, QString *error)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3) {
        if (error)
            *error = UiText::tr(
                "--size はパネルの幅、パネルの高さ、背の幅(mm)をコンマで区切って指定してください");
        return std::nullopt;
    }
    CaseSize size;
    for (int i = 0; i < 3; ++i) {
        const CaseDimension which = kAllCaseDimensions[i];
        const std::optional<int> tenths = parseCaseDimension(which, parts[i]);
        if (!tenths) {
            if (error)
                *error = invalidCaseDimensionMessage(which, parts[i]);
            return std::nullopt;
        }
        setCaseDimension(size, which, *tenths);
    }
    return size;
}

std::optional<CaseSize> parseCaseSizeLine(const QByteArray &text)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]{1,3})\\.([0-9]) ([0-9]{1,3})\\.([0-9]) ([0-9]{1,2})\\.([0-9])")));
    const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(text));
    if (!m.hasMatch())
        return std::nullopt;
    CaseSize size;
    for (int i = 0; i < 3; ++i) {
        const CaseDimension which = kAllCaseDimensions[i];
        const std::optional<int> tenths
            = tenthsInRange(which, m.captured(1 + 2 * i).toInt(), m.captured(2 + 2 * i).toInt());
        if (!tenths)
            return std::nullopt;
        setCaseDimension(size, which, *tenths);
    }
    return size;
}

QString formatCaseSizeLine(const CaseSize &size)
{
    return formatCaseTenths(size.panelWidth) + QLatin1Char(' ') + formatCaseTenths(size.panelHeight)
        + QLatin1Char(' ') + formatCaseTenths(size.spineWidth);
}

} // namespace cw

#include "document/CustomSheetForm.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "base/UiText.h"
#include "document/CaseSizeText.h"
#include "document/DiscStockSettings.h"

namespace cw {

namespace {

// A diameter as typed: millimetres with at most one decimal, as tenths.
std::optional<int> diameterTenths(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,3})(?:\\.([0-9]))?")));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt() * 10 + (m.hasCaptured(2) ? m.captured(2).toInt() : 0);
}

// One label's centre as typed, read as the settings read centres.
std::optional<QPointF> centreOf(const CustomSheetCentre &c)
{
    const QRegularExpression separators(QStringLiteral("[,;]"));
    if (c.x.contains(separators) || c.y.contains(separators))
        return std::nullopt;
    const auto centres = parseCentres(c.x + QLatin1Char(',') + c.y, nullptr);
    if (!centres || centres->size() != 1)
        return std::nullopt;
    return centres->first();
}

} // namespace

QStringList customSheetPapers()
{
    return { QStringLiteral("A4"), QStringLiteral("Letter") };
}

CustomSheetForm customSheetForm(const LabelSheetProduct &sheet)
{
    CustomSheetForm form;
    form.paper = std::max<int>(0, int(customSheetPapers().indexOf(sheet.paper)));
    form.outer = formatCaseTenths(int(std::lround(sheet.outerMm * 10)));
    form.hole = formatCaseTenths(int(std::lround(sheet.holeMm * 10)));
    for (const QPointF &c : sheet.centresMm) {
        // The settings' own form of a centre: "105,79.9".
        const QStringList xy = formatCentres({ c }).split(QLatin1Char(','));
        form.centres.append(CustomSheetCentre { xy.value(0), xy.value(1) });
    }
    if (form.centres.isEmpty())
        form.centres.append(CustomSheetCentre {});
    return form;
}

QString customSheetCentreEntry(const CustomSheetForm &form, int label)
{
    const CustomSheetCentre &c = form.centres.at(label - 1);
    return QStringLiteral("%1: %2, %3").arg(label).arg(c.x.trimmed(), c.y.trimmed());
}

QStringList customSheetCentreEntries(const CustomSheetForm &form)
{
    QStringList entries;
    for (int label = 1; label <= form.centres.size(); ++label)
        entries << customSheetCentreEntry(form, label);
    return entries;
}

bool canAddCentre(const CustomSheetForm &form)
{
    return form.centres.size() < kMaxSheetLabels;
}

bool canRemoveCentre(const CustomSheetForm &form)
{
    return form.centres.size() > 1;
}

CustomSheetForm withCentreAdded(CustomSheetForm form)
{
    if (!canAddCentre(form))
        return form;
    const int at = std::clamp(form.current + 1, 0, int(form.centres.size()));
    form.centres.insert(at, CustomSheetCentre {});
    form.current = at;
    return form;
}

CustomSheetForm withCentreRemoved(CustomSheetForm form)
{
    if (!canRemoveCentre(form) || form.current < 0 || form.current >= form.centres.size())
        return form;
    form.centres.removeAt(form.current);
    form.current = std::min(form.current, int(form.centres.size()) - 1);
    return form;
}

CustomSheetForm withCurrentCentre(CustomSheetForm form, int label)
{
    if (label >= 0 && label < form.centres.size())
        form.current = label;
    return form;
}

CustomSheetForm withCentreTyped(CustomSheetForm form, bool y, const QString &text)
{
    if (form.current < 0 || form.current >= form.centres.size())
        return form;
    (y ? form.centres[form.current].y : form.centres[form.current].x) = text;
    return form;
}

std::optional<LabelSheetProduct> customSheetFromForm(const CustomSheetForm &form, QString *message)
{
    auto refuse = [message](const QString &why) -> std::optional<LabelSheetProduct> {
        if (message)
            *message = why;
        return std::nullopt;
    };
    LabelSheetProduct sheet = defaultCustomLabelSheet();
    sheet.paper = customSheetPapers().value(form.paper);
    if (!labelSheetPaperSize(sheet.paper, &sheet.widthMm, &sheet.heightMm))
        return refuse(UiText::tr("用紙は A4 か Letter です"));
    const std::optional<int> outer = diameterTenths(form.outer);
    if (!outer)
        return refuse(UiText::tr("外径(%1)は mm で、小数1桁までの数値を入力してください").arg(form.outer));
    const std::optional<int> hole = diameterTenths(form.hole);
    if (!hole)
        return refuse(UiText::tr("穴径(%1)は mm で、小数1桁までの数値を入力してください").arg(form.hole));
    sheet.outerMm = *outer / 10.0;
    sheet.holeMm = *hole / 10.0;
    sheet.centresMm.clear();
    for (int i = 0; i < form.centres.size(); ++i) {
        const std::optional<QPointF> c = centreOf(form.centres[i]);
        if (!c)
            return refuse(UiText::tr("ラベル%1の中心(%2, %3)は用紙の左上からの mm (小数2桁まで) "
                                     "で入力してください")
                              .arg(i + 1)
                              .arg(form.centres[i].x, form.centres[i].y));
        sheet.centresMm.append(*c);
    }
    const QString problem = customLabelSheetProblem(sheet);
    if (!problem.isEmpty())
        return refuse(problem);
    if (message)
        message->clear();
    return sheet;
}

} // namespace cw

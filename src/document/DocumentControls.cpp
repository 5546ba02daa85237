#include "document/DocumentControls.h"

#include <QRegularExpression>
#include <cstdlib>

#include "base/BookletFormat.h"
#include "base/UiText.h"
#include "document/CaseSizeText.h"

namespace cw {

namespace {

QString boolText(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

QString fontText(const FontSpec &f)
{
    return QStringLiteral("%1 %2 %3 %4 %5%6%7%8")
        .arg(f.name)
        .arg(f.size)
        .arg(f.color)
        .arg(f.charset)
        .arg(boolText(f.bold), boolText(f.italic), boolText(f.underline), boolText(f.strikeOut));
}

} // namespace

void insertPictureValues(
    QMap<QString, QString> &v, const QString &p, const PicturePlacement &pic)
{
    v.insert(p + "GraphicUse", boolText(pic.use));
    v.insert(p + "GraphicFileName", pic.fileName);
    v.insert(p + "GraphicWidth", QString::number(pic.pixelWidth));
    v.insert(p + "GraphicHeight", QString::number(pic.pixelHeight));
    v.insert(p + "GraphicWidth2", QString::number(pic.printWidth));
    v.insert(p + "GraphicHeight2", QString::number(pic.printHeight));
    v.insert(p + "GraphicPosX", QString::number(pic.posX));
    v.insert(p + "GraphicPosY", QString::number(pic.posY));
    v.insert(p + "GSizeChange", QString::number(int(pic.sizeMode)));
    v.insert(p + "GPosChange", QString::number(int(pic.alignMode)));
    v.insert(p + "SizeRateFixed", boolText(pic.keepAspect));
}

void setPicturePanelStates(ControlStates &states, const QString &prefix, bool on)
{
    for (const char *part : { "GraphLabel", "GraphicFileName", "GraphicFileSelect", "GraphicInfo",
             "PSet", "GraphicWidth2", "GraphicHeight2", "GraphicPosX", "GraphicPosY",
             "GSizeChange", "GPosChange", "SizeRateFixed" })
        states.insert(prefix + QLatin1String(part), on);
}

ControlStates enabledStates(const LabelDocument &doc)
{
    ControlStates e;
    auto set = [&e](const QStringList &names, bool on) {
        for (const QString &n : names)
            e.insert(n, on);
    };

    // Front title.
    const TitleSettings &tt = doc.top.title;
    set({ "TopTitleLabel", "TopTitle", "TopTitlePos", "TopTitleFontSet" }, tt.use);
    const bool topCustom = tt.use && tt.posMode == TitlePosition::Custom;
    set({ "TopTitlePosXY", "TopTitlePosXUse", "TopTitlePosYUse" }, topCustom);
    set({ "TopTitlePosX" }, topCustom && tt.customXUse);
    set({ "TopTitlePosY" }, topCustom && tt.customYUse);

    // Back title.
    const TitleSettings &bt = doc.bottom.title;
    const bool bottomOwn = bt.use && !doc.bottom.titleSameAsFront;
    set({ "BottomSameTitle" }, bt.use);
    set({ "BottomTitleLabel", "BottomTitle", "BottomTitlePos", "BottomTitleFontSet" }, bottomOwn);
    const bool bottomCustom = bottomOwn && bt.posMode == TitlePosition::Custom;
    set({ "BottomTitlePosXY", "BottomTitlePosXUse", "BottomTitlePosYUse" }, bottomCustom);
    set({ "BottomTitlePosX" }, bottomCustom && bt.customXUse);
    set({ "BottomTitlePosY" }, bottomCustom && bt.customYUse);

    // Left spine.
    const TitleSettings &lt = doc.left.title;
    set({ "LeftSameTitle", "LeftTitlePos" }, lt.use);
    set({ "LeftTitleLabel", "LeftTitle", "LeftTitleFontSet" },
        lt.use && !doc.left.titleSameAsFront);
    set({ "LeftTitleOffset" }, lt.use && lt.posMode == TitlePosition::Custom);
    // The direction goes with the title, on either spine.
    set({ "LeftSpineText" }, lt.use);

    // Right spine: its two links exclude each other.
    const TitleSettings &rt = doc.right.title;
    const bool rFront = doc.right.titleSameAsFront;
    const bool rLeft = doc.right.titleSameAsLeft;
    set({ "RightSameTitle" }, rt.use && !rLeft);
    set({ "RightSameLeft" }, rt.use && !rFront);
    set({ "RightTitleLabel", "RightTitle", "RightTitleFontSet" }, rt.use && !rFront && !rLeft);
    set({ "RightTitlePos" }, rt.use && !rLeft);
    set({ "RightTitleOffset" }, rt.use && rt.posMode == TitlePosition::Custom && !rLeft);
    set({ "RightSpineText" }, rt.use);

    // Editor buttons.
    set({ "TopListEdit" }, doc.top.useList);
    set({ "BottomListEdit" }, doc.bottom.useList);
    set({ "Top1PrintsEdit" }, doc.top.useCoverPrints);
    set({ "Top2PrintsEdit" }, doc.top.useInsidePrints);
    set({ "BottomPrintsEdit" }, doc.bottom.usePrints);

    // Picture panels. A follower's panel is usable only while its link is off;
    // its link check box only while its picture is switched on.
    for (Surface s : kDocumentSurfaces) {
        const SurfaceSettings &ss = doc.surface(s);
        bool on = ss.picture.use;
        if (s == Surface::Bottom)
            on = on && !ss.pictureSameAsFront;
        if (s == Surface::Right)
            on = on && !ss.pictureSameAsLeft;
        setPicturePanelStates(e, surfacePrefix(s), on);
    }
    set({ "SameGraphic" }, doc.bottom.picture.use);

    // The disc's two texts: each group follows its use box; the radius and
    // angle serve an arc, the position "任意", each value its own box there.
    for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
        const TitleSettings &t = doc.discText(which);
        const QString p = discTextPrefix(which);
        const bool arc = t.use && t.arc.place != DiscTextPlace::Custom;
        const bool custom = t.use && t.arc.place == DiscTextPlace::Custom;
        for (const char *part : { "", "FontSet", "Place" })
            e.insert(p + QLatin1String(part), t.use);
        for (const char *part : { "Radius", "Angle" })
            e.insert(p + QLatin1String(part), arc);
        for (const char *part : { "PosXY", "PosXUse", "PosYUse" })
            e.insert(p + QLatin1String(part), custom);
        e.insert(p + QStringLiteral("PosX"), custom && t.customXUse);
        e.insert(p + QStringLiteral("PosY"), custom && t.customYUse);
    }
    // The disc is printed with every case.
    e.insert(surfaceTabObjectName(Surface::Disc), true);
    e.insert(QStringLiteral("DiscBGColor"), true);
    e.insert(QStringLiteral("UseDiscList"), true);
    e.insert(QStringLiteral("UseDiscPrints"), true);
    // A booklet: its page count for a case that may have one, how it is
    // printed on both sides and its "ページ" tab once it has inner pages.
    e.insert(QStringLiteral("BookletPages"), bookletFrontSheet(caseFormatOf(doc)) != nullptr);
    e.insert(QStringLiteral("BookletDuplex"), doc.bookletPages > 2);
    e.insert(QStringLiteral("PageTag"), doc.bookletPages > 2);
    set({ "DiscListEdit" }, doc.disc.useList);
    set({ "DiscPrintsEdit" }, doc.disc.usePrints);
    set({ "SameGraphicLeft" }, doc.right.picture.use);

    // A surface the case does not print: its tab is disabled with every
    // control on it, and so is its background colour; its values stay.
    set({ "TopLabelBGColor1", "TopLabelBGColor2", "BottomLabelBGColor", "LeftTitleBGColor",
            "RightTitleBGColor" },
        true);
    // The print options of the back page ("裏レーベルを印刷", and the spines'
    // direction) go with the back label: a case without one keeps their
    // values and offers them disabled.
    set({ "BottomLabelPrint", "SideTitleSameTop" }, true);
    const CaseFormat &format = formatOf(doc);
    for (Surface s : kAllSurfaces) {
        const bool printed = format.hasSurface(s);
        e.insert(surfaceTabObjectName(s), printed);
        if (printed)
            continue;
        const QString prefix = surfacePrefix(s);
        for (auto it = e.begin(); it != e.end(); ++it) {
            if (it.key().startsWith(prefix))
                it.value() = false;
        }
    }
    // A custom case's sizes: only its own.
    for (const char *size : { "CasePanelWidth", "CasePanelHeight", "CaseSpineWidth" })
        e.insert(QLatin1String(size), format.custom);
    if (!format.hasSurface(Surface::Bottom))
        e.insert(QStringLiteral("SameGraphic"), false);
    if (!format.hasSurface(Surface::Left) && !format.hasSurface(Surface::Right))
        e.insert(QStringLiteral("SideTitleSameTop"), false);
    if (!format.hasSurface(Surface::Right))
        e.insert(QStringLiteral("SameGraphicLeft"), false);
    // "内側も印刷" goes with a sheet for the reverse of the case's wrap; a
    // case without one keeps its value and offers it disabled.
    e.insert(QStringLiteral("InsidePrint"), format.hasInsideSheet());
    return e;
}

QMap<QString, QString> controlValues(const LabelDocument &doc, const PrintOptions &options)
{
    QMap<QString, QString> v;
    for (Surface s : kAllSurfaces) {
        const SurfaceSettings &ss = doc.surface(s);
        const QString p = surfacePrefix(s);
        const TitleSettings &t = ss.title;
        v.insert(p + "TitleUse", boolText(t.use));
        v.insert(p + "Title", t.text);
        v.insert(p + "TitlePos", QString::number(int(t.posMode)));
        v.insert(p + "TitleFont", fontText(t.font));
        if (hasCustomTitlePosition(s)) {
            v.insert(p + "TitlePosXUse", boolText(t.customXUse));
            v.insert(p + "TitlePosX", QString::number(t.customX));
            v.insert(p + "TitlePosYUse", boolText(t.customYUse));
            v.insert(p + "TitlePosY", QString::number(t.customY));
        } else {
            v.insert(p + "TitleOffset", QString::number(t.offset));
            v.insert(p + "SpineText", QString::number(spineTextListIndex(doc, s, options)));
        }
    }
    for (Surface s : kDocumentSurfaces)
        insertPictureValues(v, surfacePrefix(s), doc.surface(s).picture);
    for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
        const TitleSettings &t = doc.discText(which);
        const QString p = discTextPrefix(which);
        v.insert(p + "Use", boolText(t.use));
        v.insert(p, t.text);
        v.insert(p + "Font", fontText(t.font));
        v.insert(p + "Place", QString::number(int(t.arc.place)));
        v.insert(p + "Radius", formatDiscRadius(t.arc.radiusTenths));
        v.insert(p + "Angle", formatDiscAngle(t.arc.angleTenths));
        v.insert(p + "PosXUse", boolText(t.customXUse));
        v.insert(p + "PosX", QString::number(t.customX));
        v.insert(p + "PosYUse", boolText(t.customYUse));
        v.insert(p + "PosY", QString::number(t.customY));
    }
    v.insert("DiscBGColor", QString::number(doc.disc.backgroundColor1));
    v.insert("BottomSameTitle", boolText(doc.bottom.titleSameAsFront));
    v.insert("LeftSameTitle", boolText(doc.left.titleSameAsFront));
    v.insert("RightSameTitle", boolText(doc.right.titleSameAsFront));
    v.insert("RightSameLeft", boolText(doc.right.titleSameAsLeft));
    v.insert("SameGraphic", boolText(doc.bottom.pictureSameAsFront));
    v.insert("SameGraphicLeft", boolText(doc.right.pictureSameAsLeft));
    v.insert("UseTopList", boolText(doc.top.useList));
    v.insert("UseBottomList", boolText(doc.bottom.useList));
    v.insert("UseTop1Prints", boolText(doc.top.useCoverPrints));
    v.insert("UseTop2Prints", boolText(doc.top.useInsidePrints));
    v.insert("UseBottomPrints", boolText(doc.bottom.usePrints));
    v.insert("UseDiscList", boolText(doc.disc.useList));
    v.insert("UseDiscPrints", boolText(doc.disc.usePrints));
    v.insert("TopLabelBGColor1", QString::number(doc.top.backgroundColor1));
    v.insert("TopLabelBGColor2", QString::number(doc.top.backgroundColor2));
    v.insert("BottomLabelBGColor", QString::number(doc.bottom.backgroundColor1));
    v.insert("LeftTitleBGColor", QString::number(doc.left.backgroundColor1));
    v.insert("RightTitleBGColor", QString::number(doc.right.backgroundColor1));
    v.insert("CaseType", QString::number(caseFormatIds().indexOf(formatOf(doc).id)));
    v.insert("CasePanelWidth", formatCaseTenths(doc.caseSize.panelWidth));
    v.insert("CasePanelHeight", formatCaseTenths(doc.caseSize.panelHeight));
    v.insert("CaseSpineWidth", formatCaseTenths(doc.caseSize.spineWidth));
    return v;
}

int spineTextListIndex(const LabelDocument &doc, Surface s, const PrintOptions &options)
{
    const std::optional<SpineText> shown = shownSpineText(doc, s, options);
    return shown ? int(*shown) - 1 : -1;
}

std::optional<SpineText> spineTextOfListIndex(int index)
{
    if (index < 0 || index > 1)
        return std::nullopt;
    return SpineText(index + 1);
}

QString surfaceTabObjectName(Surface s)
{
    static const char *const names[]
        = { "TopLabelTab", "BottomLabelTab", "LeftTitleTab", "RightTitleTab", "DiscTab" };
    return QLatin1String(names[int(s)]);
}

QString discTextPrefix(DiscText which)
{
    return which == DiscText::Title ? QStringLiteral("DiscTitle") : QStringLiteral("DiscSubtitle");
}

QString formatDiscRadius(int tenths)
{
    return tenths == 0 ? QString() : formatCaseTenths(tenths);
}

QString formatDiscAngle(int tenths)
{
    const int a = std::abs(tenths);
    return QString::asprintf("%s%d.%d", tenths < 0 ? "-" : "", a / 10, a % 10);
}

namespace {

// Tenths typed as "12", "12.5", "-0.5" (with `signs`), blanks around them
// ignored; an empty text is 0. Outside min..max it is none.
std::optional<int> typedTenths(const QString &text, bool signs, int min, int max)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("([-+]?)([0-9]{1,4})(?:\\.([0-9]))?")));
    const QRegularExpressionMatch m = pattern.match(t);
    if (!m.hasMatch() || (!signs && !m.captured(1).isEmpty()))
        return std::nullopt;
    int tenths = m.captured(2).toInt() * 10 + (m.hasCaptured(3) ? m.captured(3).toInt() : 0);
    if (m.captured(1) == QLatin1String("-"))
        tenths = -tenths;
    if (tenths < min || tenths > max)
        return std::nullopt;
    return tenths;
}

} // namespace

std::optional<int> parseDiscRadius(const QString &text)
{
    return typedTenths(text, false, 0, kDiscRadiusMaxTenths);
}

std::optional<int> parseDiscAngle(const QString &text)
{
    return typedTenths(text, true, -kDiscAngleLimitTenths, kDiscAngleLimitTenths);
}

QString invalidDiscRadiusMessage(const QString &text)
{
    return UiText::tr("'%1' は %2 から %3 までの数値(mm、小数1桁)ではありません")
        .arg(text, formatCaseTenths(0), formatCaseTenths(kDiscRadiusMaxTenths));
}

QString invalidDiscAngleMessage(const QString &text)
{
    return UiText::tr("'%1' は %2 から %3 までの数値(度、小数1桁)ではありません")
        .arg(text, formatDiscAngle(-kDiscAngleLimitTenths), formatDiscAngle(kDiscAngleLimitTenths));
}

} // namespace cw

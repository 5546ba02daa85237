#include "document/DocumentEditor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/BookletFormat.h"
#include "base/BookletImposition.h"
#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "base/Units.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "document/PicturePlacementOps.h"
#include "document/StepLabels.h"
#include "text/TypedNumber.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

void EditResult::addPage(PreviewPage page)
{
    if (!pages.contains(page))
        pages.append(page);
}

void EditResult::merge(const EditResult &other)
{
    for (PreviewPage p : other.pages)
        addPage(p);
}

int maxSpineOffset(const LabelDocument &doc, Surface s)
{
    const CasePanel *spine = hasTitleOffset(s) ? formatOf(doc).panel(surfaceRole(s)) : nullptr;
    if (!spine)
        return kMaxSpineOffset;
    // Tenths of a millimetre, so that 117.5 - 2.5 is 115 exactly.
    const int tenths = int(std::lround(spine->heightMm * 10)) - 25;
    return std::max(kMaxSpineOffset, tenths / 10);
}

DocumentEditor::DocumentEditor(LabelDocument &doc, MessageSink *messages)
    : m_doc(doc)
    , m_messages(messages)
    , m_history(doc)
{ }

void DocumentEditor::setMessageSink(MessageSink *messages)
{
    m_messages = messages;
}

MessageSink &DocumentEditor::messages() const
{
    static NullMessageSink quiet;
    return m_messages ? *m_messages : quiet;
}

void DocumentEditor::setTemplateReloader(std::function<void()> reload)
{
    m_reloadTemplates = std::move(reload);
}

// ---- Titles ------------------------------------------------------------------

EditResult DocumentEditor::setTitleUse(Surface s, bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("タイトル"), s), EditParts::Settings);
    EditResult r;
    TitleSettings &t = m_doc.surface(s).title;
    if (t.use == on)
        return r;
    t.use = on;
    r.addPage(surfacePage(s));
    // A title that follows another is drawn only while the one it follows is
    // switched on: the followers' page changes too.
    const bool followed = s == Surface::Top
        ? m_doc.bottom.titleSameAsFront || m_doc.left.titleSameAsFront || m_doc.right.titleSameAsFront
        : s == Surface::Left && m_doc.right.titleSameAsLeft;
    if (followed)
        r.addPage(PreviewPage::Back);
    return r;
}

EditResult DocumentEditor::setTitleText(Surface s, const QString &text)
{
    EditStep step(&m_history, onSurface(UiText::tr("タイトル"), s), EditParts::Settings,
        typingKey(u"Title", s));
    EditResult r;
    titleText(s, text, r);
    return r;
}

void DocumentEditor::titleText(Surface s, const QString &text, EditResult &r)
{
    TitleSettings &t = m_doc.surface(s).title;
    if (t.text == text)
        return;
    t.text = text;
    r.addPage(surfacePage(s));
    if (s == Surface::Top) {
        if (m_doc.bottom.titleSameAsFront)
            titleText(Surface::Bottom, text, r);
        // The left spine passes the text on to the right one when they are
        // linked; the right gets it directly too, in case the left text was
        // already the new one and so passed nothing on.
        if (m_doc.left.titleSameAsFront)
            titleText(Surface::Left, text, r);
        if (m_doc.right.titleSameAsFront
            || (m_doc.left.titleSameAsFront && m_doc.right.titleSameAsLeft))
            titleText(Surface::Right, text, r);
    } else if (s == Surface::Left && m_doc.right.titleSameAsLeft) {
        titleText(Surface::Right, text, r);
    }
}

EditResult DocumentEditor::setTitlePosMode(Surface s, TitlePosition mode)
{
    EditStep step(&m_history, onSurface(UiText::tr("タイトル位置"), s), EditParts::Settings);
    EditResult r;
    titlePosMode(s, mode, r);
    return r;
}

void DocumentEditor::titlePosMode(Surface s, TitlePosition mode, EditResult &r)
{
    TitleSettings &t = m_doc.surface(s).title;
    if (t.posMode == mode)
        return;
    t.posMode = mode;
    r.addPage(surfacePage(s));
    if (s == Surface::Top && m_doc.bottom.titleSameAsFront)
        titlePosMode(Surface::Bottom, mode, r);
    else if (s == Surface::Left && m_doc.right.titleSameAsLeft)
        titlePosMode(Surface::Right, mode, r);
}

EditResult DocumentEditor::setTitleFont(Surface s, const FontSpec &font)
{
    EditStep step(&m_history, onSurface(UiText::tr("フォント"), s), EditParts::Settings);
    EditResult r;
    titleFont(s, font, r);
    return r;
}

void DocumentEditor::titleFont(Surface s, const FontSpec &font, EditResult &r)
{
    m_doc.surface(s).title.font = font;
    r.addPage(surfacePage(s));
    if (s == Surface::Top) {
        if (m_doc.bottom.titleSameAsFront)
            titleFont(Surface::Bottom, font, r);
        if (m_doc.left.titleSameAsFront)
            titleFont(Surface::Left, font, r);
        if (m_doc.right.titleSameAsFront)
            titleFont(Surface::Right, font, r);
    } else if (s == Surface::Left && m_doc.right.titleSameAsLeft) {
        titleFont(Surface::Right, font, r);
    }
}

// ---- Custom title position ------------------------------------------------------

EditResult DocumentEditor::setTitleCustomXUse(Surface s, bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("任意位置設定 横"), s), EditParts::Settings);
    EditResult r;
    TitleSettings &t = m_doc.surface(s).title;
    if (!hasCustomTitlePosition(s) || t.customXUse == on)
        return r;
    t.customXUse = on;
    r.addPage(surfacePage(s));
    return r;
}

EditResult DocumentEditor::setTitleCustomYUse(Surface s, bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("任意位置設定 縦"), s), EditParts::Settings);
    EditResult r;
    TitleSettings &t = m_doc.surface(s).title;
    if (!hasCustomTitlePosition(s) || t.customYUse == on)
        return r;
    t.customYUse = on;
    r.addPage(surfacePage(s));
    return r;
}

EditResult DocumentEditor::setTitleCustomX(Surface s, int mm)
{
    EditStep step(&m_history, onSurface(UiText::tr("任意位置設定 横"), s), EditParts::Settings,
        typingKey(u"TitlePosX", s));
    EditResult r;
    if (hasCustomTitlePosition(s))
        m_doc.surface(s).title.customX = std::clamp(mm, 0, kMaxCustomPosition);
    return r;
}

EditResult DocumentEditor::setTitleCustomY(Surface s, int mm)
{
    EditStep step(&m_history, onSurface(UiText::tr("任意位置設定 縦"), s), EditParts::Settings,
        typingKey(u"TitlePosY", s));
    EditResult r;
    if (hasCustomTitlePosition(s))
        m_doc.surface(s).title.customY = std::clamp(mm, 0, kMaxCustomPosition);
    return r;
}

std::optional<EditResult> DocumentEditor::setTitleCustomXText(Surface s, const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return setTitleCustomX(s, typedInt(text).value_or(0));
}

std::optional<EditResult> DocumentEditor::setTitleCustomYText(Surface s, const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return setTitleCustomY(s, typedInt(text).value_or(0));
}

EditResult DocumentEditor::leaveTitleCustomPosition(Surface s)
{
    EditResult r;
    if (hasCustomTitlePosition(s))
        r.addPage(surfacePage(s));
    return r;
}

// ---- Spine offset -----------------------------------------------------------------

EditResult DocumentEditor::setTitleOffset(Surface s, int mm)
{
    EditStep step(&m_history, onSurface(UiText::tr("印刷位置オフセット"), s), EditParts::Settings,
        typingKey(u"TitleOffset", s));
    EditResult r;
    titleOffset(s, mm, r);
    return r;
}

EditResult DocumentEditor::setTitleOffsetText(Surface s, const QString &text)
{
    EditStep step(&m_history, onSurface(UiText::tr("印刷位置オフセット"), s), EditParts::Settings,
        typingKey(u"TitleOffset", s));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return EditResult();
    // The edit takes at most three digits; anything longer is over the limit.
    const int most = maxSpineOffset(m_doc, s);
    const long long v = typedWholeNumber(t).value_or(t.size() > 3 ? most + 1 : 0);
    return setTitleOffset(s, int(std::clamp<long long>(v, 0, most + 1)));
}

void DocumentEditor::titleOffset(Surface s, int mm, EditResult &r)
{
    if (!hasTitleOffset(s))
        return;
    mm = std::clamp(mm, 0, maxSpineOffset(m_doc, s));
    TitleSettings &t = m_doc.surface(s).title;
    if (t.offset == mm)
        return;
    t.offset = mm;
    r.addPage(PreviewPage::Back);
    if (s == Surface::Left && m_doc.right.titleSameAsLeft)
        titleOffset(Surface::Right, mm, r);
}

// ---- Title links -------------------------------------------------------------------

EditResult DocumentEditor::setTitleSameAsFront(Surface s, bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("タイトル 表と同じ"), s), EditParts::Settings);
    EditResult r;
    if (s == Surface::Top)
        return r;
    SurfaceSettings &ss = m_doc.surface(s);
    if (ss.titleSameAsFront == on)
        return r;
    if (on && s == Surface::Right && ss.titleSameAsLeft)
        return r; // the right spine follows one title at a time
    ss.titleSameAsFront = on;
    r.addPage(PreviewPage::Back);
    if (!on)
        return r;
    const TitleSettings front = m_doc.top.title;
    titleText(s, front.text, r);
    // A right spine that follows the left one gets the front text too, also
    // when the left text already was the front's and so did not pass it on.
    if (s == Surface::Left && m_doc.right.titleSameAsLeft)
        titleText(Surface::Right, front.text, r);
    if (s == Surface::Bottom) {
        titlePosMode(s, front.posMode, r);
        ss.title.customXUse = front.customXUse;
        ss.title.customX = front.customX;
        ss.title.customYUse = front.customYUse;
        ss.title.customY = front.customY;
    }
    titleFont(s, front.font, r);
    return r;
}

EditResult DocumentEditor::setTitleSameAsLeft(bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("タイトル 背表紙(左)と同じ"), Surface::Right),
        EditParts::Settings);
    EditResult r;
    SurfaceSettings &right = m_doc.right;
    if (right.titleSameAsLeft == on)
        return r;
    if (on && right.titleSameAsFront)
        return r;
    right.titleSameAsLeft = on;
    r.addPage(PreviewPage::Back);
    if (!on || !m_doc.left.title.use)
        return r;
    const TitleSettings left = m_doc.left.title;
    titleText(Surface::Right, left.text, r);
    titleFont(Surface::Right, left.font, r);
    titlePosMode(Surface::Right, left.posMode, r);
    titleOffset(Surface::Right, left.offset, r);
    return r;
}

// ---- List and free-print switches ------------------------------------------------

EditResult DocumentEditor::setUseList(Surface s, bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("リスト"), s), EditParts::Settings);
    EditResult r;
    if (s != Surface::Top && s != Surface::Bottom && s != Surface::Disc)
        return r;
    SurfaceSettings &ss = m_doc.surface(s);
    if (ss.useList == on)
        return r;
    ss.useList = on;
    r.addPage(surfacePage(s));
    return r;
}

namespace {
// A free-print switch of surface `s`, one step named `label`: the page shows
// the items or drops them now, not at the next edit.
EditResult setPrintsSwitch(EditRecorder *history, LabelDocument &doc, const QString &label,
    bool SurfaceSettings::*field, Surface s, bool on)
{
    EditStep step(history, onSurface(label, s), EditParts::Settings);
    EditResult r;
    bool &value = doc.surface(s).*field;
    if (value == on)
        return r;
    value = on;
    r.addPage(surfacePage(s));
    return r;
}
} // namespace

EditResult DocumentEditor::setUseCoverPrints(bool on)
{
    return setPrintsSwitch(&m_history, m_doc,
        UiText::tr("任意印刷(前面)"), &SurfaceSettings::useCoverPrints, Surface::Top, on);
}

EditResult DocumentEditor::setUseInsidePrints(bool on)
{
    return setPrintsSwitch(&m_history, m_doc,
        UiText::tr("任意印刷(背面)"), &SurfaceSettings::useInsidePrints, Surface::Top, on);
}

EditResult DocumentEditor::setUsePrints(bool on)
{
    return setPrintsSwitch(&m_history, m_doc, UiText::tr("任意印刷"), &SurfaceSettings::usePrints,
        Surface::Bottom, on);
}

EditResult DocumentEditor::setUseDiscPrints(bool on)
{
    return setPrintsSwitch(&m_history, m_doc, UiText::tr("任意印刷"), &SurfaceSettings::usePrints,
        Surface::Disc, on);
}

// ---- The disc's texts ----------------------------------------------------------------

namespace {

QString discTextName(DiscText which)
{
    return stepLabel(which == DiscText::Title ? UiText::tr("タイトル") : UiText::tr("サブタイトル"),
        surfaceTabName(Surface::Disc));
}

// An angle in tenths of a degree brought into -180.0 .. 180.0 degrees.
int wrapAngleTenths(int tenths)
{
    int a = tenths % 3600;
    if (a > kDiscAngleLimitTenths)
        a -= 3600;
    else if (a < -kDiscAngleLimitTenths)
        a += 3600;
    return a;
}

} // namespace

template<typename Change>
EditResult DocumentEditor::changeDiscText(DiscText which, const QString &label, Change change,
    const QString &key)
{
    EditStep step(&m_history, label, EditParts::Settings, key);
    EditResult r;
    TitleSettings &t = m_doc.discText(which);
    const TitleSettings before = t;
    change(t);
    if (!(t.use == before.use && t.text == before.text && t.font == before.font
            && t.arc == before.arc && t.customXUse == before.customXUse
            && t.customX == before.customX && t.customYUse == before.customYUse
            && t.customY == before.customY))
        r.addPage(PreviewPage::Disc);
    return r;
}

EditResult DocumentEditor::setDiscTextUse(DiscText which, bool on)
{
    return changeDiscText(which, discTextName(which), [&](TitleSettings &t) { t.use = on; });
}

EditResult DocumentEditor::setDiscTextText(DiscText which, const QString &text)
{
    return changeDiscText(which, discTextName(which), [&](TitleSettings &t) { t.text = text; },
        typingKey(which == DiscText::Title ? u"Title" : u"Subtitle", Surface::Disc));
}

EditResult DocumentEditor::setDiscTextFont(DiscText which, const FontSpec &font)
{
    return changeDiscText(which, stepLabel(UiText::tr("フォント"), discTextName(which)),
        [&](TitleSettings &t) { t.font = font; });
}

EditResult DocumentEditor::setDiscTextPlace(DiscText which, DiscTextPlace place)
{
    return changeDiscText(which, stepLabel(UiText::tr("位置"), discTextName(which)),
        [&](TitleSettings &t) { t.arc.place = place; });
}

EditResult DocumentEditor::setDiscTextArc(DiscText which, int radiusTenths, int angleTenths)
{
    return changeDiscText(which, stepLabel(UiText::tr("位置"), discTextName(which)),
        [&](TitleSettings &t) {
            t.arc.radiusTenths = std::clamp(radiusTenths, 0, kDiscRadiusMaxTenths);
            t.arc.angleTenths = wrapAngleTenths(angleTenths);
        });
}

EditResult DocumentEditor::setDiscTextCustomPosition(
    DiscText which, bool xUse, int xMm, bool yUse, int yMm)
{
    return changeDiscText(which, stepLabel(UiText::tr("位置"), discTextName(which)),
        [&](TitleSettings &t) {
            t.customXUse = xUse;
            t.customX = xMm;
            t.customYUse = yUse;
            t.customY = yMm;
        });
}

EditResult DocumentEditor::commitDiscTextRadius(DiscText which, const QString &typed, bool *taken)
{
    const std::optional<int> tenths = parseDiscRadius(typed);
    if (taken)
        *taken = tenths.has_value();
    if (!tenths) {
        messages().showMessage(invalidDiscRadiusMessage(typed));
        return EditResult();
    }
    return setDiscTextArc(which, *tenths, m_doc.discText(which).arc.angleTenths);
}

EditResult DocumentEditor::commitDiscTextAngle(DiscText which, const QString &typed, bool *taken)
{
    const std::optional<int> tenths = parseDiscAngle(typed);
    if (taken)
        *taken = tenths.has_value();
    if (!tenths) {
        messages().showMessage(invalidDiscAngleMessage(typed));
        return EditResult();
    }
    return setDiscTextArc(which, m_doc.discText(which).arc.radiusTenths, *tenths);
}

EditResult DocumentEditor::commitDiscTextCustom(
    DiscText which, bool vertical, const QString &typed, bool *taken)
{
    if (taken)
        *taken = false;
    if (typed.trimmed().isEmpty())
        return EditResult();
    const std::optional<int> mm = takeTypedInt(typed, messages());
    if (!mm || *mm < 0 || *mm > 999) {
        if (mm)
            messages().showMessage(invalidNumberMessage(typed));
        return EditResult();
    }
    if (taken)
        *taken = true;
    const TitleSettings &t = m_doc.discText(which);
    return setDiscTextCustomPosition(which, t.customXUse, vertical ? t.customX : *mm,
        t.customYUse, vertical ? *mm : t.customY);
}

// ---- Background colours ---------------------------------------------------------------

EditResult DocumentEditor::setBackgroundColor(Swatch swatch, std::optional<ColorRef> color)
{
    EditStep step(&m_history, swatchLabel(swatch), EditParts::Settings);
    EditResult r;
    ColorRef *field = nullptr;
    PreviewPage page = PreviewPage::Back;
    switch (swatch) {
    case Swatch::TopCover:
        field = &m_doc.top.backgroundColor1;
        page = PreviewPage::Front;
        break;
    case Swatch::TopInside:
        field = &m_doc.top.backgroundColor2;
        page = PreviewPage::Front;
        break;
    case Swatch::Bottom:
        field = &m_doc.bottom.backgroundColor1;
        break;
    case Swatch::Left:
        field = &m_doc.left.backgroundColor1;
        break;
    case Swatch::Right:
        field = &m_doc.right.backgroundColor1;
        break;
    case Swatch::Disc:
        field = &m_doc.disc.backgroundColor1;
        page = PreviewPage::Disc;
        break;
    }
    if (field && color)
        *field = *color;
    r.addPage(page);
    return r;
}

// ---- Pictures --------------------------------------------------------------------------

std::optional<Surface> DocumentEditor::linkedFollower(Surface leader) const
{
    if (isPictureLeader(leader) && pictureLinkOn(m_doc, leader))
        return leader == Surface::Top ? Surface::Bottom : Surface::Right;
    return std::nullopt;
}

namespace {

void addPageSheets(EditResult &r, const LabelDocument &doc, int page);

// The sheet that shows a picture: its surface's page, or the sheet a
// booklet's inner page is on.
void addPictureSheet(EditResult &r, const LabelDocument &doc, PictureSlot s)
{
    if (s.isPage())
        addPageSheets(r, doc, s.page);
    else
        r.addPage(surfacePage(s.surface));
}

// Every picture a placement operation changed has its sheet refreshed, the
// follower of a link included.
void refreshPlacement(EditResult &r, const LabelDocument &doc, const PlacementResult &p)
{
    if (!p.refreshPage)
        return;
    for (PictureSlot s : p.changed)
        addPictureSheet(r, doc, s);
}

// A picture operation's step: named after its surface's tab, or after its
// booklet page, whose pictures belong to the booklet's part of the history.
class PictureStep : public EditStep
{
public:
    PictureStep(EditRecorder *history, const QString &what, PictureSlot s)
        : EditStep(history,
              s.isPage() ? stepLabel(what, bookletPageName(s.page)) : onSurface(what, s.surface),
              s.isPage() ? EditParts::Pages : EditParts::Settings)
    {
    }
};

} // namespace

EditResult DocumentEditor::loadSurfacePicture(PictureSlot s, const QString &path)
{
    PictureStep step(&m_history, UiText::tr("ファイル選択"), s);
    EditResult r;
    cw::LoadSurfacePicture(m_doc, s, path, messages());
    return r;
}

EditResult DocumentEditor::chooseSurfacePicture(
    PictureSlot s, const QString &path, ProgressSink &progress)
{
    PictureStep step(&m_history, UiText::tr("ファイル選択"), s);
    progress.ShowText(UiText::tr("データロード中です"));
    EditResult r;
    PicturePlacement *picture = pictureAt(m_doc, s);
    if (!picture) {
        progress.hide();
        return r;
    }
    const QString previous = picture->fileName;
    if (!cw::LoadSurfacePicture(m_doc, s, path, messages()).ok) {
        // The picture shown stays, and so does the name of its file: a name
        // that no longer goes with the picture would be saved and lose it.
        picture->fileName = previous;
    }
    progress.hide();
    addPictureSheet(r, m_doc, s);
    if (!s.isPage() && linkedFollower(s.surface))
        r.addPage(PreviewPage::Back);
    return r;
}

EditResult DocumentEditor::setPictureUse(PictureSlot s, bool on)
{
    PictureStep step(&m_history, UiText::tr("画像"), s);
    EditResult r;
    const PicturePlacement *picture = pictureAt(m_doc, s);
    if (!picture || picture->use == on)
        return r;
    refreshPlacement(r, m_doc, cw::setPictureUse(m_doc, s, on));
    return r;
}

EditResult DocumentEditor::setPictureWidth(PictureSlot s, int px)
{
    PictureStep step(&m_history, UiText::tr("画像ｻｲｽﾞ 幅"), s);
    EditResult r;
    refreshPlacement(r, m_doc, cw::setPrintWidth(m_doc, s, px));
    return r;
}

EditResult DocumentEditor::setPictureHeight(PictureSlot s, int px)
{
    PictureStep step(&m_history, UiText::tr("画像ｻｲｽﾞ 高さ"), s);
    EditResult r;
    refreshPlacement(r, m_doc, cw::setPrintHeight(m_doc, s, px));
    return r;
}

EditResult DocumentEditor::setPicturePosX(PictureSlot s, int px)
{
    PictureStep step(&m_history, UiText::tr("印刷位置 横"), s);
    EditResult r;
    refreshPlacement(r, m_doc, cw::setPosX(m_doc, s, px));
    return r;
}

EditResult DocumentEditor::setPicturePosY(PictureSlot s, int px)
{
    PictureStep step(&m_history, UiText::tr("印刷位置 縦"), s);
    EditResult r;
    refreshPlacement(r, m_doc, cw::setPosY(m_doc, s, px));
    return r;
}

EditResult DocumentEditor::commitTyped(
    const QString &typed, int stored, const std::function<EditResult(int)> &set)
{
    const std::optional<int> value = takeTypedInt(typed, messages());
    if (!value || *value == stored)
        return EditResult();
    return set(*value);
}

EditResult DocumentEditor::commitPictureWidth(PictureSlot s, const QString &typed)
{
    return commitTyped(typed, shownPlacement(m_doc, s).printWidth,
        [this, s](int px) { return setPictureWidth(s, px); });
}

EditResult DocumentEditor::commitPictureHeight(PictureSlot s, const QString &typed)
{
    return commitTyped(typed, shownPlacement(m_doc, s).printHeight,
        [this, s](int px) { return setPictureHeight(s, px); });
}

EditResult DocumentEditor::commitPicturePosX(PictureSlot s, const QString &typed)
{
    return commitTyped(
        typed, shownPlacement(m_doc, s).posX, [this, s](int px) { return setPicturePosX(s, px); });
}

EditResult DocumentEditor::commitPicturePosY(PictureSlot s, const QString &typed)
{
    return commitTyped(
        typed, shownPlacement(m_doc, s).posY, [this, s](int px) { return setPicturePosY(s, px); });
}

EditResult DocumentEditor::applySizeMode(PictureSlot s, PictureSizing mode)
{
    PictureStep step(&m_history, UiText::tr("画像サイズ調整"), s);
    EditResult r;
    // Choosing the item that is already selected changes nothing.
    const PicturePlacement *picture = pictureAt(m_doc, s);
    if (!picture || picture->sizeMode == mode)
        return r;
    refreshPlacement(r, m_doc, cw::applySizeMode(m_doc, s, mode));
    return r;
}

EditResult DocumentEditor::applyAlignMode(PictureSlot s, PictureAlignment mode)
{
    PictureStep step(&m_history, UiText::tr("印刷位置調整"), s);
    EditResult r;
    const PicturePlacement *picture = pictureAt(m_doc, s);
    if (!picture || picture->alignMode == mode)
        return r;
    refreshPlacement(r, m_doc, cw::applyAlignMode(m_doc, s, mode));
    return r;
}

EditResult DocumentEditor::setKeepAspect(PictureSlot s, bool on)
{
    PictureStep step(&m_history, UiText::tr("縦横比固定"), s);
    EditResult r;
    cw::setKeepAspect(m_doc, s, on);
    return r;
}

EditResult DocumentEditor::setPictureSameAsFront(bool on)
{
    EditStep step(
        &m_history, onSurface(UiText::tr("画像 表と同じ"), Surface::Bottom), EditParts::Settings);
    EditResult r;
    if (m_doc.bottom.pictureSameAsFront == on)
        return r;
    cw::setPictureLink(m_doc, Surface::Top, on);
    r.addPage(PreviewPage::Back);
    return r;
}

EditResult DocumentEditor::setPictureSameAsLeft(bool on)
{
    EditStep step(&m_history, onSurface(UiText::tr("画像 背表紙(左)と同じ"), Surface::Right),
        EditParts::Settings);
    EditResult r;
    if (m_doc.right.pictureSameAsLeft == on)
        return r;
    cw::setPictureLink(m_doc, Surface::Left, on);
    r.addPage(PreviewPage::Back);
    return r;
}

// ---- Spine text direction ------------------------------------------------------------------

EditResult DocumentEditor::setSpineText(Surface s, SpineText direction)
{
    EditStep step(&m_history, onSurface(UiText::tr("背文字の向き"), s), EditParts::Settings);
    EditResult r;
    SpineText &stored = m_doc.surface(s).spineText;
    if (!hasTitleOffset(s) || stored == direction)
        return r;
    stored = direction;
    // Only a case with this spine shows the change.
    if (const int sheet = formatOf(m_doc).sheetOf(surfaceRole(s)); sheet >= 0)
        r.addPage(PreviewPage(sheet));
    return r;
}

// ---- Case format ---------------------------------------------------------------------------

EditResult DocumentEditor::setCaseFormat(const QString &id)
{
    EditStep step(&m_history, UiText::tr("ケースの種類の変更"), EditParts::Settings);
    EditResult r;
    const CaseFormat *format = findCaseFormat(id);
    if (!format || m_doc.caseFormat == id)
        return r;
    // The sheets of the case left are refreshed too: a preview showing one
    // the new case lacks moves to a sheet it has.
    for (int sheet = 0; sheet < formatOf(m_doc).sheets.size(); ++sheet)
        r.addPage(PreviewPage(sheet));
    m_doc.caseFormat = id;
    layOutSurfaces();
    for (int sheet = 0; sheet < formatOf(m_doc).sheets.size(); ++sheet)
        r.addPage(PreviewPage(sheet));
    return r;
}

// ---- Booklet ---------------------------------------------------------------------------

QString bookletShrinkQuestion(int dropped)
{
    return UiText::tr("内容のある%1ページが削除されます。よろしいですか？").arg(dropped);
}

namespace {

void addEverySheet(EditResult &r, const CaseFormat &format)
{
    for (int sheet = 0; sheet < format.sheets.size(); ++sheet)
        r.addPage(PreviewPage(sheet));
}

// The sheet sides of the document's format that show inner page `page`.
void addPageSheets(EditResult &r, const LabelDocument &doc, int page)
{
    const int sheet = bookletSheetOfPage(formatOf(doc), page);
    if (sheet >= 0)
        r.addPage(PreviewPage(sheet));
}

} // namespace

EditResult DocumentEditor::setBookletPages(int pages)
{
    EditStep step(&m_history, UiText::tr("ブックレットのページ数"), EditParts::Pages);
    EditResult r;
    if (!isBookletPageCount(pages) || pages == m_doc.bookletPages
        || (pages > 2 && !bookletFrontSheet(caseFormatOf(m_doc))))
        return r;
    addEverySheet(r, formatOf(m_doc));
    m_doc.bookletPages = pages;
    const qsizetype inner = pages - 2;
    if (m_doc.pages.size() > inner)
        m_doc.pages.remove(inner, m_doc.pages.size() - inner);
    while (m_doc.pages.size() < inner)
        m_doc.pages.append(BookletPage());
    addEverySheet(r, formatOf(m_doc));
    return r;
}

EditResult DocumentEditor::chooseBookletPages(int pages, ConfirmSink &ask)
{
    const int dropped = pagesWithContentDropped(pages);
    if (dropped > 0 && !ask.confirm(bookletShrinkQuestion(dropped), UiText::tr("ブックレット")))
        return {};
    return setBookletPages(pages);
}

int DocumentEditor::pagesWithContentDropped(int pages) const
{
    const qsizetype inner = std::max(pages - 2, 0);
    return int(std::count_if(m_doc.pages.cbegin() + std::min(inner, m_doc.pages.size()),
        m_doc.pages.cend(), pageHasContent));
}

namespace {

// An inner page's value as one step; a page the booklet lacks changes nothing.
template <typename T>
EditResult setPageValue(EditRecorder *history, LabelDocument &doc, int page, const QString &what,
    T BookletPage::*value, T to)
{
    EditStep step(history, stepLabel(what, bookletPageName(page)), EditParts::Pages);
    EditResult r;
    if (page < 2 || page - 2 >= doc.pages.size() || doc.pages[page - 2].*value == to)
        return r;
    doc.pages[page - 2].*value = to;
    addPageSheets(r, doc, page);
    return r;
}

} // namespace

EditResult DocumentEditor::setPageBackground(int page, ColorRef colour)
{
    return setPageValue(
        &m_history, m_doc, page, UiText::tr("背景色"), &BookletPage::background, colour);
}

EditResult DocumentEditor::setPageUseList(int page, bool on)
{
    return setPageValue(&m_history, m_doc, page, UiText::tr("リスト"), &BookletPage::useList, on);
}

EditResult DocumentEditor::setPageUsePrints(int page, bool on)
{
    return setPageValue(
        &m_history, m_doc, page, UiText::tr("任意印刷"), &BookletPage::usePrints, on);
}

void DocumentEditor::layOutSurfaces()
{
    // Positions are stored from each surface's top-left corner and stay; the
    // surfaces take the case's sizes.
    const CaseFormat &format = formatOf(m_doc);
    m_doc.surfacePixels = surfacePixelsAt(m_doc.dpiX, m_doc.dpiY, format);
    for (Surface s : kAllSurfaces) {
        if (format.hasSurface(s))
            refitPicture(m_doc, s);
    }
    for (int page = 2; page - 2 < m_doc.pages.size(); ++page)
        refitPicture(m_doc, PictureSlot::ofPage(page));
    // A spine title keeps to its spine: an offset placed on a longer spine
    // comes down to this spine's limit, as typing it here would (the file
    // then reads back what the document holds; undo brings the offset back).
    EditResult refreshed; // the callers refresh every sheet
    for (Surface s : { Surface::Left, Surface::Right })
        if (format.panel(surfaceRole(s)))
            titleOffset(s, m_doc.surface(s).title.offset, refreshed);
}

EditResult DocumentEditor::setCaseSize(const CaseSize &size)
{
    EditStep step(&m_history, UiText::tr("ケースの寸法の変更"), EditParts::Settings);
    EditResult r;
    if (!formatOf(m_doc).custom || !isValidCaseSize(size) || m_doc.caseSize == size)
        return r;
    // A spine that comes or goes changes the sheets; every one is drawn again.
    for (int sheet = 0; sheet < formatOf(m_doc).sheets.size(); ++sheet)
        r.addPage(PreviewPage(sheet));
    m_doc.caseSize = size;
    layOutSurfaces();
    for (int sheet = 0; sheet < formatOf(m_doc).sheets.size(); ++sheet)
        r.addPage(PreviewPage(sheet));
    return r;
}

EditResult DocumentEditor::commitCaseDimension(
    CaseDimension which, const QString &typed, bool *taken)
{
    const std::optional<int> tenths = parseCaseDimension(which, typed);
    if (taken)
        *taken = tenths.has_value();
    if (!tenths) {
        messages().showMessage(invalidCaseDimensionMessage(which, typed));
        return EditResult();
    }
    CaseSize size = m_doc.caseSize;
    setCaseDimension(size, which, *tenths);
    return setCaseSize(size);
}

// ---- Reference resolution ----------------------------------------------------------------

EditResult DocumentEditor::convertToResolution(int fromDpiX, int fromDpiY)
{
    EditStep step(&m_history, UiText::tr("プリンタ設定"));
    EditResult r;
    const int toX = m_doc.dpiX, toY = m_doc.dpiY;
    const bool convertX = fromDpiX > 0 && fromDpiX != toX;
    const bool convertY = fromDpiY > 0 && fromDpiY != toY;
    if (!convertX && !convertY)
        return r;
    // Every picture, the booklet's pages' after the surfaces'.
    std::vector<PictureSlot> slots(kDocumentSurfaces.begin(), kDocumentSurfaces.end());
    for (int page = 2; page - 2 < m_doc.pages.size(); ++page)
        slots.push_back(PictureSlot::ofPage(page));
    std::vector<PicturePlacement> before;
    for (PictureSlot s : slots) {
        before.push_back(*pictureAt(m_doc, s));
        pictureAt(m_doc, s)->keepAspect = false;
    }
    for (size_t i = 0; i < slots.size(); ++i) {
        const PicturePlacement &p = before[i];
        if (convertX) {
            setPictureWidth(slots[i], rescaleValue(p.printWidth, fromDpiX, toX));
            setPicturePosX(slots[i], rescaleValue(p.posX, fromDpiX, toX));
        }
    }
    for (size_t i = 0; i < slots.size(); ++i) {
        const PicturePlacement &p = before[i];
        if (convertY) {
            setPictureHeight(slots[i], rescaleValue(p.printHeight, fromDpiY, toY));
            setPicturePosY(slots[i], rescaleValue(p.posY, fromDpiY, toY));
        }
    }
    std::vector<QList<TPrintsData> *> lists
        = { &m_doc.coverPrints, &m_doc.insidePrints, &m_doc.backPrints, &m_doc.discPrints };
    for (BookletPage &page : m_doc.pages)
        lists.push_back(&page.prints);
    for (QList<TPrintsData> *list : lists) {
        for (TPrintsData &item : *list) {
            if (convertX) {
                item.posX = rescaleValue(item.posX, fromDpiX, toX);
                item.printWidth = rescaleValue(item.printWidth, fromDpiX, toX);
            }
            if (convertY) {
                item.posY = rescaleValue(item.posY, fromDpiY, toY);
                item.printHeight = rescaleValue(item.printHeight, fromDpiY, toY);
            }
        }
    }
    for (size_t i = 0; i < slots.size(); ++i)
        pictureAt(m_doc, slots[i])->keepAspect = before[i].keepAspect;
    r.addPage(PreviewPage::Shown);
    return r;
}

// ---- Whole document ---------------------------------------------------------------------

EditResult DocumentEditor::resetToNew()
{
    DocumentHistory::Pause pause(m_history);
    m_doc.fileName.clear();
    m_doc.pictureNamesAsStored.clear();
    for (Surface s : kAllSurfaces) {
        if (s != Surface::Top)
            setTitleSameAsFront(s, false);
        if (s == Surface::Right)
            setTitleSameAsLeft(false);
        setTitleUse(s, false);
        setTitleText(s, QString());
        if (hasCustomTitlePosition(s))
            setTitlePosMode(s, TitlePosition::Centre);
        setTitleFont(s, defaultFont());

        if (s == Surface::Bottom)
            setPictureSameAsFront(false);
        if (s == Surface::Right)
            setPictureSameAsLeft(false);
        setPictureUse(s, false);
        PicturePlacement &p = m_doc.surface(s).picture;
        p.fileName.clear();
        p.pixelWidth = 0;
        p.pixelHeight = 0;
        setPictureWidth(s, 0);
        setPictureHeight(s, 0);
        setPicturePosX(s, 0);
        setPicturePosY(s, 0);
        p.sizeMode = PictureSizing::Custom;
        p.alignMode = PictureAlignment::Custom;

        if (hasCustomTitlePosition(s))
            setUseList(s, false);
    }
    // A new document's disc face is empty, and its front insert two pages.
    m_doc.disc = LabelDocument().disc;
    m_doc.discPrints.clear();
    m_doc.bookletPages = 2;
    m_doc.pages.clear();
    m_doc.listRows.clear();
    for (int side = 0; side < kListSurfaceCount; ++side)
        resetListLayout(m_doc.listLayout[size_t(side)], side);
    if (m_reloadTemplates)
        m_reloadTemplates();
    // Every page may have changed: the one shown is refreshed.
    EditResult r;
    r.addPage(PreviewPage::Shown);
    m_history.clear();
    return r;
}

bool DocumentEditor::save(const QString &path, ConfirmSink *confirm)
{
    if (!saveDocument(
            m_doc, path, messages(), confirm ? UnicodeSave::Ask : UnicodeSave::Refuse, confirm))
        return false;
    // The document now stands for the file it was written to.
    m_doc.fileName = path;
    m_history.markSaved();
    return true;
}

bool DocumentEditor::load(const QString &path, ProgressSink &progress)
{
    LoadStatus status;
    {
        DocumentHistory::Pause pause(m_history);
        status = loadDocument(*this, path, progress);
    }
    // A document read from a file, even in part, starts a new history; a file
    // that was not read at all leaves the document and its history as they were.
    if (status == LoadStatus::Loaded || status == LoadStatus::Damaged)
        m_history.clear();
    return status == LoadStatus::Loaded;
}

} // namespace cw

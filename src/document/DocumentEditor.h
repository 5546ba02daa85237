#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "base/PreviewPage.h"
#include "base/UserPrompts.h"
#include "document/CaseSizeText.h"
#include "document/DocumentControls.h"
#include "document/DocumentHistory.h"
#include "document/LabelDocument.h"

namespace cw {

// What one change operation asks of the window that mirrors the document,
// besides showing it again (see DocumentControls.h).
// The question asked before fewer booklet pages drop `dropped` pages that
// hold something.
QString bookletShrinkQuestion(int dropped);

struct EditResult
{
    // Preview pages to refresh, each at
    // most once, in the order they were first asked for.
    QList<PreviewPage> pages;

    bool refreshes(PreviewPage page) const { return pages.contains(page); }
    bool isEmpty() const { return pages.isEmpty(); }
    void addPage(PreviewPage page);
    void merge(const EditResult &other);
};

// Spine offsets are cut to this many millimetres on the jewel case's
// 117.5 mm spines.
constexpr int kMaxSpineOffset = 115;
// The most the title offset of spine `s` takes in the document's case: its
// spine's length less 2.5 mm, truncated, on a spine longer than the jewel
// case's; kMaxSpineOffset on any other.
int maxSpineOffset(const LabelDocument &doc, Surface s);
// Custom title positions take at most three digits.
constexpr int kMaxCustomPosition = 999;

// The change operations of the document: one per control event of the
// surface tabs and the options tab. Windows, printer setup, the document
// reader and "新規作成" all go through them, so linking and enabling rules
// always run.
//
// Every operation returns the pages to refresh; the window then shows the
// whole document again with its enabled states (DocumentControls.h). An
// operation that sets a value the field already holds does nothing (like a
// control whose value is set to what it shows), except where noted.
class DocumentEditor
{
public:
    explicit DocumentEditor(LabelDocument &doc, MessageSink *messages = nullptr);

    LabelDocument &document() { return m_doc; }
    const LabelDocument &document() const { return m_doc; }
    // Every operation below is one step of this history (operations that an
    // operation runs belong to its step). Loading a file and resetToNew() are
    // not recorded: they start a new history.
    DocumentHistory &history() { return m_history; }
    // Where picture loading reports files it cannot read.
    void setMessageSink(MessageSink *messages);
    MessageSink &messages() const;

    // ---- Titles (every surface) ------------------------------------------
    // <S>TitleUse. Never carried to linked surfaces.
    EditResult setTitleUse(Surface s, bool on);
    // <S>Title. Front text is carried to the back, the left and the right
    // spine while their links are on; left text to the right spine.
    EditResult setTitleText(Surface s, const QString &text);
    // <S>TitlePos. Front -> back, left -> right while linked.
    EditResult setTitlePosMode(Surface s, TitlePosition mode);
    // A font chosen for <S>Title (font dialog closed with OK). Always applied
    // and refreshed; front -> back, left, right; left -> right while linked.
    EditResult setTitleFont(Surface s, const FontSpec &font);

    // ---- The disc's two texts ("タイトル", "サブタイトル" on the disc tab) ----
    // Each is one step and refreshes the disc's page when it changed
    // anything; the texts follow no other surface.
    EditResult setDiscTextUse(DiscText which, bool on);
    EditResult setDiscTextText(DiscText which, const QString &text);
    EditResult setDiscTextFont(DiscText which, const FontSpec &font);
    // "上の弧", "下の弧" or "任意".
    EditResult setDiscTextPlace(DiscText which, DiscTextPlace place);
    // An arc text's circle: the radius in tenths of a millimetre (0: the
    // default; brought into 0..kDiscRadiusMaxTenths) and the centre's angle
    // in tenths of a degree (brought into -180.0 .. 180.0 degrees).
    EditResult setDiscTextArc(DiscText which, int radiusTenths, int angleTenths);
    // "任意": the straight text's position, in millimetres from the design
    // square's top-left corner, as a label title's custom position.
    EditResult setDiscTextCustomPosition(DiscText which, bool xUse, int xMm, bool yUse, int yMm);
    // The disc tab's typed "半径" and "角度" (parseDiscRadius(),
    // parseDiscAngle()): the other value of the arc stays. A text that is
    // none gets its message and changes nothing; `taken` says which.
    EditResult commitDiscTextRadius(DiscText which, const QString &typed, bool *taken = nullptr);
    EditResult commitDiscTextAngle(DiscText which, const QString &typed, bool *taken = nullptr);
    // The typed "横" or "縦" of "任意": whole millimetres 0..999. An empty
    // field keeps the value silently; another text that is none gets its
    // message. `taken` is false for both.
    EditResult commitDiscTextCustom(
        DiscText which, bool vertical, const QString &typed, bool *taken = nullptr);

    // ---- Custom title position (Top, Bottom) ------------------------------
    // <S>TitlePosXUse / <S>TitlePosYUse.
    EditResult setTitleCustomXUse(Surface s, bool on);
    EditResult setTitleCustomYUse(Surface s, bool on);
    // <S>TitlePosX / <S>TitlePosY: the value is taken at once (0..999) but the
    // preview is refreshed only by leaveTitleCustomPosition().
    EditResult setTitleCustomX(Surface s, int mm);
    EditResult setTitleCustomY(Surface s, int mm);
    // The same from the edit's text as it is typed. An emptied field takes
    // nothing (nullopt: the field stays empty until it is left); other text
    // is taken as its whole number (text/TypedNumber.h), or as 0.
    std::optional<EditResult> setTitleCustomXText(Surface s, const QString &text);
    std::optional<EditResult> setTitleCustomYText(Surface s, const QString &text);
    // The custom-position field was left or Enter was pressed in it.
    EditResult leaveTitleCustomPosition(Surface s);

    // ---- Spine offset (Left, Right) ----------------------------------------
    // <S>TitleOffset: values above 115 (maxSpineOffset()) become that (negative ones 0). A left
    // offset is carried to the right spine while RightSameLeft is on.
    EditResult setTitleOffset(Surface s, int mm);
    // The same from the edit's text: empty text leaves the value as it is
    // (nothing is typed yet); a whole number (text/TypedNumber.h) is taken as
    // for setTitleOffset(), other text as 0, or as too large when it is
    // longer than the edit's three digits.
    EditResult setTitleOffsetText(Surface s, const QString &text);

    // ---- Spine text direction (Left, Right) ---------------------------------
    // <S>SpineText: the direction the spine's title runs, or the case's own
    // again (SpineText::CaseOwn). Refreshes the page that shows the spine.
    EditResult setSpineText(Surface s, SpineText direction);

    // ---- Title links -------------------------------------------------------
    // BottomSameTitle, LeftSameTitle, RightSameTitle. Switching on copies the
    // front title (back: text, position mode, custom flags and values, font;
    // spines: text and font). On the right spine it is refused (nothing
    // changes) while RightSameLeft is on.
    EditResult setTitleSameAsFront(Surface s, bool on);
    // RightSameLeft. Switching on copies the left title's text, font, position
    // mode and offset when the left title is switched on. Refused while
    // RightSameTitle is on.
    EditResult setTitleSameAsLeft(bool on);

    // ---- List and free-print switches --------------------------------------
    // UseTopList / UseBottomList (refresh their page).
    EditResult setUseList(Surface s, bool on);
    // UseTop1Prints, UseTop2Prints, UseBottomPrints (no refresh).
    EditResult setUseCoverPrints(bool on);
    EditResult setUseInsidePrints(bool on);
    EditResult setUsePrints(bool on);
    // The disc face's free prints ("任意印刷" on the disc tab).
    EditResult setUseDiscPrints(bool on);

    // ---- Background colours ------------------------------------------------
    // A swatch was clicked: `color` is the colour chosen, nullopt when the
    // dialog was cancelled. The swatch's page is refreshed either way.
    EditResult setBackgroundColor(Swatch swatch, std::optional<ColorRef> color);

    // ---- Pictures ------------------------------------------------------------
    // Each takes a surface's picture or a booklet page's (PictureSlot): a
    // page's steps are named after the page and belong to the booklet's
    // part of the history; a page the booklet lacks changes nothing.
    // Loads a picture file into a surface and places it to cover the surface
    // (copied to a linked follower). Leaves the refresh to its caller.
    EditResult loadSurfacePicture(PictureSlot s, const QString &path);
    // "ファイル選択" confirmed: progress "データロード中です", load, hide,
    // refresh.
    EditResult chooseSurfacePicture(PictureSlot s, const QString &path, ProgressSink &progress);
    // <S>GraphicUse.
    EditResult setPictureUse(PictureSlot s, bool on);
    // <S>GraphicWidth2 / Height2 / PosX / PosY applied (left or Enter).
    EditResult setPictureWidth(PictureSlot s, int px);
    EditResult setPictureHeight(PictureSlot s, int px);
    EditResult setPicturePosX(PictureSlot s, int px);
    EditResult setPicturePosY(PictureSlot s, int px);
    // The same from the edit's text. Text that is not a whole number
    // (text/TypedNumber.h) shows the invalid-number message and changes
    // nothing, and so does the value the field already holds: the window shows
    // the stored value again.
    EditResult commitPictureWidth(PictureSlot s, const QString &typed);
    EditResult commitPictureHeight(PictureSlot s, const QString &typed);
    EditResult commitPicturePosX(PictureSlot s, const QString &typed);
    EditResult commitPicturePosY(PictureSlot s, const QString &typed);
    // <S>GSizeChange (0 fit width, 1 fit height, 2 custom) and <S>GPosChange
    // (0 left .. 5 bottom, 6 custom). Choosing the item already chosen does
    // nothing.
    EditResult applySizeMode(PictureSlot s, PictureSizing mode);
    EditResult applyAlignMode(PictureSlot s, PictureAlignment mode);
    // <S>SizeRateFixed.
    EditResult setKeepAspect(PictureSlot s, bool on);
    // SameGraphic (front -> back) and SameGraphicLeft (left -> right).
    EditResult setPictureSameAsFront(bool on);
    EditResult setPictureSameAsLeft(bool on);

    // ---- Reference resolution ------------------------------------------------
    // The document's values were in device pixels of fromDpiX x fromDpiY and
    // its reference resolution is now dpiX x dpiY: every device-pixel value
    // (pictures and picture items) becomes value * new / old, truncated, so
    // that it keeps its printed size. An axis whose old resolution is the new
    // one, or unknown (0 or less), is left as it is. Pictures go through
    // setPictureWidth() and the like with "縦横比固定" off meanwhile; every new
    // value is computed from the values before the conversion, so that a
    // follower that a link gives its leader's converted values is not
    // converted twice. Refreshes the page shown when anything was converted.
    EditResult convertToResolution(int fromDpiX, int fromDpiY);

    // ---- Case format --------------------------------------------------------------
    // "ケースの種類": the document becomes a case of the format `id` (an id
    // the program does not know changes nothing). What is placed on a panel
    // keeps its position from the panel's top-left corner; a picture sized
    // "幅合わせ" or "高さ合わせ" fits its panel of the new case again. The
    // surfaces the new case lacks keep every value, so that choosing the old
    // case again brings them back. Refreshes every sheet of the new case.
    EditResult setCaseFormat(const QString &id);
    // "パネルの幅", "パネルの高さ", "背の幅": a custom case takes other sizes
    // (tenths of a millimetre) as one step. As with setCaseFormat(), what is
    // placed keeps its position and a fitted picture fits its panel again.
    // Sizes out of range, or a case that is not custom, change nothing.
    // Refreshes every sheet of the case.
    EditResult setCaseSize(const CaseSize &size);
    // One of the sizes as typed: a text parseCaseDimension() does not take
    // gets a message naming the range and changes nothing; `taken` (when
    // given) says whether the text was taken.
    EditResult commitCaseDimension(
        CaseDimension which, const QString &typed, bool *taken = nullptr);

    // ---- Booklet ------------------------------------------------------------------
    // "ブックレット": the front insert's page count, as one step named
    // "ブックレットのページ数". A count that is not 2, 4, 8, 12 or 16, or one
    // above 2 for a case that may have no booklet, changes nothing. New pages
    // come after the last inner page, empty; fewer pages drop the last inner
    // pages (undo brings them back). Refreshes every sheet before and after.
    EditResult setBookletPages(int pages);
    // The "ブックレット" choice: setBookletPages after, when pages with
    // content would go, the question naming them ("ブックレット" its
    // caption); "いいえ" changes nothing.
    EditResult chooseBookletPages(int pages, ConfirmSink &ask);
    // How many of the inner pages that going to `pages` pages drops hold
    // anything (pageHasContent): the question before it names them.
    int pagesWithContentDropped(int pages) const;
    // An inner page's (2 … N-1) background colour and the switches of its
    // track list and free prints, each one step; a page the booklet lacks
    // changes nothing. Refreshes the sheet the page is on.
    EditResult setPageBackground(int page, ColorRef colour);
    EditResult setPageUseList(int page, bool on);
    EditResult setPageUsePrints(int page, bool on);

    // ---- Whole document --------------------------------------------------------
    // "新規作成" after the user said Yes: empties fileName, resets titles,
    // title links, pictures and list switches through the operations above,
    // removes every list row, returns both list layouts to their defaults
    // (keeping lineSpacing) and re-reads the list templates. Keeps custom title
    // positions, spine offsets and position modes, background colours, the
    // free-print switches and lists. The caller resets the list editor's
    // controls. Refreshes the shown page.
    EditResult resetToNew();

    // Called by resetToNew() to re-read the list template collections.
    void setTemplateReloader(std::function<void()> reload);

    // Writes the document to `path` (see DocumentWriter.h); the document's
    // fileName then becomes `path`. False after a message; the old file and
    // fileName are then untouched. Text that CP932 cannot hold is refused, or
    // with `confirm` the user is asked whether to write the Unicode form.
    bool save(const QString &path, ConfirmSink *confirm = nullptr);
    // Replaces the document from `path` (see DocumentReader.h), which sets
    // fileName as a save does.
    bool load(const QString &path, ProgressSink &progress);

private:
    EditResult commitTyped(
        const QString &typed, int stored, const std::function<EditResult(int)> &set);
    template<typename Change>
    EditResult changeDiscText(DiscText which, const QString &label, Change change,
        const QString &key = QString());
    void titleText(Surface s, const QString &text, EditResult &r);
    void titlePosMode(Surface s, TitlePosition mode, EditResult &r);
    void titleFont(Surface s, const FontSpec &font, EditResult &r);
    void titleOffset(Surface s, int mm, EditResult &r);
    std::optional<Surface> linkedFollower(Surface leader) const;
    // The surfaces took the sizes of the document's case now: their pixel
    // sizes follow and fitted pictures fit them again.
    void layOutSurfaces();

    LabelDocument &m_doc;
    MessageSink *m_messages = nullptr;
    std::function<void()> m_reloadTemplates;
    DocumentHistory m_history;
};

} // namespace cw

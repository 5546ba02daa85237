#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <optional>

#include "base/EditSteps.h"
#include "base/PreviewPage.h"
#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "document/TextBlock.h"
#include "prints/PrintsItems.h"
#include "prints/PrintsListModel.h"

namespace cw {

class PreviewRefresher;

// What the free-print editor enables: every item control only with a
// selection, the colour controls (swatch, "色選択", "色取込") only while the
// selected item's "透明色" is ticked; the pop-up menu's "上へ" for any item
// but the first, "下へ" for any item but the last.
struct PrintsEditorState
{
    bool hasSelection = false;
    bool colorControls = false;
    bool canMoveUp = false;
    bool canMoveDown = false;
};

// The "用紙情報" group: the face size in millimetres ("%.1fmm") and in device
// pixels, trunc(dpi / 25.399 * mm).
struct PrintsPaperInfo
{
    QString widthMm, heightMm;
    int widthPx = 0, heightPx = 0;
};
PrintsPaperInfo printsPaperInfo(PrintsList which, int dpiX, int dpiY);

// Pixels of the reference resolution as the millimetre labels show them.
QString printsMmX(int pixels, int dpiX);
QString printsMmY(int pixels, int dpiY);

// The free-print editor's operations on one of the document's lists: the
// window binds its controls to them. Each change that affects printing asks
// the preview to redraw the list's page (0 for the two front lists, 1 for
// the back list).
class PrintsEditor
{
public:
    explicit PrintsEditor(LabelDocument &document);

    void setRefresher(PreviewRefresher *refresher) { m_refresher = refresher; }
    // Where the operations record their changes, each as one step; null
    // records nothing.
    void setRecorder(EditRecorder *recorder) { m_recorder = recorder; }
    EditRecorder *recorder() const { return m_recorder; }
    // The lists were replaced from outside (undo, redo): the model shows the
    // list again and a selection that no longer exists is dropped; a page's
    // list whose page is gone gives way to the cover's.
    void listsRestored();
    // A step's name for a command of this editor: "新規(任意印刷(前面))".
    QString stepName(const QString &what) const;
    PrintsListModel &model() { return m_model; }

    // Shows `which`; its previous selection stays if it still exists. A page
    // list the booklet lacks shows the cover's list instead.
    void open(PrintsList which);
    PrintsList which() const { return m_which; }
    QList<TPrintsData> &list();
    // A booklet page's list redraws the side its page is printed on.
    PreviewPage refreshPage() const;

    // -1 for none; an index outside the list selects nothing.
    void select(int index);
    int selected() const { return m_selected[int(m_which)]; }
    TPrintsData *item();
    PrintsEditorState state();

    // "新規", "追加" (before the selection), "削除"; the menu's "上へ"/"下へ".
    // Each returns whether it did anything.
    bool newItem(PrintsKind kind);
    bool addItem(PrintsKind kind);
    bool newItem(bool graphicTab) { return newItem(graphicTab ? PrintsPicture : PrintsText); }
    bool addItem(bool graphicTab) { return addItem(graphicTab ? PrintsPicture : PrintsText); }
    bool deleteItem();
    bool moveUp();
    bool moveDown();

    // The tab: kind := 1 on "グラフィック", 2 on "テキストブロック", else 0.
    // A text block that becomes a text item has its line breaks as spaces.
    void setKind(PrintsKind kind);
    void setKind(bool graphicTab) { setKind(graphicTab ? PrintsPicture : PrintsText); }
    // A text block keeps its line breaks, each as '\n' (blockText).
    void setText(const QString &text);
    void setTextX(int mm);
    void setTextY(int mm);
    // angle := typed modulo 360.
    void setAngle(int typed);
    void setFont(const FontSpec &font);
    // A text item of the disc's list along an arc as the disc's texts stand:
    // "上の弧", "下の弧" or "任意" (straight at its position), and the arc's
    // radius (tenths of a millimetre, 0: the default) and centre angle
    // (tenths of a degree), kept as keptArc() keeps them. Each is one step
    // named "位置"; nothing for another item or list.
    void setArcPlace(DiscTextPlace place);
    void setArc(int radiusTenths, int angleTenths);
    // The font of later new text items ("ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ").
    const FontSpec &defaultTextFont() const { return m_defaultFont; }
    void setDefaultTextFont(const FontSpec &font) { m_defaultFont = font; }

    // A text block's box in millimetres, each side within 1 … 999; its
    // alignment (0 left, 1 centre, 2 right); its line spacing in percent of
    // the line height, within 50 … 400. A value beyond a limit is taken at
    // the limit. Nothing for an item that is no text block.
    void setBlockWidth(int mm);
    void setBlockHeight(int mm);
    void setBlockAlign(int align);
    void setLineSpacing(int percent);
    // The text block's lines at the document's resolution (the renderer's).
    TextBlockLayout blockLayout();
    // "ファイルから読み込む" after the dialog: the file's text becomes the
    // block's, as UTF-8 or, when it is not valid UTF-8, as CP932 (a
    // byte-order mark and the line breaks at its end are dropped). A file
    // that cannot be read, is larger than kMaxBlockFileBytes or holds
    // control characters other than tab, form feed and line breaks gets its
    // message and leaves the item as it was.
    static constexpr qint64 kMaxBlockFileBytes = 64 * 1024;
    bool readBlockText(const QString &path, MessageSink &messages);

    // "ファイル選択" after the dialog: "データロード中です" while the picture
    // loads into the item. On failure the path stays, sizes and position stay.
    bool loadPicture(const QString &path, MessageSink &messages, ProgressSink &progress);
    // printWidth := value; with `keepAspect` and a picture width, printHeight
    // := trunc(pixelHeight * printWidth / pixelWidth) in real arithmetic.
    // True when the other side changed with it.
    bool setPrintWidth(int value, bool keepAspect);
    bool setPrintHeight(int value, bool keepAspect);
    void setPosX(int value);
    void setPosY(int value);
    void setTransparent(bool on);
    void setTransColor(ColorRef color);
    // "色取込" before the picker: without a file the message
    // "グラフィックが指定されていません" and nothing else; otherwise the
    // whole picture is loaded again and returned (null after the loader's
    // message).
    QImage pictureForColorPick(MessageSink &messages);

private:
    // One of a text block's numbers, cut to its range, as one step named
    // after the field; nothing when the selected item is no block.
    void setBlockNumber(
        const char *stepText, int TPrintsData::*field, int value, int lowest, int highest);
    void changed();

    LabelDocument &m_document;
    PrintsListModel m_model;
    PreviewRefresher *m_refresher = nullptr;
    EditRecorder *m_recorder = nullptr;
    PrintsList m_which = PrintsList::Cover;
    // The parts of the document a step of this list keeps: a page's list
    // is kept with its page.
    unsigned listParts() const;

    std::array<int, kMaxPrintsLists> m_selected;
    FontSpec m_defaultFont = defaultFont();
};

} // namespace cw

#include "prints/PrintsEditor.h"

#include <algorithm>

#include "base/BookletFormat.h"
#include "base/PreviewPage.h"
#include "base/Printer.h"
#include "base/UiText.h"
#include "base/Units.h"
#include "document/StepLabels.h"
#include "pictures/PictureLoading.h"
#include "text/TextFile.h"

namespace cw {

PrintsPaperInfo printsPaperInfo(PrintsList which, int dpiX, int dpiY)
{
    const Surface surface = which == PrintsList::Back ? Surface::Bottom
        : which == PrintsList::Disc                   ? Surface::Disc
                                                      : Surface::Top;
    const double w = surfaceWidthMm(surface);
    const double h = surfaceHeightMm(surface);
    PrintsPaperInfo info;
    info.widthMm = formatMm(w);
    info.heightMm = formatMm(h);
    info.widthPx = int(dpiX / geom::kMmPerInch * w);
    info.heightPx = int(dpiY / geom::kMmPerInch * h);
    return info;
}

QString printsMmX(int pixels, int dpiX)
{
    return formatMm(dpiX > 0 ? pixels * geom::kMmPerInch / dpiX : 0.0);
}

QString printsMmY(int pixels, int dpiY)
{
    return formatMm(dpiY > 0 ? pixels * geom::kMmPerInch / dpiY : 0.0);
}

PrintsEditor::PrintsEditor(LabelDocument &document)
    : m_document(document)
{
    m_selected.fill(-1);
}

PreviewPage PrintsEditor::refreshPage() const
{
    if (const int page = pageOfPrintsList(m_which)) {
        const int sheet = bookletSheetOfPage(formatOf(m_document), page);
        return sheet >= 0 ? PreviewPage(sheet) : PreviewPage::Front;
    }
    return m_which == PrintsList::Back ? PreviewPage::Back
        : m_which == PrintsList::Disc  ? PreviewPage::Disc
                                       : PreviewPage::Front;
}

unsigned PrintsEditor::listParts() const
{
    return pageOfPrintsList(m_which) ? EditParts::Pages : EditParts::PrintItems;
}

void PrintsEditor::open(PrintsList which)
{
    m_which = hasPrintsList(m_document, which) ? which : PrintsList::Cover;
    m_model.setList(&list());
    if (selected() >= list().size())
        m_selected[int(m_which)] = -1;
}

void PrintsEditor::listsRestored()
{
    if (!hasPrintsList(m_document, m_which))
        m_which = PrintsList::Cover;
    for (int i = 0; i < kMaxPrintsLists; ++i) {
        if (m_selected[size_t(i)] >= printsList(m_document, PrintsList(i)).size())
            m_selected[size_t(i)] = -1;
    }
    m_model.setList(&list());
}

QString PrintsEditor::stepName(const QString &what) const
{
    static const char *const lists[] = { QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(前面)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(背面)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(裏レーベル)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(ディスク)") };
    if (const int page = pageOfPrintsList(m_which))
        return stepLabel(what, UiText::tr("任意印刷(%1)").arg(bookletPageName(page)));
    return stepLabel(what, UiText::tr(lists[int(m_which)]));
}

QList<TPrintsData> &PrintsEditor::list()
{
    return printsList(m_document, m_which);
}

void PrintsEditor::select(int index)
{
    m_selected[int(m_which)] = (index >= 0 && index < list().size()) ? index : -1;
}

TPrintsData *PrintsEditor::item()
{
    const int i = selected();
    if (i < 0 || i >= list().size())
        return nullptr;
    return &list()[i];
}

PrintsEditorState PrintsEditor::state()
{
    PrintsEditorState s;
    const TPrintsData *current = item();
    s.hasSelection = current != nullptr;
    s.colorControls = current && current->transparent;
    s.canMoveUp = current && selected() > 0;
    s.canMoveDown = current && selected() + 1 < list().size();
    return s;
}

void PrintsEditor::changed()
{
    m_model.rowChanged(selected());
    if (m_refresher)
        m_refresher->RequestPreviewRefresh(refreshPage());
}

bool PrintsEditor::newItem(PrintsKind kind)
{
    EditStep step(m_recorder, stepName(UiText::tr("新規")), listParts());
    const int row = int(list().size());
    m_model.beginInsert(row);
    appendPrintsItem(list(), newPrintsItem(kind, m_defaultFont));
    m_model.endInsert();
    select(row);
    changed();
    return true;
}

bool PrintsEditor::addItem(PrintsKind kind)
{
    EditStep step(m_recorder, stepName(UiText::tr("追加")), listParts());
    if (!item())
        return false;
    const int row = selected();
    m_model.beginInsert(row);
    insertPrintsItem(list(), row, newPrintsItem(kind, m_defaultFont));
    m_model.endInsert();
    select(row);
    changed();
    return true;
}

bool PrintsEditor::deleteItem()
{
    EditStep step(m_recorder, stepName(UiText::tr("削除")), listParts());
    if (!item())
        return false;
    const int row = selected();
    m_model.beginRemove(row);
    deletePrintsItem(list(), row);
    m_model.endRemove();
    select(-1);
    changed();
    return true;
}

bool PrintsEditor::moveUp()
{
    EditStep step(m_recorder, stepName(UiText::tr("上へ")), listParts());
    const int row = selected();
    if (!item() || !movePrintsItemUp(list(), row))
        return false;
    m_model.rowsSwapped(row - 1);
    select(row - 1);
    changed();
    return true;
}

bool PrintsEditor::moveDown()
{
    EditStep step(m_recorder, stepName(UiText::tr("下へ")), listParts());
    const int row = selected();
    if (!item() || !movePrintsItemDown(list(), row))
        return false;
    m_model.rowsSwapped(row);
    select(row + 1);
    changed();
    return true;
}

void PrintsEditor::setKind(PrintsKind kind)
{
    EditStep step(m_recorder, stepName(UiText::tr("種類")), listParts());
    TPrintsData *p = item();
    if (!p || p->kind == kind)
        return;
    // A text item is one line: a block's line breaks become spaces.
    if (kind == PrintsText)
        p->text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    p->kind = kind;
    changed();
}

void PrintsEditor::setText(const QString &typed)
{
    EditStep step(m_recorder, stepName(UiText::tr("内容")), listParts());
    TPrintsData *p = item();
    if (!p)
        return;
    const QString text = p->kind == PrintsTextBlock ? blockText(typed) : typed;
    if (p->text == text)
        return;
    p->text = text;
    changed();
}

namespace {

// The selected item when it is a text block.
TPrintsData *blockOf(TPrintsData *p)
{
    return p && p->kind == PrintsTextBlock ? p : nullptr;
}

} // namespace

void PrintsEditor::setBlockNumber(
    const char *stepText, int TPrintsData::*field, int value, int lowest, int highest)
{
    EditStep step(m_recorder, stepName(UiText::tr(stepText)), listParts());
    const int v = std::clamp(value, lowest, highest);
    if (TPrintsData *p = blockOf(item()); p && p->*field != v) {
        p->*field = v;
        changed();
    }
}

void PrintsEditor::setBlockWidth(int mm)
{
    setBlockNumber(QT_TRANSLATE_NOOP("cw::UiText", "幅"), &TPrintsData::blockWidth, mm,
        textblock::kMinSize, textblock::kMaxSize);
}

void PrintsEditor::setBlockHeight(int mm)
{
    setBlockNumber(QT_TRANSLATE_NOOP("cw::UiText", "高さ"), &TPrintsData::blockHeight, mm,
        textblock::kMinSize, textblock::kMaxSize);
}

void PrintsEditor::setBlockAlign(int align)
{
    setBlockNumber(QT_TRANSLATE_NOOP("cw::UiText", "配置"), &TPrintsData::blockAlign, align,
        textblock::kAlignLeft, textblock::kAlignRight);
}

void PrintsEditor::setLineSpacing(int percent)
{
    setBlockNumber(QT_TRANSLATE_NOOP("cw::UiText", "行間"), &TPrintsData::lineSpacing, percent,
        textblock::kMinSpacing, textblock::kMaxSpacing);
}

TextBlockLayout PrintsEditor::blockLayout()
{
    const TPrintsData *p = blockOf(item());
    return p ? layoutTextBlock(*p, m_document.dpiX, m_document.dpiY) : TextBlockLayout();
}

bool PrintsEditor::readBlockText(const QString &path, MessageSink &messages)
{
    EditStep step(m_recorder, stepName(UiText::tr("ファイルから読み込む")), listParts());
    if (!blockOf(item()))
        return false;
    const std::optional<QString> text = readTextFile(path, kMaxBlockFileBytes, messages);
    if (!text)
        return false;
    setText(*text);
    return true;
}

void PrintsEditor::setTextX(int mm)
{
    EditStep step(m_recorder, stepName(UiText::tr("横")), listParts());
    if (TPrintsData *p = item(); p && p->textX != mm) {
        p->textX = mm;
        changed();
    }
}

void PrintsEditor::setTextY(int mm)
{
    EditStep step(m_recorder, stepName(UiText::tr("縦")), listParts());
    if (TPrintsData *p = item(); p && p->textY != mm) {
        p->textY = mm;
        changed();
    }
}

void PrintsEditor::setAngle(int typed)
{
    EditStep step(m_recorder, stepName(UiText::tr("ﾌｫﾝﾄ角")), listParts());
    const int angle = ((typed % 360) + 360) % 360;
    if (TPrintsData *p = item(); p && p->angle != angle) {
        p->angle = angle;
        changed();
    }
}

void PrintsEditor::setFont(const FontSpec &font)
{
    EditStep step(m_recorder, stepName(UiText::tr("フォント")), listParts());
    if (TPrintsData *p = item()) {
        p->font = font;
        changed();
    }
}

namespace {
// Gives an item an arc, as kept within its ranges; whether it changed.
bool changeArc(TPrintsData &item, ArcPlacement arc)
{
    arc = keptArc(arc);
    if (item.arc == arc)
        return false;
    item.arc = arc;
    return true;
}
} // namespace

void PrintsEditor::setArcPlace(DiscTextPlace place)
{
    EditStep step(m_recorder, stepName(UiText::tr("位置")), listParts());
    TPrintsData *p = item();
    if (p && m_which == PrintsList::Disc && p->kind == PrintsText
        && changeArc(*p, ArcPlacement { place, p->arc.radiusTenths, p->arc.angleTenths }))
        changed();
}

void PrintsEditor::setArc(int radiusTenths, int angleTenths)
{
    EditStep step(m_recorder, stepName(UiText::tr("位置")), listParts());
    TPrintsData *p = item();
    if (p && m_which == PrintsList::Disc && p->kind == PrintsText
        && changeArc(*p, ArcPlacement { p->arc.place, radiusTenths, angleTenths }))
        changed();
}

bool PrintsEditor::loadPicture(const QString &path, MessageSink &messages, ProgressSink &progress)
{
    EditStep step(m_recorder, stepName(UiText::tr("ファイル選択")), listParts());
    TPrintsData *p = item();
    if (!p)
        return false;
    progress.ShowText(UiText::tr("データロード中です"));
    // A file that gives no picture names itself in an item without one (the
    // path shows what was tried), but an item that holds a picture keeps it
    // and its name: the new name beside the old picture would lose the
    // picture on the next reading of the document.
    const QString before = p->fileName;
    const bool hadPicture = !p->bitmap.isNull();
    const bool ok = loadPrintsPicture(*p, path, messages);
    progress.hide();
    if (!ok && hadPicture)
        p->fileName = before;
    else
        changed();
    return ok;
}

namespace {

// trunc(other * value / own) in double precision.
int following(int other, int value, int own)
{
    return int(double(other) * double(value) / double(own));
}

} // namespace

bool PrintsEditor::setPrintWidth(int value, bool keepAspect)
{
    EditStep step(m_recorder, stepName(UiText::tr("画像ｻｲｽﾞ 幅")), listParts());
    TPrintsData *p = item();
    if (!p)
        return false;
    p->printWidth = value;
    const bool follow = keepAspect && p->pixelWidth != 0;
    if (follow)
        p->printHeight = following(p->pixelHeight, value, p->pixelWidth);
    changed();
    return follow;
}

bool PrintsEditor::setPrintHeight(int value, bool keepAspect)
{
    EditStep step(m_recorder, stepName(UiText::tr("画像ｻｲｽﾞ 高さ")), listParts());
    TPrintsData *p = item();
    if (!p)
        return false;
    p->printHeight = value;
    const bool follow = keepAspect && p->pixelHeight != 0;
    if (follow)
        p->printWidth = following(p->pixelWidth, value, p->pixelHeight);
    changed();
    return follow;
}

void PrintsEditor::setPosX(int value)
{
    EditStep step(m_recorder, stepName(UiText::tr("印刷位置 横")), listParts());
    if (TPrintsData *p = item(); p && p->posX != value) {
        p->posX = value;
        changed();
    }
}

void PrintsEditor::setPosY(int value)
{
    EditStep step(m_recorder, stepName(UiText::tr("印刷位置 縦")), listParts());
    if (TPrintsData *p = item(); p && p->posY != value) {
        p->posY = value;
        changed();
    }
}

void PrintsEditor::setTransparent(bool on)
{
    EditStep step(m_recorder, stepName(UiText::tr("透明色")), listParts());
    if (TPrintsData *p = item(); p && p->transparent != on) {
        p->transparent = on;
        changed();
    }
}

void PrintsEditor::setTransColor(ColorRef color)
{
    EditStep step(m_recorder, stepName(UiText::tr("透明色")), listParts());
    if (TPrintsData *p = item(); p && p->transColor != color) {
        p->transColor = color;
        changed();
    }
}

QImage PrintsEditor::pictureForColorPick(MessageSink &messages)
{
    EditStep step(m_recorder, stepName(UiText::tr("色取込")), listParts());
    TPrintsData *p = item();
    if (!p)
        return QImage();
    if (p->fileName.isEmpty()) {
        messages.showMessage(UiText::tr("グラフィックが指定されていません"));
        return QImage();
    }
    QImage picture;
    if (!LoadPictureFile(picture, p->fileName, messages))
        return QImage();
    p->bitmap = picture;
    p->bitmapReduction = 1;
    p->pixelWidth = picture.width();
    p->pixelHeight = picture.height();
    p->cacheRect = PixelRect { 0, 0, p->pixelWidth, p->pixelHeight };
    return picture;
}

} // namespace cw

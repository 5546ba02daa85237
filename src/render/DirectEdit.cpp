#include "render/DirectEdit.h"

#include <QFileInfo>
#include <QLineF>
#include <algorithm>
#include <cmath>

#include "base/UiText.h"
#include "base/Units.h"
#include "base/BookletFormat.h"
#include "document/BookletPages.h"
#include "document/PicturePlacementOps.h"
#include "document/StepLabels.h"
#include "prints/PrintsEditor.h"
#include "prints/PrintsItems.h"
#include "tracklist/ListLayoutEditor.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

namespace {

Surface surfaceOf(const PagePart &part)
{
    return Surface(std::clamp(part.owner, 0, 4));
}

// The picture a picture part shows: a surface's, or a booklet page's.
PictureSlot pictureSlotOf(const PagePart &part)
{
    const PictureSlot slot = pictureSlotOfOwner(part.owner);
    return slot.isPage() ? slot : PictureSlot(surfaceOf(part));
}

const PicturePlacement &pictureOf(const LabelDocument &doc, const PagePart &part)
{
    return shownPlacement(doc, pictureSlotOf(part));
}

// One of the disc's two texts.
bool isDiscText(const PagePart &part)
{
    return part.kind == PartKind::Title && part.owner == int(Surface::Disc);
}
DiscText discTextOf(const PagePart &part)
{
    return part.index == 1 ? DiscText::Subtitle : DiscText::Title;
}
// A disc text or a disc's text item set along its circle: it turns and
// moves toward or away from the centre instead of moving across and down.
bool isArc(const PagePart &part)
{
    return (isDiscText(part) || part.kind == PartKind::PrintText) && part.arcRadius > 0;
}

// The radius an arc part's position starts from: the one chosen, or the one
// it was drawn at (the default's), in tenths of a millimetre.
int arcRadiusOf(const PagePart &part, const ArcPlacement &arc, int canvasDpiX)
{
    if (arc.radiusTenths > 0)
        return arc.radiusTenths;
    return int(std::lround(part.arcRadius * geom::kMmPerInch * 10 / canvasDpiX));
}

// The angle of a point about a centre, clockwise from 12 o'clock, in
// degrees.
double clockAngle(QPointF p, QPointF centre)
{
    return std::atan2(p.x() - centre.x(), centre.y() - p.y()) * 180.0 / 3.14159265358979323846;
}

bool isSpine(const PagePart &part)
{
    return part.owner == int(Surface::Left) || part.owner == int(Surface::Right);
}

QString surfaceWhere(int owner)
{
    switch (owner) {
    case 1:
        return UiText::tr("裏レーベル");
    case 2:
        return UiText::tr("背表紙(左)");
    case 3:
        return UiText::tr("背表紙(右)");
    case 4:
        return UiText::tr("ディスク");
    default:
        return UiText::tr("表レーベル");
    }
}

QString printsListName(int list)
{
    static const char *const names[] = { QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(前面)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(背面)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(裏レーベル)"),
        QT_TRANSLATE_NOOP("cw::UiText", "任意印刷(ディスク)") };
    if (const int page = pageOfPrintsList(PrintsList(list)))
        return UiText::tr("任意印刷(%1)").arg(bookletPageName(page));
    return UiText::tr(names[std::clamp(list, 0, kPrintsListCount - 1)]);
}

// The free-print list an item part belongs to.
PrintsList listOf(const PagePart &part)
{
    if (pageOfPrintsList(PrintsList(part.owner)))
        return PrintsList(part.owner);
    return PrintsList(std::clamp(part.owner, 0, kPrintsListCount - 1));
}

// The list layout a list part shows: the front's (0), the back's (1), the
// disc's (2) or a booklet page's (pageListSurface).
int listSide(const PagePart &part)
{
    return part.owner == kListSurfaceBottom || part.owner == kListSurfaceDisc
            || pageOfListSurface(part.owner)
        ? part.owner
        : kListSurfaceTop;
}

// A spine title whose text reads upward: its offset grows as it moves up.
bool readsUpward(const PartBox &box)
{
    return box.part.kind == PartKind::Title && isSpine(box.part) && box.escapement == 900;
}

// The page (sheet of the document's format) a surface is drawn on.
PreviewPage pageOf(const LabelDocument &doc, Surface s)
{
    if (s == Surface::Disc)
        return PreviewPage::Disc;
    return PreviewPage(formatOf(doc).sheetOf(surfaceRole(s)));
}

// The page a picture is drawn on.
PreviewPage pageOf(const LabelDocument &doc, PictureSlot s)
{
    if (!s.isPage())
        return pageOf(doc, s.surface);
    const int sheet = bookletSheetOfPage(formatOf(doc), s.page);
    return sheet >= 0 ? PreviewPage(sheet) : PreviewPage::Shown;
}

// The page a track list is drawn on.
PreviewPage listPage(const LabelDocument &doc, int list)
{
    if (list == kListSurfaceDisc)
        return PreviewPage::Disc;
    const CaseFormat &format = formatOf(doc);
    if (const int page = pageOfListSurface(list)) {
        const int sheet = bookletSheetOfPage(format, page);
        return sheet >= 0 ? PreviewPage(sheet) : PreviewPage::Shown;
    }
    const CasePanel *panel = format.listPanel(list);
    return panel ? PreviewPage(format.sheetOf(panel->role)) : PreviewPage::Shown;
}

int pixelsToMm(int pixels, int dpi)
{
    return dpi > 0 ? int(std::lround(pixels * geom::kMmPerInch / dpi)) : 0;
}

int pixelsToDevice(int pixels, int canvasDpi, int deviceDpi)
{
    return canvasDpi > 0 ? int(std::lround(double(pixels) * deviceDpi / canvasDpi)) : 0;
}

} // namespace

PartUnit partUnit(const PagePart &part)
{
    return part.kind == PartKind::Picture || part.kind == PartKind::PrintPicture
        ? PartUnit::DevicePixel
        : PartUnit::Millimetre;
}

bool movesAlongOnly(const PagePart &part)
{
    return part.kind == PartKind::Title && isSpine(part);
}

QString partName(const LabelDocument &doc, const PagePart &part)
{
    switch (part.kind) {
    case PartKind::Title:
        if (isDiscText(part) && part.index == 1)
            return stepLabel(UiText::tr("サブタイトル"), surfaceWhere(part.owner));
        return stepLabel(UiText::tr("タイトル"), surfaceWhere(part.owner));
    case PartKind::Picture:
        if (const PictureSlot slot = pictureSlotOf(part); slot.isPage())
            return stepLabel(UiText::tr("画像"), bookletPageName(slot.page));
        return stepLabel(UiText::tr("画像"), surfaceWhere(part.owner));
    case PartKind::List:
        if (const int page = pageOfListSurface(listSide(part)))
            return stepLabel(UiText::tr("リスト"), bookletPageName(page));
        return stepLabel(UiText::tr("リスト"),
            listSide(part) == kListSurfaceDisc ? surfaceTabName(Surface::Disc)
                : listSide(part) == 1          ? UiText::tr("裏レーベル")
                                               : UiText::tr("表レーベル(裏)"));
    case PartKind::PrintText:
    case PartKind::PrintPicture: {
        const QList<TPrintsData> &items = printsList(doc, listOf(part));
        QString what;
        if (part.index >= 0 && part.index < items.size()) {
            const TPrintsData &item = items[part.index];
            // A text block by its first line.
            what = item.kind == PrintsPicture ? QFileInfo(item.fileName).fileName()
                                              : item.text.section(QLatin1Char('\n'), 0, 0);
        }
        return printsListName(part.owner) + QStringLiteral(": ") + what;
    }
    }
    return QString();
}

PartPosition partPosition(
    const LabelDocument &doc, const PartBox &box, int canvasDpiX, int canvasDpiY)
{
    const PagePart &part = box.part;
    switch (part.kind) {
    case PartKind::Title: {
        const TitleSettings &t
            = isDiscText(part) ? doc.discText(discTextOf(part)) : doc.surface(surfaceOf(part)).title;
        if (isArc(part))
            return { t.arc.angleTenths, arcRadiusOf(part, t.arc, canvasDpiX) };
        if (isDiscText(part)) {
            if (t.customXUse && t.customYUse)
                return { t.customX, t.customY };
            return { std::clamp(pixelsToMm(box.bounds.left() - part.origin.x(), canvasDpiX), 0,
                         kMaxCustomPosition),
                std::clamp(pixelsToMm(box.bounds.top() - part.origin.y(), canvasDpiY), 0,
                    kMaxCustomPosition) };
        }
        if (isSpine(part)) {
            if (t.posMode == TitlePosition::Custom)
                return { 0, t.offset };
            // The offset runs from the reference point the renderer reported
            // to the text's leading end.
            const int along = readsUpward(box) ? part.origin.y() - (box.bounds.bottom() + 1)
                                               : box.bounds.top() - part.origin.y();
            return { 0,
                std::clamp(pixelsToMm(along, canvasDpiY), 0,
                    maxSpineOffset(doc, surfaceOf(part))) };
        }
        if (t.posMode == TitlePosition::Custom && t.customXUse && t.customYUse)
            return { t.customX, t.customY };
        return { std::clamp(pixelsToMm(box.bounds.left() - part.origin.x(), canvasDpiX), 0,
                     kMaxCustomPosition),
            std::clamp(pixelsToMm(box.bounds.top() - part.origin.y(), canvasDpiY), 0,
                kMaxCustomPosition) };
    }
    case PartKind::Picture: {
        const PicturePlacement &p = pictureOf(doc, part);
        return { p.posX, p.posY };
    }
    case PartKind::List: {
        const ListLayout *l = listLayoutOf(doc, listSide(part));
        return l ? PartPosition { l->posX, l->posY } : PartPosition {};
    }
    case PartKind::PrintText:
    case PartKind::PrintPicture: {
        const QList<TPrintsData> &items = printsList(doc, listOf(part));
        if (part.index < 0 || part.index >= items.size())
            return {};
        const TPrintsData &item = items[part.index];
        if (isArc(part))
            return { item.arc.angleTenths, arcRadiusOf(part, item.arc, canvasDpiX) };
        return part.kind == PartKind::PrintText ? PartPosition { item.textX, item.textY }
                                                : PartPosition { item.posX, item.posY };
    }
    }
    return {};
}

PartPosition draggedPosition(const LabelDocument &doc, const PartBox &box, PartPosition start,
    QPoint delta, int canvasDpiX, int canvasDpiY)
{
    if (isArc(box.part)) {
        // Turned by the angle the drag makes about the centre, taken from the
        // text's middle, and moved by how much nearer or further it brings it.
        const QPointF centre = box.part.origin;
        const QPointF from = QRectF(box.bounds).center(), to = from + QPointF(delta);
        double turn = clockAngle(to, centre) - clockAngle(from, centre);
        if (turn > 180)
            turn -= 360;
        else if (turn < -180)
            turn += 360;
        const double further = QLineF(centre, to).length() - QLineF(centre, from).length();
        return { start.x + int(std::lround(turn * 10)),
            start.y + int(std::lround(further * geom::kMmPerInch * 10 / canvasDpiX)) };
    }
    int dx = 0, dy = 0;
    if (partUnit(box.part) == PartUnit::DevicePixel) {
        dx = pixelsToDevice(delta.x(), canvasDpiX, doc.dpiX);
        dy = pixelsToDevice(delta.y(), canvasDpiY, doc.dpiY);
    } else {
        dx = pixelsToMm(delta.x(), canvasDpiX);
        dy = pixelsToMm(delta.y(), canvasDpiY);
    }
    return steppedPosition(box, start, dx, dy);
}

PartPosition steppedPosition(const PartBox &box, PartPosition start, int dx, int dy)
{
    // An arc text moves the way the arrow points: along the top of the disc
    // right is clockwise and up is outward, along the bottom the reverse.
    // 1 degree a step across, 0.5 mm up or down.
    if (isArc(box.part)) {
        const int way = box.part.arcBottom ? -1 : 1;
        return { start.x + way * dx * 10, start.y - way * dy * 5 };
    }
    if (movesAlongOnly(box.part))
        return { start.x, start.y + (readsUpward(box) ? -dy : dy) };
    return { start.x + dx, start.y + dy };
}

QString positionTip(const PagePart &part, PartPosition pos)
{
    if (isArc(part))
        return UiText::tr("角度 %1° 半径 %2mm")
            .arg(pos.x / 10.0, 0, 'f', 1)
            .arg(pos.y / 10.0, 0, 'f', 1);
    if (movesAlongOnly(part))
        return UiText::tr("印刷位置オフセット %1mm").arg(pos.y);
    const QString unit = partUnit(part) == PartUnit::DevicePixel ? QStringLiteral("px")
                                                                 : QStringLiteral("mm");
    return UiText::tr("横 %1%3 縦 %2%3").arg(pos.x).arg(pos.y).arg(unit);
}

EditResult placePart(PartEditors editors, const PagePart &part, PartPosition pos)
{
    DocumentEditor &ed = editors.document;
    LabelDocument &doc = ed.document();
    EditStep step(
        &ed.history(), stepLabel(UiText::tr("移動"), partName(doc, part)), partEditParts(part));
    EditResult r;
    switch (part.kind) {
    case PartKind::Title: {
        if (isArc(part)) {
            r.merge(ed.setDiscTextArc(discTextOf(part), pos.y, pos.x));
            break;
        }
        if (isDiscText(part)) {
            r.merge(ed.setDiscTextCustomPosition(discTextOf(part), true,
                std::clamp(pos.x, 0, kMaxCustomPosition), true,
                std::clamp(pos.y, 0, kMaxCustomPosition)));
            break;
        }
        const Surface s = surfaceOf(part);
        r.merge(ed.setTitlePosMode(s, TitlePosition::Custom));
        if (isSpine(part)) {
            r.merge(ed.setTitleOffset(s, pos.y));
            r.addPage(pageOf(doc, s));
            break;
        }
        r.merge(ed.setTitleCustomXUse(s, true));
        r.merge(ed.setTitleCustomYUse(s, true));
        r.merge(ed.setTitleCustomX(s, std::clamp(pos.x, 0, kMaxCustomPosition)));
        r.merge(ed.setTitleCustomY(s, std::clamp(pos.y, 0, kMaxCustomPosition)));
        r.merge(ed.leaveTitleCustomPosition(s));
        break;
    }
    case PartKind::Picture: {
        const PictureSlot s = pictureSlotOf(part);
        r.merge(ed.applyAlignMode(s, PictureAlignment::Custom));
        r.merge(ed.setPicturePosX(s, pos.x));
        r.merge(ed.setPicturePosY(s, pos.y));
        r.addPage(pageOf(doc, s));
        break;
    }
    case PartKind::List: {
        // The layout window's own limits: its up-downs stop at the maxima.
        // A booklet page's list has the front's limits, on a page of a face's size.
        const int side = listSide(part);
        ListLayout *layout = listLayoutOf(doc, side);
        if (!layout)
            break;
        ListLayoutEditor limits;
        limits.open(*layout, pageOfListSurface(side) ? kListSurfaceTop : side);
        layout->posX = std::clamp(pos.x, 0, std::max(0, limits.maximum(LayoutField::PosX)));
        layout->posY = std::clamp(pos.y, 0, std::max(0, limits.maximum(LayoutField::PosY)));
        r.addPage(listPage(doc, side));
        break;
    }
    case PartKind::PrintText:
    case PartKind::PrintPicture: {
        PrintsEditor &pe = editors.prints;
        pe.open(listOf(part));
        pe.select(part.index);
        if (pe.selected() != part.index || !pe.item())
            break;
        if (isArc(part)) {
            pe.setArc(pos.y, pos.x);
        } else if (part.kind == PartKind::PrintText) {
            pe.setTextX(pos.x);
            pe.setTextY(pos.y);
        } else {
            pe.setPosX(pos.x);
            pe.setPosY(pos.y);
        }
        r.addPage(pe.refreshPage());
        break;
    }
    }
    return r;
}

unsigned partEditParts(const PagePart &part)
{
    // A booklet page's items and list are kept with its page.
    const bool item = part.kind == PartKind::PrintText || part.kind == PartKind::PrintPicture;
    if ((item && pageOfPrintsList(PrintsList(part.owner)))
        || (part.kind == PartKind::List && pageOfListSurface(part.owner))
        || (part.kind == PartKind::Picture && pictureSlotOf(part).isPage()))
        return EditParts::Pages;
    return item ? EditParts::PrintItems : EditParts::Settings;
}

bool resizable(const PagePart &part)
{
    return part.kind == PartKind::Picture || part.kind == PartKind::PrintPicture;
}

namespace {
// The text block a free-print text part draws, or nullptr.
const TPrintsData *textBlockOf(const LabelDocument &doc, const PagePart &part)
{
    if (part.kind != PartKind::PrintText)
        return nullptr;
    const QList<TPrintsData> &items = printsList(doc, listOf(part));
    if (part.index < 0 || part.index >= items.size() || items[part.index].kind != PrintsTextBlock)
        return nullptr;
    return &items[part.index];
}
} // namespace

bool sizedByHandle(const LabelDocument &doc, const PagePart &part)
{
    return resizable(part) || textBlockOf(doc, part);
}

PartPosition partSize(const LabelDocument &doc, const PagePart &part)
{
    if (const TPrintsData *block = textBlockOf(doc, part))
        return { block->blockWidth, block->blockHeight };
    if (part.kind == PartKind::Picture) {
        const PicturePlacement &p = pictureOf(doc, part);
        return { p.printWidth, p.printHeight };
    }
    if (part.kind == PartKind::PrintPicture) {
        const QList<TPrintsData> &items = printsList(doc, listOf(part));
        if (part.index >= 0 && part.index < items.size())
            return { items[part.index].printWidth, items[part.index].printHeight };
    }
    return {};
}

namespace {
bool leftCorner(SizeCorner c)
{
    return c == SizeCorner::TopLeft || c == SizeCorner::BottomLeft;
}
bool topCorner(SizeCorner c)
{
    return c == SizeCorner::TopLeft || c == SizeCorner::TopRight;
}
} // namespace

PartPosition draggedSize(const LabelDocument &doc, PartPosition start, QPoint delta,
    int canvasDpiX, int canvasDpiY, SizeCorner corner, PartUnit unit)
{
    if (unit == PartUnit::Millimetre) {
        const int dx = pixelsToMm(delta.x(), canvasDpiX);
        const int dy = pixelsToMm(delta.y(), canvasDpiY);
        return { std::clamp(start.x + (leftCorner(corner) ? -dx : dx), textblock::kMinSize,
                     textblock::kMaxSize),
            std::clamp(start.y + (topCorner(corner) ? -dy : dy), textblock::kMinSize,
                textblock::kMaxSize) };
    }
    const int dx = pixelsToDevice(delta.x(), canvasDpiX, doc.dpiX);
    const int dy = pixelsToDevice(delta.y(), canvasDpiY, doc.dpiY);
    return { std::max(1, start.x + (leftCorner(corner) ? -dx : dx)),
        std::max(1, start.y + (topCorner(corner) ? -dy : dy)) };
}

PartPosition sizedPosition(
    PartPosition startPos, PartPosition startSize, PartPosition size, SizeCorner corner)
{
    return { leftCorner(corner) ? startPos.x + startSize.x - size.x : startPos.x,
        topCorner(corner) ? startPos.y + startSize.y - size.y : startPos.y };
}

QString sizeTip(PartPosition size, PartUnit unit)
{
    if (unit == PartUnit::Millimetre)
        return UiText::tr("幅 %1mm 高さ %2mm").arg(size.x).arg(size.y);
    return UiText::tr("幅 %1px 高さ %2px").arg(size.x).arg(size.y);
}

EditResult sizePart(
    PartEditors editors, const PagePart &part, PartPosition size, bool itemKeepAspect)
{
    DocumentEditor &ed = editors.document;
    EditStep step(&ed.history(), stepLabel(UiText::tr("サイズ変更"), partName(ed.document(), part)),
        partEditParts(part));
    EditResult r;
    if (part.kind == PartKind::Picture) {
        const PictureSlot s = pictureSlotOf(part);
        r.merge(ed.setPictureWidth(s, size.x));
        if (!pictureOf(ed.document(), part).keepAspect)
            r.merge(ed.setPictureHeight(s, size.y));
        r.addPage(pageOf(ed.document(), s));
    } else if (part.kind == PartKind::PrintPicture || textBlockOf(ed.document(), part)) {
        PrintsEditor &pe = editors.prints;
        pe.open(listOf(part));
        pe.select(part.index);
        if (pe.selected() == part.index && pe.item()) {
            if (part.kind == PartKind::PrintText) {
                pe.setBlockWidth(size.x);
                pe.setBlockHeight(size.y);
            } else if (!pe.setPrintWidth(size.x, itemKeepAspect)) {
                pe.setPrintHeight(size.y, false);
            }
            r.addPage(pe.refreshPage());
        }
    }
    return r;
}

QList<int> readingOrder(const QList<PartBox> &boxes)
{
    QList<int> order;
    for (int i = 0; i < boxes.size(); ++i)
        order.append(i);
    std::stable_sort(order.begin(), order.end(), [&boxes](int a, int b) {
        const QRect &ra = boxes[a].bounds, &rb = boxes[b].bounds;
        if (ra.top() != rb.top())
            return ra.top() < rb.top();
        return ra.left() < rb.left();
    });
    return order;
}

} // namespace cw

#include "document/DocumentJson.h"

#include <functional>

#include "text/JsonStream.h"

#include <QJsonArray>

#include "document/CaseSizeText.h"
#include "document/TextBlock.h"
#include "fonts/FontJson.h"
#include "tracklist/ListJson.h"

namespace cw {

namespace {

QJsonValue colour(ColorRef c)
{
    return QJsonValue(qint64(c));
}

QJsonObject titleToJson(const TitleSettings &t)
{
    return QJsonObject {
        { "use", t.use },
        { "text", t.text },
        { "posMode", int(t.posMode) },
        { "customXUse", t.customXUse },
        { "customX", t.customX },
        { "customYUse", t.customYUse },
        { "customY", t.customY },
        { "offset", t.offset },
        { "font", fontSpecToJson(t.font) },
    };
}

// A disc text: a title with its arc.
QJsonObject discTextToJson(const TitleSettings &t)
{
    QJsonObject o = titleToJson(t);
    o.insert("arc",
        QJsonObject { { "place", int(t.arc.place) }, { "radiusTenths", t.arc.radiusTenths },
            { "angleTenths", t.arc.angleTenths } });
    return o;
}

QJsonObject pictureToJson(const PicturePlacement &p)
{
    return QJsonObject {
        { "use", p.use },
        { "fileName", p.fileName },
        { "pixelWidth", p.pixelWidth },
        { "pixelHeight", p.pixelHeight },
        { "printWidth", p.printWidth },
        { "printHeight", p.printHeight },
        { "posX", p.posX },
        { "posY", p.posY },
        { "sizeMode", int(p.sizeMode) },
        { "alignMode", int(p.alignMode) },
        { "keepAspect", p.keepAspect },
        { "sourceRect",
            QJsonObject { { "left", p.sourceRect.left }, { "top", p.sourceRect.top },
                { "right", p.sourceRect.right }, { "bottom", p.sourceRect.bottom } } },
    };
}

QJsonObject surfaceToJson(const LabelDocument &doc, Surface s)
{
    const SurfaceSettings &ss = doc.surface(s);
    QJsonObject o {
        { "title", titleToJson(ss.title) },
        { "picture", pictureToJson(ss.picture) },
        { "backgroundColor1", colour(ss.backgroundColor1) },
    };
    // Each surface lists only the fields it has.
    switch (s) {
    case Surface::Top:
        o.insert("backgroundColor2", colour(ss.backgroundColor2));
        o.insert("useList", ss.useList);
        o.insert("useCoverPrints", ss.useCoverPrints);
        o.insert("useInsidePrints", ss.useInsidePrints);
        break;
    case Surface::Bottom:
        o.insert("useList", ss.useList);
        o.insert("usePrints", ss.usePrints);
        o.insert("titleSameAsFront", ss.titleSameAsFront);
        o.insert("pictureSameAsFront", ss.pictureSameAsFront);
        break;
    case Surface::Left:
        o.insert("titleSameAsFront", ss.titleSameAsFront);
        break;
    case Surface::Right:
        o.insert("titleSameAsFront", ss.titleSameAsFront);
        o.insert("titleSameAsLeft", ss.titleSameAsLeft);
        o.insert("pictureSameAsLeft", ss.pictureSameAsLeft);
        break;
    case Surface::Disc:
        o.insert("title", discTextToJson(ss.title));
        o.insert("subtitle", discTextToJson(ss.subtitle));
        o.insert("useList", ss.useList);
        o.insert("usePrints", ss.usePrints);
        break;
    }
    // A chosen spine direction, as the file keeps it; the case's own is not
    // listed, as the file does not write it.
    if (ss.spineText != SpineText::CaseOwn)
        o.insert("spineText", int(ss.spineText));
    return o;
}

QJsonArray printsToJson(const QList<TPrintsData> &list, int dpiX, int dpiY)
{
    QJsonArray a;
    for (const TPrintsData &item : list)
        a.append(printsItemToJson(item, dpiX, dpiY));
    return a;
}

} // namespace

QJsonObject printsItemToJson(const TPrintsData &item, int dpiX, int dpiY)
{
    QJsonObject o {
        { "kind", item.kind },
        { "text", item.text },
        { "textX", item.textX },
        { "textY", item.textY },
        { "angle", item.angle },
        { "font", fontSpecToJson(item.font) },
        { "fileName", item.fileName },
        { "posX", item.posX },
        { "posY", item.posY },
        { "printWidth", item.printWidth },
        { "printHeight", item.printHeight },
        { "pixelWidth", item.pixelWidth },
        { "pixelHeight", item.pixelHeight },
        { "transparent", item.transparent },
        { "transColor", colour(item.transColor) },
    };
    if (item.kind == PrintsTextBlock) {
        // The block's box and its lines as the document's resolution wraps
        // and cuts them.
        const TextBlockLayout layout = layoutTextBlock(item, dpiX, dpiY);
        o.insert(QStringLiteral("textBlock"),
            QJsonObject {
                { "width", item.blockWidth },
                { "height", item.blockHeight },
                { "align", item.blockAlign },
                { "lineSpacing", item.lineSpacing },
                { "lines", QJsonArray::fromStringList(layout.lines.mid(0, layout.shown)) },
                { "linesCut", layout.cut() },
            });
    }
    return o;
}

namespace {

// Every member but the long lists.
QJsonObject documentHeadToJson(const LabelDocument &doc)
{
    QJsonObject o {
        { "fileName", doc.fileName },
        { "format", doc.caseFormat },
        { "dpiX", doc.dpiX },
        { "dpiY", doc.dpiY },
        { "listLayout",
            QJsonArray {
                listLayoutToJson(doc.listLayout[0]), listLayoutToJson(doc.listLayout[1]) } },
        { "top", surfaceToJson(doc, Surface::Top) },
        { "bottom", surfaceToJson(doc, Surface::Bottom) },
        { "left", surfaceToJson(doc, Surface::Left) },
        { "right", surfaceToJson(doc, Surface::Right) },
    };
    // A custom case's sizes as its file line gives them: panel width, panel
    // height and spine width in millimetres.
    if (formatOf(doc).custom)
        o.insert(QStringLiteral("caseSize"), formatCaseSizeLine(doc.caseSize));
    // The disc face, for a document that has one (as its file keeps it).
    if (usesDiscFace(doc)) {
        QJsonObject disc = surfaceToJson(doc, Surface::Disc);
        disc.insert(QStringLiteral("listLayout"), listLayoutToJson(doc.listLayout[2]));
        disc.insert(QStringLiteral("prints"), printsToJson(doc.discPrints, doc.dpiX, doc.dpiY));
        o.insert(QStringLiteral("disc"), disc);
    }
    // A booklet's page count and its inner pages, page 2 first.
    if (doc.bookletPages > 2) {
        o.insert(QStringLiteral("bookletPages"), doc.bookletPages);
        QJsonArray pages;
        for (const BookletPage &p : doc.pages)
            pages.append(QJsonObject {
                { "backgroundColor", colour(p.background) },
                { "picture", pictureToJson(p.picture) },
                { "useList", p.useList },
                { "listLayout", listLayoutToJson(p.listLayout) },
                { "usePrints", p.usePrints },
                { "prints", printsToJson(p.prints, doc.dpiX, doc.dpiY) },
            });
        o.insert(QStringLiteral("pages"), pages);
    }
    return o;
}

} // namespace

QJsonObject documentToJson(const LabelDocument &doc)
{
    QJsonObject o = documentHeadToJson(doc);
    o.insert(QStringLiteral("listRows"), listRowsToJson(doc.listRows));
    o.insert(QStringLiteral("coverPrints"), printsToJson(doc.coverPrints, doc.dpiX, doc.dpiY));
    o.insert(QStringLiteral("insidePrints"), printsToJson(doc.insidePrints, doc.dpiX, doc.dpiY));
    o.insert(QStringLiteral("backPrints"), printsToJson(doc.backPrints, doc.dpiX, doc.dpiY));
    return o;
}

bool writeDocumentJson(QIODevice &out, const LabelDocument &doc, const QJsonObject &extra)
{
    auto prints = [&doc](const QList<TPrintsData> &list) {
        return [&list, &doc](IndentedJsonWriter &w) {
            w.beginArray();
            for (const TPrintsData &item : list)
                w.value(printsItemToJson(item, doc.dpiX, doc.dpiY));
            w.end();
        };
    };
    // The long members, merged in key order with the others.
    const QList<QPair<QString, std::function<void(IndentedJsonWriter &)>>> lists = {
        { QStringLiteral("backPrints"), prints(doc.backPrints) },
        { QStringLiteral("coverPrints"), prints(doc.coverPrints) },
        { QStringLiteral("insidePrints"), prints(doc.insidePrints) },
        { QStringLiteral("listRows"),
            [&doc](IndentedJsonWriter &w) { writeListRowsJson(w, doc.listRows); } },
    };
    QJsonObject head = documentHeadToJson(doc);
    for (auto it = extra.begin(); it != extra.end(); ++it)
        head.insert(it.key(), it.value());
    IndentedJsonWriter w(out);
    w.beginObject();
    auto next = lists.begin();
    for (auto it = head.begin(); it != head.end(); ++it) {
        for (; next != lists.end() && next->first < it.key(); ++next) {
            w.key(next->first);
            next->second(w);
        }
        w.key(it.key());
        w.value(it.value());
    }
    for (; next != lists.end(); ++next) {
        w.key(next->first);
        next->second(w);
    }
    w.end();
    return w.flush();
}

} // namespace cw

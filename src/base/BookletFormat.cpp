#include "base/BookletFormat.h"

#include <QMutex>
#include <map>
#include <tuple>
#include <utility>

#include "base/BookletImposition.h"

namespace cw {

namespace {

// The panel page `page` of `pages` is drawn as, placed where `place` is.
CasePanel pagePanel(const CaseSheet &front, int page, int pages, const CasePanel &place)
{
    const CasePanel *cover = nullptr, *inside = nullptr;
    for (const CasePanel &p : front.panels)
        (p.role == PanelRole::Cover ? cover : inside) = &p;
    CasePanel out;
    if (page == 1) {
        out = *cover;
    } else if (page == pages) {
        out = *inside;
    } else {
        // A page of its own: its track list is as large as the inside face's.
        out.id = bookletPageId(page);
        out.role = PanelRole::Page;
        out.listWidthMm = inside->listWidthMm;
        out.listHeightMm = inside->listHeightMm;
    }
    out.page = page;
    out.xMm = place.xMm;
    out.yMm = place.yMm;
    out.widthMm = place.widthMm;
    out.heightMm = place.heightMm;
    out.outer = place.outer;
    return out;
}

CaseSheet sheetLike(const CaseSheet &front, const QString &id)
{
    CaseSheet s;
    s.id = id;
    s.widthMm = front.widthMm;
    s.heightMm = front.heightMm;
    s.centreBySheet = front.centreBySheet;
    s.rightEdgeBeyond = front.rightEdgeBeyond;
    s.wholeMarks = front.wholeMarks;
    return s;
}

// The front sheet's left and right halves.
struct Halves
{
    const CasePanel &left, &right;
};
Halves halvesOf(const CaseSheet &front)
{
    const bool coverRight = front.panels[1].xMm < front.panels[0].xMm;
    return { front.panels[coverRight ? 1 : 0], front.panels[coverRight ? 0 : 1] };
}

// The booklet's sheets built so far are the format's front sheets; the
// format's other sheets follow them.
void finish(CaseFormat &out, const CaseFormat &format, const CaseSheet &front)
{
    out.frontSheets = int(out.sheets.size());
    for (const CaseSheet &s : format.sheets)
        if (&s != &front)
            out.sheets << s;
}

CaseFormat buildSides(const CaseFormat &format, const CaseSheet &front, int pages)
{
    CaseFormat out = format;
    out.sheets.clear();
    const auto [left, right] = halvesOf(front);
    const QVector<BookletSheet> sheets = bookletSheets(pages);
    for (int k = 0; k < sheets.size(); ++k) {
        for (bool back : { false, true }) {
            const BookletSpread &spread = back ? sheets[k].back : sheets[k].front;
            CaseSheet side = sheetLike(front, bookletSideId(k + 1, back));
            side.panels << pagePanel(front, spread.left, pages, left)
                        << pagePanel(front, spread.right, pages, right);
            out.sheets << side;
        }
    }
    finish(out, format, front);
    return out;
}

CaseFormat buildReading(const CaseFormat &format, const CaseSheet &front, int pages)
{
    CaseFormat out = format;
    out.sheets.clear();
    const CasePanel &cover = front.panels[0].role == PanelRole::Cover ? front.panels[0]
                                                                       : front.panels[1];
    CasePanel place = cover;
    place.xMm = place.yMm = 0;
    place.outer = PanelEdges { true, true, true, true };
    for (int page = 1; page <= pages; ++page) {
        CaseSheet s = sheetLike(front, bookletPageId(page));
        s.widthMm = cover.widthMm;
        s.heightMm = cover.heightMm;
        s.panels << pagePanel(front, page, pages, place);
        out.sheets << s;
    }
    out.frontSheets = int(out.sheets.size());
    return out;
}

// The booklet as it is read: page 1 alone, the spreads [2|3] … [N-2|N-1],
// and page N alone, each on a sheet of the front sheet's size; the other
// sheets follow.
CaseFormat buildSpreads(const CaseFormat &format, const CaseSheet &front, int pages)
{
    CaseFormat out = format;
    out.sheets.clear();
    const auto [left, right] = halvesOf(front);
    // A page alone stands in the middle with its trim all round, as the
    // page is seen when the booklet is shut.
    const auto alone = [&](int page, const CasePanel &where) {
        CasePanel place = where;
        place.xMm = 0;
        place.outer = PanelEdges { true, true, true, true };
        CaseSheet sheet = sheetLike(front, bookletSpreadId(page, page));
        sheet.panels << pagePanel(front, page, pages, place);
        return sheet;
    };
    out.sheets << alone(1, right);
    for (int page = 2; page < pages; page += 2) {
        CaseSheet spread = sheetLike(front, bookletSpreadId(page, page + 1));
        spread.panels << pagePanel(front, page, pages, left)
                      << pagePanel(front, page + 1, pages, right);
        out.sheets << spread;
    }
    out.sheets << alone(pages, left);
    finish(out, format, front);
    return out;
}

enum class Built { Sides, Reading, Spreads };

// Pages may be drawn on other threads; a map's entries never move.
const CaseFormat &kept(const CaseFormat &format, int pages, Built what)
{
    static QMutex mutex;
    static std::map<std::tuple<const CaseFormat *, int, Built>, CaseFormat> built;
    const CaseSheet *front = bookletFrontSheet(format);
    if (!front || !isBookletPageCount(pages) || (what != Built::Reading && pages == 2))
        return format;
    const QMutexLocker lock(&mutex);
    const auto key = std::make_tuple(&format, pages, what);
    auto it = built.find(key);
    if (it == built.end()) {
        CaseFormat out = what == Built::Reading ? buildReading(format, *front, pages)
            : what == Built::Spreads            ? buildSpreads(format, *front, pages)
                                                : buildSides(format, *front, pages);
        it = built.emplace(key, std::move(out)).first;
    }
    return it->second;
}

} // namespace

const CaseSheet *bookletFrontSheet(const CaseFormat &format)
{
    if (!format.booklet)
        return nullptr;
    for (const CaseSheet &s : format.sheets) {
        if (s.panels.size() != 2)
            continue;
        const CasePanel &a = s.panels[0], &b = s.panels[1];
        const bool roles = (a.role == PanelRole::Cover && b.role == PanelRole::Inside)
            || (a.role == PanelRole::Inside && b.role == PanelRole::Cover);
        const CasePanel &inside = a.role == PanelRole::Inside ? a : b;
        const CasePanel &cover = a.role == PanelRole::Inside ? b : a;
        if (roles && inside.xMm + inside.widthMm == cover.xMm && inside.widthMm == cover.widthMm
            && inside.heightMm == cover.heightMm && inside.yMm == cover.yMm)
            return &s;
    }
    return nullptr;
}

const CaseFormat &bookletCaseFormat(const CaseFormat &format, int pages)
{
    return kept(format, pages, Built::Sides);
}

const CaseFormat &bookletReadingFormat(const CaseFormat &format, int pages)
{
    return kept(format, pages, Built::Reading);
}

bool isBookletBackSide(const CaseFormat &format, int sheet)
{
    // The sides come in pairs, front then back, before the other sheets.
    return format.frontSheets > 1 && sheet >= 0 && sheet < format.frontSheets && sheet % 2 == 1;
}

int bookletSheetOfPage(const CaseFormat &format, int page)
{
    for (int sheet = 0; sheet < format.sheets.size(); ++sheet)
        for (const CasePanel &p : format.sheets[sheet].panels)
            if (p.page == page)
                return sheet;
    return -1;
}

const CaseFormat &bookletSpreadFormat(const CaseFormat &format, int pages)
{
    return kept(format, pages, Built::Spreads);
}

QString bookletSpreadId(int first, int last)
{
    return first == last ? QStringLiteral("pages-%1").arg(first)
                         : QStringLiteral("pages-%1-%2").arg(first).arg(last);
}

QString bookletSideId(int sheet, bool back)
{
    QString id = sheet <= 1 ? QStringLiteral("front") : QStringLiteral("front-%1").arg(sheet);
    if (back)
        id += QStringLiteral("-reverse");
    return id;
}

QString bookletPageId(int page)
{
    return QStringLiteral("page-%1").arg(page);
}

} // namespace cw

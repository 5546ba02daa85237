#include "tracklist/ListLayoutRules.h"

#include "base/CaseFormat.h"
#include "base/Surface.h"
#include "base/UiText.h"

namespace cw {

namespace {
// The jewel case's panel that holds list layout `surface`.
const CasePanel &listPanel(int surface)
{
    return *jewelCaseFormat().listPanel(surface == kListSurfaceBottom ? 1 : 0);
}
} // namespace

// The disc face's list stands on its 120 mm design square; the ring it is
// printed in clips whatever reaches past the disc's edge or into its hole.
int listPrintableWidth(int surface)
{
    if (surface == kListSurfaceDisc)
        return int(kDiscDesignMm) - 2;
    return listPanel(surface).listWidthMm;
}

int listPrintableHeight(int surface)
{
    if (surface == kListSurfaceDisc)
        return int(kDiscDesignMm) - 2;
    return listPanel(surface).listHeightMm;
}

double listLabelWidthMm(int surface)
{
    if (surface == kListSurfaceDisc)
        return kDiscDesignMm;
    return listPanel(surface).widthMm;
}

double listLabelHeightMm(int surface)
{
    if (surface == kListSurfaceDisc)
        return kDiscDesignMm;
    return listPanel(surface).heightMm;
}

void resetListLayout(ListLayout &layout, int surface)
{
    // The disc's list is new in every way: a new document has none of it.
    if (surface == kListSurfaceDisc) {
        layout = defaultListLayout(kListSurfaceDisc);
        return;
    }
    const int lineSpacing = layout.lineSpacing;
    layout = defaultListLayout(surface == kListSurfaceBottom ? 1 : 0);
    layout.lineSpacing = lineSpacing;
}

ListColumnUse listColumnUse(int columnCount)
{
    ListColumnUse u;
    if (columnCount < 1 || columnCount > 3)
        return u;
    u.width2 = true;
    u.width1 = u.space1 = columnCount >= 2;
    u.width3 = u.space2 = columnCount == 3;
    return u;
}

namespace {
// Sums in 64 bits: values from files are not range-checked.
long long freeRoom(const ListLayout &v, const ListColumnUse &u, int printableWidth)
{
    long long used = v.posX;
    if (u.width1)
        used += v.width1;
    if (u.space1)
        used += v.space1;
    if (u.width2)
        used += v.width2;
    if (u.space2)
        used += v.space2;
    if (u.width3)
        used += v.width3;
    return printableWidth - used;
}

int clampInt(long long v)
{
    if (v > 0x7fffffffLL)
        return 0x7fffffff;
    if (v < -0x7fffffffLL - 1)
        return int(-0x7fffffffLL - 1);
    return int(v);
}
} // namespace

ListColumnStarts listColumnStarts(const ListLayout &l, int columnCount)
{
    ListColumnStarts s;
    const long long c1 = l.posX;
    const long long c2 = c1 + l.width1 + l.space1;
    const long long c3 = c2 + l.width2 + l.space2;
    switch (columnCount) {
    case 1:
        s.column2 = l.posX;
        break;
    case 2:
        s.column1 = l.posX;
        s.column2 = clampInt(c2);
        break;
    case 3:
        s.column1 = l.posX;
        s.column2 = clampInt(c2);
        s.column3 = clampInt(c3);
        break;
    default:
        break;
    }
    return s;
}

ListMaxima computeListMaxima(
    ListLayout &values, int columnCount, int printableWidth, int printableHeight)
{
    ListMaxima m;
    m.counts = listColumnUse(columnCount);
    m.posY = printableHeight;
    long long free = freeRoom(values, m.counts, printableWidth);
    if (free < 0 && columnCount == 2) {
        values.width1 = 0;
        values.space1 = 0;
        free = freeRoom(values, m.counts, printableWidth);
    } else if (free < 0 && columnCount == 3) {
        values.width1 = 0;
        values.width3 = 0;
        values.space1 = 0;
        values.space2 = 0;
        free = freeRoom(values, m.counts, printableWidth);
    }
    m.free = clampInt(free);
    m.posX = clampInt(values.posX + free);
    m.width1 = clampInt(values.width1 + free);
    m.width2 = clampInt(values.width2 + free);
    m.width3 = clampInt(values.width3 + free);
    m.space1 = clampInt(values.space1 + free);
    m.space2 = clampInt(values.space2 + free);
    return m;
}

QString formatMaximum(int value)
{
    return UiText::tr("(最大 %1)").arg(QString::asprintf("%03d", value));
}

QString formatListMm(int value)
{
    return QString::asprintf("%03dmm", value);
}

ListInfo computeListInfo(const ListLayout &values, int columnCount, int surface)
{
    ListInfo info;
    const ListColumnStarts s = listColumnStarts(values, columnCount);
    info.printableWidth = formatListMm(listPrintableWidth(surface));
    info.printableHeight = formatListMm(listPrintableHeight(surface));
    info.column1 = formatListMm(s.column1);
    info.column2 = formatListMm(s.column2);
    info.column3 = formatListMm(s.column3);
    return info;
}

} // namespace cw

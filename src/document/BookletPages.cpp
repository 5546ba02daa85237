#include "document/BookletPages.h"

#include "tracklist/ListLayoutRules.h"

namespace cw {

int pageListSurface(int page)
{
    return kListSurfacePageBase + page - 2;
}

int pageOfListSurface(int surface)
{
    return surface >= kListSurfacePageBase ? surface - kListSurfacePageBase + 2 : 0;
}

ListLayout *listLayoutOf(LabelDocument &doc, int surface)
{
    if (const int page = pageOfListSurface(surface))
        return page - 2 < doc.pages.size() ? &doc.pages[page - 2].listLayout : nullptr;
    if (surface < 0 || surface >= kListSurfaceCount)
        return nullptr;
    return &doc.listLayout[size_t(surface)];
}

const ListLayout *listLayoutOf(const LabelDocument &doc, int surface)
{
    return listLayoutOf(const_cast<LabelDocument &>(doc), surface);
}

ControlStates pageControlStates(const LabelDocument &doc, int page)
{
    const BookletPage *shown
        = page >= 2 && page - 2 < doc.pages.size() ? &doc.pages[page - 2] : nullptr;
    return {
        { QStringLiteral("PageChoice"), shown != nullptr },
        { QStringLiteral("PageBGColor"), shown != nullptr },
        { QStringLiteral("UsePageList"), shown != nullptr },
        { QStringLiteral("UsePagePrints"), shown != nullptr },
        { QStringLiteral("PageListEdit"), shown && shown->useList },
        { QStringLiteral("PagePrintsEdit"), shown && shown->usePrints },
    };
}

QMap<QString, QString> pageControlValues(const LabelDocument &doc, int page)
{
    const BookletPage shown
        = page >= 2 && page - 2 < doc.pages.size() ? doc.pages[page - 2] : BookletPage();
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return { { QStringLiteral("UsePageList"), flag(shown.useList) },
        { QStringLiteral("UsePagePrints"), flag(shown.usePrints) } };
}

} // namespace cw

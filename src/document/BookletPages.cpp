#include "document/BookletPages.h"

#include <algorithm>

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

int pictureOwner(PictureSlot slot)
{
    return slot.isPage() ? kPagePictureOwnerBase + slot.page : int(slot.surface);
}

PictureSlot pictureSlotOfOwner(int owner)
{
    if (owner > kPagePictureOwnerBase)
        return PictureSlot::ofPage(owner - kPagePictureOwnerBase);
    return PictureSlot(Surface(std::clamp(owner, 0, int(Surface::Disc))));
}

ControlStates pageControlStates(const LabelDocument &doc, int page)
{
    const BookletPage *shown
        = page >= 2 && page - 2 < doc.pages.size() ? &doc.pages.at(page - 2) : nullptr;
    ControlStates states {
        { QStringLiteral("PageChoice"), shown != nullptr },
        { QStringLiteral("PageBGColor"), shown != nullptr },
        { QStringLiteral("UsePageList"), shown != nullptr },
        { QStringLiteral("UsePagePrints"), shown != nullptr },
        { QStringLiteral("PageListEdit"), shown && shown->useList },
        { QStringLiteral("PagePrintsEdit"), shown && shown->usePrints },
        { QStringLiteral("PageGraphicUse"), shown != nullptr },
    };
    // The picture's controls follow its "画像", as on a surface's tab.
    setPicturePanelStates(states, QStringLiteral("Page"), shown && shown->picture.use);
    return states;
}

QMap<QString, QString> pageControlValues(const LabelDocument &doc, int page)
{
    const BookletPage shown
        = page >= 2 && page - 2 < doc.pages.size() ? doc.pages[page - 2] : BookletPage();
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    QMap<QString, QString> values { { QStringLiteral("UsePageList"), flag(shown.useList) },
        { QStringLiteral("UsePagePrints"), flag(shown.usePrints) } };
    insertPictureValues(values, QStringLiteral("Page"), shown.picture);
    return values;
}

} // namespace cw

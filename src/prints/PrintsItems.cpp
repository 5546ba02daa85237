#include "prints/PrintsItems.h"

namespace cw {

PrintsList pagePrintsList(int page)
{
    return PrintsList(kPrintsListCount + page - 2);
}

int pageOfPrintsList(PrintsList which)
{
    const int n = int(which);
    return n >= kPrintsListCount && n < kMaxPrintsLists ? n - kPrintsListCount + 2 : 0;
}

bool hasPrintsList(const LabelDocument &doc, PrintsList which)
{
    const int page = pageOfPrintsList(which);
    if (page == 0)
        return int(which) >= 0 && int(which) < kPrintsListCount;
    return page - 2 < doc.pages.size();
}

QList<TPrintsData> &printsList(LabelDocument &doc, PrintsList which)
{
    if (const int page = pageOfPrintsList(which)) {
        if (page - 2 < doc.pages.size())
            return doc.pages[page - 2].prints;
        static QList<TPrintsData> none;
        none.clear();
        return none;
    }
    switch (which) {
    case PrintsList::Cover:
        return doc.coverPrints;
    case PrintsList::Inside:
        return doc.insidePrints;
    case PrintsList::Back:
        return doc.backPrints;
    case PrintsList::Disc:
        return doc.discPrints;
    }
    return doc.coverPrints;
}

const QList<TPrintsData> &printsList(const LabelDocument &doc, PrintsList which)
{
    return printsList(const_cast<LabelDocument &>(doc), which);
}

TPrintsData newPrintsItem(bool pictureItem, const FontSpec &textFont)
{
    return newPrintsItem(pictureItem ? PrintsPicture : PrintsText, textFont);
}

TPrintsData newPrintsItem(PrintsKind kind, const FontSpec &textFont)
{
    TPrintsData item;
    item.kind = kind;
    item.font = textFont;
    return item;
}

void appendPrintsItem(QList<TPrintsData> &list, TPrintsData item)
{
    list.append(std::move(item));
}

int insertPrintsItem(QList<TPrintsData> &list, int index, TPrintsData item)
{
    if (index < 0)
        index = 0;
    if (index > list.size())
        index = int(list.size());
    list.insert(index, std::move(item));
    return index;
}

bool deletePrintsItem(QList<TPrintsData> &list, int index)
{
    if (index < 0 || index >= list.size())
        return false;
    list.removeAt(index);
    return true;
}

bool movePrintsItemUp(QList<TPrintsData> &list, int index)
{
    if (index <= 0 || index >= list.size())
        return false;
    list.swapItemsAt(index, index - 1);
    return true;
}

bool movePrintsItemDown(QList<TPrintsData> &list, int index)
{
    if (index < 0 || index + 1 >= list.size())
        return false;
    list.swapItemsAt(index, index + 1);
    return true;
}

void clearAllPrints(LabelDocument &doc)
{
    doc.coverPrints.clear();
    doc.insidePrints.clear();
    doc.backPrints.clear();
    doc.discPrints.clear();
}

} // namespace cw

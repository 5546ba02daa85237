#include "prints/PrintsItems.h"

namespace cw {

QList<TPrintsData> &printsList(LabelDocument &doc, PrintsList which)
{
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

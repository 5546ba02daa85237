#pragma once

#include <QList>
#include <QString>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"
#include "document/TPrintsData.h"

namespace cw {

// The document's lists of free-print items (the case's three and the disc
// face's) and the operations on them. The first item of a list is printed
// on top of the others.
enum class PrintsList { Cover = 0, Inside = 1, Back = 2, Disc = 3 };
constexpr int kPrintsListCount = 4;
// A booklet's inner pages have a list each, numbered after those four: page
// 2's is kPrintsListCount, page 15's (the last inner page of 16) the last.
constexpr int kMaxPrintsLists = kPrintsListCount + 14;
PrintsList pagePrintsList(int page);
// The inner page a list belongs to; 0 for the case's and the disc's lists.
int pageOfPrintsList(PrintsList which);
// Whether the document has the list: a page list only while the booklet
// has its page.
bool hasPrintsList(const LabelDocument &doc, PrintsList which);

// A page list the booklet lacks is an empty list of nobody's, which is
// emptied again whenever it is asked for.
QList<TPrintsData> &printsList(LabelDocument &doc, PrintsList which);
const QList<TPrintsData> &printsList(const LabelDocument &doc, PrintsList which);

// A new item: a picture item when the editor shows its picture tab, else a
// text item in the editor's default text font; everything else zero/empty.
TPrintsData newPrintsItem(bool pictureItem, const FontSpec &textFont = defaultFont());
// A new item of any kind; a text block gets the default box, alignment and
// spacing of TPrintsData.
TPrintsData newPrintsItem(PrintsKind kind, const FontSpec &textFont = defaultFont());

void appendPrintsItem(QList<TPrintsData> &list, TPrintsData item);
// Inserts before `index`; an index past the end appends. Returns the index
// the item now has.
int insertPrintsItem(QList<TPrintsData> &list, int index, TPrintsData item);
// Destroys the item and its picture. False for an index outside the list.
bool deletePrintsItem(QList<TPrintsData> &list, int index);
// Moves the item one place towards the top (index - 1) or the bottom
// (index + 1). False when it is already first / last or the index is outside.
bool movePrintsItemUp(QList<TPrintsData> &list, int index);
bool movePrintsItemDown(QList<TPrintsData> &list, int index);
// Destroys every item of every list (before a document is read).
void clearAllPrints(LabelDocument &doc);

} // namespace cw

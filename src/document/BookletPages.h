#pragma once

#include "document/DocumentControls.h"
#include "document/LabelDocument.h"

namespace cw {

// A booklet's inner pages in the windows that edit a surface's track list:
// each page's list layout has a list surface of its own, numbered after the
// front's, the back's and the disc's (page 2's is 3). Its printable area is
// the front's, the size of a face.
constexpr int kListSurfacePageBase = 3;
int pageListSurface(int page);
// The inner page a list surface stands for; 0 for the front, back and disc.
int pageOfListSurface(int surface);
// The layout of a list surface: the document's front, back or disc layout,
// or an inner page's; null for a page the booklet lacks.
ListLayout *listLayoutOf(LabelDocument &doc, int surface);
const ListLayout *listLayoutOf(const LabelDocument &doc, int surface);

// A page's picture in the parts a drawing records: picture parts of the
// surfaces carry the surface's number, an inner page's picture its page
// after this base (page 2's is 102).
constexpr int kPagePictureOwnerBase = 100;
int pictureOwner(PictureSlot slot);
PictureSlot pictureSlotOfOwner(int owner);

// The enabled state of the "ページ" tab's controls while inner page `page`
// is shown: the page list and the background colour with any inner page,
// each editor button while its switch is on, the picture panel ("Page"
// controls) as a surface's follows its "画像"; everything off without a page.
ControlStates pageControlStates(const LabelDocument &doc, int page);
// What its two switches show for inner page `page` ("UsePageList",
// "UsePagePrints": "1" or "0"; both "0" without the page), and its picture
// panel ("Page" controls, as controlValues() gives a surface's).
QMap<QString, QString> pageControlValues(const LabelDocument &doc, int page);

} // namespace cw

#pragma once

#include <QList>
#include <QString>

#include "canvas/PartBoxCanvas.h"
#include "document/DocumentEditor.h"

namespace cw {

class PrintsEditor;

// Moving the things of a page by pointing at them in the preview. The
// values go through the same change operations as the fields that hold
// them, so linking and enabling rules run as when the numbers are typed.

// The unit of a thing's position fields.
enum class PartUnit { Millimetre, DevicePixel };
PartUnit partUnit(const PagePart &part);

// Whether the thing moves along a line only (a spine title: its offset).
bool movesAlongOnly(const PagePart &part);

// A thing's position in its fields' units. A spine title keeps its offset in
// `y` (its `x` is unused).
struct PartPosition
{
    int x = 0, y = 0;
    bool operator==(const PartPosition &) const = default;
};

// What the thing is, as its accessible name and the step's name say it:
// "タイトル(表レーベル)", "画像(裏レーベル)", "リスト(表レーベル(裏))",
// "任意印刷(前面): <text or file name>".
QString partName(const LabelDocument &doc, const PagePart &part);

// Where the thing stands now, in its fields' units. A title not yet at a
// position of its own starts where it printed (`box`, on a canvas of
// canvasDpiX x canvasDpiY), so that it does not jump when it is first moved.
PartPosition partPosition(
    const LabelDocument &doc, const PartBox &box, int canvasDpiX, int canvasDpiY);

// The position after a drag of `delta` canvas pixels from `start`: whole
// millimetres or device pixels of the document's resolution, rounded to the
// nearest. A spine title reading upward takes a downward drag as a smaller
// offset.
PartPosition draggedPosition(const LabelDocument &doc, const PartBox &box, PartPosition start,
    QPoint delta, int canvasDpiX, int canvasDpiY);

// The position after `dx`, `dy` units on the page (an arrow key: right and
// down are positive).
PartPosition steppedPosition(const PartBox &box, PartPosition start, int dx, int dy);

// The tip shown while a thing is moved: "横 12mm 縦 30mm", "横 120px 縦 40px",
// "印刷位置オフセット 30mm".
QString positionTip(const PagePart &part, PartPosition pos);

// What the change operations need.
struct PartEditors
{
    DocumentEditor &document;
    PrintsEditor &prints;
};

// Stores the position through the change operations of the thing's fields:
// a title becomes "任意" with both "横" and "縦" (0..999 mm), a spine title
// "任意" with its offset (0..115 mm, more on a longer spine), a surface
// picture "カスタム" with its "印刷位置" in device pixels, a list block its
// layout's position within the layout's maxima, a free-print item its
// position. One step named "移動(<thing>)" (inside a step already open it
// belongs to that one).
// Returns the pages to refresh.
EditResult placePart(PartEditors editors, const PagePart &part, PartPosition pos);

// The parts of the document a step that moves or sizes the thing watches
// (base/EditSteps.h): free-print items live in their lists.
unsigned partEditParts(const PagePart &part);

// Pictures (surface pictures and picture items) are sized by their handle.
bool resizable(const PagePart &part);
// What a handle sizes: the pictures, and the free-print text blocks.
bool sizedByHandle(const LabelDocument &doc, const PagePart &part);
// The size a handle changes: a picture's print size in device pixels, a text
// block's box in millimetres (partUnit); x the width, y the height.
PartPosition partSize(const LabelDocument &doc, const PagePart &part);
// The corner of a picture's outline whose handle is dragged; the opposite
// corner stays where it is.
enum class SizeCorner { TopLeft, TopRight, BottomLeft, BottomRight };
// The size after a drag of the handle at `corner` by `delta` canvas pixels,
// at least 1: a left handle widens the picture as it moves left, a top one
// heightens it as it moves up. In millimetres (a text block) the drag counts
// whole millimetres, and the size stays within a block's 1..999.
PartPosition draggedSize(const LabelDocument &doc, PartPosition start, QPoint delta,
    int canvasDpiX, int canvasDpiY, SizeCorner corner = SizeCorner::BottomRight,
    PartUnit unit = PartUnit::DevicePixel);
// Where a picture sized from `corner` stands so that the opposite corner
// stays put: from `startPos` at `startSize` to `size` (device pixels).
PartPosition sizedPosition(
    PartPosition startPos, PartPosition startSize, PartPosition size, SizeCorner corner);
// "幅 400px 高さ 300px"; in millimetres "幅 80mm 高さ 100mm".
QString sizeTip(PartPosition size, PartUnit unit = PartUnit::DevicePixel);
// Stores a picture's print size through the operations of its "画像ｻｲｽﾞ"
// fields: the width first, and the height unless the width's aspect lock
// ("縦横比固定"; for picture items `itemKeepAspect`, the free-print editor's
// tick) made it follow. A text block's box takes "幅" and "高さ". One step
// named "サイズ変更(<thing>)".
EditResult sizePart(
    PartEditors editors, const PagePart &part, PartPosition size, bool itemKeepAspect);

// The things of a page in reading order (top to bottom, then left to right
// by their boxes' top-left corners); indexes into `boxes`.
QList<int> readingOrder(const QList<PartBox> &boxes);

} // namespace cw

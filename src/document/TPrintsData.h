#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "base/UserPrompts.h"
#include "fonts/Font.h"
#include "pictures/PictureReduction.h"
#include "pictures/RenderCache.h"

namespace cw {

// Where a text of the disc face stands: along the top of the disc (centred
// at 12 o'clock, reading clockwise, feet toward the centre), along its
// bottom (centred at 6 o'clock, reading anticlockwise, feet toward the rim),
// or straight at a position as a label's title. The file stores the number.
enum class DiscTextPlace { TopArc = 0, BottomArc = 1, Custom = 2 };
// An arc text's circle: the radius of its baseline in tenths of a
// millimetre (0: the default, the ring's outer radius less 4 mm less the
// text's height) and its centre's angle in tenths of a degree, clockwise
// from the top (or the bottom) of the disc.
constexpr int kDiscRadiusMaxTenths = 600;
constexpr int kDiscAngleLimitTenths = 1800; // -180.0 .. 180.0 degrees
struct ArcPlacement
{
    DiscTextPlace place = DiscTextPlace::TopArc;
    int radiusTenths = 0;
    int angleTenths = 0;
    bool operator==(const ArcPlacement &) const = default;
};
// The arc with its radius brought into 0 .. kDiscRadiusMaxTenths and its
// angle into -180.0 .. 180.0 degrees, the way round the circle it points.
ArcPlacement keptArc(ArcPlacement arc);

// The kinds of free-print item; the file stores the number.
enum PrintsKind : int { PrintsText = 0, PrintsPicture = 1, PrintsTextBlock = 2 };

// One free-print item: a line of text, a picture, or a block of many lines
// on a face.
struct TPrintsData
{
    int kind = PrintsText;
    QString text; // a text block's lines, '\n' between them
    // A text block: its box, from (textX, textY), in whole millimetres, the
    // alignment of its lines in the box (0 left, 1 centre, 2 right), and the
    // distance from one line's top to the next in percent of the font's
    // line height (ascent + descent).
    int blockWidth = 100;
    int blockHeight = 100;
    int blockAlign = 0;
    int lineSpacing = 120;
    int textX = 0; // mm
    int textY = 0; // mm
    int angle = 0; // degrees, counter-clockwise
    // A text item on the disc face may stand along an arc as the disc's
    // texts do; "任意" (the default) is straight at (textX, textY).
    ArcPlacement arc { DiscTextPlace::Custom, 0, 0 };
    FontSpec font = defaultFont();
    QString fileName;
    int posX = 0; // device pixels of the reference resolution
    int posY = 0;
    int printWidth = 0;
    int printHeight = 0;
    int pixelWidth = 0; // picture pixels
    int pixelHeight = 0;
    bool transparent = false;
    ColorRef transColor = 0;
    QImage bitmap; // decoded picture; may hold only cacheRect of it
    int bitmapReduction = 1; // bitmap's pixels are the file's reduced by this
    ReductionKind bitmapKind = ReductionKind::Average; // and in this way
    PixelRect cacheRect;
    StretchedPicture stretched;
    BleedPart bleed; // the pixels a bleed shows beyond the trim
};

// Loads a picture into an item: fileName := path, then the picture. On
// success the item takes the picture's size as its printed size, at (0, 0),
// with the whole picture cached. On failure the path stays in fileName, the
// other fields stay as they were, and the loader's message was shown.
// With a valid `wanted` size (reference pixels the picture is printed at)
// the picture is held at the reduction that size allows (see
// LoadPictureFile), sampled for an item with a transparent colour so that
// its colours stay exact; the sizes stay the file's own.
bool loadPrintsPicture(TPrintsData &item, const QString &fileName, MessageSink &messages,
    QSize wanted = QSize());

} // namespace cw

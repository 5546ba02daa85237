#pragma once

#include <QList>

#include "canvas/LabelCanvas.h"
#include "tracklist/TListData.h"

namespace cw {

// Draws the track list on a canvas. faceLeft/faceTop are the device pixels of
// the label's top-left corner; sx and sy are device pixels per millimetre.
// The rules are drawn with the canvas's current pen; the brush is left clear.
void DrawTrackList(LabelCanvas &canvas, const QList<TListData> &rows, const ListLayout &layout,
    int printableHeight, int faceLeft, int faceTop, double sx, double sy);

// The small drawing of the layout window: the label's frame centred on an
// image of imageWidth x imageHeight pixels at 48 pixels per inch, and a
// dotted outline of every column in use (on the disc's square, with the ring
// of the first label sheet in gray). The image is first cleared to white.
void DrawListLayoutPreview(LabelCanvas &canvas, const ListLayout &layout, int columnCount,
    int surface, int imageWidth, int imageHeight);

// Pixels per millimetre of the layout preview.
constexpr double kListPreviewScale = 48.0 / 25.399;

} // namespace cw

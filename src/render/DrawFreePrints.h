#pragma once

#include <functional>

#include <QList>

#include "document/TPrintsData.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"
#include "render/PictureBleed.h"

namespace cw {

class LabelCanvas;

// The face a free-print list is drawn on: its left and right edge on the
// page, the page block's top and bottom, and its size in reference pixels.
struct FreePrintFace
{
    int left = 0, right = 0; // target pixels
    int top = 0, bottom = 0; // the page block's T and B
    int widthRef = 0, heightRef = 0; // reference pixels
    // Which free-print list: 0 cover, 1 inside, 2 back, 3 disc; -1 for a
    // booklet page's, whose items are drawn without being parts of the page.
    int list = 0;
    // With a bleed, the face's: a picture item reaching an outer trim edge
    // continues past it as a surface picture does.
    const SurfaceBleed *bleed = nullptr;
    // Draws an item some other way (the disc's texts along an arc) and says
    // so; the item keeps its place among the others. Null: none.
    std::function<bool(int index, TPrintsData &item)> drawApart;
};

// Draws one free-print list onto one face, last item first, so that the first
// item of the list ends up on top. Each item is a part of the page
// (LabelCanvas::BeginPart) measured from the face's top-left corner. Texts are clipped to the face; pictures to
// the face's size in reference pixels.
void DrawFreePrints(LabelCanvas &canvas, QList<TPrintsData> &items, const FreePrintFace &face,
    const PageScale &page, const PictureScale &scale, PictureFileReader &reader);

} // namespace cw

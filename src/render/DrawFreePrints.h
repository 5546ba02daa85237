#pragma once

#include <QList>

#include "document/TPrintsData.h"
#include "render/DrawSurfacePicture.h"
#include "render/Geometry.h"

namespace cw {

class LabelCanvas;

// The face a free-print list is drawn on: its left and right edge on the
// page, the page block's top and bottom, and its size in reference pixels.
struct FreePrintFace
{
    int left = 0, right = 0; // target pixels
    int top = 0, bottom = 0; // the page block's T and B
    int widthRef = 0, heightRef = 0; // reference pixels
};

// Draws one free-print list onto one face, last item first, so that the first
// item of the list ends up on top. Texts are clipped to the face; pictures to
// the face's size in reference pixels.
void DrawFreePrints(LabelCanvas &canvas, QList<TPrintsData> &items, const FreePrintFace &face,
    const PageScale &page, const PictureScale &scale, PictureFileReader &reader);

} // namespace cw

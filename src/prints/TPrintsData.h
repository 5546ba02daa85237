#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "fonts/FontSpec.h"

// Left, top, right, bottom in picture pixels (right and bottom exclusive).
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PixelRect &) const = default;
};

// A picture's render-cache bitmap stretched to the size a canvas draws it at,
// kept beside the render cache so that redrawing the same part at the same
// size does not stretch it again. `sourceKey` is the cacheKey() of the bitmap
// it was made from: a reloaded or recropped bitmap never matches.
struct StretchedPicture
{
    QImage image;
    qint64 sourceKey = 0;
};

// One free-print item: a line of text or a picture on a face.
struct TPrintsData
{
    int kind = 0; // 0 text, 1 picture
    QString text;
    int textX = 0; // mm
    int textY = 0; // mm
    int angle = 0; // degrees, counter-clockwise
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
    PixelRect cacheRect;
    StretchedPicture stretched;
};

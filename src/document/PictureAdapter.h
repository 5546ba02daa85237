#pragma once

#include <QString>

#include "document/LabelDocument.h"
#include "document/UserPrompts.h"

// The placement arithmetic the document editor and reader need from the
// picture code, in one place.

// Loads `path` into the placement and places it to cover a surface of
// surfaceWidth x surfaceHeight reference pixels, centred. The file name is
// stored even when loading fails (the loader has then told the user and
// nothing else changes). True when the picture was loaded.
bool loadAndPlacePicture(PicturePlacement &p, const QString &path, int surfaceWidth,
    int surfaceHeight, MessageSink &messages);
// What a linked follower receives from its leader: file name, picture,
// source rectangle, pixel size, print size and position.
void copyPicturePlacement(const PicturePlacement &leader, PicturePlacement &follower);
// A typed print width / height: with keepAspect the other side follows the
// picture's aspect ratio; sizeMode becomes 2.
void setPrintWidth(PicturePlacement &p, int width);
void setPrintHeight(PicturePlacement &p, int height);
// Fit to the surface's width (mode 0) or height (mode 1), keeping the aspect.
void fitPictureSize(PicturePlacement &p, int mode, int surfaceWidth, int surfaceHeight);
// Align one coordinate (modes 0..5).
void alignPicture(PicturePlacement &p, int mode, int surfaceWidth, int surfaceHeight);

// Loads the picture of a free-print item: fileName := path; on success the
// pixel size, print size (= pixel size), cache rectangle and a zero position.
bool loadPrintItemPicture(TPrintsData &item, const QString &path, MessageSink &messages);

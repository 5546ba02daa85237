#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "canvas/LabelCanvas.h"
#include "document/LabelDocument.h"

namespace cw {

class MessageSink;

// Where the renderers get picture pixels from when a render cache misses.
// The file reader is one object so that callers (and tests) can count reads,
// route the reader's messages, or stand in for a failing resource.
class PictureFileReader
{
public:
    virtual ~PictureFileReader() = default;
    // Decodes the whole picture file into `bitmap`. False: the file could not
    // be read (the reader has told the user) and `bitmap` is unchanged.
    virtual bool load(QImage &bitmap, const QString &fileName) = 0;
    // A new bitmap of the rectangle's size holding that part of `source`; a
    // null image when the memory for it cannot be had.
    virtual QImage copyRegion(const QImage &source, const QRect &rect);
    // The slow fallback: replaces `bitmap` by its rectangle, working in small
    // strips. False when that fails too.
    virtual bool crop(QImage &bitmap, const PixelRect &rect);
};

// Reads picture files with the program's picture loader; its messages go to
// `messages`.
class FilePictureReader : public PictureFileReader
{
public:
    explicit FilePictureReader(MessageSink &messages)
        : m_messages(messages)
    { }
    bool load(QImage &bitmap, const QString &fileName) override;
    bool crop(QImage &bitmap, const PixelRect &rect) override;

private:
    MessageSink &m_messages;
};

// The reader the renderers use when the caller names none: the program's
// loader, with its messages dropped.
PictureFileReader &defaultPictureFileReader();

// One picture as the renderer sees it: its placement in reference pixels,
// its own size, and the render cache (bitmap + the part of the picture it
// holds), which drawing updates.
struct PictureRef
{
    int posX = 0, posY = 0;
    int printWidth = 0, printHeight = 0;
    int pixelWidth = 0, pixelHeight = 0;
    const QString *fileName = nullptr;
    QImage *bitmap = nullptr;
    PixelRect *cacheRect = nullptr;
    StretchedPicture *stretched = nullptr; // may be null: stretched on every draw
    bool transparent = false;
    ColorRef transColor = 0;

    static PictureRef of(PicturePlacement &p);
    static PictureRef of(TPrintsData &item);
};

// The resolutions a picture is drawn between: the document's reference
// resolution (the one its pixel values refer to) and the canvas's.
struct PictureScale
{
    int dpiX = 300, dpiY = 300;
    int targetDpiX = 300, targetDpiY = 300;
};

// What DrawSurfacePicture works out before drawing; exposed for tests and for
// callers that want to know where a picture lands.
struct PictureWindow
{
    bool empty = true; // nothing of the picture is drawn
    PixelRect source; // picture pixels
    QRect destination; // target pixels, relative to the surface origin
};
PictureWindow computePictureWindow(
    const PictureRef &pic, int surfaceWidth, int surfaceHeight, const PictureScale &scale);

// Draws one picture clipped to its surface at (originX, originY) on the
// canvas. When the visible part of the picture differs from the part the
// cache holds, that part is taken from the bitmap if it still holds the whole
// picture and read from the file otherwise; the cache then keeps only that
// visible part. On a canvas that paints pictures at a size of its own
// (see LabelCanvas::stretchedPictureSize) the visible part is stretched to
// that size once and kept in the picture's stretched cache while the part
// and the size stay the same.
void DrawSurfacePicture(LabelCanvas &canvas, PictureRef pic, int surfaceWidth, int surfaceHeight,
    const PictureScale &scale, int originX, int originY, PictureFileReader &reader);

} // namespace cw

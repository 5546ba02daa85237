#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <array>

#include "base/Printer.h"
#include "base/Surface.h"
#include "document/TPrintsData.h"
#include "fonts/FontSpec.h"
#include "pictures/RenderCache.h"
#include "tracklist/TListData.h"

struct TitleSettings
{
    bool use = false;
    QString text;
    int posMode = 1; // 0 top, 1 centre, 2 bottom, 3 custom
    bool customXUse = false; // Top, Bottom
    int customX = 0;
    bool customYUse = false;
    int customY = 0;
    int offset = 0; // Left, Right: mm along the spine, 0..115
    FontSpec font = defaultFont();
};

struct PicturePlacement
{
    bool use = false;
    QString fileName;
    QImage bitmap; // decoded picture, or the part of it in sourceRect
    int pixelWidth = 0;
    int pixelHeight = 0;
    PixelRect sourceRect;
    StretchedPicture stretched; // sourceRect's part at the size last drawn
    int printWidth = 0; // reference pixels
    int printHeight = 0;
    int posX = 0;
    int posY = 0;
    int sizeMode = 2; // 0 fit width, 1 fit height, 2 custom
    int alignMode = 6; // 0 left .. 5 bottom, 6 custom
    bool keepAspect = true;
};

struct SurfaceSettings
{
    TitleSettings title;
    PicturePlacement picture;
    ColorRef backgroundColor1 = kWhite;
    ColorRef backgroundColor2 = kWhite; // Top only: the inside face
    bool useList = false; // Top, Bottom
    bool useCoverPrints = false; // Top
    bool useInsidePrints = false; // Top
    bool usePrints = false; // Bottom
    bool titleSameAsFront = false; // Bottom, Left, Right
    bool titleSameAsLeft = false; // Right
    bool pictureSameAsFront = false; // Bottom
    bool pictureSameAsLeft = false; // Right
};

// Everything that describes one jewel case.
struct LabelDocument
{
    QString fileName;
    std::array<ListLayout, 2> listLayout = { defaultListLayout(0), defaultListLayout(1) };
    int dpiX = 300;
    int dpiY = 300;
    SurfacePixels surfacePixels; // not stored; follows dpiX/dpiY
    SurfaceSettings top;
    SurfaceSettings bottom;
    SurfaceSettings left;
    SurfaceSettings right;
    QList<TListData> listRows;
    QList<TPrintsData> coverPrints;
    QList<TPrintsData> insidePrints;
    QList<TPrintsData> backPrints;
    // Picture names as the file that was read stored them, keyed by the path
    // the picture was found at (a name relative to the document, or a folder
    // that does not exist here). Saving writes the stored name back, so that
    // opening and saving a document does not rewrite its picture lines.
    QHash<QString, QString> pictureNamesAsStored;

    LabelDocument();

    SurfaceSettings &surface(Surface s);
    const SurfaceSettings &surface(Surface s) const;

    // Converts every device-pixel value (pictures and free-print items) from
    // one reference resolution to another: value * new / old, truncated.
    void rescaleDeviceValues(int oldDpiX, int oldDpiY, int newDpiX, int newDpiY);
};

// value * newDpi / oldDpi with multiplication first and truncation toward
// zero, computed in 64 bits so that large values cannot overflow; an old
// resolution of 0 leaves the value as it is.
int rescaleValue(int value, int oldDpi, int newDpi);

// Copies the printer's resolution into the document and computes the surface
// sizes. Device-pixel values are not converted.
void ComputeSurfacePixels(LabelDocument &doc, const PrinterState &state = printerState());

// Print switches kept per user, not in the document.
struct PrintOptions
{
    bool printFront = true; // TopLabelPrint
    bool printBack = true; // BottomLabelPrint
    bool boundaryLines = true; // AreaLinePrint
    bool foldLines = true; // CutLinePrint
    bool spinesSameDirection = false; // SideTitleSameTop
};

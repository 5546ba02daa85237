#pragma once

#include "document/LabelDocument.h"
#include "document/UserPrompts.h"

namespace geom {
constexpr double kMmPerInch = 25.399;
// 1 / 25.399, held as one constant: scale factors multiply by it.
constexpr double kInchPerMm = 1.0 / 25.399;

constexpr double kFaceWidthMm = 121.0;
constexpr double kFaceHeightMm = 119.5;
constexpr double kBackWidthMm = 138.0;
constexpr double kBackHeightMm = 117.5;
constexpr double kSpineWidthMm = 6.0;
constexpr double kSpineHeightMm = 117.5;
constexpr double kBackStripWidthMm = 150.0;
constexpr double kFrameLineMm = 0.2;
constexpr int kFallbackDpi = 300;
constexpr double kPreviewPageWidthMm = 277.0;
constexpr double kPreviewPageHeightMm = 160.0;
} // namespace geom

// Pixels per millimetre and frame line widths for a target resolution.
struct PageScale
{
    double kx = 0, ky = 0;
    double lineX = 1, lineY = 1;
};
PageScale pageScale(int targetDpiX, int targetDpiY);

// trunc(mm * k)
int mmToPixels(double mm, double k);

struct FrontPageGeometry
{
    int W = 0, H = 0, L = 0, T = 0, R = 0, B = 0;
};
FrontPageGeometry computeFrontPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

struct BackPageGeometry
{
    int H = 0, T = 0, B = 0, L = 0, X1 = 0, X2 = 0, X3 = 0;
};
BackPageGeometry computeBackPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight);

// Surface sizes at a resolution: trunc(dpi * (1/25.399) * mm).
SurfacePixels surfacePixelsAt(int dpiX, int dpiY);

// The printer as the program sees it: its resolution, or a failure.
class PrinterBackend
{
public:
    virtual ~PrinterBackend() = default;
    // Sets the orientation to landscape and reads the logical resolution.
    // False when the printer cannot be reached or set up.
    virtual bool queryResolution(int &dpiX, int &dpiY) = 0;
};

// Process-wide printer state.
struct PrinterState
{
    int printerDpiX = geom::kFallbackDpi;
    int printerDpiY = geom::kFallbackDpi;
    bool printerFailed = false;
};
PrinterState &printerState();

extern const QString kPrinterErrorMessage;

// Reads the printer's resolution into printerState(). The first failure shows
// the fallback message once and sets printerFailed; from then on 300 x 300 is
// stored without asking the printer.
void QueryPrinterResolution(
    PrinterBackend &printer, MessageSink &messages, PrinterState &state = printerState());

// Copies the printer's resolution into the document and computes the surface
// sizes. Device-pixel values are not converted.
void ComputeSurfacePixels(LabelDocument &doc, const PrinterState &state = printerState());

double PixelsToMmX(int px, const PrinterState &state = printerState());
double PixelsToMmY(int px, const PrinterState &state = printerState());
// "%.1fmm"
QString formatMm(double mm);

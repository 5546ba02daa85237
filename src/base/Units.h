#pragma once

#include <QString>

#include "base/Surface.h"

namespace cw {

// Millimetres, inches and pixels. A millimetre is 1/25.399 inch, and every
// conversion of a real value to a pixel coordinate truncates toward zero.
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

// A surface's width and height in millimetres.
double surfaceWidthMm(Surface s);
double surfaceHeightMm(Surface s);

// trunc(mm * k)
int mmToPixels(double mm, double k);

// Surface sizes at a resolution: trunc(dpi * (1/25.399) * mm).
SurfacePixels surfacePixelsAt(int dpiX, int dpiY);

// "%.1fmm"
QString formatMm(double mm);

} // namespace cw

#pragma once

#include <QString>

#include "base/CaseFormat.h"
#include "base/Surface.h"

namespace cw {

// Millimetres, inches and pixels. A millimetre is 1/25.399 inch, and every
// conversion of a real value to a pixel coordinate truncates toward zero.
namespace geom {
constexpr double kMmPerInch = 25.399;
// 1 / 25.399, held as one constant: scale factors multiply by it.
constexpr double kInchPerMm = 1.0 / 25.399;

// The case's sizes are the case format's (base/CaseFormat.h).
constexpr double kFrameLineMm = 0.2;
constexpr int kFallbackDpi = 300;
} // namespace geom

// A surface's width and height in millimetres: its panel's in the format,
// the jewel case's for a surface the format does not print.
double surfaceWidthMm(Surface s, const CaseFormat &format = jewelCaseFormat());
double surfaceHeightMm(Surface s, const CaseFormat &format = jewelCaseFormat());

// trunc(mm * k)
int mmToPixels(double mm, double k);

// Surface sizes at a resolution: trunc(dpi * (1/25.399) * mm).
SurfacePixels surfacePixelsAt(int dpiX, int dpiY, const CaseFormat &format = jewelCaseFormat());

// "%.1fmm"
QString formatMm(double mm);

} // namespace cw

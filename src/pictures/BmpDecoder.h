#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>

#include "pictures/PictureReduction.h"

namespace cw {

// The program's own BMP reader. It reads every variant that picture files
// commonly hold: 1, 2, 4 and 8-bit palettes (short ones too), RLE4, RLE8 and
// RLE24, 16 and 32-bit pixels with any bit-field masks (each channel widened
// to 8 bits by scaling, so a full channel is 255), alpha, the 12-byte and
// 16..64-byte OS/2 headers and the 40, 52, 56, 108 and 124-byte headers,
// and rows stored top-down. The result is an opaque Format_RGB32 picture:
// alpha is flattened onto white, and the pixels an RLE picture leaves
// undefined are opaque black; a 16- or 32-bit picture whose alpha is 0 in
// every pixel is read as opaque (its writer left the channel unused). A file
// cut short keeps what it holds; the missing rows are white.
enum class BmpStatus {
    Ok,
    NotBmp, // not a BMP file, or a variant this reader does not decode
    TooLarge, // more pixels than `maxPixels`
};

// Reads a BMP file from the device's current position. Nothing is allocated
// for the picture before its size is known to be within `maxPixels`, and no
// more of the device is read than the picture can use. With a `wanted` size
// the picture is reduced by pictureReductionFor(its size, wanted) while its
// rows are decoded (in the way `kind` says), so that only the reduced
// picture is ever held.
BmpStatus decodeBmp(QIODevice &device, QImage &image, quint64 maxPixels, QSize wanted = QSize(),
    PictureReduction *reduction = nullptr, ReductionKind kind = ReductionKind::Average);
BmpStatus decodeBmp(const QByteArray &data, QImage &image, quint64 maxPixels,
    QSize wanted = QSize(), PictureReduction *reduction = nullptr,
    ReductionKind kind = ReductionKind::Average);

// A channel of `mask` taken from `pixel`, scaled to 0..255 with rounding
// (a 5-bit 31 is 255, not 248). An empty mask gives 0.
int widenBmpChannel(quint32 pixel, quint32 mask);

} // namespace cw

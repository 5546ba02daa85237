#pragma once

#include <QByteArray>
#include <QImage>
#include <cstddef>

#include "spi.h"

namespace cw {

// What a decoder module hands back, an info block (BITMAPINFO) and a pixel
// block, made into what the program uses.

// The picture of a module's two blocks: the pixel block itself when it holds
// top-down 32-bit rows (the picture then owns it and `pixels` becomes null),
// else the BMP image the blocks describe, decoded by the program's BMP
// decoder straight from the pixel block (the blocks are then freed and become
// null). A null picture when the blocks describe no picture the program
// takes; a block that is not freed here stays the caller's to free.
QImage moduleOutputImage(SpiHandle &info, SpiHandle &pixels);

// Builds a complete BMP image from a decoder module's info block and pixel
// block, each given with its real size; nothing past either size is read.
// False (and `out` untouched) for a block that is too short, a bit count
// other than 1, 4, 8, 16, 24 or 32, a zero or negative width, a zero height,
// or sizes that overflow. Colour tables shorter than the full count are
// completed with zero entries.
bool assembleBmpFromPlugin(
    const void *info, size_t infoBytes, const void *pixels, size_t pixelBytes, QByteArray &out);

} // namespace cw

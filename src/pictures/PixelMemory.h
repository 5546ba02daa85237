#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>

namespace cw {

// Memory for large pictures. A decoded photograph and its stretched copies
// run to hundreds of megabytes, and most of the time of making them goes
// into the page faults of touching fresh memory. Blocks from
// kLargePixelBlock bytes on are mapped on their own, aligned to 2 MB and
// marked for huge pages, so that memory is faulted in 2 MB at a time instead
// of 4 KB; smaller blocks come from the heap.
constexpr size_t kLargePixelBlock = size_t(4) << 20;

// A block of `bytes` bytes (at least 1), zero-filled when `zeroed` is true
// (large blocks always are). Null when the memory cannot be had.
void *allocatePixelBlock(size_t bytes, bool zeroed);
// The largest block asked of allocatePixelBlock in this process since the
// start or the last reset: what the largest picture held cost.
size_t largestPixelBlock();
void resetLargestPixelBlock();
// Frees a block of allocatePixelBlock; `bytes` is the size asked for.
void freePixelBlock(void *block, size_t bytes);

// In the decoder helper, large blocks are shared memory (one memfd each),
// so that a decoded picture goes to the program without a copy. Off by
// default; switched on once, before any block is allocated.
void setSharedPixelBlocks(bool on);
// The memfd behind a large block that starts at `block` (-1 for any other
// address), with the size of its mapping in `mappedBytes`.
int sharedPixelBlockFd(const void *block, size_t *mappedBytes);

// A picture of the given size and format whose pixels live in such a block;
// the pixels are undefined. Null when the memory cannot be had or the size
// is empty or overflows.
QImage newPixelImage(int width, int height, QImage::Format format);

// The part `rect` of `source` (inside it, not empty; a 32-bit picture) as a
// picture that reads the source's own pixels instead of a copy of them. The
// part keeps those pixels alive; writing to it makes it a copy of its own
// first, so the source never changes through it. Null when `rect` is not
// inside `source` or the format is not 32-bit.
QImage sharedImagePart(const QImage &source, const QRect &rect);

} // namespace cw

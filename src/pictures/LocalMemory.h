#pragma once

// The host side of the local-memory functions declared in spi.h.
#include "spi.h"

namespace cw {

// True for a handle that LocalAlloc returned and that was not freed.
bool isLocalHandle(SpiHandle handle);
// Blocks allocated and not yet freed (tests check that none leak).
size_t liveLocalBlocks();

} // namespace cw

// Local-memory blocks for the decoder modules. The executable exports these
// functions; modules allocate the decoded picture with them and the host
// frees it. Every live block is registered, so the host can tell a real
// handle from a stray pointer and knows each block's exact size.
#include "pictures/LocalMemory.h"

#include "pictures/PixelMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace cw {

namespace {

struct Registry
{
    std::mutex mutex;
    std::unordered_map<void *, size_t> blocks; // handle (= data address) -> size
};

Registry &registry()
{
    static Registry *r = new Registry; // lives until exit: modules may free late
    return *r;
}

} // namespace

} // namespace cw

// The functions the decoder modules call, with C linkage outside the
// program's namespace.
extern "C" {

using namespace cw;

SpiHandle LocalAlloc(uint32_t flags, size_t bytes)
{
    // A zero-byte request still gets a distinct block. Decoded pictures are
    // large: they get the mapped blocks of the picture memory.
    void *p = allocatePixelBlock(bytes, (flags & SPI_LMEM_ZEROINIT) != 0);
    if (!p)
        return nullptr;
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.blocks.emplace(p, bytes);
    return p;
}

void *LocalLock(SpiHandle handle)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.blocks.count(handle) ? handle : nullptr;
}

int32_t LocalUnlock(SpiHandle)
{
    return 0;
}

SpiHandle LocalFree(SpiHandle handle)
{
    if (!handle)
        return nullptr;
    Registry &r = registry();
    size_t bytes = 0;
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.blocks.find(handle);
        if (it == r.blocks.end())
            return handle;
        bytes = it->second;
        r.blocks.erase(it);
    }
    freePixelBlock(handle, bytes);
    return nullptr;
}

size_t LocalSize(SpiHandle handle)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.blocks.find(handle);
    return it == r.blocks.end() ? 0 : it->second;
}

} // extern "C"

namespace cw {

bool isLocalHandle(SpiHandle handle)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return handle && r.blocks.count(handle) != 0;
}

size_t liveLocalBlocks()
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.blocks.size();
}

} // namespace cw

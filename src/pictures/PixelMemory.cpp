#include "pictures/PixelMemory.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace cw {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t roundUp(size_t v, size_t to)
{
    return (v + to - 1) / to * to;
}

// A mapping of `bytes` rounded up to whole huge pages, starting on a huge
// page, so that the kernel can back all of it with huge pages.
void *mapLarge(size_t bytes)
{
    const size_t size = roundUp(bytes, kHugePage);
    if (size < bytes || size > std::numeric_limits<size_t>::max() - kHugePage)
        return nullptr;
    void *raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = roundUp(start, kHugePage);
    if (aligned > start)
        munmap(raw, aligned - start);
    const uintptr_t end = start + size + kHugePage;
    if (end > aligned + size)
        munmap(reinterpret_cast<void *>(aligned + size), end - (aligned + size));
    void *block = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
    // Only advice: without huge pages the block works as well, more slowly.
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

bool g_sharedBlocks = false;

struct SharedBlocks
{
    std::mutex mutex;
    std::unordered_map<const void *, int> fds; // block -> its memfd
};

SharedBlocks &sharedBlocks()
{
    static SharedBlocks *blocks = new SharedBlocks;
    return *blocks;
}

// A large block in a memfd of its own, mapped shared.
void *mapShared(size_t bytes)
{
    const size_t size = roundUp(bytes, kHugePage);
    if (size < bytes)
        return nullptr;
    const int fd = memfd_create("picture", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return nullptr;
    void *block = MAP_FAILED;
    if (ftruncate(fd, off_t(size)) == 0)
        block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd, 0);
    if (block == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    SharedBlocks &b = sharedBlocks();
    std::lock_guard lock(b.mutex);
    b.fds[block] = fd;
    return block;
}

struct ImageBlock
{
    void *data;
    size_t bytes;
};

void releaseImageBlock(void *info)
{
    auto *b = static_cast<ImageBlock *>(info);
    freePixelBlock(b->data, b->bytes);
    delete b;
}

void releaseSharedSource(void *info)
{
    delete static_cast<QImage *>(info);
}

} // namespace

namespace {
std::atomic<size_t> g_largestBlock { 0 };
} // namespace

size_t largestPixelBlock()
{
    return g_largestBlock.load();
}

void resetLargestPixelBlock()
{
    g_largestBlock.store(0);
}

void *allocatePixelBlock(size_t bytes, bool zeroed)
{
    size_t seen = g_largestBlock.load();
    while (bytes > seen && !g_largestBlock.compare_exchange_weak(seen, bytes)) { }
    if (bytes >= kLargePixelBlock)
        return g_sharedBlocks ? mapShared(bytes) : mapLarge(bytes); // both start zeroed
    const size_t real = bytes == 0 ? 1 : bytes;
    return zeroed ? std::calloc(1, real) : std::malloc(real);
}

void freePixelBlock(void *block, size_t bytes)
{
    if (!block)
        return;
    if (bytes >= kLargePixelBlock) {
        munmap(block, roundUp(bytes, kHugePage));
        if (g_sharedBlocks) {
            SharedBlocks &b = sharedBlocks();
            std::lock_guard lock(b.mutex);
            auto it = b.fds.find(block);
            if (it != b.fds.end()) {
                close(it->second);
                b.fds.erase(it);
            }
        }
    } else
        std::free(block);
}

void setSharedPixelBlocks(bool on)
{
    g_sharedBlocks = on;
}

int sharedPixelBlockFd(const void *block, size_t *mappedBytes)
{
    SharedBlocks &b = sharedBlocks();
    std::lock_guard lock(b.mutex);
    auto it = b.fds.find(block);
    if (it == b.fds.end())
        return -1;
    struct stat st;
    if (fstat(it->second, &st) != 0)
        return -1;
    if (mappedBytes)
        *mappedBytes = size_t(st.st_size);
    return it->second;
}

QImage newPixelImage(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0 || format == QImage::Format_Invalid)
        return QImage();
    const int depth = QImage(1, 1, format).depth();
    const quint64 bytesPerLine = (quint64(width) * quint64(depth) + 31) / 32 * 4;
    const quint64 bytes = bytesPerLine * quint64(height);
    if (bytesPerLine > quint64(std::numeric_limits<qsizetype>::max())
        || bytes / quint64(height) != bytesPerLine
        || bytes > quint64(std::numeric_limits<qsizetype>::max()))
        return QImage();
    void *data = allocatePixelBlock(size_t(bytes), false);
    if (!data)
        return QImage();
    auto *block = new ImageBlock { data, size_t(bytes) };
    QImage image(static_cast<uchar *>(data), width, height, qsizetype(bytesPerLine), format,
        releaseImageBlock, block);
    if (image.isNull()) {
        releaseImageBlock(block);
        return QImage();
    }
    return image;
}

QImage sharedImagePart(const QImage &source, const QRect &rect)
{
    if (source.isNull() || source.depth() != 32 || rect.isEmpty() || !source.rect().contains(rect))
        return QImage();
    // The read-only constructor: a write to the part detaches it instead of
    // reaching the source's pixels.
    const uchar *bits = source.constBits() + qsizetype(rect.top()) * source.bytesPerLine()
        + qsizetype(rect.left()) * 4;
    auto *keep = new QImage(source);
    QImage part(bits, rect.width(), rect.height(), source.bytesPerLine(), source.format(),
        releaseSharedSource, keep);
    if (part.isNull()) {
        delete keep;
        return QImage();
    }
    return part;
}

} // namespace cw

// The BMP built from a decoder module's two blocks: the first bytes are the
// info block (its length in the first byte), the rest the pixel block. The
// result, when built, must read back as a picture or be refused, never read
// past either block.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <cstring>
#include <vector>

#include "pictures/PictureLoading.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t infoBytes = std::min<size_t>(size - 1, size_t(data[0]) * 4 + 40);
    // Exact-size copies, so any read past a block hits the sanitizer.
    std::vector<uint8_t> info(data + 1, data + 1 + infoBytes);
    std::vector<uint8_t> pixels(data + 1 + infoBytes, data + size);
    setPictureAllocationLimitMb(64);
    QByteArray out;
    if (!assembleBmpFromPlugin(info.data(), info.size(), pixels.data(), pixels.size(), out))
        return 0;
    QImageReader::setAllocationLimit(pictureAllocationLimitMb());
    QBuffer buffer(&out);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    (void)image;
    return 0;
}

// The program's BMP decoder on any bytes: it never reads out of bounds,
// never returns a picture beyond its pixel limit, and what it returns is an
// opaque picture of the size the header claims. Reduced for a wanted size,
// it is the same picture's size reduced by the factor it reports; sampled,
// exactly the whole picture's sampled pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pictures/BmpDecoder.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    constexpr quint64 kMaxPixels = 1 << 20;
    QImage image;
    const BmpStatus status = decodeBmp(file, image, kMaxPixels);
    if ((status == BmpStatus::Ok) == image.isNull())
        std::abort();
    if (status != BmpStatus::Ok)
        return 0;
    if (image.format() != QImage::Format_RGB32
        || quint64(image.width()) * quint64(image.height()) > kMaxPixels)
        std::abort();
    for (int y = 0; y < image.height(); ++y) {
        const auto *px = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(px[x]) != 255)
                std::abort();
    }
    QImage reduced;
    PictureReduction got;
    const QSize wanted(1 + image.width() / 5, 1 + image.height() / 3);
    if (decodeBmp(file, reduced, kMaxPixels, wanted, &got) != BmpStatus::Ok
        || got.fullSize != image.size() || got.factor != pictureReductionFor(image.size(), wanted)
        || reduced.size() != reducedPictureSize(image.size(), got.factor)
        || reduced.format() != QImage::Format_RGB32)
        std::abort();
    // Sampled while decoded, it is exactly the whole picture's block middles.
    QImage sampled;
    if (decodeBmp(file, sampled, kMaxPixels, wanted, &got, ReductionKind::Sample) != BmpStatus::Ok
        || got.kind != ReductionKind::Sample
        || sampled != reducePicture(image, got.factor, ReductionKind::Sample))
        std::abort();
    return 0;
}

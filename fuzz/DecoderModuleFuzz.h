// One decoder module on arbitrary bytes: the module is loaded from the
// program's module folder of this build and asked, as the host asks it, whether it takes the
// file's 2048-byte probe and then to decode it. Whatever it hands out must be
// two local-memory blocks that hold the picture it describes.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

#include "base/ProgramFolders.h"
#include "pictures/LocalMemory.h"

using namespace cw;

namespace {

struct FuzzedModule
{
    SpiIsSupported isSupported = nullptr;
    SpiGetPicture getPicture = nullptr;
    SpiGetPictureReduced getReduced = nullptr; // optional
    SpiGetPictureReduced getSampled = nullptr; // optional
    QByteArray scratch;
};

const FuzzedModule &fuzzedModule(const char *moduleFile)
{
    static FuzzedModule m = [&] {
        FuzzedModule f;
        // Keep each run small: a limit far below the program's own.
        setenv("CASEWRIGHT_MAX_PICTURE_PIXELS", "4194304", 1);
        const QString dir = programModuleFolder();
        void *handle = dlopen(QFile::encodeName(dir + "/" + moduleFile).constData(), RTLD_NOW);
        if (!handle)
            std::abort();
        f.isSupported = reinterpret_cast<SpiIsSupported>(dlsym(handle, "IsSupported"));
        f.getPicture = reinterpret_cast<SpiGetPicture>(dlsym(handle, "GetPicture"));
        if (!f.isSupported || !f.getPicture)
            std::abort();
        f.getReduced = reinterpret_cast<SpiGetPictureReduced>(dlsym(handle, "GetPictureReduced"));
        f.getSampled = reinterpret_cast<SpiGetPictureReduced>(dlsym(handle, "GetPictureSampled"));
        f.scratch = QFile::encodeName(
            QDir::tempPath() + QStringLiteral("/cw_fuzz_%1.pic").arg(qint64(getpid())));
        return f;
    }();
    return m;
}

// Checks a delivered picture: a size the header gives, a depth the host
// reads, rows padded to four bytes, every byte readable. Returns its size.
QSize checkDelivered(SpiHandle info, SpiHandle pixels)
{
    if (!isLocalHandle(info) || !isLocalHandle(pixels) || LocalSize(info) < 40)
        std::abort();
    const auto *h = static_cast<const SpiBitmapInfoHeader *>(LocalLock(info));
    const uint64_t rows = uint64_t(h->height < 0 ? -int64_t(h->height) : h->height);
    const unsigned bits = h->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        std::abort();
    const uint64_t stride = (uint64_t(h->width) * bits + 31) / 32 * 4;
    if (h->width <= 0 || rows == 0 || LocalSize(pixels) < stride * rows)
        std::abort();
    const auto *p = static_cast<const unsigned char *>(LocalLock(pixels));
    unsigned sum = 0;
    for (size_t i = 0; i < LocalSize(pixels); i += 61)
        sum += p[i];
    (void)sum;
    const QSize delivered(h->width, int(rows));
    LocalFree(info);
    LocalFree(pixels);
    return delivered;
}

// A module with the reduced-decoding extension (or the sampling one), asked
// for a third of the picture's size (or of 3000 x 3000 when the whole decode
// failed): it delivers ceil(full / f) for f of 1, 2, 4 or 8, and the full
// size it states is the whole decode's.
void fuzzReduced(SpiGetPictureReduced getReduced, const FuzzedModule &m, QSize whole)
{
    const QSize wanted = whole.isValid() ? QSize(std::max(1, whole.width() / 3),
                                               std::max(1, whole.height() / 3))
                                         : QSize(1000, 1000);
    SpiHandle info = nullptr, pixels = nullptr;
    int32_t fullW = 0, fullH = 0;
    const int32_t rc = getReduced(SPI_REDUCED_EXTENSION_VERSION, m.scratch.constData(), 0, 0,
        wanted.width(), wanted.height(), &fullW, &fullH, &info, &pixels, nullptr, 0);
    if (rc != SPI_OK) {
        if (info || pixels)
            std::abort();
        return;
    }
    const QSize got = checkDelivered(info, pixels);
    if (whole.isValid() && QSize(fullW, fullH) != whole)
        std::abort();
    bool fits = false;
    for (int f : { 1, 2, 4, 8 })
        fits = fits
            || got == QSize((fullW + f - 1) / f, (fullH + f - 1) / f);
    if (!fits)
        std::abort();
}

int fuzzModule(const char *moduleFile, const uint8_t *data, size_t size)
{
    const FuzzedModule &m = fuzzedModule(moduleFile);
    {
        QFile f(QString::fromLocal8Bit(m.scratch));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QByteArray probe(2048 + 128, '\0');
    std::memcpy(probe.data(), data, std::min<size_t>(size, 2048));
    if (!m.isSupported(m.scratch.constData(), probe.constData()))
        return 0;
    SpiHandle info = nullptr, pixels = nullptr;
    const int32_t rc = m.getPicture(m.scratch.constData(), 0, 0, &info, &pixels, nullptr, 0);
    QSize whole;
    if (rc == SPI_OK)
        whole = checkDelivered(info, pixels);
    else if (info || pixels)
        std::abort(); // a failure leaves nothing allocated
    if (m.getReduced)
        fuzzReduced(m.getReduced, m, whole);
    if (m.getSampled)
        fuzzReduced(m.getSampled, m, whole);
    return 0;
}

} // namespace

// One decoder module on arbitrary bytes: the module is loaded from the
// program's module folder of this build and asked, as the host asks it, whether it takes the
// file's 2048-byte probe and then to decode it. Whatever it hands out must be
// two local-memory blocks that hold the picture it describes.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
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
        f.scratch = QFile::encodeName(
            QDir::tempPath() + QStringLiteral("/cw_fuzz_%1.pic").arg(qint64(getpid())));
        return f;
    }();
    return m;
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
    if (rc == SPI_OK) {
        // A picture of the size the header gives, at a depth the host reads,
        // rows padded to four bytes.
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
        // Touch every byte, so a short block shows.
        const auto *p = static_cast<const unsigned char *>(LocalLock(pixels));
        unsigned sum = 0;
        for (size_t i = 0; i < LocalSize(pixels); i += 61)
            sum += p[i];
        (void)sum;
        LocalFree(info);
        LocalFree(pixels);
    } else if (info || pixels) {
        std::abort(); // a failure leaves nothing allocated
    }
    return 0;
}

} // namespace

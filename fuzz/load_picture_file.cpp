// LoadPictureFile on arbitrary bytes, with the program's decoder modules
// (PNG, JPEG, GIF) loaded from the folder of this executable.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdint>
#include <unistd.h>

#include "base/ProgramFolders.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"

using namespace cw;

namespace {

QString scratchFile()
{
    static const QString path
        = QDir::tempPath() + QStringLiteral("/cw_fuzz_%1.pic").arg(qint64(getpid()));
    return path;
}

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Keep each run small: limits far below the program's own.
    setPictureAllocationLimitMb(64);
    qputenv("CASEWRIGHT_MAX_PICTURE_PIXELS", QByteArray::number(16 * 1024 * 1024));
    SusieHost::instance().load(programModuleFolder());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setUp();
    {
        QFile f(scratchFile());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    NullMessageSink quiet;
    QImage bitmap;
    if (LoadPictureFile(bitmap, scratchFile(), quiet) && !bitmap.isNull()) {
        // Crop a corner too, as the renderers do.
        const int w = std::min(bitmap.width(), 8), h = std::min(bitmap.height(), 8);
        if (qint64(bitmap.width()) * bitmap.height() <= 1 << 20)
            CropBitmap(bitmap, 0, 0, w, h);
    }
    return 0;
}

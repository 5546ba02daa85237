// Loading picture files into bitmaps, and cropping large bitmaps.
#include "pictures/PictureLoading.h"
#include "base/UiText.h"
#include "pictures/SusieHost.h"

#include "pictures/BmpDecoder.h"
#include "pictures/PixelMemory.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace cw {

namespace {

int g_allocationLimitMb = kPictureAllocationLimitMb;

QString missingMessage(const QString &fileName)
{
    return UiText::tr("ファイル(%1)がありません").arg(fileName);
}

QString unusableMessage(const QString &fileName)
{
    return UiText::tr("ファイル(%1)は利用できない画像形式です(Pluginがありません)").arg(fileName);
}

QString tooLargeMessage(const QString &fileName)
{
    return UiText::tr("ファイル(%1)は画像が大きすぎて読み込めません").arg(fileName);
}

QString brokenMessage(const QString &fileName)
{
    return UiText::tr("ファイル(%1)は壊れているため読み込めません").arg(fileName);
}

enum class BmpRead { Ok, NotBmp, TooLarge };

// Reads a BMP file with the program's own decoder; anything else is left to
// the decoder modules.
BmpRead readBmp(QIODevice *device, QImage &image, QSize wanted, PictureReduction &reduction,
    ReductionKind kind)
{
    const quint64 maxPixels = quint64(pictureAllocationLimitMb()) * 1024 * 1024 / 4;
    switch (decodeBmp(*device, image, maxPixels, wanted, &reduction, kind)) {
    case BmpStatus::Ok:
        return BmpRead::Ok;
    case BmpStatus::TooLarge:
        return BmpRead::TooLarge;
    case BmpStatus::NotBmp:
        break;
    }
    return BmpRead::NotBmp;
}

} // namespace

int pictureAllocationLimitMb()
{
    return g_allocationLimitMb;
}

void setPictureAllocationLimitMb(int megabytes)
{
    g_allocationLimitMb = megabytes > 0 ? megabytes : kPictureAllocationLimitMb;
}

namespace {

thread_local SharedPictureLoads *g_sharedLoads = nullptr;

bool decodePictureFile(QImage &bitmap, const QString &fileName, MessageSink &messages,
    QSize wanted, PictureReduction &reduction, ReductionKind kind)
{
    // Only regular files: a document naming a pipe or a device must not leave
    // the window waiting for input that never comes.
    QFile file(fileName);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        messages.showMessage(missingMessage(fileName));
        return false;
    }
    QImage image;
    PictureReduction got;
    switch (readBmp(&file, image, wanted, got, kind)) {
    case BmpRead::Ok:
        bitmap = std::move(image);
        reduction = got;
        return true;
    case BmpRead::TooLarge:
        messages.showMessage(tooLargeMessage(fileName));
        return false;
    case BmpRead::NotBmp:
        break;
    }
    file.close();

    // Through the modules; the same pixels as reading ConvertByPlugin's BMP
    // image, without copying a large picture twice.
    PictureFailure failure = PictureFailure::Unsupported;
    got = PictureReduction();
    if (!SusieHost::instance().decodeImage(fileName, image, &failure, wanted, &got, kind)) {
        switch (failure) {
        case PictureFailure::TooLarge:
            messages.showMessage(tooLargeMessage(fileName));
            break;
        case PictureFailure::Broken:
            messages.showMessage(brokenMessage(fileName));
            break;
        case PictureFailure::Unsupported:
            messages.showMessage(unusableMessage(fileName));
            break;
        }
        return false;
    }
    if (!got.fullSize.isValid())
        got = PictureReduction { image.size(), 1 };
    bitmap = std::move(image);
    reduction = got;
    return true;
}

} // namespace

SharedPictureLoads::SharedPictureLoads()
    : m_outer(g_sharedLoads)
{
    g_sharedLoads = this;
}

SharedPictureLoads::~SharedPictureLoads()
{
    g_sharedLoads = m_outer;
}

bool LoadPictureFile(QImage &bitmap, const QString &fileName, MessageSink &messages)
{
    PictureReduction reduction;
    return LoadPictureFile(bitmap, fileName, messages, QSize(), reduction);
}

bool LoadPictureFile(QImage &bitmap, const QString &fileName, MessageSink &messages,
    QSize wanted, PictureReduction &reduction, ReductionKind kind)
{
    SharedPictureLoads *shared = g_sharedLoads;
    const QFileInfo info(fileName);
    if (!shared || fileName.isEmpty() || !info.isFile())
        return decodePictureFile(bitmap, fileName, messages, wanted, reduction, kind);
    const QString path = info.absoluteFilePath();
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    for (const SharedPictureLoads::Entry &e : shared->entries) {
        if (e.path == path && e.size == size && e.modified == modified
            && e.reduction.factor <= pictureReductionFor(e.reduction.fullSize, wanted)
            && reductionServes(e.reduction.factor, e.reduction.kind, kind)) {
            bitmap = e.picture;
            reduction = e.reduction;
            return true;
        }
    }
    QImage image;
    if (!decodePictureFile(image, fileName, messages, wanted, reduction, kind))
        return false;
    ++shared->decodes;
    shared->entries.push_back({ path, size, modified, image, reduction });
    bitmap = std::move(image);
    return true;
}

bool CropBitmap(QImage &bitmap, int left, int top, int right, int bottom, CropTrace *trace)
{
    // Keep the rectangle inside the bitmap.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bitmap.width());
    bottom = std::min(bottom, bitmap.height());
    if (bitmap.isNull() || left >= right || top >= bottom)
        return false;

    const int width = right - left;
    QImage result = newPixelImage(width, bottom - top, QImage::Format_RGB32);
    if (result.isNull())
        return false;
    // The copy is a 24-bit picture: each pixel's red, green and blue as the
    // picture stores them (not premultiplied), its alpha dropped, not
    // blended; a picture of 32-bit pixels is read as it is, any other is
    // converted a strip of at most 100 rows at a time, so what is held
    // besides the source and the copy stays small.
    const QImage::Format format = bitmap.format();
    const bool direct = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    const QImage::Format stripFormat
        = bitmap.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    constexpr int kStripRows = 100;
    for (int y = bottom - 1; y >= top; y -= kStripRows) {
        const int n = std::min(kStripRows, y - top + 1);
        const int first = y - n + 1;
        if (trace)
            trace->stripRows.append(n);
        QImage strip;
        if (!direct) {
            strip = bitmap.copy(left, first, width, n).convertToFormat(stripFormat);
            if (strip.isNull())
                return false;
        }
        for (int row = 0; row < n; ++row) {
            const auto *from = direct
                ? reinterpret_cast<const QRgb *>(bitmap.constScanLine(first + row)) + left
                : reinterpret_cast<const QRgb *>(strip.constScanLine(row));
            auto *to = reinterpret_cast<QRgb *>(result.scanLine(first - top + row));
            for (int x = 0; x < width; ++x)
                to[x] = from[x] | 0xff000000u;
        }
    }
    result.setDotsPerMeterX(3780);
    result.setDotsPerMeterY(3780);
    bitmap = std::move(result);
    return true;
}

} // namespace cw

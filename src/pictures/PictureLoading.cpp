// Loading picture files into bitmaps, and cropping large bitmaps.
#include "pictures/PictureLoading.h"
#include "base/UiText.h"
#include "pictures/SusieHost.h"

#include "pictures/BmpDecoder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryFile>
#include <cstring>

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

quint32 readU32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

void putU32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xff);
}

void putU16(char *p, quint16 v)
{
    p[0] = char(v & 0xff);
    p[1] = char(v >> 8);
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

    // A unique file, so two running copies of the program never share one.
    QTemporaryFile temp(QDir::tempPath() + QStringLiteral("/cwr_tmp_XXXXXX.bmp"));
    temp.setAutoRemove(true);
    if (!temp.open())
        return false;
    if (trace)
        trace->temporaryFile = temp.fileName();
    struct Remover
    {
        QTemporaryFile &file;
        ~Remover()
        {
            file.close();
            file.remove();
        }
    } remover { temp };

    const int outWidth = right - left;
    const int outHeight = bottom - top;
    const qint64 outRow = (qint64(outWidth) * 3 + 3) / 4 * 4;
    const int pad = int(outRow - qint64(outWidth) * 3);
    const qint64 outSize = 54 + outRow * outHeight;
    if (outSize > std::numeric_limits<qint32>::max())
        return false;

    QByteArray out;
    out.reserve(qsizetype(outSize));
    {
        char h[54];
        std::memset(h, 0, sizeof h);
        h[0] = 'B';
        h[1] = 'M';
        putU32(h + 2, quint32(outSize));
        putU32(h + 10, 54);
        putU32(h + 14, 40);
        putU32(h + 18, quint32(outWidth));
        putU32(h + 22, quint32(outHeight));
        putU16(h + 26, 1);
        putU16(h + 28, 24);
        putU32(h + 38, 3780);
        putU32(h + 42, 3780);
        out.append(h, sizeof h);
    }

    // The whole bitmap goes to the file once; afterwards only strips of it are
    // held in memory.
    if (!bitmap.save(&temp, "BMP") || !temp.flush() || !temp.seek(0))
        return false;
    char fileHeader[14];
    if (temp.read(fileHeader, 14) != 14 || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return false;
    const quint32 pixelOffset = readU32(fileHeader + 10);
    if (pixelOffset < 54 || pixelOffset > 14 + 124 + 1024 + 12 || !temp.seek(0))
        return false;
    QByteArray headerBlock = temp.read(pixelOffset);
    if (headerBlock.size() != qsizetype(pixelOffset))
        return false;
    const qint32 fileHeight = qint32(readU32(headerBlock.constData() + 22));
    const qint32 fileWidth = qint32(readU32(headerBlock.constData() + 18));
    const int bitCount = int(quint8(headerBlock[28]) | quint8(headerBlock[29]) << 8);
    if (fileWidth != bitmap.width() || fileHeight != bitmap.height() || bitCount <= 0)
        return false;
    const qint64 srcRow = (qint64(fileWidth) * bitCount + 31) / 32 * 4;

    // Rows below the rectangle (the file holds rows bottom-up).
    if (!temp.seek(pixelOffset + srcRow * (fileHeight - bottom)))
        return false;

    constexpr int kStripRows = 100;
    constexpr qsizetype kChunk = 16384;
    QByteArray chunk;
    chunk.reserve(kChunk);
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        out.append(chunk);
        chunk.clear();
        if (trace)
            ++trace->chunkWrites;
    };
    auto put = [&](char c) {
        chunk.append(c);
        if (chunk.size() == kChunk)
            flush();
    };

    // Qt reads the strips and the result; a large crop is within the
    // program's limit, not only Qt's default one.
    QImageReader::setAllocationLimit(pictureAllocationLimitMb());
    QByteArray strip;
    for (int y = bottom - 1; y >= top; y -= kStripRows) {
        const int n = std::min(kStripRows, y - top + 1);
        if (trace)
            trace->stripRows.append(n);
        strip = headerBlock;
        putU32(strip.data() + 2, quint32(qint64(n) * srcRow + pixelOffset));
        putU32(strip.data() + 22, quint32(n));
        const QByteArray rows = temp.read(qint64(n) * srcRow);
        if (rows.size() != qint64(n) * srcRow)
            return false;
        strip.append(rows);
        QImage scratch;
        if (!scratch.loadFromData(strip, "BMP"))
            return false;
        scratch = scratch.convertToFormat(QImage::Format_RGB32);
        for (int row = n - 1; row >= 0; --row) {
            const auto *line = reinterpret_cast<const QRgb *>(scratch.constScanLine(row));
            for (int x = left; x < right; ++x) {
                const QRgb c = line[x];
                put(char(qBlue(c)));
                put(char(qGreen(c)));
                put(char(qRed(c)));
            }
            for (int i = 0; i < pad; ++i)
                put(0);
        }
        flush();
    }

    QImage result;
    if (!result.loadFromData(out, "BMP"))
        return false;
    bitmap = std::move(result);
    return true;
}

} // namespace cw

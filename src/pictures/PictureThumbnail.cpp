#include "pictures/PictureThumbnail.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMetaObject>

#include "pictures/DecoderHelper.h"
#include "pictures/PictureDialogRules.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"

namespace cw {

namespace {

bool readableFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    return !fileName.isEmpty() && info.exists() && info.isFile() && info.isReadable();
}

bool tooLarge(QSize size)
{
    return quint64(size.width()) * quint64(size.height()) * 4
        > quint64(pictureAllocationLimitMb()) * 1024 * 1024;
}

// The size a picture of `full` pixels is drawn at in the box (at least one
// pixel each way).
QSize drawnSize(QSize full, QSize box)
{
    const QRect target = paintBoxTarget(full, box);
    return QSize(std::max(1, target.width()), std::max(1, target.height()));
}

QImage shrinkTo(const QImage &image, QSize size)
{
    if (image.width() <= size.width() && image.height() <= size.height())
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

PictureThumbnail loadPictureThumbnail(const QString &fileName, QSize box)
{
    PictureThumbnail result;
    if (!readableFile(fileName))
        return result;
    // Qt's readers, like the modules, meet outside files: in the helper.
    if (decoderPlacement() == DecoderPlacement::Helper)
        return DecoderHelper::instance().thumbnail(fileName, box);
    QImageReader::setAllocationLimit(pictureAllocationLimitMb());
    QImageReader reader(fileName);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    if (reader.canRead() && !(full.isValid() && tooLarge(full))) {
        if (full.isValid() && !full.isEmpty() && reader.format() != "jpeg"
            && pictureReductionFor(full, drawnSize(full, box)) > 1) {
            // Qt's readers other than JPEG's decode the whole picture even
            // when asked for a smaller one: for a few pixels of a large
            // picture the program's loader decodes it reduced instead (a
            // file holding far more pixels than it shows, or claiming to,
            // costs what the box shows).
            NullMessageSink quiet;
            QImage image;
            PictureReduction got;
            if (LoadPictureFile(image, fileName, quiet, drawnSize(full, box), got)
                && !image.isNull()) {
                result.valid = true;
                result.fullSize = got.fullSize;
                result.image = shrinkTo(image, drawnSize(got.fullSize, box));
                return result;
            }
        }
        if (full.isValid() && !full.isEmpty()
            && reader.supportsOption(QImageIOHandler::ScaledSize)) {
            const QSize drawn = drawnSize(full, box);
            if (drawn.width() < full.width() || drawn.height() < full.height()) {
                reader.setScaledSize(drawn);
                // A thumbnail needs no exact decode: a quality below 50
                // lets the JPEG reader use its fast integer transform and
                // plain upsampling.
                reader.setQuality(25);
            }
        }
        QImage image;
        if (reader.read(&image) && !image.isNull()) {
            result.valid = true;
            result.fullSize = full.isValid() ? full : image.size();
            result.image = shrinkTo(image, drawnSize(result.fullSize, box));
            return result;
        }
    }
    QImage image;
    if (!SusieHost::instance().decodeImage(fileName, image) || image.isNull())
        return result;
    result.valid = true;
    result.fullSize = image.size();
    result.image = shrinkTo(image, drawnSize(result.fullSize, box));
    return result;
}

QImage loadPictureWhole(const QString &fileName)
{
    if (!readableFile(fileName))
        return QImage();
    if (decoderPlacement() == DecoderPlacement::Helper)
        return DecoderHelper::instance().whole(fileName);
    QImageReader::setAllocationLimit(pictureAllocationLimitMb());
    QImageReader reader(fileName);
    reader.setAutoTransform(false);
    QImage image;
    if (reader.canRead() && reader.read(&image) && !image.isNull())
        return image;
    image = QImage();
    if (SusieHost::instance().decodeImage(fileName, image))
        return image;
    return QImage();
}

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<PictureThumbnail>();
    m_pool.setMaxThreadCount(1);
}

ThumbnailLoader::~ThumbnailLoader()
{
    cancel();
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailLoader::request(const QString &fileName, QSize box)
{
    const quint64 generation = ++m_generation;
    m_pool.start([this, fileName, box, generation] {
        if (m_generation.loadAcquire() != generation)
            return; // a newer selection came first
        PictureThumbnail thumbnail = loadPictureThumbnail(fileName, box);
        if (m_generation.loadAcquire() != generation)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, fileName, thumbnail = std::move(thumbnail), generation] {
                if (m_generation.loadAcquire() == generation)
                    Q_EMIT ready(fileName, thumbnail);
            },
            Qt::QueuedConnection);
    });
}

void ThumbnailLoader::cancel()
{
    ++m_generation;
}

void ThumbnailLoader::waitForIdle()
{
    m_pool.waitForDone();
}

} // namespace cw

#pragma once

#include <QAtomicInteger>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

namespace cw {

// What the picture open dialog's pane shows of a file: the picture's full
// size and a copy small enough for the paint box.
struct PictureThumbnail
{
    bool valid = false; // some reader decoded the file
    QSize fullSize; // the picture's own size in pixels
    QImage image; // at most the size the paint box draws it at
};

// Decodes `fileName` for a paint box of `box` pixels: Qt's image readers
// first, then the decoder modules. Qt's readers give the size from the file
// header; where a reader can decode at a reduced size (JPEG's scaled
// decoding) only the thumbnail is decoded, otherwise the picture is decoded
// whole and scaled down. A missing file, a folder or a file nobody reads
// gives an invalid result; nothing is reported.
PictureThumbnail loadPictureThumbnail(const QString &fileName, QSize box);

// The whole picture, decoded as the pane's readers do (the preview window).
QImage loadPictureWhole(const QString &fileName);

// Decodes thumbnails off the interface thread, one at a time; only the
// newest request is answered: a request that is superseded before it starts
// is skipped, and one that finishes after a newer request is dropped.
class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    // Starts decoding; `ready` follows on this object's thread.
    void request(const QString &fileName, QSize box);
    // Forgets every request in flight (no `ready` will come for them).
    void cancel();
    // Waits until the worker is idle (the tests, and before the interface
    // thread calls the decoder modules itself).
    void waitForIdle();

Q_SIGNALS:
    void ready(const QString &fileName, const PictureThumbnail &thumbnail);

private:
    QThreadPool m_pool;
    QAtomicInteger<quint64> m_generation { 0 };
};

} // namespace cw

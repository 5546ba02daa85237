#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "render/PictureFileReader.h"

namespace cw {

// Reads large pictures off the window's thread, so that a page that needs
// more pixels of a huge photograph than it holds never freezes the window.
//
// A read of a picture of at most kSynchronousPixels source pixels (or of an
// unknown size) runs at once, as with any reader. A larger one starts in the
// background and the call answers "not now" (false, the bitmap untouched):
// the page is drawn without that picture for the moment. When the read ends,
// `ready` runs on the thread of `context`; the page is then drawn again and
// the call gets the picture. While a background read runs, every other read
// waits behind it in the same way (the decoder helper answers one request at
// a time, so reading at once would wait for it anyway).
//
// The pictures read in the background (the last kKept files) are kept,
// shared, for the next calls they have pixels enough for: the page is drawn
// again after its reads end, and a picture linked to another surface asks
// for the same file.
class BackgroundPictureReader : public PictureReaderLayer
{
public:
    static constexpr qint64 kSynchronousPixels = 24'000'000;
    static constexpr int kKept = 4;

    BackgroundPictureReader(PictureFileReader &inner, QObject *context, std::function<void()> ready);
    ~BackgroundPictureReader() override;

    bool load(QImage &bitmap, const QString &fileName) override;
    bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override;
    bool loadReducedKnowing(QImage &bitmap, const QString &fileName, QSize full, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override;

    // Ends the background thread (waiting for a read that runs); from then
    // on every read runs at once.
    void stop();
    // A read runs or waits in the background.
    bool busy() const;
    // Waits until no read runs or waits (the `ready` calls it posted still
    // come through the event loop).
    void waitUntilIdle();
    // Waits until stop() has begun, the reads that waited dropped: for a
    // thread that acts while stop() waits for the read that runs.
    void waitUntilStopping();

private:
    struct Request
    {
        QString fileName;
        QSize full;
        QSize wanted;
        ReductionKind kind = ReductionKind::Average;
    };
    struct Result
    {
        QString fileName;
        bool ok = false;
        QImage bitmap;
        PictureReduction reduction;
    };
    void run();

    QObject *m_context;
    std::function<void()> m_ready;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Request> m_waiting; // reads to run, one per file
    std::optional<Request> m_running; // the read that runs now
    std::deque<Result> m_results; // reads that ended, the newest last
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace cw

#include "render/BackgroundPictureReader.h"

#include <QMetaObject>
#include <algorithm>

namespace cw {

BackgroundPictureReader::BackgroundPictureReader(
    PictureFileReader &inner, QObject *context, std::function<void()> ready)
    : PictureReaderLayer(inner)
    , m_context(context)
    , m_ready(std::move(ready))
{
    m_thread = std::thread([this] { run(); });
}

BackgroundPictureReader::~BackgroundPictureReader()
{
    stop();
}

void BackgroundPictureReader::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_waiting.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool BackgroundPictureReader::load(QImage &bitmap, const QString &fileName)
{
    return m_inner.load(bitmap, fileName);
}

bool BackgroundPictureReader::loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
    PictureReduction &reduction, ReductionKind kind)
{
    return loadReducedKnowing(bitmap, fileName, QSize(), wanted, reduction, kind);
}

bool BackgroundPictureReader::loadReducedKnowing(QImage &bitmap, const QString &fileName,
    QSize full, QSize wanted, PictureReduction &reduction, ReductionKind kind)
{
    std::unique_lock lock(m_mutex);
    const auto kept = std::find_if(m_results.begin(), m_results.end(),
        [&](const Result &r) { return r.fileName == fileName; });
    if (kept != m_results.end()) {
        if (!kept->ok) {
            // The failure is told once; the next call tries the file again.
            m_results.erase(kept);
            return false;
        }
        if (kept->reduction.factor <= pictureReductionFor(kept->reduction.fullSize, wanted)
            && reductionServes(kept->reduction.factor, kept->reduction.kind, kind)) {
            bitmap = kept->bitmap; // shared, not copied
            reduction = kept->reduction;
            return true;
        }
    }
    const bool large = full.isValid() && qint64(full.width()) * full.height() > kSynchronousPixels;
    if (m_stop || (!large && !m_running && m_waiting.empty())) {
        lock.unlock();
        return m_inner.loadReduced(bitmap, fileName, wanted, reduction, kind);
    }
    if (m_running && m_running->fileName == fileName && m_running->wanted == wanted
        && m_running->kind == kind)
        return false; // it is being read
    const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(),
        [&](const Request &r) { return r.fileName == fileName; });
    if (waiting != m_waiting.end())
        *waiting = Request { fileName, full, wanted, kind }; // what the page needs now
    else
        m_waiting.push_back(Request { fileName, full, wanted, kind });
    lock.unlock();
    m_changed.notify_all();
    return false;
}

bool BackgroundPictureReader::busy() const
{
    std::lock_guard lock(m_mutex);
    return m_running || !m_waiting.empty();
}

void BackgroundPictureReader::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_running && m_waiting.empty(); });
}

void BackgroundPictureReader::waitUntilStopping()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop; });
}

void BackgroundPictureReader::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_waiting.empty(); });
        if (m_stop)
            return;
        m_running = m_waiting.front();
        m_waiting.pop_front();
        const Request request = *m_running;
        lock.unlock();

        Result result;
        result.fileName = request.fileName;
        result.ok = m_inner.loadReduced(
            result.bitmap, request.fileName, request.wanted, result.reduction, request.kind);

        lock.lock();
        std::erase_if(m_results, [&](const Result &r) { return r.fileName == request.fileName; });
        m_results.push_back(std::move(result));
        while (m_results.size() > size_t(kKept))
            m_results.pop_front();
        m_running.reset();
        const bool more = !m_waiting.empty();
        m_changed.notify_all();
        // The page is drawn again once the reads it waits for have ended.
        if (!more && !m_stop && m_context && m_ready)
            QMetaObject::invokeMethod(m_context, m_ready, Qt::QueuedConnection);
    }
}

} // namespace cw

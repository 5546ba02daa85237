#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

#include "render/BackgroundPictureReader.h"

using namespace cw;

namespace {

// A reader whose reads wait at a gate the test opens, and that answers with
// a picture of the size the reduction asked for. File names ending in
// "missing" cannot be read.
class GatedReader : public PictureFileReader
{
public:
    explicit GatedReader(QSize full)
        : m_full(full)
    { }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_gate.notify_all();
    }
    // Reads that come from now on wait at the gate again.
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
    }
    // Waits until `count` reads in all have come to the gate.
    void waitForArrivals(int count)
    {
        std::unique_lock lock(m_mutex);
        m_gate.wait(lock, [&] { return m_arrivals >= count; });
    }
    bool load(QImage &bitmap, const QString &fileName) override
    {
        PictureReduction reduction;
        return loadReduced(bitmap, fileName, QSize(), reduction);
    }
    bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override
    {
        (void)kind;
        {
            std::unique_lock lock(m_mutex);
            ++m_arrivals;
            m_gate.notify_all();
            m_gate.wait(lock, [this] { return m_open; });
            lastThread = std::this_thread::get_id();
        }
        ++reads;
        if (fileName.endsWith(QLatin1String("missing")))
            return false;
        const int factor = pictureReductionFor(m_full, wanted);
        bitmap = QImage(reducedPictureSize(m_full, factor), QImage::Format_RGB32);
        bitmap.fill(Qt::green);
        reduction = PictureReduction { m_full, factor };
        return true;
    }

    std::atomic<int> reads { 0 };
    std::thread::id lastThread;

private:
    QSize m_full;
    std::mutex m_mutex;
    std::condition_variable m_gate;
    bool m_open = false;
    int m_arrivals = 0;
};

struct Fixture
{
    explicit Fixture(QSize full)
        : inner(full)
        , full(full)
        , reader(inner, &context, [this] { ++readyCalls; })
    { }
    // Lets the background reads end and delivers their `ready` calls.
    void finish()
    {
        inner.open();
        reader.waitUntilIdle();
        QCoreApplication::processEvents();
    }
    bool read(const QString &file, int factor, QImage &bitmap, PictureReduction &got)
    {
        return reader.loadReducedKnowing(bitmap, file, full, wantedSizeFor(full, factor), got);
    }

    GatedReader inner;
    QSize full;
    QObject context;
    int readyCalls = 0;
    BackgroundPictureReader reader;
};

} // namespace

// A picture within the limit is read at once, on the caller's thread, even
// with a reader that blocks: the gate is open before the call.
TEST(BackgroundPictureReader, ASmallPictureIsReadAtOnce)
{
    const QSize full(4000, 6000); // 24,000,000 pixels: the largest read at once
    ASSERT_EQ(qint64(full.width()) * full.height(), BackgroundPictureReader::kSynchronousPixels);
    Fixture f(full);
    f.inner.open();
    QImage bitmap;
    PictureReduction got;
    ASSERT_TRUE(f.read(QStringLiteral("a.jpg"), 4, bitmap, got));
    EXPECT_EQ(got.factor, 4);
    EXPECT_EQ(bitmap.size(), QSize(1000, 1500));
    EXPECT_EQ(f.inner.lastThread, std::this_thread::get_id());
    EXPECT_FALSE(f.reader.busy());
    EXPECT_EQ(f.readyCalls, 0);
}

// A huge picture: the call returns at once with nothing while the read waits
// at its gate; asking again does not read twice; once the read ends the page
// is told once and the picture is handed over, shared, for every call it has
// pixels enough for, without reading again.
TEST(BackgroundPictureReader, AHugePictureIsReadInTheBackgroundAndKept)
{
    Fixture f(QSize(12000, 9000));
    QImage bitmap(3, 3, QImage::Format_RGB32);
    const qint64 before = bitmap.cacheKey();
    PictureReduction got;
    EXPECT_FALSE(f.read(QStringLiteral("big.jpg"), 8, bitmap, got));
    EXPECT_EQ(bitmap.cacheKey(), before); // untouched
    EXPECT_TRUE(f.reader.busy());
    EXPECT_FALSE(f.read(QStringLiteral("big.jpg"), 8, bitmap, got));
    f.finish();
    EXPECT_EQ(f.inner.reads, 1);
    EXPECT_NE(f.inner.lastThread, std::this_thread::get_id());
    EXPECT_EQ(f.readyCalls, 1);
    EXPECT_FALSE(f.reader.busy());

    ASSERT_TRUE(f.read(QStringLiteral("big.jpg"), 8, bitmap, got));
    EXPECT_EQ(got.factor, 8);
    EXPECT_EQ(got.fullSize, QSize(12000, 9000));
    EXPECT_EQ(bitmap.size(), QSize(1500, 1125));
    QImage linked;
    ASSERT_TRUE(f.read(QStringLiteral("big.jpg"), 8, linked, got)); // another surface
    EXPECT_EQ(linked.cacheKey(), bitmap.cacheKey());
    EXPECT_EQ(f.inner.reads, 1);

    // A larger print size needs more pixels: read again, in the background.
    EXPECT_FALSE(f.read(QStringLiteral("big.jpg"), 2, bitmap, got));
    f.finish();
    ASSERT_TRUE(f.read(QStringLiteral("big.jpg"), 2, bitmap, got));
    EXPECT_EQ(got.factor, 2);
    EXPECT_EQ(bitmap.size(), QSize(6000, 4500));
    // And what was read finer serves a coarser need too.
    ASSERT_TRUE(f.read(QStringLiteral("big.jpg"), 8, bitmap, got));
    EXPECT_EQ(got.factor, 2);
    EXPECT_EQ(f.inner.reads, 2);
    EXPECT_EQ(f.readyCalls, 2);
}

// While a read runs, a small picture waits behind it too (the decoder
// answers one request at a time); two huge pictures on one page are both
// kept, so drawing the page again never reads them by turns for ever.
TEST(BackgroundPictureReader, ReadsQueueBehindTheOneThatRunsAndAllAreKept)
{
    Fixture f(QSize(12000, 9000));
    QImage a, b, small;
    PictureReduction got;
    EXPECT_FALSE(f.read(QStringLiteral("a.jpg"), 8, a, got));
    EXPECT_FALSE(f.read(QStringLiteral("b.jpg"), 8, b, got));
    EXPECT_FALSE(f.reader.loadReducedKnowing(
        small, QStringLiteral("small.png"), QSize(100, 100), QSize(100, 100), got));
    f.finish();
    EXPECT_EQ(f.inner.reads, 3);
    EXPECT_EQ(f.readyCalls, 1); // once, when the last of them ended
    for (const char *name : { "a.jpg", "b.jpg", "a.jpg", "b.jpg" }) {
        QImage bitmap;
        EXPECT_TRUE(f.read(QString::fromLatin1(name), 8, bitmap, got)) << name;
    }
    EXPECT_TRUE(f.reader.loadReducedKnowing(
        small, QStringLiteral("small.png"), QSize(100, 100), QSize(100, 100), got));
    EXPECT_EQ(f.inner.reads, 3);
}

// A file that cannot be read: the page is still told, the failure is given
// once (nothing drawn), and the next call tries the file again.
TEST(BackgroundPictureReader, AFailedReadIsToldOnceAndTriedAgain)
{
    Fixture f(QSize(12000, 9000));
    QImage bitmap;
    PictureReduction got;
    EXPECT_FALSE(f.read(QStringLiteral("gone-missing"), 8, bitmap, got));
    f.finish();
    EXPECT_EQ(f.readyCalls, 1);
    EXPECT_FALSE(f.read(QStringLiteral("gone-missing"), 8, bitmap, got));
    EXPECT_FALSE(f.reader.busy());
    // The gate closed again: the next try waits there, in the background.
    f.inner.close();
    EXPECT_FALSE(f.read(QStringLiteral("gone-missing"), 8, bitmap, got));
    EXPECT_TRUE(f.reader.busy());
    f.finish();
    EXPECT_EQ(f.inner.reads, 2);
    EXPECT_EQ(f.readyCalls, 2);
    EXPECT_TRUE(bitmap.isNull());
}

// Stopping waits for the read that runs, drops those waiting and tells no
// page; from then on every read runs at once.
TEST(BackgroundPictureReader, StoppingEndsTheBackgroundReads)
{
    Fixture f(QSize(12000, 9000));
    QImage bitmap;
    PictureReduction got;
    EXPECT_FALSE(f.read(QStringLiteral("a.jpg"), 8, bitmap, got));
    EXPECT_FALSE(f.read(QStringLiteral("b.jpg"), 8, bitmap, got));
    f.inner.waitForArrivals(1); // a runs, held at the gate; b waits
    // The gate opens once stop() has dropped b, while it waits for a.
    std::thread opener([&] {
        f.reader.waitUntilStopping();
        f.inner.open();
    });
    f.reader.stop();
    opener.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.inner.reads, 1);
    EXPECT_EQ(f.readyCalls, 0);
    ASSERT_TRUE(f.read(QStringLiteral("c.jpg"), 8, bitmap, got));
    EXPECT_EQ(f.inner.reads, 2);
    EXPECT_EQ(f.inner.lastThread, std::this_thread::get_id());
}

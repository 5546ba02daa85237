// The decoder helper: modules that crash, hang or allocate without end cost
// one picture its failure message, never the program; the helper's fences
// hold; and a picture comes out of the helper exactly as it does in process.
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <future>
#include <thread>
#include <sys/mman.h>
#include <unistd.h>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "pictures/BmpDecoder.h"
#include "pictures/DecoderChannel.h"
#include "pictures/DecoderHelper.h"
#include "pictures/PictureThumbnail.h"

namespace {

// A field of /proc/<pid>/status in kilobytes ("VmHWM", "VmRSS"), -1 when absent.
long statusKb(const QString &pid, const char *field)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// This process's peak resident size since the last resetPeakResident(), in
// megabytes: the kernel's high-water mark, which the reset sets back to the
// present size.
long peakResidentMb()
{
    return statusKb(QStringLiteral("self"), "VmHWM") / 1024;
}
bool resetPeakResident()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// A limit of /proc/<pid>/limits ("Max address space"): its soft and hard
// values, "unlimited" as -1; both -2 when the line is missing.
std::pair<qint64, qint64> processLimit(pid_t pid, const QString &name)
{
    QFile f(QStringLiteral("/proc/%1/limits").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return { -2, -2 };
    for (const QString &line : QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(name + QLatin1Char(' ')))
            continue;
        const QStringList values = line.mid(name.size()).simplified().split(QLatin1Char(' '));
        if (values.size() < 2)
            break;
        auto value = [](const QString &v) { return v == u"unlimited" ? -1 : v.toLongLong(); };
        return { value(values[0]), value(values[1]) };
    }
    return { -2, -2 };
}

// The helper whose address space is limited, and the test modules it can
// load: in a sanitizer build the copy of the helper and of the modules built
// without the sanitizers, otherwise the program's own.
QString addressLimitedHelper()
{
#ifdef CASEWRIGHT_UNSANITIZED_HELPER
    return QStringLiteral(CASEWRIGHT_UNSANITIZED_HELPER);
#else
    return QString();
#endif
}
QString moduleForLimitedHelper(const char *module)
{
    return QLatin1String(module)
        + (addressLimitedHelper().isEmpty() ? QString() : QStringLiteral("_unsanitized"));
}

class DecoderHelperTest : public HostTest
{
protected:
    void TearDown() override
    {
        setPictureAllocationLimitMb(kPictureAllocationLimitMb);
        DecoderHelper::instance().setHelperPath(QString());
        HostTest::TearDown();
    }
};

TEST_F(DecoderHelperTest, TheProgramDecodesInTheHelperByDefault)
{
    EXPECT_EQ(decoderPlacement(), DecoderPlacement::Helper);
    EXPECT_EQ(DecoderHelper::kDefaultTimeLimitMs, 10000);
    EXPECT_EQ(QFileInfo(DecoderHelper::instance().helperPath()).fileName(), "casewright-decoder");
}

// Each hostile module ends in the picture's failure message within the time
// limit and a second, with the program alive and no larger than before by
// its picture limit; the next picture is decoded by a new helper.
TEST_F(DecoderHelperTest, HostileModulesCostOnlyTheirPicture)
{
    struct Case
    {
        const char *module;
        QString message; // after "ファイル(" + file + ")"
    };
    const QList<Case> cases = {
        { "tm_crash", "は壊れているため読み込めません" },
        { "tm_loop", "は壊れているため読み込めません" },
        { "tm_greedy", "は画像が大きすぎて読み込めません" },
    };
    // A small picture limit keeps the endless allocation short.
    constexpr int kLimitMb = 64;
    setPictureAllocationLimitMb(kLimitMb);
    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
    for (const Case &c : cases) {
        ModuleFolder folder({ QString(c.module) + ":a.spi" });
        SusieHost::instance().load(folder.path(), ModuleLoading::OnDemand);
        const pid_t before = DecoderHelper::instance().helperPid();
        ASSERT_TRUE(resetPeakResident());
        const long peakBefore = peakResidentMb();
        RecordingMessages messages;
        QImage bitmap;
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(LoadPictureFile(bitmap, file, messages)) << c.module;
        EXPECT_LE(timer.elapsed(), DecoderHelper::kDefaultTimeLimitMs + 1000) << c.module;
        EXPECT_EQ(messages.messages, QStringList { "ファイル(" + file + ")" + c.message })
            << c.module;
        EXPECT_TRUE(bitmap.isNull());
        // The memory went to the helper, not to this process.
        EXPECT_LT(peakResidentMb() - peakBefore, kLimitMb) << c.module;
        EXPECT_EQ(DecoderHelper::instance().helperPid(), 0) << c.module << ": not replaced";
        if (QByteArray(c.module) == "tm_greedy") {
            EXPECT_GT(DecoderHelper::instance().endedPeakResidentBytes(), size_t(kLimitMb) << 20)
                << c.module;
        }

        // The program's run goes on: the next picture is decoded by a new helper.
        ModuleFolder good({ "tm_good:a.spi" });
        SusieHost::instance().load(good.path());
        messages.messages.clear();
        ASSERT_TRUE(LoadPictureFile(bitmap, file, messages)) << c.module;
        EXPECT_EQ(bitmap.size(), QSize(3, 2));
        EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffff, qRgb(10, 20, 30) & 0xffffff);
        EXPECT_NE(DecoderHelper::instance().helperPid(), before);
    }
}

// A module that takes the helper down while it loads is left out, as a
// module that cannot be loaded always was: the others load, in their order,
// and decode.
TEST_F(DecoderHelperTest, AModuleThatCrashesWhileLoadingIsLeftOut)
{
    ModuleFolder folder({ "tm_good:a.spi", "tm_crashloading:b.spi", "tm_tint:c.spi" });
    ModuleFolder expected({ "tm_good:a.spi", "tm_tint:c.spi" });
    for (ModuleLoading when : { ModuleLoading::AtOnce, ModuleLoading::OnDemand }) {
        SusieHost::instance().load(expected.path(), when);
        const QString filter = SusieHost::instance().filter();
        SusieHost::instance().load(folder.path(), when);
        EXPECT_EQ(SusieHost::instance().moduleNames(), (QStringList { "a.spi", "c.spi" }));
        EXPECT_EQ(SusieHost::instance().filter(), filter);
        EXPECT_EQ(DecoderHelper::instance().leftOutModules(),
            QStringList { QDir(folder.path()).absoluteFilePath("b.spi") });
        const QString file = path("p.cwtp");
        ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_TRUE(LoadPictureFile(bitmap, file, messages));
        EXPECT_EQ(messages.messages, QStringList());
    }
}

TEST_F(DecoderHelperTest, ThumbnailsAndThePreviewSurviveACrashingModule)
{
    ModuleFolder folder({ "tm_crash:a.spi" });
    SusieHost::instance().load(folder.path());
    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
    EXPECT_FALSE(loadPictureThumbnail(file, QSize(153, 141)).valid);
    EXPECT_TRUE(loadPictureWhole(file).isNull());
    // Qt's readers run in the (new) helper as well.
    const QString png = path("q.png");
    ASSERT_TRUE(patternImage(300, 200).save(png));
    const PictureThumbnail t = loadPictureThumbnail(png, QSize(153, 141));
    EXPECT_TRUE(t.valid);
    EXPECT_EQ(t.fullSize, QSize(300, 200));
    EXPECT_EQ(loadPictureWhole(png).size(), QSize(300, 200));
}

TEST_F(DecoderHelperTest, TheHelperRunsBehindItsFences)
{
    const DecoderFenceReport fence = DecoderHelper::instance().fences();
    EXPECT_TRUE(fence.noNewPrivileges);
#if defined(__x86_64__)
    EXPECT_TRUE(fence.systemCallFilter);
#endif
    // The address-space limit needs a build without the address sanitizer;
    // there the program counts the helper's memory instead (the limit
    // itself: TheKernelHoldsTheHelpersAddressSpaceLimit).
    EXPECT_EQ(fence.addressSpaceLimited, !builtWithAddressSanitizer());
    EXPECT_GT(
        DecoderHelper::instance().residentBudget(), size_t(2 * kPictureAllocationLimitMb) << 20);

    // A module that tries to write a file, start a process and open a
    // network socket gets none of them: its picture stays black.
    ModuleFolder folder({ "tm_escape:a.spi" });
    SusieHost::instance().load(folder.path());
    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(1, 1, qRgb(1, 2, 3))));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, file, messages));
    EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffff, 0u) << std::hex << bitmap.pixel(0, 0);
    EXPECT_FALSE(QFileInfo::exists(file + ".written"));
}

// The helper's limits as the kernel holds them for it: its address space
// ends at the budget it reported, which leaves room for a picture at the
// picture limit and its working copy and no more than the budget's room;
// it writes no core file, has no new privileges and runs under its system
// call filter. A module that allocates without end dies at the limit, never
// past it, with the picture "too large", and the next helper decodes.
TEST_F(DecoderHelperTest, TheKernelHoldsTheHelpersAddressSpaceLimit)
{
    constexpr int kLimitMb = 64;
    setPictureAllocationLimitMb(kLimitMb);
    DecoderHelper::instance().setHelperPath(addressLimitedHelper());
    const DecoderFenceReport fence = DecoderHelper::instance().fences();
    const pid_t pid = DecoderHelper::instance().helperPid();
    ASSERT_GT(pid, 0) << DecoderHelper::instance().helperPath().toStdString();
    ASSERT_TRUE(fence.addressSpaceLimited);

    const auto [soft, hard] = processLimit(pid, QStringLiteral("Max address space"));
    EXPECT_EQ(soft, qint64(fence.addressSpaceBytes));
    EXPECT_EQ(hard, qint64(fence.addressSpaceBytes));
    const size_t mapped = processMappedBytes(QString::number(pid));
    ASSERT_GT(mapped, 0u);
    const size_t room = fence.addressSpaceBytes - mapped;
    EXPECT_GT(room, size_t(2 * kLimitMb) << 20);
    EXPECT_LE(room, decoderAddressBudget(0, kLimitMb));
    EXPECT_EQ(processLimit(pid, QStringLiteral("Max core file size")), std::make_pair(0LL, 0LL));
    EXPECT_EQ(statusKb(QString::number(pid), "NoNewPrivs"), 1);
#if defined(__x86_64__)
    EXPECT_EQ(statusKb(QString::number(pid), "Seccomp"), 2); // a filter
#endif

    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
    ModuleFolder greedy({ moduleForLimitedHelper("tm_greedy") + ":a.spi" });
    SusieHost::instance().load(greedy.path(), ModuleLoading::OnDemand);
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, file, messages));
    EXPECT_EQ(messages.messages,
        QStringList { "ファイル(" + file + ")は画像が大きすぎて読み込めません" });
    EXPECT_EQ(DecoderHelper::instance().helperPid(), 0);
    const size_t peak = DecoderHelper::instance().endedPeakResidentBytes();
    EXPECT_GT(peak, size_t(kLimitMb) << 20);
    EXPECT_LE(peak, fence.addressSpaceBytes);

    ModuleFolder good({ moduleForLimitedHelper("tm_good") + ":a.spi" });
    SusieHost::instance().load(good.path());
    messages.messages.clear();
    ASSERT_TRUE(LoadPictureFile(bitmap, file, messages))
        << messages.messages.join(' ').toStdString();
    EXPECT_EQ(bitmap.pixel(2, 1) & 0xffffff, qRgb(10, 20, 30) & 0xffffff);
}

// The same pictures, formats, colour tables and failures in the helper as in
// the program's own process.
TEST_F(DecoderHelperTest, TheHelperGivesWhatDecodingInProcessGives)
{
    ModuleFolder folder({ "tm_hostile:a.spi", "tm_reason:b.spi" });
    // 0 plain, 6 short colour table, 7 32 bits without masks, 13 top-down,
    // 14 top-down 32 bits, 1 and 9 refused output, 20 and 21 reasons.
    const QList<int> modes = { 0, 6, 7, 13, 14, 1, 9, 20, 21 };
    struct Result
    {
        bool ok;
        PictureFailure failure;
        QImage image;
        bool converted;
        QByteArray bmp;
    };
    auto decodeAll = [&](DecoderPlacement placement) {
        setDecoderPlacement(placement);
        SusieHost::instance().load(folder.path());
        QList<Result> results;
        for (int mode : modes) {
            const QString file = path(QString("m%1.cwtp").arg(mode));
            EXPECT_TRUE(writeAll(file, testPicture(5, 3, qRgb(200, 100, 50), mode)));
            Result r;
            r.ok = SusieHost::instance().decodeImage(file, r.image, &r.failure);
            r.converted = SusieHost::instance().convert(file, r.bmp);
            results.append(r);
        }
        const QString filter = SusieHost::instance().filter();
        SusieHost::instance().unload();
        setDecoderPlacement(DecoderPlacement::Helper);
        return std::make_pair(results, filter);
    };
    const auto [inProcess, inProcessFilter] = decodeAll(DecoderPlacement::InProcess);
    const auto [helper, helperFilter] = decodeAll(DecoderPlacement::Helper);
    EXPECT_EQ(helperFilter, inProcessFilter);
    for (int i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(helper[i].ok, inProcess[i].ok) << modes[i];
        EXPECT_EQ(helper[i].failure, inProcess[i].failure) << modes[i];
        EXPECT_EQ(helper[i].image.format(), inProcess[i].image.format()) << modes[i];
        EXPECT_EQ(helper[i].image.colorTable(), inProcess[i].image.colorTable()) << modes[i];
        EXPECT_TRUE(helper[i].image == inProcess[i].image) << modes[i];
        EXPECT_EQ(helper[i].converted, inProcess[i].converted) << modes[i];
        EXPECT_EQ(helper[i].bmp, inProcess[i].bmp) << modes[i];
    }
}

// A large picture crosses in the helper's own shared block, and one larger
// than a message goes through shared memory as well.
TEST_F(DecoderHelperTest, LargePicturesAndImagesCrossWhole)
{
    ModuleFolder folder({ "tm_good:a.spi" });
    SusieHost::instance().load(folder.path());
    const QString file = path("big.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(1500, 1000, qRgb(9, 8, 7))));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, file, messages));
    ASSERT_EQ(bitmap.size(), QSize(1500, 1000));
    EXPECT_EQ(bitmap.pixel(1499, 999) & 0xffffff, qRgb(9, 8, 7) & 0xffffff);
    // Writing to the picture changes the program's copy only.
    bitmap.setPixel(0, 0, qRgb(1, 1, 1));
    QImage again;
    ASSERT_TRUE(LoadPictureFile(again, file, messages));
    EXPECT_EQ(again.pixel(0, 0) & 0xffffff, qRgb(9, 8, 7) & 0xffffff);
    QBuffer stream;
    ASSERT_TRUE(ConvertByPlugin(file, stream));
    QImage viaBmp;
    ASSERT_EQ(decodeBmp(stream.data(), viaBmp, quint64(1) << 24), BmpStatus::Ok);
    EXPECT_EQ(viaBmp.size(), QSize(1500, 1000));
}

// What writeImage hands over, readImage gives back: every format, colour
// table, resolution and row padding.
TEST(DecoderChannel, PicturesCrossUnchanged)
{
    QImage indexed = patternImage(7, 5, QImage::Format_Indexed8);
    QImage mono = patternImage(33, 3, QImage::Format_Mono);
    QImage rgb = patternImage(5, 4, QImage::Format_RGB32);
    rgb.setDotsPerMeterX(3780);
    rgb.setDotsPerMeterY(1000);
    for (const QImage &image : { rgb, patternImage(3, 9, QImage::Format_ARGB32), indexed, mono,
             patternImage(6, 2, QImage::Format_RGB888), patternImage(1, 1) }) {
        QByteArray form;
        int fd = -1;
        bool owned = false;
        {
            QDataStream out(&form, QIODevice::WriteOnly);
            decoder::writeImage(out, image, fd, owned);
        }
        ASSERT_TRUE(owned); // a small picture is copied into a memfd of its own
        QDataStream in(form);
        const QImage back = decoder::readImage(in, dup(fd));
        close(fd);
        EXPECT_EQ(back.format(), image.format());
        EXPECT_EQ(back.colorTable(), image.colorTable());
        EXPECT_EQ(back.dotsPerMeterX(), image.dotsPerMeterX());
        EXPECT_EQ(back.dotsPerMeterY(), image.dotsPerMeterY());
        EXPECT_TRUE(back == image) << image.format();
    }
}

// The program trusts no form the helper sends: rows shorter than the width
// needs, or memory shorter than the rows, give no picture.
TEST(DecoderChannel, FormsThatDoNotFitTheirMemoryAreRefused)
{
    const QImage image = patternImage(8, 4);
    struct Case
    {
        qint32 width, height;
        qint64 bytesPerLine;
        qint64 memoryBytes;
        bool ok;
    };
    const Case cases[] = {
        { 8, 4, 32, 128, true },
        { 8, 4, 28, 128, false }, // rows too short for 8 pixels
        { 8, 4, 32, 127, false }, // memory one byte short
        { 8, 4, 34, 136, false }, // rows not a multiple of 4 bytes
        { 0, 4, 32, 128, false },
        { 8, -1, 32, 128, false },
        { 8, 1 << 30, 32, 128, false },
    };
    for (const Case &c : cases) {
        const int fd = memfd_create("test", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        ASSERT_GE(fd, 0);
        QByteArray memory(reinterpret_cast<const char *>(image.constBits()), 128);
        memory.resize(256, '\0');
        ASSERT_EQ(write(fd, memory.constData(), size_t(c.memoryBytes)), c.memoryBytes);
        QByteArray form;
        {
            QDataStream out(&form, QIODevice::WriteOnly);
            out << c.width << c.height << qint32(QImage::Format_RGB32) << c.bytesPerLine
                << qint32(3780) << qint32(3780) << QList<QRgb>();
        }
        QDataStream in(form);
        const QImage back = decoder::readImage(in, fd);
        EXPECT_EQ(!back.isNull(), c.ok)
            << c.width << "x" << c.height << " " << c.bytesPerLine << " " << c.memoryBytes;
        if (c.ok) {
            EXPECT_TRUE(back == image);
        }
    }
}

TEST_F(DecoderHelperTest, WithoutTheHelperNoModuleDecodes)
{
    DecoderHelper::instance().setHelperPath(path("no-such-helper"));
    ModuleFolder folder({ "tm_good:a.spi" });
    SusieHost::instance().load(folder.path());
    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, file, messages));
    EXPECT_EQ(messages.messages,
        QStringList { "ファイル(" + file + ")は利用できない画像形式です(Pluginがありません)" });
    EXPECT_EQ(SusieHost::instance().filter(), SusieHost::filterWithout());
    DecoderHelper::instance().setHelperPath(QString());
    ASSERT_TRUE(LoadPictureFile(bitmap, file, messages));
}

} // namespace

// Started while the process runs one thread (a command's first step), the
// helper is a copy of the process rather than a fresh program, yet it is
// fenced and decodes as the started program does; with a second thread
// running, the program is started instead.
TEST_F(DecoderHelperTest, AHelperStartedFirstThingIsACopyOfTheProcess)
{
    ModuleFolder folder({ "tm_good:a.spi" });
    const QString file = path("p.cwtp");
    ASSERT_TRUE(writeAll(file, testPicture(3, 2, qRgb(10, 20, 30))));
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();

    // The death-test child is a single-threaded copy of this test.
    EXPECT_EXIT(
        {
            int failures = 0;
            {
                DecoderHelper helper;
                helper.startEarly();
                failures += helper.howStarted() != DecoderHelper::Start::Copy;
                const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(helper.helperPid()))
                                        .canonicalFilePath();
                failures += exe != self;
                helper.load(folder.path(), ModuleLoading::OnDemand);
                QImage image;
                PictureFailure failure {};
                failures += !helper.decodeImage(file, image, &failure);
                failures += image.size() != QSize(3, 2) || image.pixel(2, 1) != qRgb(10, 20, 30);
                const DecoderFenceReport fence = helper.fences();
                failures += !fence.noNewPrivileges;
                failures += helper.startCount() != 1;
            }
            _exit(failures);
        },
        testing::ExitedWithCode(0), "");

    std::promise<void> stop;
    std::thread other([f = stop.get_future()]() mutable { f.wait(); });
    DecoderHelper helper;
    helper.startEarly();
    EXPECT_EQ(helper.howStarted(), DecoderHelper::Start::Program);
    EXPECT_EQ(QFileInfo(QFileInfo(QStringLiteral("/proc/%1/exe").arg(helper.helperPid()))
                            .canonicalFilePath())
                  .fileName(),
        "casewright-decoder");
    stop.set_value();
    other.join();
}

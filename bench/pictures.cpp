// Picture loading and cropping figures:
//   - a 4000 x 3000 JPEG loaded through the decoder-module host, against
//     libjpeg-turbo decoding the same file directly (goal: within 1.3x);
//   - a 12000 x 9000 picture cropped to a 70-pixel-wide spine strip, with the
//     process's peak memory during the crop (goal: below twice the decoded
//     picture).
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pictures/PictureLoading.h"

#include <jpeglib.h>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QImage photoLike(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + (x * y) % 17) & 255, (y * 255 / h) & 255,
                ((x + y) * 3 + (x ^ y) % 29) & 255);
    }
    return img;
}

const QString &jpeg4000()
{
    static const QString path = [] {
        const QString p = workDir().filePath(QStringLiteral("photo4000.jpg"));
        photoLike(4000, 3000).save(p, "JPEG", 90);
        return p;
    }();
    return path;
}

void ensureModules()
{
    if (SusieHost::instance().moduleCount() == 0)
        SusieHost::instance().load(QStringLiteral(CASEWRIGHT_BIN_DIR));
}

void BM_LoadJpegThroughHost(benchmark::State &state)
{
    ensureModules();
    const QString file = jpeg4000();
    NullMessageSink quiet;
    for (auto _ : state) {
        QImage bitmap;
        if (!LoadPictureFile(bitmap, file, quiet))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}
BENCHMARK(BM_LoadJpegThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibjpegTurboDirect(benchmark::State &state)
{
    const QByteArray file = QFile::encodeName(jpeg4000());
    for (auto _ : state) {
        // A fresh buffer each time, as a loaded picture needs.
        std::vector<unsigned char> pixels;
        FILE *f = std::fopen(file.constData(), "rb");
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, f);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&cinfo);
        const size_t row = size_t(cinfo.output_width) * 3;
        pixels.resize(row * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW r = pixels.data() + row * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &r, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_LibjpegTurboDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

long statusKb(const char *key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string k = key;
    while (std::getline(in, line))
        if (line.compare(0, k.size(), k) == 0)
            return std::stol(line.substr(k.size()));
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_CropSpineStrip12000x9000(benchmark::State &state)
{
    const QImage source = photoLike(12000, 9000);
    const double pictureMb = double(source.sizeInBytes()) / (1024 * 1024);
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage bitmap = source; // shares the pixels, as the renderer's copy does
        resetPeak();
        const long baseKb = statusKb("VmRSS:");
        state.ResumeTiming();
        if (!CropBitmap(bitmap, 5965, 0, 6035, 9000))
            state.SkipWithError("crop failed");
        state.PauseTiming();
        const long peakKb = statusKb("VmHWM:");
        peakMb = std::max(peakMb, double(peakKb) / 1024);
        state.counters["baseMB"] = double(baseKb) / 1024;
        if (bitmap.size() != QSize(70, 9000))
            state.SkipWithError("wrong size");
        state.ResumeTiming();
    }
    state.counters["pictureMB"] = pictureMb;
    state.counters["peakMB"] = peakMb;
    state.counters["peak/picture"] = peakMb / pictureMb;
}
BENCHMARK(BM_CropSpineStrip12000x9000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Load12000x9000JpegThroughHost(benchmark::State &state)
{
    ensureModules();
    const QString p = workDir().filePath(QStringLiteral("photo12000.jpg"));
    if (!QFile::exists(p))
        photoLike(12000, 9000).save(p, "JPEG", 85);
    NullMessageSink quiet;
    for (auto _ : state) {
        QImage bitmap;
        if (!LoadPictureFile(bitmap, p, quiet) || bitmap.size() != QSize(12000, 9000))
            state.SkipWithError("a 12000 x 9000 photograph did not load");
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}
BENCHMARK(BM_Load12000x9000JpegThroughHost)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

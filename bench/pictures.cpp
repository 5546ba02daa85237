// Picture loading and cropping figures:
//   - a 4000 x 3000 JPEG loaded through the decoder-module host, against
//     libjpeg-turbo decoding the same file directly (goal: within 1.3x);
//   - a 4000 x 3000 TIFF, WebP, HEIC and AVIF likewise, against libtiff,
//     libwebp and libheif (goal: within 1.1x);
//   - a 12000 x 9000 picture cropped to a 70-pixel-wide spine strip, with the
//     process's peak memory during the crop (goal: below twice the decoded
//     picture).
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/ProgramFolders.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"

#include <jpeglib.h>
#include <libheif/heif.h>
#include <tiffio.h>
#include <webp/decode.h>

using namespace cw;

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
        SusieHost::instance().load(programModuleFolder());
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

const QString &tiff4000()
{
    static const QString path = [] {
        const QString p = workDir().filePath(QStringLiteral("photo4000.tif"));
        QImageWriter writer(p, "tiff");
        writer.setCompression(1); // LZW
        writer.write(photoLike(4000, 3000).convertToFormat(QImage::Format_RGB888));
        return p;
    }();
    return path;
}

const QString &webp4000()
{
    static const QString path = [] {
        const QString p = workDir().filePath(QStringLiteral("photo4000.webp"));
        photoLike(4000, 3000).save(p, "WEBP", 90);
        return p;
    }();
    return path;
}

// A HEIF file through libheif's encoder (x265 for HEIC, aom for AVIF).
QString heif4000(heif_compression_format format, const char *name)
{
    const QString p = workDir().filePath(QString::fromLatin1(name));
    if (QFile::exists(p))
        return p;
    const QImage rgb = photoLike(4000, 3000).convertToFormat(QImage::Format_RGB888);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_image *image = nullptr;
    heif_context_get_encoder_for_format(context, format, &encoder);
    heif_encoder_set_lossy_quality(encoder, 85);
    if (format == heif_compression_AV1)
        heif_encoder_set_parameter(encoder, "speed", "9");
    heif_image_create(4000, 3000, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, 4000, 3000, 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < 3000; ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), 4000 * 3);
    heif_context_encode_image(context, image, encoder, nullptr, nullptr);
    heif_context_write_to_file(context, QFile::encodeName(p).constData());
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return p;
}

const QString &heic4000()
{
    static const QString path = heif4000(heif_compression_HEVC, "photo4000.heic");
    return path;
}

const QString &avif4000()
{
    static const QString path = heif4000(heif_compression_AV1, "photo4000.avif");
    return path;
}

void loadThroughHost(benchmark::State &state, const QString &file)
{
    ensureModules();
    NullMessageSink quiet;
    for (auto _ : state) {
        QImage bitmap;
        if (!LoadPictureFile(bitmap, file, quiet) || bitmap.size() != QSize(4000, 3000))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}

void BM_LoadTiffThroughHost(benchmark::State &state)
{
    loadThroughHost(state, tiff4000());
}
BENCHMARK(BM_LoadTiffThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibtiffDirect(benchmark::State &state)
{
    const QByteArray file = QFile::encodeName(tiff4000());
    for (auto _ : state) {
        TIFF *tif = TIFFOpen(file.constData(), "r");
        uint32_t w = 0, h = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        std::vector<uint32_t> raster(size_t(w) * h);
        if (!TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 1))
            state.SkipWithError("libtiff failed");
        TIFFClose(tif);
        benchmark::DoNotOptimize(raster.data());
    }
}
BENCHMARK(BM_LibtiffDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadWebpThroughHost(benchmark::State &state)
{
    loadThroughHost(state, webp4000());
}
BENCHMARK(BM_LoadWebpThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibwebpDirect(benchmark::State &state)
{
    const QString file = webp4000();
    for (auto _ : state) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        const QByteArray data = f.readAll();
        int w = 0, h = 0;
        uint8_t *pixels = WebPDecodeBGRA(
            reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), &w, &h);
        if (!pixels)
            state.SkipWithError("libwebp failed");
        benchmark::DoNotOptimize(pixels);
        WebPFree(pixels);
    }
}
BENCHMARK(BM_LibwebpDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

void libheifDirect(benchmark::State &state, const QString &file)
{
    const QByteArray name = QFile::encodeName(file);
    for (auto _ : state) {
        heif_context *context = heif_context_alloc();
        heif_image_handle *handle = nullptr;
        heif_image *image = nullptr;
        if (heif_context_read_from_file(context, name.constData(), nullptr).code != heif_error_Ok
            || heif_context_get_primary_image_handle(context, &handle).code != heif_error_Ok
            || heif_decode_image(
                   handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                    .code
                != heif_error_Ok)
            state.SkipWithError("libheif failed");
        benchmark::DoNotOptimize(image);
        if (image)
            heif_image_release(image);
        if (handle)
            heif_image_handle_release(handle);
        heif_context_free(context);
    }
}

void BM_LoadHeicThroughHost(benchmark::State &state)
{
    loadThroughHost(state, heic4000());
}
BENCHMARK(BM_LoadHeicThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibheifHeicDirect(benchmark::State &state)
{
    libheifDirect(state, heic4000());
}
BENCHMARK(BM_LibheifHeicDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadAvifThroughHost(benchmark::State &state)
{
    loadThroughHost(state, avif4000());
}
BENCHMARK(BM_LoadAvifThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibheifAvifDirect(benchmark::State &state)
{
    libheifDirect(state, avif4000());
}
BENCHMARK(BM_LibheifAvifDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

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

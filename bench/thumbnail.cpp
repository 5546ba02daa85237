// The picture dialog's pane: how long one selection takes from the file name
// to the thumbnail the paint box draws (153 x 141), for a 4000 x 3000 and a
// 12000 x 9000 JPEG (goals: 80 ms and 300 ms), against decoding the whole
// picture as a plain reader would. The thumbnail is read in the decoder
// helper, as the program does, and in this process for comparison; a run
// through 50 photographs is what stepping through a folder costs.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "pictures/PictureLoading.h"
#include "pictures/PictureThumbnail.h"

using namespace cw;

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// A photograph-like JPEG of w x h pixels, written once per run.
QString jpeg(int w, int h)
{
    const QString path = workDir().filePath(QStringLiteral("%1x%2.jpg").arg(w).arg(h));
    if (QFile::exists(path))
        return path;
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar *line = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            line[3 * x] = uchar((x * 255 / w + (x * y) % 17) & 255);
            line[3 * x + 1] = uchar((y * 255 / h) & 255);
            line[3 * x + 2] = uchar(((x + y) * 3 + (x ^ y) % 29) & 255);
        }
    }
    img.save(path, "JPEG", 90);
    return path;
}

void BM_Thumbnail(benchmark::State &state)
{
    const QString path = jpeg(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        const PictureThumbnail t = loadPictureThumbnail(path, QSize(153, 141));
        if (!t.valid)
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(t.image.constBits());
    }
}

// 50 different 1600 x 1200 photographs, one selection each; the argument
// says where they are read (1: the helper, 0: this process).
void BM_FiftyPhotographs(benchmark::State &state)
{
    QStringList paths;
    for (int i = 0; i < 50; ++i)
        paths << jpeg(1600 + i, 1200);
    setDecoderPlacement(state.range(0) ? DecoderPlacement::Helper : DecoderPlacement::InProcess);
    for (auto _ : state) {
        for (const QString &path : paths) {
            const PictureThumbnail t = loadPictureThumbnail(path, QSize(153, 141));
            if (!t.valid)
                state.SkipWithError("not decoded");
            benchmark::DoNotOptimize(t.image.constBits());
        }
    }
    setDecoderPlacement(DecoderPlacement::Helper);
}

void BM_WholeDecode(benchmark::State &state)
{
    const QString path = jpeg(int(state.range(0)), int(state.range(1)));
    QImageReader::setAllocationLimit(1024);
    for (auto _ : state) {
        QImage image(path);
        if (image.isNull())
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_Thumbnail)->Args({ 4000, 3000 })->Args({ 12000, 9000 })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiftyPhotographs)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeDecode)->Args({ 4000, 3000 })->Args({ 12000, 9000 })->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

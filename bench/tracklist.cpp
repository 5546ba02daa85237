// Track-list figures: importing a 100,000-line CSV file and drawing a
// 500-row list on the recording canvas.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "base/UserPrompts.h"
#include "canvas/RecordingCanvas.h"
#include "render/Geometry.h"
#include "text/Cp932.h"
#include "tracklist/DrawTrackList.h"
#include "tracklist/ListImport.h"

using namespace cw;

namespace {

QByteArray csvData(int lines)
{
    QByteArray data;
    const QByteArray title = cp932::encode(QStringLiteral("曲名, その")).bytes;
    for (int i = 0; i < lines; ++i) {
        data += QByteArray::number(i + 1);
        data += ",\"" + title + QByteArray::number(i) + " \"\"live\"\"\",";
        data += QByteArray::number(i % 10) + ":" + QByteArray::number(10 + i % 50) + "\r\n";
    }
    return data;
}

void BM_ImportCsvFile100k(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.csv");
    const QByteArray data = csvData(100000);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    NullMessageSink quiet;
    for (auto _ : state) {
        QList<TListData> rows;
        const int n = ImportListFile(path, rows, ListEditorDefaults(), 3, quiet);
        if (n != 100000)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
    state.counters["rows/s"]
        = benchmark::Counter(double(state.iterations()) * 100000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportCsvFile100k)->Unit(benchmark::kMillisecond);

QList<TListData> listRows(int count)
{
    QList<TListData> rows;
    for (int i = 0; i < count; ++i) {
        TListData r;
        r.kind = i % 10 == 9 ? 1 : 0;
        r.columns[0].text = QString::number(i + 1);
        r.columns[1].text = QStringLiteral("曲名 %1").arg(i);
        r.columns[2].text = QStringLiteral("3:45");
        r.columns[1].align = 2;
        r.columns[2].align = 3;
        rows.append(r);
    }
    return rows;
}

// printableHeight 0: tall enough for every row; otherwise the front's 117 mm.
void BM_DrawTrackList500(benchmark::State &state)
{
    const QList<TListData> rows = listRows(500);
    const int dpi = int(state.range(0));
    const int height = state.range(1) ? 117 : 100000;
    PageScale s = pageScale(dpi, dpi);
    RecordingCanvas canvas(dpi, dpi);
    qsizetype lines = 0;
    for (auto _ : state) {
        canvas.clear();
        DrawTrackList(canvas, rows, defaultListLayout(0), height, 100, 100, s.kx, s.ky);
        lines = canvas.lines().size();
    }
    state.counters["ops"] = double(lines);
}
BENCHMARK(BM_DrawTrackList500)
    ->Args({ 300, 0 })
    ->Args({ 600, 0 })
    ->Args({ 300, 1 })
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

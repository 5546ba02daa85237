// Document file figures: saving and loading a document with 5,000 list rows
// and 300 free-print text items, in CP932 (1.06) and, with an accented letter
// in every list cell, in the Unicode form (1.07); and the rule behind the
// mark a title edit shows, per keystroke.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "render/Geometry.h"
#include "text/UnicodeForm.h"

using namespace cw;

namespace {

LabelDocument bigDocument(bool unicode = false)
{
    LabelDocument doc;
    doc.dpiX = doc.dpiY = 300;
    doc.surfacePixels = surfacePixelsAt(300, 300);
    for (int i = 0; i < 5000; ++i) {
        TListData row;
        row.kind = i % 13 == 12 ? 1 : 0;
        row.columns[0].text = QString::number(i + 1);
        row.columns[1].text = QStringLiteral("曲名その%1 (ライブ)").arg(i);
        if (unicode)
            row.columns[1].text += QStringLiteral(" Café");
        row.columns[2].text = QStringLiteral("%1:%2").arg(i % 10).arg(10 + i % 50);
        row.columns[2].align = 3;
        doc.listRows.append(row);
    }
    QList<TPrintsData> *lists[] = { &doc.coverPrints, &doc.insidePrints, &doc.backPrints };
    for (int i = 0; i < 300; ++i) {
        TPrintsData item;
        item.text = QStringLiteral("任意の文字 %1").arg(i);
        item.textX = i % 120;
        item.textY = i % 110;
        item.angle = (i % 4) * 90;
        lists[i % 3]->append(item);
    }
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("アルバムの題名");
    return doc;
}

void BM_SaveDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.cwr");
    const LabelDocument doc = bigDocument();
    NullMessageSink quiet;
    for (auto _ : state) {
        if (!saveDocument(doc, path, quiet))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = double(documentBytes(doc).data.size());
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.cwr");
    NullMessageSink quiet;
    saveDocument(bigDocument(), path, quiet);
    for (auto _ : state) {
        LabelDocument doc;
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
        DocumentEditor editor(doc, &quiet);
        NullProgressSink progress;
        if (loadDocument(editor, path, progress) != LoadStatus::Loaded
            || doc.listRows.size() != 5000)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

void BM_SaveUnicodeDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.cwr");
    const LabelDocument doc = bigDocument(true);
    NullMessageSink quiet;
    for (auto _ : state) {
        if (!saveDocument(doc, path, quiet, UnicodeSave::Allow))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = double(documentBytes(doc, path, TextEncoding::Utf8).data.size());
}
BENCHMARK(BM_SaveUnicodeDocument)->Unit(benchmark::kMillisecond);

void BM_LoadUnicodeDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.cwr");
    NullMessageSink quiet;
    saveDocument(bigDocument(true), path, quiet, UnicodeSave::Allow);
    for (auto _ : state) {
        LabelDocument doc;
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
        DocumentEditor editor(doc, &quiet);
        NullProgressSink progress;
        if (loadDocument(editor, path, progress) != LoadStatus::Loaded
            || doc.listRows.size() != 5000)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadUnicodeDocument)->Unit(benchmark::kMillisecond);

// The mark's rule on a title of 120 characters, Japanese with one "é" at the end.
void BM_UnicodeMarkRule(benchmark::State &state)
{
    const QString title = QString(119, QChar(0x3042)) + QStringLiteral("é");
    for (auto _ : state)
        benchmark::DoNotOptimize(unicodeFormToolTip(title));
}
BENCHMARK(BM_UnicodeMarkRule)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

// Undo and redo figures on a document of 5,000 list rows and 300 free-print
// items: the time of one undo and one redo for each kind of step (a keystroke
// in a list cell, a free-print text or a title; inserting, deleting and moving
// a row; the bulk font change of a whole column), what recording a keystroke
// step costs, and the memory that 1,000 keystroke steps add to the process.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <functional>
#include <malloc.h>

#include "document/DocumentEditor.h"
#include "prints/PrintsEditor.h"
#include "render/Geometry.h"
#include "tracklist/ListEditor.h"

using namespace cw;

namespace {

struct BigDocument
{
    BigDocument()
        : editor(doc)
        , list(doc.listRows)
        , prints(doc)
    {
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
        for (int i = 0; i < 5000; ++i) {
            TListData r;
            r.columns[0].text = QString::number(i + 1);
            r.columns[1].text = QStringLiteral("曲名 %1 (album version)").arg(i);
            r.columns[2].text = QStringLiteral("3:%1").arg(i % 60, 2, 10, QLatin1Char('0'));
            doc.listRows.append(r);
        }
        for (int i = 0; i < 300; ++i) {
            TPrintsData item;
            item.text = QStringLiteral("Item %1").arg(i);
            item.textX = i % 100;
            doc.coverPrints.append(item);
        }
        list.setRecorder(&editor.history());
        prints.setRecorder(&editor.history());
        list.open(&doc.listLayout[0]);
        prints.open(PrintsList::Cover);
    }
    DocumentHistory &history() { return editor.history(); }

    LabelDocument doc;
    DocumentEditor editor;
    ListEditor list;
    PrintsEditor prints;
};

enum StepKind { CellKey, PrintsKey, TitleKey, InsertRow, DeleteRow, MoveRow, BulkFont };

void makeStep(BigDocument &d, int kind, int n)
{
    switch (kind) {
    case CellKey:
        d.list.select(2500);
        d.list.setCellText(1, QStringLiteral("typed %1").arg(n));
        break;
    case PrintsKey:
        d.prints.select(150);
        d.prints.setText(QStringLiteral("typed %1").arg(n));
        break;
    case TitleKey:
        d.editor.setTitleText(Surface::Top, QStringLiteral("typed %1").arg(n));
        break;
    case InsertRow:
        d.list.select(10);
        d.list.insertRow();
        break;
    case DeleteRow:
        d.list.select(10);
        d.list.deleteRow();
        break;
    case MoveRow:
        d.list.select(2500);
        d.list.moveDown();
        break;
    case BulkFont: {
        BulkFontChoice choice { defaultFont(), {} };
        choice.font.size = 8 + n % 10;
        d.list.bulkFontChange(1, choice);
        break;
    }
    }
    d.history().endTyping();
}

const char *kindName(int kind)
{
    static const char *const names[]
        = { "cell keystroke", "free-print text", "title keystroke", "insert row", "delete row",
              "move row", "bulk font change" };
    return names[kind];
}

double percentile(std::vector<double> values, int p)
{
    if (values.empty())
        return 0;
    const size_t at = std::min(values.size() - 1, values.size() * size_t(p) / 100);
    std::nth_element(values.begin(), values.begin() + long(at), values.end());
    return values[at];
}

// One undo and one redo of the newest step, each timed by itself.
void BM_UndoRedo(benchmark::State &state)
{
    const int kind = int(state.range(0));
    BigDocument d;
    for (int i = 0; i < 20; ++i)
        makeStep(d, kind, i);
    std::vector<double> undos, redos;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        auto t0 = Clock::now();
        HistoryChange u = d.history().undo();
        auto t1 = Clock::now();
        HistoryChange r = d.history().redo();
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(u.done && r.done);
        const double undoMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        const double redoMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
        undos.push_back(undoMs);
        redos.push_back(redoMs);
    }
    state.SetLabel(kindName(kind));
    // The median and the 99th percentile: on a shared machine the slowest
    // single run measures the scheduler, not the step.
    state.counters["undo_p50_ms"] = percentile(undos, 50);
    state.counters["undo_p99_ms"] = percentile(undos, 99);
    state.counters["redo_p50_ms"] = percentile(redos, 50);
    state.counters["redo_p99_ms"] = percentile(redos, 99);
}
BENCHMARK(BM_UndoRedo)->DenseRange(CellKey, BulkFont)->Unit(benchmark::kMillisecond);

// What recording costs: one keystroke step of each kind as the editor makes
// it (the step's bookkeeping included).
void BM_RecordStep(benchmark::State &state)
{
    const int kind = int(state.range(0));
    BigDocument d;
    int n = 0;
    for (auto _ : state) {
        makeStep(d, kind, n++);
        if (d.history().undoCount() > 500) {
            state.PauseTiming();
            d.history().clear();
            state.ResumeTiming();
        }
    }
    state.SetLabel(kindName(kind));
}
BENCHMARK(BM_RecordStep)->DenseRange(CellKey, TitleKey)->Unit(benchmark::kMicrosecond);

// 1,000 keystroke steps, a third each in a list cell, a free-print text and
// the front title: what the process holds more afterwards.
void BM_MemoryOf1000KeystrokeSteps(benchmark::State &state)
{
    double addedMb = 0, estimatedMb = 0;
    for (auto _ : state) {
        BigDocument d;
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        for (int i = 0; i < 1000; ++i) {
            switch (i % 3) {
            case 0:
                d.list.select(i * 5);
                d.list.setCellText(1, QStringLiteral("typed %1").arg(i));
                break;
            case 1:
                d.prints.select(i % 300);
                d.prints.setText(QStringLiteral("typed %1").arg(i));
                break;
            default:
                d.editor.setTitleText(Surface::Top, QStringLiteral("typed %1").arg(i));
                break;
            }
            d.history().endTyping();
        }
        const size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
        addedMb = (double(after) - double(before)) / (1024.0 * 1024.0);
        estimatedMb = double(d.history().estimatedBytes()) / (1024.0 * 1024.0);
        state.counters["steps"] = double(d.history().undoCount());
    }
    state.counters["added_MB"] = addedMb;
    state.counters["estimated_MB"] = estimatedMb;
}
BENCHMARK(BM_MemoryOf1000KeystrokeSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

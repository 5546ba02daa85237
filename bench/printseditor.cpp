// The free-print editor opening on a list of 300 items (goal: under 100 ms):
// the window fills its list and shows the selected item.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "prints/ui/TPrintsList.h"

using namespace cw;

namespace {

void BM_OpenEditorWith300Items(benchmark::State &state)
{
    LabelDocument doc;
    for (int i = 0; i < 300; ++i) {
        TPrintsData item = newPrintsItem(i % 3 == 0);
        item.text = QStringLiteral("項目 %1").arg(i);
        item.fileName = QStringLiteral("/pictures/%1.jpg").arg(i);
        doc.coverPrints.append(item);
    }
    TPrintsList editor(doc);
    editor.editor().open(PrintsList::Cover);
    editor.editor().select(150);
    for (auto _ : state) {
        editor.openFor(0);
        QCoreApplication::processEvents(); // the first paint
        state.PauseTiming();
        editor.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_OpenEditorWith300Items)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

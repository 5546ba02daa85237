// The cost of opening the font dialog: the family list read from the font
// database, and the dialog built on it and shown. The first reading of a
// process (the font database filled, every family's file opened once) is
// printed before the repeated runs. Run it with FONTCONFIG_FILE pointing at
// a large font collection to see the cost on a well-stocked desktop.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <cstdio>
#include <ctime>

#include "fonts/FontFamilies.h"
#include "fonts/ui/TFontDialogX.h"

using namespace cw;

namespace {

FontSpec titleFont()
{
    FontSpec f = defaultFont();
    f.name = QStringLiteral("ＭＳ Ｐ明朝");
    f.size = 20;
    f.bold = true;
    return f;
}

void BM_BuildFamilyList(benchmark::State &state)
{
    qsizetype families = 0;
    for (auto _ : state) {
        const QList<FontFamilyEntry> list = installedFontFamilies();
        families = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["families"] = double(families);
}
BENCHMARK(BM_BuildFamilyList)->Unit(benchmark::kMillisecond);

// What a click on "フォント" costs until the dialog is on screen.
void BM_OpenFontDialog(benchmark::State &state)
{
    for (auto _ : state) {
        TFontDialogX dialog(installedFontFamilies(), titleFont());
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(&dialog);
    }
}
BENCHMARK(BM_OpenFontDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    // The database is filled when the first window of the program draws
    // text; the dialog's first opening reads it and opens each family once.
    QElapsedTimer timer;
    std::clock_t cpu = std::clock();
    timer.start();
    const qsizetype databaseFamilies = QFontDatabase::families().size();
    std::fprintf(stderr, "font database filled: %.1f ms (%.1f ms CPU), %d family names\n",
        timer.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC,
        int(databaseFamilies));
    cpu = std::clock();
    timer.restart();
    const qsizetype families = installedFontFamilies().size();
    std::fprintf(stderr, "first family list of the process: %.1f ms (%.1f ms CPU), %d families\n",
        timer.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC,
        int(families));
    cpu = std::clock();
    timer.restart();
    {
        TFontDialogX dialog(installedFontFamilies(), titleFont());
        dialog.show();
        QCoreApplication::processEvents();
    }
    std::fprintf(stderr, "first dialog of the process on screen: %.1f ms (%.1f ms CPU)\n",
        timer.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

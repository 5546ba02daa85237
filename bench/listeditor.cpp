// List editor figures on the offscreen platform: opening the editor over a
// 5,000-row list, one keystroke in a cell text with the preview visible, and
// importing a 100,000-line CSV file through "ファイル".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <unistd.h>

#include "app/TAboutBox.h"
#include "app/TMainWindow.h"
#include "fonts/Font.h"
#include "render/Geometry.h"
#include "render/ui/TPreviewWindow.h"
#include "text/Cp932.h"
#include "tracklist/ui/TListWindow.h"
#include "widgets/UserDialogs.h"

using namespace cw;

namespace {

class FixedPrinter : public PrinterBackend
{
public:
    bool queryResolution(int &x, int &y) override
    {
        x = y = 300;
        return true;
    }
};

// Answers the open dialogs with a set path; everything else is cancelled.
class BenchDialogs : public UserDialogs
{
public:
    void showMessage(const QString &) override { }
    bool confirm(const QString &, const QString &) override { return true; }
    QString openFile(const QString &, const QString &) override { return openAnswer; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString openPicture(const QString &, const QString &) override { return {}; }
    std::optional<ColorRef> chooseColor(ColorRef) override { return std::nullopt; }
    std::optional<FontSpec> chooseFont(const FontSpec &) override { return std::nullopt; }
    std::optional<BulkFontChoice> chooseBulkFontChange(const FontSpec &) override
    {
        return std::nullopt;
    }
    std::optional<ColorRef> pickTransparentColor(const QImage &) override { return std::nullopt; }
    QStringList openFiles(const QString &) override { return { openAnswer }; }
    bool choosePrint(QPrinter &, int) override { return false; }
    void choosePrinter(QPrinter &) override { }
    SaveChangesAnswer askSaveChanges(const QString &, const QString &) override
    {
        return SaveChangesAnswer::Discard;
    }
    QString openAnswer;
};

struct Editor
{
    Editor()
    {
        window = std::make_unique<TMainWindow>();
        window->setDialogs(&dialogs);
        window->setPrinterBackend(&printer);
        window->show();
        QCoreApplication::processEvents();
        window->aboutBox()->close();
        window->document().top.useList = true;
    }
    ~Editor() { window.reset(); }
    TListWindow *list() { return window->listWindow(); }
    void fill(int count)
    {
        QList<TListData> &rows = window->document().listRows;
        rows.clear();
        for (int i = 0; i < count; ++i) {
            TListData r;
            r.columns[0].text = QString::number(i + 1);
            r.columns[1].text = QStringLiteral("曲名 %1").arg(i);
            r.columns[2].text = QStringLiteral("3:%1").arg(i % 60, 2, 10, QLatin1Char('0'));
            rows.append(r);
        }
    }
    BenchDialogs dialogs;
    FixedPrinter printer;
    std::unique_ptr<TMainWindow> window;
};

long residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * sysconf(_SC_PAGESIZE) : 0;
}

void BM_OpenEditor5000Rows(benchmark::State &state)
{
    Editor e;
    e.fill(5000);
    for (auto _ : state) {
        e.list()->openFor(0);
        // The first painting of the window is part of opening it.
        QCoreApplication::processEvents();
        state.PauseTiming();
        e.list()->ListCloseClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEditor5000Rows)->Unit(benchmark::kMillisecond);

void BM_KeystrokeInACellText5000Rows(benchmark::State &state)
{
    Editor e;
    e.fill(5000);
    e.list()->openFor(0);
    e.window->PreviewShowClick();
    QCoreApplication::processEvents();
    e.list()->ListBoxClick(2500);
    QCoreApplication::processEvents();
    auto *edit = e.list()->findChild<QLineEdit *>(QStringLiteral("ListText2"));
    const int drawsBefore = e.window->previewWindow()->drawCount();
    bool type = true;
    for (auto _ : state) {
        // Type a character, then take it back: both are keystrokes.
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
            type ? QStringLiteral("a") : QString());
        QCoreApplication::sendEvent(edit, &press);
        QCoreApplication::processEvents();
        type = !type;
    }
    state.counters["previewDraws"]
        = double(e.window->previewWindow()->drawCount() - drawsBefore) / double(state.iterations());
}
BENCHMARK(BM_KeystrokeInACellText5000Rows)->Unit(benchmark::kMillisecond);

void BM_ImportCsv100kLinesInTheEditor(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    {
        QByteArray data;
        const QByteArray title = cp932::encode(QStringLiteral("曲名, その")).bytes;
        for (int i = 0; i < 100000; ++i)
            data += QByteArray::number(i + 1) + ",\"" + title + QByteArray::number(i) + "\","
                + QByteArray::number(i % 10) + ":" + QByteArray::number(10 + i % 50) + "\r\n";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    Editor e;
    e.dialogs.openAnswer = path;
    e.list()->openFor(0);
    QCoreApplication::processEvents();
    long grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.window->document().listRows.clear();
        e.list()->openFor(0);
        QCoreApplication::processEvents();
        const long before = residentBytes();
        state.ResumeTiming();
        e.list()->FileLoadClick();
        QCoreApplication::processEvents();
        state.PauseTiming();
        grown = std::max(grown, residentBytes() - before);
        if (e.window->document().listRows.size() != 100000)
            state.SkipWithError("the import did not make 100,000 rows");
        state.ResumeTiming();
    }
    state.counters["rssGrowthMB"] = double(grown) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ImportCsv100kLinesInTheEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessellane"));
    QApplication::setApplicationName(QStringLiteral("Casewright-bench"));
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

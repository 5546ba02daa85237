// Printing speed and size: a jewel-case insert with a 20-track list, titles,
// spines and a JPEG cover on the front, the back (linked) and the left spine,
// printed to a PDF file at 300 dpi as `casewright-cli print --pdf` does, for
// covers of 1600 x 1600 and 4000 x 3000 pixels; a second print of the same
// document; and decoding a picture that goes through the BMP path of the
// decoder modules (an 8-bit greyscale JPEG).
//
// With CASEWRIGHT_BENCH_DOCS=DIR the insert documents and their pictures
// (also 12000 x 9000 and 8000 x 6000 ones) are written into DIR and kept, for timing the
// command line on them.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "document/PicturePlacementOps.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"
#include "render/DocumentPages.h"
#include "render/PictureFileReader.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

QString folder()
{
    static QTemporaryDir scratch;
    const QString kept = qEnvironmentVariable("CASEWRIGHT_BENCH_DOCS");
    if (!kept.isEmpty()) {
        QDir().mkpath(kept);
        return kept;
    }
    return scratch.path();
}

// A photograph-like picture: a gradient with a disc and some noise.
QString writeJpeg(int w, int h, bool grey = false)
{
    const QString path = QDir(folder()).filePath(
        QStringLiteral("cover-%1x%2%3.jpg").arg(w).arg(h).arg(grey ? "-grey" : ""));
    if (QFile::exists(path))
        return path;
    QImage img(w, h, QImage::Format_RGB32);
    {
        QPainter p(&img);
        QLinearGradient g(0, 0, w, h);
        g.setColorAt(0, QColor(20, 40, 120));
        g.setColorAt(1, QColor(240, 140, 40));
        p.fillRect(img.rect(), g);
        p.setBrush(QColor(255, 255, 200));
        p.drawEllipse(QPoint(w / 2, h / 2), h / 4, h / 4);
    }
    QRandomGenerator rng(7);
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.bounded(16)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                qBound(0, qBlue(c) + n, 255));
        }
    }
    if (grey)
        img = img.convertToFormat(QImage::Format_Grayscale8);
    img.save(path, "JPEG", 90);
    return path;
}

// The insert document for a cover of w x h pixels, written once.
QString insertDocument(int w, int h)
{
    const QString path = QDir(folder()).filePath(QStringLiteral("insert-%1x%2.cwr").arg(w).arg(h));
    if (QFile::exists(path))
        return path;
    const QString cover = writeJpeg(w, h);
    NullMessageSink quiet;
    LabelDocument doc;
    ComputeSurfacePixels(doc);
    setPictureUse(doc, Surface::Top, true);
    LoadSurfacePicture(doc, Surface::Top, cover, quiet);
    setPictureUse(doc, Surface::Bottom, true);
    setPictureLink(doc, Surface::Top, true);
    setPictureUse(doc, Surface::Left, true);
    LoadSurfacePicture(doc, Surface::Left, cover, quiet);
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("夜明けのうた");
    doc.top.title.font.size = 28;
    doc.top.title.font.bold = true;
    doc.bottom.title.use = true;
    doc.bottom.title.text = doc.top.title.text;
    doc.left.title.use = doc.right.title.use = true;
    doc.left.title.text = doc.right.title.text = QStringLiteral("夜明けのうた ― Demo");
    doc.top.useList = doc.bottom.useList = true;
    for (int i = 1; i <= 20; ++i) {
        TListData r;
        r.columns[0].text = QString::number(i) + ".";
        r.columns[0].align = 3;
        r.columns[1].text = QStringLiteral("トラック %1 の曲名").arg(i);
        r.columns[2].text = QStringLiteral("%1:%2").arg(3 + i % 3).arg(10 + i * 2);
        r.columns[2].align = 3;
        doc.listRows.append(r);
    }
    saveDocument(doc, path, quiet);
    return path;
}

PrintOptions bothPages()
{
    PrintOptions o;
    o.printFront = o.printBack = true;
    return o;
}

bool load(LabelDocument &doc, const QString &path)
{
    ComputeSurfacePixels(doc);
    DocumentEditor editor(doc);
    NullProgressSink progress;
    return loadDocument(editor, path, progress) == LoadStatus::Loaded;
}

class FixedPrinter : public PrinterBackend
{
public:
    bool queryResolution(int &dpiX, int &dpiY) override
    {
        dpiX = dpiY = 300;
        return true;
    }
};

qint64 printPdf(LabelDocument &doc, const QString &pdf)
{
    NullMessageSink quiet;
    NullProgressSink progress;
    FilePictureReader reader(quiet);
    const PageDrawer draw = documentPageDrawer(doc, bothPages(), &reader);
    PdfPrintTarget target(pdf, 300);
    FixedPrinter printer;
    PrinterState state;
    PrintDocument(target, printer, bothPages(), draw, quiet, progress, state);
    return QFileInfo(pdf).size();
}

long peakRssMb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

const int kCovers[][2] = { { 1600, 1600 }, { 4000, 3000 }, { 12000, 9000 } };

// Reading the document (which decodes the cover) and printing both pages.
void BM_PrintPdfInsert(benchmark::State &state)
{
    const int w = kCovers[state.range(0)][0], h = kCovers[state.range(0)][1];
    const QString doc = insertDocument(w, h);
    const QString pdf = QDir(folder()).filePath(QStringLiteral("bench-%1.pdf").arg(w));
    qint64 bytes = 0;
    for (auto _ : state) {
        LabelDocument d;
        if (!load(d, doc)) {
            state.SkipWithError("the insert does not load");
            break;
        }
        bytes = printPdf(d, pdf);
    }
    state.SetLabel(QStringLiteral("cover %1x%2, %3 KB of PDF, peak %4 MB")
                       .arg(w)
                       .arg(h)
                       .arg(bytes / 1024)
                       .arg(peakRssMb())
                       .toStdString());
}
BENCHMARK(BM_PrintPdfInsert)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same document printed again: the render caches are warm.
void BM_PrintPdfInsertAgain(benchmark::State &state)
{
    const int w = kCovers[state.range(0)][0], h = kCovers[state.range(0)][1];
    const QString pdf = QDir(folder()).filePath(QStringLiteral("again-%1.pdf").arg(w));
    LabelDocument d;
    if (!load(d, insertDocument(w, h))) {
        state.SkipWithError("the insert does not load");
        return;
    }
    printPdf(d, pdf);
    for (auto _ : state)
        printPdf(d, pdf);
    state.SetLabel(QStringLiteral("cover %1x%2").arg(w).arg(h).toStdString());
}
BENCHMARK(BM_PrintPdfInsertAgain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// An 8-bit module output: decoded through Qt's BMP reader.
void BM_DecodeGreyJpeg4000x3000(benchmark::State &state)
{
    const QString file = writeJpeg(4000, 3000, true);
    NullMessageSink quiet;
    for (auto _ : state) {
        QImage bitmap;
        if (!LoadPictureFile(bitmap, file, quiet)) {
            state.SkipWithError("the JPEG does not decode: are the decoder modules built?");
            break;
        }
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}
BENCHMARK(BM_DecodeGreyJpeg4000x3000)->Unit(benchmark::kMillisecond);

// The decoder modules a first JPEG needs: every module loaded at once, as the
// window does at start-up (0), or each loaded only when the ones before it
// turned the file down, as the command line does (1).
void BM_ModulesForOneJpeg(benchmark::State &state)
{
    const QString file = writeJpeg(320, 240);
    const ModuleLoading when = state.range(0) ? ModuleLoading::OnDemand : ModuleLoading::AtOnce;
    NullMessageSink quiet;
    for (auto _ : state) {
        SusieHost::instance().load(susiePluginFolder(), when);
        QImage bitmap;
        if (!LoadPictureFile(bitmap, file, quiet)) {
            state.SkipWithError("the JPEG does not decode: are the decoder modules built?");
            break;
        }
        state.counters["modules"] = SusieHost::instance().loadedModuleCount();
    }
    LoadSusiePlugins();
}
BENCHMARK(BM_ModulesForOneJpeg)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    LoadSusiePlugins(); // the decoder modules beside the program
    if (!qEnvironmentVariableIsEmpty("CASEWRIGHT_BENCH_DOCS")) {
        for (const auto &cover : kCovers)
            insertDocument(cover[0], cover[1]);
        insertDocument(12000, 9000);
        insertDocument(8000, 6000); // a 48-megapixel phone photograph
        writeJpeg(12000, 9000, true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

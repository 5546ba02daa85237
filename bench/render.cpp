// Drawing speed of the page renderers: the preview page at 96 dpi with warm
// picture caches, a 600-dpi PDF page, and the first draw of a large JPEG
// cover against decoding that JPEG alone.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "canvas/QPainterCanvas.h"
#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "pictures/PictureLoading.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"
#include "render/Geometry.h"
#include "render/PictureFileReader.h"

using namespace cw;

namespace {

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A photograph-like picture: a gradient with a disc and some noise, so that
// JPEG has real work to do.
QString writeJpeg(const QString &name, int w, int h)
{
    const QString path = QDir(scratch().path()).filePath(name);
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
    img.save(path, "JPEG", 90);
    return path;
}

// The demo document when the source tree has one, else one built alike:
// cover picture, title, a list of ten rows on both labels, free prints,
// back title and both spine titles.
LabelDocument &demo()
{
    static LabelDocument doc;
    static bool ready = false;
    if (ready)
        return doc;
    ready = true;
    doc.dpiX = doc.dpiY = 300;
    doc.surfacePixels = surfacePixelsAt(300, 300);
    const QString file = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");
    if (QFile::exists(file)) {
        DocumentEditor editor(doc);
        NullProgressSink progress;
        if (loadDocument(editor, file, progress) == LoadStatus::Loaded)
            return doc;
    }
    doc.top.picture.use = true;
    doc.top.picture.fileName = writeJpeg("cover.jpg", 1600, 1200);
    NullMessageSink quiet;
    LoadPictureFile(doc.top.picture.bitmap, doc.top.picture.fileName, quiet);
    doc.top.picture.pixelWidth = 1600;
    doc.top.picture.pixelHeight = 1200;
    doc.top.picture.sourceRect = PixelRect { 0, 0, 1600, 1200 };
    doc.top.picture.printWidth = 1881;
    doc.top.picture.printHeight = 1411;
    doc.top.picture.posX = -226;
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("夜明けのうた");
    doc.top.title.font.size = 28;
    doc.top.title.font.bold = true;
    doc.top.useList = doc.bottom.useList = true;
    for (int i = 1; i <= 10; ++i) {
        TListData r;
        r.columns[0].text = QString::number(i) + ".";
        r.columns[0].align = 3;
        r.columns[1].text = QStringLiteral("トラック %1 の曲名").arg(i);
        r.columns[2].text = QStringLiteral("%1:%2").arg(3 + i % 3).arg(10 + i * 3);
        r.columns[2].align = 3;
        doc.listRows.append(r);
    }
    doc.top.useCoverPrints = true;
    TPrintsData t;
    t.text = QStringLiteral("Casewright Records");
    t.textX = 5;
    t.textY = 110;
    doc.coverPrints.append(t);
    t.text = QStringLiteral("SIDE");
    t.angle = 90;
    t.textX = 113;
    t.textY = 60;
    doc.coverPrints.append(t);
    doc.bottom.title.use = true;
    doc.bottom.title.text = doc.top.title.text;
    doc.bottom.title.posMode = TitlePosition::Bottom;
    doc.left.title.use = doc.right.title.use = true;
    doc.left.title.text = doc.right.title.text = QStringLiteral("夜明けのうた ― Demo");
    return doc;
}

PrintOptions allLines()
{
    return PrintOptions();
}

void drawPage(LabelCanvas &canvas, LabelDocument &doc, bool front, int dpi, int w, int h)
{
    static NullMessageSink quiet;
    static FilePictureReader reader(quiet);
    if (front)
        DrawFrontPage(canvas, doc, allLines(), dpi, dpi, w, h, &reader);
    else
        DrawBackPage(canvas, doc, allLines(), dpi, dpi, w, h, &reader);
}

void BM_PreviewPage96(benchmark::State &state)
{
    const bool front = state.range(0) == 0;
    LabelDocument &doc = demo();
    QImage page(1046, 604, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainterCanvas warm(&page, 96, 96);
        drawPage(warm, doc, front, 96, 1046, 604);
    }
    for (auto _ : state) {
        QPainterCanvas canvas(&page, 96, 96);
        drawPage(canvas, doc, front, 96, 1046, 604);
    }
    state.SetLabel(front ? "front" : "back");
}
BENCHMARK(BM_PreviewPage96)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PdfPage600(benchmark::State &state)
{
    const bool front = state.range(0) == 0;
    LabelDocument &doc = demo();
    QImage warmPage(1046, 604, QImage::Format_RGB32);
    {
        QPainterCanvas warm(&warmPage, 96, 96);
        drawPage(warm, doc, front, 96, 1046, 604);
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&out);
            writer.setResolution(600);
            writer.setPageLayout(QPageLayout(
                QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
            QPainterCanvas canvas(&writer, 600, 600);
            drawPage(canvas, doc, front, 600, writer.width(), writer.height());
        }
        bytes = out.size();
    }
    state.SetLabel(QStringLiteral("%1, %2 KB of PDF")
                       .arg(front ? "front" : "back")
                       .arg(bytes / 1024)
                       .toStdString());
}
BENCHMARK(BM_PdfPage600)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The 4000 x 3000 cover as loading places it: covering the face, centred.
PicturePlacement bigCover()
{
    PicturePlacement p;
    p.use = true;
    p.fileName = writeJpeg("big.jpg", 4000, 3000);
    p.pixelWidth = 4000;
    p.pixelHeight = 3000;
    p.printWidth = 1881;
    p.printHeight = 1411;
    p.posX = -226;
    return p;
}

void BM_DecodeJpeg4000x3000(benchmark::State &state)
{
    const QString file = bigCover().fileName;
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
BENCHMARK(BM_DecodeJpeg4000x3000)->Unit(benchmark::kMillisecond);

void BM_FirstDrawJpegCover4000x3000(benchmark::State &state)
{
    LabelDocument doc;
    doc.dpiX = doc.dpiY = 300;
    doc.surfacePixels = surfacePixelsAt(300, 300);
    QImage page(1046, 604, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        doc.top.picture = bigCover(); // empty cache: the first draw reads the file
        state.ResumeTiming();
        QPainterCanvas canvas(&page, 96, 96);
        drawPage(canvas, doc, true, 96, 1046, 604);
    }
}
BENCHMARK(BM_FirstDrawJpegCover4000x3000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    LoadSusiePlugins(); // the decoder modules beside the program
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The cost of keeping the preview current: a title edit on the demo document
// followed by the redraw of the page shown, at each of the three zoom sizes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "fonts/FontDialogModel.h"
#include "pictures/PictureLoading.h"
#include "prints/PrintsEditor.h"
#include "render/DirectEdit.h"
#include "render/PictureFileReader.h"
#include "render/DocumentPages.h"
#include "render/Geometry.h"
#include "render/PreviewState.h"
#include "render/RenderPreviewPage.h"

using namespace cw;

namespace {

struct Demo
{
    LabelDocument doc;
    DocumentEditor editor { doc };
    PrintOptions options;
    Demo()
    {
        LoadSusiePlugins();
        ComputeSurfacePixels(doc);
        NullProgressSink progress;
        if (loadDocument(
                editor, QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"), progress)
            != LoadStatus::Loaded)
            qFatal("the demo document does not load");
    }
};

Demo &demo()
{
    static Demo d;
    return d;
}

void BM_TitleEditAndPreviewRefresh(benchmark::State &state)
{
    Demo &d = demo();
    const int zoom = int(state.range(0));
    const QSize size = PreviewState::bitmapSize(zoom);
    const PageDrawer draw = documentPageDrawer(d.doc, d.options);
    const QString base = d.doc.top.title.text;
    int n = 0;
    for (auto _ : state) {
        d.editor.setTitleText(Surface::Top, base + QString::number(n++ % 10));
        QImage bitmap(size, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        RenderPreviewPage(PreviewPage::Front, bitmap, draw);
        benchmark::DoNotOptimize(bitmap.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}
BENCHMARK(BM_TitleEditAndPreviewRefresh)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A keystroke in the largest bold title the font dialog takes, in a face with
// no bold style of its own ("ＭＳ Ｐ明朝" at 1638 points), centred on the
// cover, so that a glyph or two of it lies on the page and the rest far off
// it: the title changed through the change operations and the page redrawn
// with the boxes of its things, as the preview window redraws it.
void BM_LargestBoldTitleKeystroke(benchmark::State &state)
{
    static Demo d;
    const int zoom = int(state.range(0));
    const QSize size = PreviewState::bitmapSize(zoom);
    FontSpec font = d.doc.top.title.font;
    font.name = QStringLiteral("ＭＳ Ｐ明朝");
    font.size = kMaxFontSize;
    font.bold = true;
    d.editor.setTitleFont(Surface::Top, font);
    d.editor.setTitlePosMode(Surface::Top, TitlePosition::Centre);
    const PageDrawer draw = documentPageDrawer(d.doc, d.options);
    const QString base = QStringLiteral("夜明けの序曲 Casewright");
    int n = 0;
    for (auto _ : state) {
        d.editor.setTitleText(Surface::Top, base + QString::number(n++ % 10));
        QImage bitmap(size, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        QList<PartBox> boxes;
        RenderPreviewPage(PreviewPage::Front, bitmap, draw, &boxes);
        benchmark::DoNotOptimize(bitmap.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}
BENCHMARK(BM_LargestBoldTitleKeystroke)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Drag frames of one thing of the front page: each moves it to the next
// position, draws the page and records where its things landed.
void dragFrames(benchmark::State &state, DocumentEditor &editor, PartKind kind, QSize size,
    const PageDrawer &draw, PartPosition (*position)(int))
{
    PrintsEditor prints(editor.document());
    PagePart part;
    part.kind = kind;
    int n = 0;
    for (auto _ : state) {
        placePart({ editor, prints }, part, position(n++));
        QImage bitmap(size, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        QList<PartBox> boxes;
        RenderPreviewPage(PreviewPage::Front, bitmap, draw, &boxes);
        benchmark::DoNotOptimize(boxes.size());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}

// One frame of a drag in the preview: the title moved through the change
// operations, the shown page redrawn with the boxes of its things.
void BM_DragFrame(benchmark::State &state)
{
    Demo &d = demo();
    const int zoom = int(state.range(0));
    const QSize size = PreviewState::bitmapSize(zoom);
    const PageDrawer draw = documentPageDrawer(d.doc, d.options);
    dragFrames(state, d.editor, PartKind::Title, size, draw,
        [](int n) { return PartPosition { 10 + n % 20, 20 + n % 7 }; });
}
BENCHMARK(BM_DragFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A drag frame on a document whose cover, back and both spines show one
// 8000 x 6000 JPEG photograph: the back picture follows the cover's.
struct Photo
{
    QTemporaryDir dir;
    LabelDocument doc;
    DocumentEditor editor { doc };
    PrintOptions options;
    Photo()
    {
        LoadSusiePlugins();
        ComputeSurfacePixels(doc);
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        QImage photo(8000, 6000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
        }
        if (!photo.save(file, "JPG", 80))
            qFatal("the photograph cannot be written");
        for (Surface s : kAllSurfaces) {
            editor.setPictureUse(s, true);
            editor.loadSurfacePicture(s, file);
        }
        editor.setPictureSameAsFront(true);
        doc.top.title.use = true;
        doc.top.title.text = QStringLiteral("Tessellane");
    }
};

void BM_DragFramePhotograph(benchmark::State &state)
{
    static Photo d;
    const int zoom = int(state.range(0));
    const QSize size = PreviewState::bitmapSize(zoom);
    // Held as the preview holds pictures while one is dragged.
    HeldPictureReader held(defaultPictureFileReader());
    held.setHolding(true);
    const PageDrawer draw = documentPageDrawer(d.doc, d.options, &held);
    dragFrames(state, d.editor, PartKind::Picture, size, draw,
        [](int n) { return PartPosition { n % 50, n % 30 }; });
}
BENCHMARK(BM_DragFramePhotograph)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Finding the thing under a click among the boxes of both pages.
void BM_HitTest(benchmark::State &state)
{
    Demo &d = demo();
    const PageDrawer draw = documentPageDrawer(d.doc, d.options);
    QList<PartBox> boxes;
    for (PreviewPage page : { PreviewPage::Front, PreviewPage::Back }) {
        QImage bitmap(PreviewState::bitmapSize(2), QImage::Format_RGB32);
        QList<PartBox> some;
        RenderPreviewPage(page, bitmap, draw, &some);
        boxes += some;
    }
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % 1046;
        benchmark::DoNotOptimize(partAt(boxes, QPoint(x, (x * 7) % 604)));
    }
    state.SetLabel(std::to_string(boxes.size()) + " boxes");
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <map>

#include "TestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "pictures/PictureLoading.h"
#include "render/DocumentPages.h"
#include "render/PageOutput.h"
#include "render/PictureFileReader.h"
#include "render/PreviewState.h"
#include "render/PrintDocument.h"

using namespace cw;

// The pages of the test and example documents, drawn at several resolutions
// with and without a bleed, moved by a print correction and with each print
// option switched, each kept as the SHA-256 of its pixels or of its canvas
// calls (tests/golden/page-hashes.txt). A change to the renderers that moves
// one pixel of these pages fails here, naming the pages it changed.
// tools/record-page-goldens writes the list anew.

namespace {

const char *kHashFile = CASEWRIGHT_SOURCE_DIR "/tests/golden/page-hashes.txt";

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The pixels as 32-bit RGB, row by row, after the size: independent of how
// the image is stored or encoded.
QByteArray imageHash(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(QByteArray::number(rgb.width()) + 'x' + QByteArray::number(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        h.addData(QByteArrayView(reinterpret_cast<const char *>(rgb.constScanLine(y)),
            qsizetype(rgb.width()) * 4));
    return h.result().toHex();
}

QByteArray linesHash(const QStringList &lines)
{
    return sha256(lines.join(QLatin1Char('\n')).toUtf8());
}

class FixedPrinter : public PrinterBackend
{
public:
    explicit FixedPrinter(int dpi)
        : m_dpi(dpi)
    { }
    bool queryResolution(int &x, int &y) override
    {
        x = y = m_dpi;
        return true;
    }

private:
    int m_dpi;
};

// A print job onto A4 landscape sheets at `dpi`, recording each sheet's calls.
class RecordingSheets : public PrintTarget
{
public:
    explicit RecordingSheets(int dpi)
        : m_dpi(dpi)
        , recording(dpi, dpi)
    { }
    bool showPrintDialog(int) override { return true; }
    void setLandscape() override { }
    bool begin(const QString &) override { return true; }
    bool newPage() override
    {
        sheets << recording.lines();
        recording.clear();
        return true;
    }
    bool end() override
    {
        sheets << recording.lines();
        return true;
    }
    LabelCanvas &canvas() override { return recording; }
    int resolutionX() const override { return m_dpi; }
    int resolutionY() const override { return m_dpi; }
    // A4 landscape, 297 x 210 mm.
    int printableWidth() const override { return int(m_dpi * 297 / 25.4); }
    int printableHeight() const override { return int(m_dpi * 210 / 25.4); }

    int m_dpi;
    RecordingCanvas recording;
    QList<QStringList> sheets;
};

struct Variant
{
    const char *name;
    std::function<void(PrintOptions &)> set;
};

const Variant kPlain { "plain", [](PrintOptions &) { } };
const Variant kBleed { "bleed3", [](PrintOptions &o) { o.bleedMm = 3; } };
const std::vector<Variant> kOptionVariants = {
    { "no-boundary", [](PrintOptions &o) { o.boundaryLines = false; } },
    { "no-folds", [](PrintOptions &o) { o.foldLines = false; } },
    { "spines-same", [](PrintOptions &o) { o.spinesSameDirection = true; } },
    { "all-off-bleed1",
        [](PrintOptions &o) {
            o.boundaryLines = o.foldLines = false;
            o.spinesSameDirection = true;
            o.bleedMm = 1;
        } },
};

class PageGoldens : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { LoadSusiePlugins(ModuleLoading::OnDemand); }

    // A document read as the command line reads it, at a 300 dpi printer.
    bool load(const QString &path, LabelDocument &doc)
    {
        PrinterState state;
        state.printerDpiX = state.printerDpiY = 300;
        ComputeSurfacePixels(doc, state);
        DocumentEditor editor(doc, &quiet);
        NullProgressSink progress;
        return loadDocument(editor, path, progress) == LoadStatus::Loaded;
    }

    void pages(const QString &docName, LabelDocument &doc, int dpi, const Variant &v, bool pixels)
    {
        PrintOptions options;
        v.set(options);
        const QSize size = PreviewState::pageSizeAt(dpi, dpi);
        FilePictureReader reader(quiet);
        for (PreviewPage page : { PreviewPage::Front, PreviewPage::Back }) {
            const QString key = QStringLiteral("%1 %2 %3dpi %4")
                                    .arg(docName, page == PreviewPage::Front ? "front" : "back")
                                    .arg(dpi)
                                    .arg(QString::fromLatin1(v.name));
            RecordingCanvas canvas(dpi, dpi);
            drawDocumentPage(
                canvas, doc, options, page, dpi, dpi, size.width(), size.height(), &reader);
            hashes[key + QStringLiteral(" ops")] = linesHash(canvas.lines());
            if (pixels)
                hashes[key + QStringLiteral(" png")] = imageHash(renderPageImage(
                    doc, options, page, dpi, dpi, size.width(), size.height(), &reader));
        }
    }

    // A print job of the pages chosen, every sheet moved by `correction`.
    void print(const QString &docName, LabelDocument &doc, const PrintOptions &options,
        const PrintCorrection &correction, const QString &what)
    {
        RecordingSheets target(300);
        target.setCorrectionLookup([correction](const PrintDevice &) { return correction; });
        FixedPrinter printer(300);
        FilePictureReader reader(quiet);
        NullProgressSink progress;
        PrinterState state;
        const PrintResult result = PrintDocument(target, printer, options,
            documentPageDrawer(doc, options, &reader), quiet, progress, state);
        ASSERT_EQ(result, PrintResult::Printed) << what.toStdString();
        for (int i = 0; i < target.sheets.size(); ++i)
            hashes[QStringLiteral("%1 print %2 sheet%3").arg(docName, what).arg(i + 1)]
                = linesHash(target.sheets[i]);
    }

    NullMessageSink quiet;
    std::map<QString, QByteArray> hashes;
};

std::map<QString, QByteArray> readHashes()
{
    std::map<QString, QByteArray> read;
    QFile file(QString::fromUtf8(kHashFile));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return read;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const int space = line.lastIndexOf(' ');
        if (line.isEmpty() || line.startsWith('#') || space < 0)
            continue;
        read[QString::fromUtf8(line.left(space))] = line.mid(space + 1);
    }
    return read;
}

} // namespace

TEST_F(PageGoldens, EveryPageIsDrawnAsRecorded)
{
    // The documents are read from a copy, so that pictures are found beside them.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString examples = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples");
    for (const char *name : { "demo.cwr", "demo-cover.png" })
        ASSERT_TRUE(QFile::copy(examples + "/" + name, dir.filePath(QString::fromLatin1(name))));
    const QString data = QStringLiteral(CASEWRIGHT_TEST_DATA "/document");
    for (const char *name : { "v1_00.cwr", "v1_06.cwr", "pic.bmp" })
        ASSERT_TRUE(QFile::copy(data + "/" + name, dir.filePath(QString::fromLatin1(name))));

    LabelDocument demo, v100, v106;
    ASSERT_TRUE(load(dir.filePath("demo.cwr"), demo));
    ASSERT_TRUE(load(dir.filePath("v1_00.cwr"), v100));
    ASSERT_TRUE(load(dir.filePath("v1_06.cwr"), v106));
    ASSERT_FALSE(demo.top.picture.bitmap.isNull());

    // The demo with the pictures and titles that follow others left to
    // follow switched-off ones, and the spine pictures off.
    LabelDocument links;
    ASSERT_TRUE(load(dir.filePath("demo.cwr"), links));
    links.top.picture.use = false;
    links.top.title.use = false;
    links.left.title.use = false;
    links.bottom.titleSameAsFront = true;
    links.right.titleSameAsLeft = true;
    links.left.picture.use = false;

    // Every document at 96 dpi in every variant; the demo at 300 and 600 dpi.
    for (auto *d : { &demo, &links, &v100, &v106 }) {
        const QString name = d == &demo ? "demo"
            : d == &links               ? "demo-links"
            : d == &v100                ? "v1_00"
                                        : "v1_06";
        pages(name, *d, 96, kPlain, true);
        pages(name, *d, 96, kBleed, true);
        for (const Variant &v : kOptionVariants)
            pages(name, *d, 96, v, d == &demo || d == &links);
    }
    pages("demo", demo, 300, kPlain, true);
    pages("demo", demo, 300, kBleed, true);
    for (const Variant &v : kOptionVariants)
        pages("demo", demo, 300, v, false);
    pages("v1_06", v106, 300, kPlain, true);
    pages("demo", demo, 600, kPlain, true);
    pages("demo", demo, 600, kBleed, false);

    // Printing: both pages, each alone, moved by a correction, with a bleed.
    PrintOptions both, front, back, bled;
    front.printBack = false;
    back.printFront = false;
    bled.bleedMm = 2;
    print("demo", demo, both, {}, "both");
    print("demo", demo, front, { 15, -7 }, "front offset 1.5,-0.7");
    print("demo", demo, back, { -30, 22 }, "back offset -3.0,2.2");
    print("demo", demo, bled, { 5, 5 }, "both bleed2 offset 0.5,0.5");

    const QByteArray record = qgetenv("CASEWRIGHT_RECORD_PAGE_GOLDENS");
    if (!record.isEmpty()) {
        QFile out(QString::fromUtf8(record));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream s(&out);
        s << "# Page hashes: written by tools/record-page-goldens, read by PageGoldenTest.\n";
        for (const auto &[key, hash] : hashes)
            s << key << ' ' << hash << '\n';
        return;
    }

    const std::map<QString, QByteArray> expected = readHashes();
    ASSERT_EQ(expected.size(), hashes.size()) << "the list of pages changed: record it anew";
    QStringList changed;
    for (const auto &[key, hash] : hashes) {
        auto it = expected.find(key);
        if (it == expected.end() || it->second != hash)
            changed << key;
    }
    EXPECT_TRUE(changed.isEmpty()) << changed.size() << " pages changed:\n"
                                   << changed.join('\n').toStdString();
}

// Bold text in a face without a bold style: one weight relative to the glyph
// on every device, at every resolution and zoom, and nothing visible lost by
// leaving out what lies off the page.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QTemporaryDir>

#include "canvas/QPainterCanvas.h"
#include "render/PreviewState.h"
#include "render/RenderPreviewPage.h"

using namespace cw;

namespace {

const QString kTitle = QStringLiteral("Casewright デモ 夜明けの序曲");

FontSpec titleFont(int points, bool bold)
{
    FontSpec f = defaultFont();
    f.name = QStringLiteral("ＭＳ Ｐ明朝");
    f.size = points;
    f.bold = bold;
    f.color = 0x000000;
    return f;
}

void drawTitle(LabelCanvas &canvas, const FontSpec &font, int width, int height)
{
    canvas.SetFont(font);
    canvas.SetBrushClear();
    canvas.DrawTextInRect(kTitle, 0, 0, width, height, LabelCanvas::HAlign::Center,
        LabelCanvas::VAlign::Center);
}

// The ink of a black-on-white picture: the darkness of every pixel, 1 for
// black, added up.
double inkOf(const QImage &image)
{
    double ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ink += (255 - qGray(line[x])) / 255.0;
    }
    return ink;
}

// The title at `dpi` on a bitmap of that resolution, drawn 1:1.
QImage onBitmap(int dpi, bool bold)
{
    QImage image(8 * dpi, dpi, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainterCanvas canvas(&image, dpi, dpi);
    drawTitle(canvas, titleFont(20, bold), image.width(), image.height());
    return image;
}

// The title drawn as the preview draws a page: at 96 dpi, scaled onto a
// bitmap of the zoom's resolution.
QImage inPreview(int zoom, bool bold)
{
    QImage image(PreviewState::bitmapSize(zoom), QImage::Format_RGB32);
    image.fill(Qt::white);
    RenderPreviewPage(PreviewPage::Front, image,
        [&](LabelCanvas &canvas, PreviewPage, int, int, int width, int height) {
            drawTitle(canvas, titleFont(20, bold), width, height);
        });
    return image;
}

// The title in a PDF file at `dpi`, as poppler draws the page at that
// resolution.
QImage inPdf(int dpi, bool bold)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("title.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainterCanvas canvas(&writer, dpi, dpi);
        drawTitle(canvas, titleFont(20, bold), 8 * dpi, dpi);
    }
    QProcess p;
    const QString stem = dir.filePath(QStringLiteral("page"));
    p.start(QStringLiteral("pdftocairo"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
            QStringLiteral("-singlefile"), pdf, stem });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The emboldened title's ink per square em of its device size is the same
// wherever it is drawn: on bitmaps of 96, 300 and 600 dpi, in the preview at
// each zoom (the 96-dpi page scaled by 1/2, 3/4 and 1) and in a PDF file. A
// pen of a 24th of the em adds about four fifths to this face's ink. The
// tolerance, 5 % of the 600-dpi figure, holds what antialiasing does to the
// edges of glyphs of 13.5 to 167 device pixels (measured: within 2.5 %);
// a weight taken from the glyph's size before the preview's scale is off by
// 15 % at three quarters and by 45 % at half size.
TEST(SyntheticBold, SameWeightRelativeToTheGlyphAtEveryResolutionAndZoom)
{
    struct Target
    {
        const char *name;
        QImage bold, regular;
        double em; // device pixels
    };
    const double em96 = fontPixelHeight(20, 96);
    std::vector<Target> targets = {
        { "bitmap 96 dpi", onBitmap(96, true), onBitmap(96, false), em96 },
        { "bitmap 300 dpi", onBitmap(300, true), onBitmap(300, false),
            double(fontPixelHeight(20, 300)) },
        { "preview at half size", inPreview(0, true), inPreview(0, false), em96 / 2 },
        { "preview at three quarters", inPreview(1, true), inPreview(1, false), em96 * 3 / 4 },
        { "preview at full size", inPreview(2, true), inPreview(2, false), em96 },
        { "PDF 300 dpi", inPdf(300, true), inPdf(300, false), double(fontPixelHeight(20, 300)) },
        { "bitmap 600 dpi", onBitmap(600, true), onBitmap(600, false),
            double(fontPixelHeight(20, 600)) },
    };
    const Target &reference = targets.back();
    ASSERT_FALSE(reference.bold.isNull());
    const double referenceBold = inkOf(reference.bold) / (reference.em * reference.em);
    const double referenceRegular = inkOf(reference.regular) / (reference.em * reference.em);
    EXPECT_GT(referenceBold, referenceRegular * 1.6);
    EXPECT_LT(referenceBold, referenceRegular * 2.0);
    for (const Target &t : targets) {
        ASSERT_FALSE(t.bold.isNull()) << t.name;
        const double bold = inkOf(t.bold) / (t.em * t.em);
        EXPECT_NEAR(bold, referenceBold, referenceBold * 0.05) << t.name;
    }
}

namespace {

// A huge bold title (the largest size the font dialog takes), most of it off
// the page, drawn straight onto a page-sized bitmap, and recorded and played
// onto one: a recording has no edges, so every glyph of it is outlined.
struct HugeTitle
{
    const char *name;
    double zoom; // the page's scale onto the bitmap
    int escapement; // tenths of a degree
    QRect clip; // where the title may draw, in page pixels
    QPoint at; // where it starts
};

void drawHuge(QPainter &painter, const HugeTitle &c)
{
    painter.scale(c.zoom, c.zoom);
    QPainterCanvas canvas(&painter, 96, 96);
    canvas.SetFont(titleFont(1638, true));
    canvas.SetBrushClear();
    if (c.escapement != 0)
        canvas.SelectRotatedFont(c.escapement, 0);
    canvas.TextOutClipped(c.clip.left(), c.clip.top(), c.clip.right() + 1, c.clip.bottom() + 1,
        c.at.x(), c.at.y(), kTitle);
}

} // namespace

TEST(SyntheticBold, AHugeTitleKeepsEveryPixelThatReachesThePage)
{
    const HugeTitle cases[] = {
        { "on the page", 1.0, 0, QRect(0, 0, 1046, 604), QPoint(-300, -200) },
        { "in a face", 1.0, 0, QRect(40, 30, 457, 451), QPoint(-1200, -900) },
        { "preview at half size", 0.5, 0, QRect(0, 0, 1046, 604), QPoint(-2000, -300) },
        { "along a spine", 1.0, 900, QRect(500, 0, 23, 604), QPoint(-800, 3000) },
    };
    for (const HugeTitle &c : cases) {
        const QSize size(int(1046 * c.zoom), int(604 * c.zoom));
        QImage direct(size, QImage::Format_RGB32);
        direct.fill(Qt::white);
        {
            QPainter painter(&direct);
            drawHuge(painter, c);
        }
        QPicture recording;
        {
            QPainter painter(&recording);
            drawHuge(painter, c);
        }
        QImage played(size, QImage::Format_RGB32);
        played.fill(Qt::white);
        {
            QPainter painter(&played);
            recording.play(&painter);
        }
        // Something of the title reaches the page: at least 1 % of the clip.
        EXPECT_GT(inkOf(direct), c.clip.width() * c.clip.height() * c.zoom * c.zoom / 100)
            << c.name;
        int differing = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                differing += direct.pixel(x, y) != played.pixel(x, y);
        EXPECT_EQ(differing, 0) << c.name;
    }
}

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "RenderTestSupport.h"

#include "canvas/RecordingCanvas.h"
#include "render/PageOutput.h"

using namespace cw;

namespace {

// Black and white pixels by turns, so that every picture pixel out of place
// shows as a full-scale difference.
QImage checkerImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, ((x ^ y) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return img;
}

// A front page with a large picture stretched by uneven factors, partly off
// its face, and a transparent free-print picture over it.
LabelDocument pictureDocument(const QTemporaryDir &dir)
{
    LabelDocument doc = emptyDocument(300);
    PicturePlacement &p = doc.top.picture;
    p.use = true;
    p.fileName = saveImage(dir, "cover.bmp", checkerImage(700, 500));
    p.pixelWidth = 700;
    p.pixelHeight = 500;
    p.printWidth = 1301; // 1.86 x 1.87 device pixels per picture pixel at 300 dpi
    p.printHeight = 937;
    p.posX = -40;
    p.posY = 25;
    QImage mark(40, 30, QImage::Format_RGB32);
    mark.fill(qRgb(255, 255, 255)); // the transparent colour
    for (int y = 8; y < 22; ++y)
        for (int x = 10; x < 30; ++x)
            mark.setPixel(x, y, qRgb(0, 0, 0));
    TPrintsData item;
    item.kind = 1;
    item.fileName = saveImage(dir, "mark.bmp", mark);
    item.pixelWidth = 40;
    item.pixelHeight = 30;
    item.printWidth = 333;
    item.printHeight = 211;
    item.posX = 200;
    item.posY = 300;
    item.transparent = true;
    item.transColor = 0x00FFFFFF;
    doc.top.useCoverPrints = true;
    doc.coverPrints = { item };
    return doc;
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)) });
}

// The page as poppler's cairo renderer draws it, without smoothing. (Its
// Splash renderer resamples pictures even at their own resolution.)
QImage rasterisePdf(const QString &pdf, int dpi)
{
    QProcess p;
    const QString stem = pdf + QStringLiteral("-page");
    p.start(QStringLiteral("pdftocairo"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
            QStringLiteral("-antialias"), QStringLiteral("none"), QStringLiteral("-singlefile"),
            pdf, stem });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

// A PDF page rendered at its own resolution shows the pixels of the same page
// drawn onto a bitmap: the pictures reach the file already stretched by the
// bitmap's nearest-neighbour rule, at the page's resolution. The file keeps
// photographs JPEG-compressed, which moves a pixel's value a little but can
// never turn a black pixel white.
TEST(PdfPicturePixels, ThePdfShowsTheRasterPagesPixels)
{
    QTemporaryDir dir;
    for (int dpi : { 300, 600 }) {
        SCOPED_TRACE(dpi);
        LabelDocument doc = pictureDocument(dir);
        CountingReader reader;
        const int w = 1800 * dpi / 300, h = 1500 * dpi / 300;
        const QImage raster
            = renderPageImage(doc, optionsOff(), PreviewPage::Front, dpi, dpi, w, h, &reader);
        const QString pdf = dir.filePath(QStringLiteral("page%1.pdf").arg(dpi));
        QString error;
        ASSERT_TRUE(renderPagePdf(
            doc, optionsOff(), PreviewPage::Front, dpi, dpi, w, h, pdf, &error, &reader))
            << error.toStdString();
        const QImage printed = rasterisePdf(pdf, dpi);
        ASSERT_EQ(printed.size(), raster.size());
        int worst = 0;
        for (int y = 0; y < h; ++y) {
            const QRgb *a = reinterpret_cast<const QRgb *>(printed.constScanLine(y));
            const QRgb *b = reinterpret_cast<const QRgb *>(raster.constScanLine(y));
            for (int x = 0; x < w; ++x)
                worst = std::max(worst, channelDifference(a[x], b[x]));
        }
        EXPECT_LT(worst, 64);
    }
}

// The stretched picture is kept beside the render cache: drawn again at the
// same size it is reused, at another size it is made again, and a recording
// keeps the picture as it is.
TEST(PdfPicturePixels, TheStretchedPictureIsKeptWhileThePartAndTheSizeStay)
{
    QTemporaryDir dir;
    LabelDocument doc = pictureDocument(dir);
    const StretchedPicture &kept = doc.top.picture.stretched;
    CountingReader reader;
    renderPageImage(doc, optionsOff(), PreviewPage::Front, 300, 300, 1800, 1500, &reader);
    EXPECT_EQ(kept.image.size(), QSize(1261, 937));
    const qint64 first = kept.image.cacheKey();
    renderPageImage(doc, optionsOff(), PreviewPage::Front, 300, 300, 1800, 1500, &reader);
    EXPECT_EQ(kept.image.cacheKey(), first);
    EXPECT_EQ(reader.loads, 2); // the cover and the free-print picture, once each
    renderPageImage(doc, optionsOff(), PreviewPage::Front, 600, 600, 3600, 3000, &reader);
    EXPECT_EQ(kept.image.size(), QSize(2522, 1874));

    LabelDocument recorded = pictureDocument(dir);
    RecordingCanvas canvas(300, 300);
    drawDocumentPage(
        canvas, recorded, optionsOff(), PreviewPage::Front, 300, 300, 1800, 1500, &reader);
    EXPECT_TRUE(recorded.top.picture.stretched.image.isNull());
    EXPECT_TRUE(canvas.lines().contains(QStringLiteral("StretchPicture 900 69 2161 1006 679 500")));
}

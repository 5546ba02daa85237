#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "RenderTestSupport.h"
#include "TestSupport.h"

#include "render/PageOutput.h"
#include "render/PressPdf.h"

using namespace cw;

namespace {

// Each page's `key` box as qpdf reads it back from the file, e.g. "[ 0 0 792 444 ]".
QStringList readBoxes(const QString &path, const char *key)
{
    QPDF file;
    file.processFile(path.toLocal8Bit().constData());
    QStringList out;
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(file).getAllPages())
        out << QString::fromStdString(page.getObjectHandle().getKey(key).unparse());
    return out;
}

// A PDF of Qt's writer with pages of the given sizes in points.
QByteArray qtPdf(const QList<QSize> &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter;
    for (const QSize &points : pages) {
        writer.setPageLayout(QPageLayout(QPageSize(points, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
        if (!painter.isActive())
            painter.begin(&writer);
        else
            writer.newPage();
        painter.fillRect(10, 10, 20, 20, Qt::black);
    }
    painter.end();
    return bytes;
}

PdfPageBoxes boxesOf(const QString &media, const QString &trim, const QString &bleed)
{
    auto box = [](const QString &text) {
        const QStringList n = text.split(' ');
        return PdfBox { n[0], n[1], n[2], n[3] };
    };
    return { box(media), box(trim), box(bleed) };
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)) });
}

// One page of a PDF drawn by poppler's cairo renderer without smoothing.
QImage rasterisePdfPage(const QString &pdf, int page, int dpi)
{
    QProcess p;
    const QString stem = pdf + QStringLiteral("-page%1").arg(page);
    p.start(QStringLiteral("pdftocairo"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
            QStringLiteral("-antialias"), QStringLiteral("none"), QStringLiteral("-f"),
            QString::number(page), QStringLiteral("-l"), QString::number(page),
            QStringLiteral("-singlefile"), pdf, stem });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Each sheet's page at a resolution: the trim size plus 18 mm on each side in
// whole pixels, made up to whole points; the trim where the renderer puts the
// sheet; the bleed round it. At 301 dpi a point is no whole number of pixels:
// the page grows to the next 301 pixels (72 points) and the boxes are rounded.
TEST(PressLayout, PagesTrimsAndBleedsInPixelsAndPoints)
{
    struct Case
    {
        PreviewPage page;
        int dpi, bleedMm;
        QSize pagePx;
        QRect trim;
        int bleedPx;
        const char *media, *trimBox, *bleedBox;
    };
    const Case cases[] = {
        { PreviewPage::Front, 300, 3, { 3300, 1850 }, QRect(QPoint(221, 219), QPoint(3078, 1629)),
            35, "0 0 792 444", "53.04 52.8 738.96 391.44", "44.64 44.4 747.36 399.84" },
        // The back sheet runs one pixel past its panels, as it is drawn.
        { PreviewPage::Back, 300, 3, { 2200, 1825 }, QRect(QPoint(214, 219), QPoint(1983, 1605)), 35,
            "0 0 528 438", "51.36 52.56 476.16 385.44", "42.96 44.16 484.56 393.84" },
        { PreviewPage::Front, 600, 0, { 6575, 3675 }, QRect(QPoint(429, 426), QPoint(6144, 3247)), 0,
            "0 0 789 441", "51.48 51.24 737.4 389.88", "51.48 51.24 737.4 389.88" },
        { PreviewPage::Back, 96, 2, { 704, 580 }, QRect(QPoint(69, 68), QPoint(634, 511)), 7,
            "0 0 528 435", "51.75 51 476.25 384", "46.5 45.75 481.5 389.25" },
        { PreviewPage::Front, 301, 1, { 3311, 2107 }, QRect(QPoint(222, 345), QPoint(3087, 1760)),
            11, "0 0 792 504", "53.103 82.7641 738.6578 421.4751",
            "50.4718 80.1329 741.289 424.1063" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.page) << " at " << c.dpi << " dpi");
        const PressPageLayout l = pressPageLayout(c.page, c.dpi, c.bleedMm);
        EXPECT_EQ(l.page, c.pagePx);
        EXPECT_EQ(l.trim, c.trim);
        EXPECT_EQ(l.bleed, c.trim.adjusted(-c.bleedPx, -c.bleedPx, c.bleedPx, c.bleedPx));
        const PdfPageBoxes b = pdfPageBoxes(l);
        EXPECT_EQ(b.media.text(), QStringLiteral("[%1]").arg(c.media));
        EXPECT_EQ(b.trim.text(), QStringLiteral("[%1]").arg(c.trimBox));
        EXPECT_EQ(b.bleed.text(), QStringLiteral("[%1]").arg(c.bleedBox));
    }
    EXPECT_EQ(sheetTrimMm(PreviewPage::Front), QSizeF(242.0, 119.5));
    EXPECT_EQ(sheetTrimMm(PreviewPage::Back), QSizeF(150.0, 117.5));
}

TEST(PressLayout, PointsAreExactDecimalsOrRoundedToFourPlaces)
{
    EXPECT_EQ(pdfPoints(0, 300), "0");
    EXPECT_EQ(pdfPoints(25, 300), "6");
    EXPECT_EQ(pdfPoints(1, 1200), "0.06");
    EXPECT_EQ(pdfPoints(-35, 300), "-8.4");
    EXPECT_EQ(pdfPoints(1, 7), "10.2857"); // 10.285714...
    EXPECT_EQ(pdfPoints(2, 7), "20.5714"); // 20.571428...
    EXPECT_EQ(pdfPoints(1, 144000), "0.0005"); // half a ten-thousandth rounds up
    EXPECT_EQ(pdfPoints(1, 1440000), "0.0001"); // 0.00005
    EXPECT_EQ(pdfPoints(1, 2880000), "0"); // 0.000025
    EXPECT_EQ(pdfPoints(100000, 96), "75000");
}

// The trim box stands where the trim marks are drawn: the marks' columns and
// rows are the trim's first and last pixels, they end inside the page and
// start outside the largest bleed.
TEST(PressLayout, TheTrimMarksStandOnTheTrimOutsideTheBleedWithinThePage)
{
    for (PreviewPage sheet : { PreviewPage::Front, PreviewPage::Back })
        for (int dpi : { 300, 600 }) {
            SCOPED_TRACE(testing::Message() << int(sheet) << " at " << dpi << " dpi");
            const PressPageLayout l = pressPageLayout(sheet, dpi, 3);
            LabelDocument doc = emptyDocument(300);
            const QImage page = renderPageImage(
                doc, optionsOff(), sheet, dpi, dpi, l.page.width(), l.page.height());
            const QRgb black = qRgb(0, 0, 0);
            const int tenMm = mmToPixels(10.0, dpi * geom::kInchPerMm);
            // Above the top: the columns of the left and right edges.
            const int y = l.trim.top() - tenMm;
            EXPECT_EQ(page.pixel(l.trim.left(), y), black);
            EXPECT_NE(page.pixel(l.trim.left() - 1, y), black);
            EXPECT_EQ(page.pixel(l.trim.right(), y), black);
            EXPECT_NE(page.pixel(l.trim.right() + 1, y), black);
            // Left of the left edge: the rows of the top and bottom edges.
            const int x = l.trim.left() - tenMm;
            EXPECT_EQ(page.pixel(x, l.trim.top()), black);
            EXPECT_NE(page.pixel(x, l.trim.top() - 1), black);
            EXPECT_EQ(page.pixel(x, l.trim.bottom()), black);
            EXPECT_NE(page.pixel(x, l.trim.bottom() + 1), black);
            // Nothing black within the bleed outside the trim, above the sheet.
            for (int yy = l.bleed.top(); yy < l.trim.top(); ++yy)
                EXPECT_NE(page.pixel(l.trim.left(), yy), black) << yy;
            // The marks' far ends, 15 mm out, and a clear edge round the page.
            int firstBlackRow = -1;
            for (int yy = 0; yy < l.trim.top() && firstBlackRow < 0; ++yy)
                if (page.pixel(l.trim.left(), yy) == black)
                    firstBlackRow = yy;
            EXPECT_EQ(firstBlackRow, l.trim.top() - mmToPixels(15.0, dpi * geom::kInchPerMm));
            EXPECT_GT(firstBlackRow, 0);
        }
}

// Refusals: bytes that are no PDF, a page count that does not match, a trim
// outside its bleed and a bleed outside the media. Each says why and leaves
// an existing file as it was, with nothing beside it.
TEST(PressPdfBoxes, RefusalsSayWhyAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.pdf");
    writeAll(path, "old bytes");
    const PdfPageBoxes good
        = boxesOf("0 0 100 100", "20 20 80 80", "10 10 90 90");
    const QByteArray onePage = qtPdf({ { 100, 100 } });
    struct Case
    {
        QByteArray pdf;
        QVector<PdfPageBoxes> boxes;
        QString message;
    };
    const Case cases[] = {
        { "%PDF-1.4 nothing more", { good }, "PDF の枠を設定できません: " },
        { QByteArray(), { good }, "PDF の枠を設定できません: " },
        { onePage, { good, good }, "PDF のページ数が 2 ではなく 1 です" },
        { onePage, { boxesOf("0 0 100 100", "5 20 80 80", "10 10 90 90") },
            "仕上がり枠が塗り足し枠の、塗り足し枠が用紙の内側にありません" },
        { onePage, { boxesOf("0 0 100 100", "20 20 80 80", "10 10 90 100.5") },
            "仕上がり枠が塗り足し枠の、塗り足し枠が用紙の内側にありません" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        QString error;
        EXPECT_FALSE(savePdfWithBoxes(path, c.pdf, c.boxes, &error));
        EXPECT_TRUE(error.startsWith(c.message)) << error.toStdString();
        EXPECT_EQ(readAll(path), QByteArray("old bytes"));
        EXPECT_EQ(filesIn(dir.path()), QStringList { "old.pdf" });
    }
}

// A file that cannot be written leaves nothing: the export asks before it
// draws; the boxes' step, given a folder or a path in a folder that does not
// exist, fails at the saving and leaves the folders as they were.
TEST(PressPdfBoxes, AFailureToWriteLeavesNoFile)
{
    QTemporaryDir dir;
    QString error;
    const QString missing = dir.filePath("no/such/folder/out.pdf");
    LabelDocument doc = emptyDocument(300);
    EXPECT_FALSE(ExportPressPdf(doc, PrintOptions(), missing, 300, &error));
    EXPECT_EQ(error, "ファイルに書き込めません");
    EXPECT_FALSE(ExportPressPdf(doc, PrintOptions(), dir.path(), 300, &error));
    EXPECT_EQ(error, "ファイルに書き込めません");

    const QVector<PdfPageBoxes> boxes = { boxesOf("0 0 100 100", "20 20 80 80", "10 10 90 90") };
    const QByteArray pdf = qtPdf({ { 100, 100 } });
    for (const QString &path : { missing, dir.path() }) {
        SCOPED_TRACE(path.toStdString());
        error.clear();
        EXPECT_FALSE(savePdfWithBoxes(path, pdf, boxes, &error));
        EXPECT_EQ(error, "何も書き込まれませんでした");
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
}

// The press file of a document: one page per sheet with the layout's boxes,
// which poppler reads as well, and inside each trim the pixels of the sheet
// drawn onto a bitmap at the same resolution.
TEST(PressPdfExport, BoxesAndTheRasterInsideTheTrim)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    doc.top.backgroundColor1 = 0x00C08041;
    doc.top.backgroundColor2 = 0x0080C080;
    doc.bottom.backgroundColor1 = 0x00808000;
    doc.left.backgroundColor1 = 0x00004080;
    PicturePlacement &p = doc.top.picture;
    p.use = true;
    p.fileName = saveImage(dir, "cover.bmp", coordinateImage(300, 280));
    p.pixelWidth = 300;
    p.pixelHeight = 280;
    p.printWidth = 1500; // past the cover's right and bottom trim: it bleeds
    p.printHeight = 1500;
    p.posX = 100;
    p.posY = 60;
    PrintOptions options = optionsOff(); // no boundary line over the picture
    options.bleedMm = 3;
    const QString path = dir.filePath("press.pdf");
    QString error;
    CountingReader reader;
    ASSERT_TRUE(ExportPressPdf(doc, options, path, 300, &error, &reader)) << error.toStdString();

    const PressPageLayout front = pressPageLayout(PreviewPage::Front, 300, 3);
    const PressPageLayout back = pressPageLayout(PreviewPage::Back, 300, 3);
    EXPECT_EQ(readBoxes(path, "/MediaBox"), QStringList({ "[ 0 0 792 444 ]", "[ 0 0 528 438 ]" }));
    EXPECT_EQ(readBoxes(path, "/TrimBox"),
        QStringList({ "[ 53.04 52.8 738.96 391.44 ]", "[ 51.36 52.56 476.16 385.44 ]" }));
    EXPECT_EQ(readBoxes(path, "/BleedBox"),
        QStringList({ "[ 44.64 44.4 747.36 399.84 ]", "[ 42.96 44.16 484.56 393.84 ]" }));

    if (!QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
        QProcess info;
        info.start("pdfinfo", { "-box", "-f", "1", "-l", "2", path });
        ASSERT_TRUE(info.waitForFinished(30000));
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QRegularExpression(
            "Page    1 TrimBox: +53\\.04 +52\\.80 +738\\.96 +391\\.44\n")))
            << out.toStdString();
        EXPECT_TRUE(out.contains(QRegularExpression(
            "Page    2 BleedBox: +42\\.96 +44\\.16 +484\\.56 +393\\.84\n")))
            << out.toStdString();
    }

    int page = 1;
    for (const auto &[sheet, layout] :
        { std::pair { PreviewPage::Front, front }, std::pair { PreviewPage::Back, back } }) {
        SCOPED_TRACE(page);
        const QImage printed = rasterisePdfPage(path, page++, 300);
        if (printed.isNull())
            FAIL() << "pdftocairo is not installed (poppler-utils)";
        const QImage raster = renderPageImage(doc, options, sheet, 300, 300, layout.page.width(),
            layout.page.height(), &reader);
        ASSERT_EQ(printed.size(), raster.size());
        // The picture's pixels (blue 0x40, which no background has) may
        // move a little, as the file keeps photographs JPEG-compressed; every
        // other pixel is the same.
        int worstInPicture = 0, otherDiffering = 0, pictureArea = 0;
        for (int y = layout.trim.top(); y <= layout.trim.bottom(); ++y)
            for (int x = layout.trim.left(); x <= layout.trim.right(); ++x) {
                const int d = channelDifference(printed.pixel(x, y), raster.pixel(x, y));
                if (qBlue(raster.pixel(x, y)) == 0x40) {
                    ++pictureArea;
                    worstInPicture = std::max(worstInPicture, d);
                } else {
                    otherDiffering += d != 0;
                }
            }
        EXPECT_LT(worstInPicture, 64);
        EXPECT_EQ(otherDiffering, 0);
        // The cover's 1429 x 1411 pixels less the picture's offset of 100, 60.
        EXPECT_EQ(pictureArea, sheet == PreviewPage::Front ? 1329 * 1351 : 0);
    }
}

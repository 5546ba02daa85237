#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>

#include "TestSupport.h"

using namespace cw;

namespace {

const QString kDemo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");

// One page of a PDF file as pdftoppm rasterises it: grey, or, with `colour`,
// the bytes of its colour raster (PPM).
QString rasterise(const QString &pdf, int page, int dpi, bool colour = false)
{
    const QString base = pdf + QStringLiteral("-%1-%2").arg(page).arg(dpi);
    QStringList args { "-r", QString::number(dpi), "-f", QString::number(page), "-l",
        QString::number(page), "-singlefile" };
    if (!colour)
        args << "-gray";
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), args << pdf << base);
    p.waitForFinished(120000);
    return base + (colour ? ".ppm" : ".pgm");
}

QImage greyPage(const QString &pdf, int page, int dpi)
{
    QImageReader::setAllocationLimit(1024); // a 600-dpi page is 35 MB of grey, read as RGB
    QImage image(rasterise(pdf, page, dpi));
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// Pixels of `moved` that differ (by more than a quarter of the grey range)
// from `base` shifted by (dx, dy), over the part both cover.
long long mismatches(const QImage &base, const QImage &moved, int dx, int dy)
{
    long long count = 0;
    for (int y = std::max(0, -dy); y < std::min(base.height(), base.height() - dy); ++y) {
        const uchar *b = base.constScanLine(y);
        const uchar *m = moved.constScanLine(y + dy);
        for (int x = std::max(0, -dx); x < std::min(base.width(), base.width() - dx); ++x)
            if (std::abs(int(b[x]) - int(m[x + dx])) > 64)
                ++count;
    }
    return count;
}

long long darkPixels(const QImage &image)
{
    long long count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            count += row[x] < 128;
    }
    return count;
}

} // namespace

// --offset 2.0,-1.5 moves both sheets 2.0 mm right and 1.5 mm up: the pages
// are the unmoved ones shifted by that many device pixels, which is within
// one pixel of the exact distance; one pixel more either way does not match.
TEST(CliOffset, APdfWithAnOffsetIsTheSamePagesMoved)
{
    QTemporaryDir dir;
    for (int dpi : { 300, 600 }) {
        SCOPED_TRACE(dpi);
        const QString plain = dir.filePath(QStringLiteral("plain%1.pdf").arg(dpi));
        const QString moved = dir.filePath(QStringLiteral("moved%1.pdf").arg(dpi));
        const QString res = QString::number(dpi);
        CliResult r = runCasewrightCli(
            { "print", kDemo, "--pdf", plain, "--printer-dpi", res }, dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        r = runCasewrightCli(
            { "print", kDemo, "--pdf", moved, "--printer-dpi", res, "--offset", "2.0,-1.5" },
            dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const int dx = int(std::lround(2.0 * dpi / 25.399));
        const int dy = -int(std::lround(1.5 * dpi / 25.399));
        EXPECT_LE(std::abs(dx - 2.0 * dpi / 25.4), 1.0);
        EXPECT_LE(std::abs(dy + 1.5 * dpi / 25.4), 1.0);
        for (int page : { 1, 2 }) {
            SCOPED_TRACE(page);
            const QImage a = greyPage(plain, page, dpi);
            const QImage b = greyPage(moved, page, dpi);
            ASSERT_FALSE(a.isNull());
            ASSERT_EQ(a.size(), b.size());
            const long long ink = darkPixels(a);
            ASSERT_GT(ink, 10000);
            // Antialiased edges may differ here and there; a pixel off
            // mismatches every edge.
            const long long right = mismatches(a, b, dx, dy);
            EXPECT_LT(right, ink / 500);
            EXPECT_GT(mismatches(a, b, dx + 1, dy), 10 * right + 1000);
            EXPECT_GT(mismatches(a, b, dx, dy - 1), 10 * right + 1000);
            EXPECT_GT(mismatches(a, b, 0, 0), 10 * right + 1000);
        }
    }
}

// With no correction and no bleed, whether given as 0 or kept in the
// settings, the pages are those the program printed before either existed:
// the same rasters, byte for byte.
TEST(CliOffset, ZeroOffsetAndZeroBleedPrintTheSamePagesAsBefore)
{
    // pdftoppm -r 300 of the demo's two pages at 300 dpi, from the program
    // before the correction and the bleed were added, with its bold text in
    // faces without a bold style emboldened by the canvas (these pages
    // differ from the earlier ones only along the edges of that text).
    const QByteArray before[] = {
        "832a2f4acf0ab4d809769660922f15f236736c63376cbfc9ca765dd2e6184359",
        "7b0992f69cf2acd8e8d968d37f98686d8a9fcf5d79b9b6036df005f151a1c765",
    };
    QTemporaryDir dir;
    QTemporaryDir zeroHome;
    {
        QSettings zero(zeroHome.filePath("Tessellane/Casewright.conf"), QSettings::IniFormat);
        zero.setValue("Bleed", 0);
        zero.setValue("PrintCorrection/PdfFile", "0.0,0.0");
    }
    const QString pdfs[]
        = { dir.filePath("none.pdf"), dir.filePath("zero.pdf"), dir.filePath("stored.pdf") };
    const QList<QStringList> extra = { {}, { "--offset", "0.0,0.0", "--bleed", "0" }, {} };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const CliResult r = runCasewrightCli(
            QStringList { "print", kDemo, "--pdf", pdfs[i], "--printer-dpi", "300" } + extra[i],
            i == 2 ? zeroHome.path() : dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        for (int page : { 1, 2 }) {
            const QByteArray raster = readAll(rasterise(pdfs[i], page, 300, true));
            ASSERT_FALSE(raster.isEmpty());
            EXPECT_EQ(QCryptographicHash::hash(raster, QCryptographicHash::Sha256).toHex(),
                before[page - 1])
                << page;
        }
    }
}

// A correction kept in the settings for the PDF target applies to print
// --pdf and export-pdf as --offset would; --offset overrides it.
TEST(CliOffset, TheStoredCorrectionOfThePdfTargetApplies)
{
    QTemporaryDir dir;
    {
        QSettings s(dir.filePath("Tessellane/Casewright.conf"), QSettings::IniFormat);
        s.setValue("PrintCorrection/PdfFile", "2.0,-1.5");
    }
    const QString stored = dir.filePath("stored.pdf"), given = dir.filePath("given.pdf");
    const QString exported = dir.filePath("exported.pdf"), back = dir.filePath("back.pdf");
    ASSERT_EQ(runCasewrightCli({ "print", kDemo, "--pdf", stored }, dir.path()).code, 0);
    ASSERT_EQ(runCasewrightCli({ "export-pdf", kDemo, exported }, dir.path()).code, 0);
    ASSERT_EQ(
        runCasewrightCli({ "print", kDemo, "--pdf", back, "--offset", "0,0" }, dir.path()).code, 0);
    QTemporaryDir clean;
    ASSERT_EQ(
        runCasewrightCli({ "print", kDemo, "--pdf", given, "--offset", "2.0,-1.5" }, clean.path())
            .code,
        0);
    const QImage a = greyPage(stored, 1, 150), b = greyPage(given, 1, 150);
    const QImage c = greyPage(exported, 1, 150), d = greyPage(back, 1, 150);
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(c == b);
    EXPECT_FALSE(d == b);
}

// Measured on its raster, every cross of the calibration sheet lies at the
// distance its label gives, within one pixel; with a correction the sheet
// moves by it.
TEST(CliCalibrationSheet, CrossesLieAtTheirLabelledDistances)
{
    QTemporaryDir dir;
    struct Run
    {
        QStringList args;
        double dxMm, dyMm;
    };
    const Run runs[] = { { {}, 0, 0 }, { { "--offset", "2.0,-1.5" }, 2.0, -1.5 } };
    for (const Run &run : runs) {
        SCOPED_TRACE(run.dxMm);
        const QString pdf = dir.filePath(QStringLiteral("sheet%1.pdf").arg(run.dxMm));
        const CliResult r = runCasewrightCli(
            QStringList { "calibration-sheet", "--pdf", pdf } + run.args, dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const int dpi = 300;
        const QImage sheet = greyPage(pdf, 1, dpi);
        ASSERT_FALSE(sheet.isNull());
        const double px = dpi / 25.4; // pixels per millimetre on paper
        const int w = sheet.width(), h = sheet.height();
        EXPECT_GT(w, h); // landscape
        // The centre of the dark run of a cross's arm, searched 4 mm around
        // where it should be, on a line 3.5 mm out on the arm that carries
        // no label.
        auto column = [&](double xMm, double yMm) {
            const int y = int((yMm - 3.5) * px);
            double sum = 0;
            int n = 0;
            for (int x = int((xMm - 4) * px); x < int((xMm + 4) * px); ++x)
                if (sheet.pixelColor(x, y).value() < 128) {
                    sum += x + 0.5;
                    ++n;
                }
            return n ? sum / n / px : -1.0;
        };
        auto row = [&](double xMm, double yMm) {
            const int x = int((xMm - 3.5) * px);
            double sum = 0;
            int n = 0;
            for (int y = int((yMm - 4) * px); y < int((yMm + 4) * px); ++y)
                if (sheet.pixelColor(x, y).value() < 128) {
                    sum += y + 0.5;
                    ++n;
                }
            return n ? sum / n / px : -1.0;
        };
        const double wMm = w / px, hMm = h / px, tol = 1 / px;
        // The sheet moves by the correction rounded to whole device pixels.
        const double ox = std::lround(run.dxMm * dpi / 25.399) / px;
        const double oy = std::lround(run.dyMm * dpi / 25.399) / px;
        EXPECT_NEAR(column(20 + ox, hMm / 2 + oy), 20 + ox, tol); // from the left edge
        EXPECT_NEAR(wMm - column(wMm - 20 + ox, hMm / 2 + oy), 20 - ox, tol); // right
        EXPECT_NEAR(row(wMm / 2 + ox, 20 + oy), 20 + oy, tol); // top
        EXPECT_NEAR(hMm - row(wMm / 2 + ox, hMm - 20 + oy), 20 - oy, tol); // bottom

        QProcess text;
        text.start(QStringLiteral("pdftotext"), { pdf, "-" });
        text.waitForFinished(30000);
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        for (const char *label :
            { "左端から20.0mm", "上端から20.0mm", "右端から20.0mm", "下端から20.0mm" })
            EXPECT_TRUE(words.contains(QString::fromUtf8(label))) << label;
        // The centre cross says how far it is from the left and the top edge.
        const QRegularExpressionMatch centre
            = QRegularExpression(QStringLiteral("左端から([0-9.]+)mm・上端から([0-9.]+)mm"))
                  .match(words);
        ASSERT_TRUE(centre.hasMatch()) << words.toStdString();
        const double cx = centre.captured(1).toDouble(), cy = centre.captured(2).toDouble();
        EXPECT_NEAR(cx, wMm / 2, 0.2);
        EXPECT_NEAR(cy, hMm / 2, 0.2);
        EXPECT_NEAR(column(cx + ox, cy + oy), cx + ox, tol + 0.05);
        EXPECT_NEAR(row(cx + ox, cy + oy), cy + oy, tol + 0.05);
    }
}

TEST(CliCalibrationSheet, BadArguments)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("x.pdf");
    const QString doc = kDemo;
    struct Case
    {
        QStringList args;
        const char *problem;
    };
    const Case cases[] = {
        { { "calibration-sheet" }, "one of --printer and --pdf expected" },
        { { "calibration-sheet", "--pdf", pdf, "--printer", "p" },
            "one of --printer and --pdf expected" },
        { { "calibration-sheet", "--pdf", pdf, "--offset", "10.1,0" }, "invalid offset: 10.1,0" },
        { { "print", doc, "--pdf", pdf, "--offset", "2.0" }, "invalid offset: 2.0" },
        { { "export-pdf", doc, pdf, "--offset", "1.25,0" }, "invalid offset: 1.25,0" },
        { { "print", doc, "--pdf", pdf, "--bleed", "4" }, "invalid bleed: 4" },
        { { "render", doc, "--page", "front", "--ops", "--bleed", "x" }, "invalid bleed: x" },
    };
    for (const Case &c : cases) {
        const CliResult r = runCasewrightCli(c.args, dir.path(), englishLocale());
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QString::fromUtf8(c.problem))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
    const CliResult missing
        = runCasewrightCli({ "calibration-sheet", "--printer", "NoSuchPrinterHere" }, dir.path());
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("NoSuchPrinterHere"));
}

// --disc: the sheet for discs (its circles are checked where it is drawn),
// moved by the correction like the other sheet.
TEST(CliCalibrationSheet, TheDiscSheetSaysWhatToMeasure)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("disc.pdf"));
    const CliResult r = runCasewrightCli(
        { "calibration-sheet", "--pdf", pdf, "--disc", "--offset", "1.0,-2.0" }, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), { pdf, "-" });
    text.waitForFinished(30000);
    const QString words = QString::fromUtf8(text.readAllStandardOutput()).remove(' ');
    EXPECT_TRUE(words.contains("ディスク用:円の中心がディスクの中心に来るように補正します"));
    EXPECT_TRUE(words.contains("適用中の補正:横1.0mm縦-2.0mm")) << words.toStdString();
    EXPECT_FALSE(words.contains("左端から20.0mm"));
}

// The disc face from the command line: drawn alone, printed on a label
// sheet's chosen labels and on a printable disc's page.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentWriter.h"

using namespace cw;

namespace {

constexpr double kPx = 300 / 25.399; // pixels per millimetre at 300 dpi

// A jewel document whose disc face is black all over.
QString blackDiscDocument(const QTemporaryDir &dir)
{
    LabelDocument doc;
    doc.disc.backgroundColor1 = 0;
    const QString path = dir.filePath("disc.cwr");
    EXPECT_TRUE(writeAll(path, documentBytes(doc).data));
    return path;
}

// The first page of a PDF file at 300 dpi, grey.
QImage firstPage(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), { "-r", "300", "-f", "1", "-l", "1", "-singlefile", "-gray",
                                            pdf, pdf + "-page" });
    p.waitForFinished(120000);
    QImageReader::setAllocationLimit(1024);
    return QImage(pdf + "-page.pgm").convertToFormat(QImage::Format_Grayscale8);
}

// The box of the page's ink.
QRect inkBox(const QImage &page)
{
    int left = page.width(), right = -1, top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const uchar *row = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            if (row[x] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

const QStringList kDiscOnly = { "--option", "TopLabelPrint=0", "--option", "BottomLabelPrint=0",
    "--option", "DiscLabelPrint=1" };

} // namespace

// Label 2 of Avery L6015 alone: the disc's centre at (105.0, 218.33) mm on
// the A4 sheet within a pixel at 300 dpi, the first label left as paper.
TEST(CliDisc, ASecondLabelAloneIsCentredOnItsPlaceOnTheSheet)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("labels.pdf");
    const CliResult r = runCasewrightCli(QStringList { "print", blackDiscDocument(dir), "--pdf", pdf,
                                             "--label-sheet", "avery-l6015", "--labels", "2" }
            + kDiscOnly,
        dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage page = firstPage(pdf);
    ASSERT_EQ(page.width(), 2480); // A4 upright
    EXPECT_NEAR(page.height(), 3508, 1);
    const QRect ink = inkBox(page);
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, 105.0 * kPx, 1.0);
    EXPECT_NEAR((ink.top() + ink.bottom() + 1) / 2.0, 218.33 * kPx, 1.0);
    EXPECT_NEAR(ink.width(), 117.0 * kPx, 2.0);
    EXPECT_GT(ink.top(), int(149.0 * kPx)); // nothing of label 1 (centre 79.9 mm)
}

// A printable disc goes on a 120 mm page of its own, centred there and
// moved by the position correction (here 1.0 mm right, 0.5 mm down).
TEST(CliDisc, APrintableDiscIsCentredOnItsPageWithTheCorrection)
{
    QTemporaryDir dir;
    const QString doc = blackDiscDocument(dir);
    for (const bool corrected : { false, true }) {
        const QString pdf = dir.filePath(corrected ? "moved.pdf" : "centred.pdf");
        QStringList args = QStringList { "print", doc, "--pdf", pdf, "--printable-disc" } + kDiscOnly;
        if (corrected)
            args << "--offset" << "1.0,0.5";
        const CliResult r = runCasewrightCli(args, dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QImage page = firstPage(pdf);
        EXPECT_NEAR(page.width(), 120.0 * kPx, 1.0) << corrected;
        EXPECT_EQ(page.height(), page.width()) << corrected;
        const QRect ink = inkBox(page);
        const double dx = corrected ? 12 : 0, dy = corrected ? 6 : 0;
        EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, int(120.0 * kPx) / 2 + dx, 1.0)
            << corrected;
        EXPECT_NEAR((ink.top() + ink.bottom() + 1) / 2.0, int(120.0 * kPx) / 2 + dy, 1.0)
            << corrected;
        EXPECT_NEAR(ink.width(), 118.0 * kPx, 2.0) << corrected; // the default 118 mm
    }
}

TEST(CliDisc, TheDiscPageIsASquareOfTheOuterDiameterAndBadStockIsRefused)
{
    QTemporaryDir dir;
    const QString doc = blackDiscDocument(dir);
    const QString png = dir.filePath("disc.png");
    CliResult r = runCasewrightCli(
        { "render", doc, "--page", "disc", "--dpi", "300", "--png", png, "--label-sheet",
            "avery-j8676" },
        dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(int(117.48 * kPx), int(117.48 * kPx)));

    r = runCasewrightCli({ "print", doc, "--pdf", dir.filePath("x.pdf"), "--label-sheet",
                             "avery-l6015", "--labels", "3" },
        dir.path());
    EXPECT_EQ(r.code, 2);
    r = runCasewrightCli({ "print", doc, "--pdf", dir.filePath("x.pdf"), "--label-sheet", "nope" },
        dir.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("avery-l6015")) << r.err.toStdString();
}

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentFile.h"

using namespace cw;

// A video case's wrap drawn, printed and refused, at 300 dpi: its panels in
// device pixels, its folds and trim marks, and the paper it needs.

namespace {

// A wrap document whose back, spine and cover each have a colour of their own.
QString writeWrap(const QTemporaryDir &dir, const QString &format)
{
    LabelDocument doc;
    doc.caseFormat = format;
    doc.bottom.backgroundColor1 = 0x000000C0; // back: red
    doc.left.backgroundColor1 = 0x0000C000; // spine: green
    doc.top.backgroundColor1 = 0x00C00000; // cover: blue
    const QString path = QDir(dir.path()).filePath(format + ".cwr");
    NullMessageSink quiet;
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

const QStringList kLinesOff
    = { "--option", "AreaLinePrint=0", "--option", "CutLinePrint=0", "--printer-dpi", "300" };

// The canvas calls of a render: the rectangles as "l t r b", and every line
// drawn (a MoveTo and its LineTo) as "x0 y0 x1 y1".
struct Calls
{
    QStringList rectangles, lines;
};
Calls renderCalls(const QTemporaryDir &home, const QString &doc, const QStringList &more)
{
    const CliResult r = runCasewrightCli(
        QStringList { "render", doc, "--page", "wrap", "--dpi", "300", "--ops" } + kLinesOff + more,
        home.path());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    Calls calls;
    QString from;
    for (const QString &line : r.out.split('\n')) {
        if (line.startsWith("Rectangle "))
            calls.rectangles << line.mid(10);
        else if (line.startsWith("MoveTo "))
            from = line.mid(7);
        else if (line.startsWith("LineTo "))
            calls.lines << from + ' ' + line.mid(7);
    }
    return calls;
}

QImage rasterise(const QString &pdf)
{
    QProcess p;
    p.start("pdftocairo", { "-png", "-r", "300", "-antialias", "none", "-singlefile", pdf, pdf });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
}

// pdfinfo's "Pages:" and "Page size:" lines, "; " between them.
QString pageSize(const QString &pdf)
{
    QProcess p;
    p.start("pdfinfo", { pdf });
    p.waitForFinished(30000);
    QStringList lines;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Pages:") || line.startsWith("Page size:"))
            lines << line.simplified();
    return lines.join("; ");
}

} // namespace

// On the preview page of its case (309 x 223 mm, 3649 x 2633 pixels, and
// 300 x 188 mm, 3543 x 2220 pixels): the three panels side by side, back
// 1529 (1488) pixels, spine 165 (141), cover 1529 (1488); a bleed of 3 mm
// (35 pixels) only past the wrap's outer edges, never across a fold. The
// cover's fill stops at the sheet's right edge (3435), as the jewel case's does.
TEST(CliWrap, ThePanelsInDevicePixelsAndTheBleedRoundTheOuterEdge)
{
    QTemporaryDir home;
    struct Case
    {
        const char *format;
        const char *bleed;
        QStringList rectangles;
    };
    const Case cases[] = {
        { "dvd-14", "0", { "213 236 1742 2396", "1742 236 1907 2396", "1907 236 3435 2396" } },
        { "dvd-14", "3", { "178 201 1742 2432", "1742 201 1907 2432", "1907 201 3471 2432" } },
        { "bd-12", "0", { "213 236 1701 1983", "1701 236 1842 1983", "1842 236 3329 1983" } },
        { "bd-12", "3", { "178 201 1701 2019", "1701 201 1842 2019", "1842 201 3365 2019" } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " bleed " << c.bleed);
        const Calls calls = renderCalls(home, writeWrap(home, c.format), { "--bleed", c.bleed });
        EXPECT_EQ(calls.rectangles, c.rectangles);
    }
}

// The fold marks stand at both spine edges (two-pixel columns centred on
// them, dashed 5 pixels on, 5 off, 59 to 177 pixels above and below), and
// the trim marks at the four corners: the sheet's first and last columns
// above and below it, its first and last rows left and right of it. 8 + 8
// marks and 2 x 2 x 2 x 12 dashes.
TEST(CliWrap, FoldsAtBothSpineEdgesAndTrimMarksAtTheFourCorners)
{
    QTemporaryDir home;
    struct Case
    {
        const char *format;
        int L, T, R, B, fold1, fold2;
    };
    const Case cases[] = {
        { "dvd-14", 213, 236, 3435, 2396, 1742, 1907 },
        { "bd-12", 213, 236, 3329, 1983, 1701, 1842 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        const Calls calls = renderCalls(home, writeWrap(home, c.format), {});
        EXPECT_EQ(calls.lines.size(), 8 + 8 + 96);
        auto line = [](int x0, int y0, int x1, int y1) {
            return QStringLiteral("%1 %2 %3 %4").arg(x0).arg(y0).arg(x1).arg(y1);
        };
        const QStringList expected = {
            // top left: its column above, its row to the left
            line(c.L, c.T - 177, c.L, c.T - 59),
            line(c.L - 177, c.T, c.L - 59, c.T),
            // top right
            line(c.R, c.T - 177, c.R, c.T - 59),
            line(c.R + 59, c.T, c.R + 177, c.T),
            // bottom left
            line(c.L, c.B + 59, c.L, c.B + 177),
            line(c.L - 177, c.B, c.L - 59, c.B),
            // bottom right
            line(c.R, c.B + 59, c.R, c.B + 177),
            line(c.R + 59, c.B, c.R + 177, c.B),
            // the first and last dashes of both folds' marks, above and below
            line(c.fold1, c.T - 177, c.fold1, c.T - 172),
            line(c.fold1 - 1, c.T - 67, c.fold1 - 1, c.T - 62),
            line(c.fold2, c.B + 59, c.fold2, c.B + 64),
            line(c.fold2 - 1, c.B + 169, c.fold2 - 1, c.B + 174),
        };
        for (const QString &l : expected)
            EXPECT_TRUE(calls.lines.contains(l)) << l.toStdString();
    }
}

// print --pdf: one wrap sheet on A4 landscape (3508 x 2480 pixels), or with
// --paper letter on US Letter landscape (3300 x 2550), centred; the panels'
// colours begin and end at their pixels; the marks across the sheet are cut
// to the room the paper leaves and stop 1 mm (11 pixels) short of it. With a 3 mm
// bleed the wrap does not fit Letter: the refusal, and no file.
TEST(CliWrap, PrintsOneWrapSheetOnTheChosenPaperOrRefusesIt)
{
    QTemporaryDir home;
    const QString doc = writeWrap(home, "dvd-14");
    struct Case
    {
        const char *paper;
        const char *size;
        int L, T;
    };
    const Case cases[] = {
        { "a4", "Pages: 1; Page size: 842 x 595 pts (A4)", 142, 159 },
        { "letter", "Pages: 1; Page size: 792 x 612 pts (letter)", 38, 194 },
    };
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    const QRgb back = qRgb(0xC0, 0, 0), spine = qRgb(0, 0xC0, 0), cover = qRgb(0, 0, 0xC0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.paper);
        const QString pdf = home.filePath(QStringLiteral("%1.pdf").arg(c.paper));
        const CliResult r = runCasewrightCli(
            QStringList { "print", doc, "--pdf", pdf, "--paper", c.paper } + kLinesOff,
            home.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(pageSize(pdf), c.size);
        const QImage page = rasterise(pdf);
        if (page.isNull())
            FAIL() << "pdftocairo is not installed (poppler-utils)";
        const int R = c.L + 3222, B = c.T + 2160, fold1 = c.L + 1529, fold2 = fold1 + 165;
        const int y = c.T + 1000, x = c.L + 300;
        const QList<std::tuple<int, int, QRgb>> pixels = {
            { c.L - 1, y, white },
            { c.L, y, back },
            { fold1 - 1, y, back },
            { fold1, y, spine },
            { fold2 - 1, y, spine },
            { fold2, y, cover },
            { R - 1, y, cover },
            { R + 1, y, white },
            { x, c.T - 1, white },
            { x, c.T, back },
            { x, B - 1, back },
            { x, B + 1, white },
            // the top left corner's mark to the left, from the paper's edge
            // to 1 mm from the sheet (a line ends before its last pixel)
            { 0, c.T, black },
            { c.L - 12, c.T, black },
            { c.L - 11, c.T, white },
        };
        for (const auto &[px, py, colour] : pixels)
            EXPECT_EQ(page.pixel(px, py), colour) << px << "," << py;
    }

    const QString pdf = home.filePath("bled.pdf");
    const CliResult r = runCasewrightCli(
        QStringList { "print", doc, "--pdf", pdf, "--paper", "letter", "--bleed", "3" } + kLinesOff,
        home.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
        "DVDトールケース(14mm)が塗り足しとトンボを含めて用紙に収まりません。印刷できる範囲が"
        "横285.0mm×縦195.0mm以上の用紙(A4横など)を選んでください(この用紙は横279.4mm×縦215.9mm)\n");
    EXPECT_FALSE(QFile::exists(pdf));
    // The wrap's reverse alone is named as such.
    const CliResult inside = runCasewrightCli(QStringList { "print", doc, "--pdf", pdf, "--paper",
                                                  "letter", "--bleed", "3", "--option",
                                                  "TopLabelPrint=0", "--option", "InsidePrint=1" }
            + kLinesOff,
        home.path());
    EXPECT_TRUE(inside.err.startsWith("DVDトールケース(14mm)の内側が塗り足しとトンボを含めて"))
        << inside.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

// --paper takes a4 or letter, and only with --pdf; a jewel document without
// it is printed on A4 as before.
TEST(CliWrap, ThePaperOptionIsRefusedWithItsChoices)
{
    QTemporaryDir home;
    const QString doc = writeWrap(home, "cd-jewel");
    const QString pdf = home.filePath("out.pdf");
    CliResult r = runCasewrightCli({ "print", doc, "--pdf", pdf, "--paper", "a3" }, home.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--paper は a4 か letter です\n")) << r.err.toStdString();
    r = runCasewrightCli(
        { "print", doc, "--pdf", pdf, "--paper", "A4" }, home.path(), englishLocale());
    EXPECT_TRUE(r.err.startsWith("--paper must be a4 or letter\n")) << r.err.toStdString();
    r = runCasewrightCli({ "print", doc, "--paper", "letter" }, home.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--paper は --pdf と一緒に指定してください\n"))
        << r.err.toStdString();
    r = runCasewrightCli({ "calibration-sheet", "--printer", "x", "--paper", "a4" }, home.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_FALSE(QFile::exists(pdf));

    r = runCasewrightCli({ "print", doc, "--pdf", pdf }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(pageSize(pdf), "Pages: 2; Page size: 842 x 595 pts (A4)");
    r = runCasewrightCli({ "calibration-sheet", "--pdf", pdf, "--paper", "letter" }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(pageSize(pdf), "Pages: 1; Page size: 792 x 612 pts (letter)");
}

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "TestSupport.h"
#include "document/DocumentFile.h"

using namespace cw;

namespace {

const QString kDemo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");

// Each page's boxes as qpdf reads them back: "MediaBox [ ... ]" lines.
QStringList pageBoxes(const QString &path)
{
    QPDF file;
    file.processFile(path.toLocal8Bit().constData());
    QStringList out;
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(file).getAllPages()) {
        QPDFObjectHandle dict = page.getObjectHandle();
        QStringList line;
        for (const char *key : { "/MediaBox", "/TrimBox", "/BleedBox" })
            line << QString::fromLatin1(key + 1) + ' '
                    + (dict.hasKey(key) ? QString::fromStdString(dict.getKey(key).unparse())
                                        : QStringLiteral("none"));
        out << line.join(QStringLiteral("; "));
    }
    return out;
}

// A wrap document of a case, its panels coloured, written into `dir`.
QString writeWrap(const QTemporaryDir &dir, const QString &format)
{
    LabelDocument doc;
    doc.caseFormat = format;
    doc.bottom.backgroundColor1 = 0x000000C0;
    doc.left.backgroundColor1 = 0x0000C000;
    doc.top.backgroundColor1 = 0x00C00000;
    const QString path = dir.filePath(format + ".cwr");
    NullMessageSink quiet;
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

QImage rasterise(const QString &pdf, const QString &stem)
{
    QProcess p;
    p.start("pdftocairo", { "-png", "-r", "300", "-antialias", "none", "-singlefile", pdf, stem });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

} // namespace

// --press with --bleed and --dpi: a page per sheet, the boxes in exact
// points; the file's name on standard output as export-pdf prints it. The
// jewel case's two sheets at 600 dpi with a 2 mm bleed; a DVD wrap (3223 x
// 2161 pixels at 300 dpi on a page of 3650 x 2600, 876 x 624 points) with
// 3 mm (35 pixels), and a Blu-ray wrap (3117 x 1748 on 3550 x 2175) without.
TEST(CliPressPdf, APagePerSheetWithItsBoxes)
{
    QTemporaryDir home;
    const QString pdf = home.filePath("press.pdf");
    struct Case
    {
        QString document;
        const char *bleed, *dpi;
        QStringList boxes;
    };
    const Case cases[] = {
        { kDemo, "2", "600",
            { "MediaBox [ 0 0 789 441 ]; TrimBox [ 51.48 51.24 737.4 389.88 ]; "
              "BleedBox [ 45.84 45.6 743.04 395.52 ]",
                "MediaBox [ 0 0 528 435 ]; TrimBox [ 51.36 51 476.4 384 ]; "
                "BleedBox [ 45.72 45.36 482.04 389.64 ]" } },
        { writeWrap(home, "dvd-14"), "3", "300",
            { "MediaBox [ 0 0 876 624 ]; TrimBox [ 51.12 52.8 824.64 571.44 ]; "
              "BleedBox [ 42.72 44.4 833.04 579.84 ]" } },
        { writeWrap(home, "bd-12"), "0", "300",
            { "MediaBox [ 0 0 852 522 ]; TrimBox [ 51.84 51.36 799.92 470.88 ]; "
              "BleedBox [ 51.84 51.36 799.92 470.88 ]" } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.document.toStdString());
        CliResult r = runCasewrightCli(
            { "export-pdf", c.document, pdf, "--press", "--bleed", c.bleed, "--dpi", c.dpi },
            home.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, pdf + '\n');
        EXPECT_EQ(pageBoxes(pdf), c.boxes);
    }
    CliResult r = runCasewrightCli(
        { "export-pdf", kDemo, pdf, "--press", "--bleed", "2", "--dpi", "600" }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    // Every font of the titles and the list is in the file.
    QProcess fonts;
    fonts.start("pdffonts", { pdf });
    if (fonts.waitForStarted()) {
        ASSERT_TRUE(fonts.waitForFinished(30000));
        const QStringList rows
            = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(rows.size(), 3); // the heading, its rule and at least one font
        for (const QString &row : rows.mid(2))
            EXPECT_TRUE(row.contains(QRegularExpression(" yes (yes|no) +(yes|no) +\\d+ +\\d+$")))
                << row.toStdString();
    }

    r = runCasewrightCli({ "export-pdf", kDemo, pdf }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList a4 = pageBoxes(pdf);
    ASSERT_EQ(a4.size(), 2);
    for (const QString &page : a4)
        EXPECT_TRUE(page.endsWith("; TrimBox none; BleedBox none")) << page.toStdString();
}

// Inside its trim, the press page of a DVD wrap is the wrap as render draws
// it on a page of the same size: every pixel, the bleed included.
TEST(CliPressPdf, AWrapsRasterInsideTheTrimIsTheRenderOfTheSheet)
{
    QTemporaryDir home;
    const QString doc = writeWrap(home, "dvd-14");
    const QString pdf = home.filePath("press.pdf"), png = home.filePath("render.png");
    CliResult r = runCasewrightCli(
        { "export-pdf", doc, pdf, "--press", "--bleed", "3", "--printer-dpi", "300" }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = runCasewrightCli({ "render", doc, "--page", "wrap", "--dpi", "300", "--size", "3650x2600",
                             "--bleed", "3", "--png", png, "--printer-dpi", "300" },
        home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage printed = rasterise(pdf, home.filePath("press"));
    if (printed.isNull())
        FAIL() << "pdftocairo is not installed (poppler-utils)";
    const QImage drawn = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(printed.size(), QSize(3650, 2600));
    ASSERT_EQ(drawn.size(), printed.size());
    // The trim, 213..3435 by 219..2379, and the bleed's 35 pixels round it.
    int differing = 0, coloured = 0;
    for (int y = 219 - 35; y <= 2379 + 35; ++y)
        for (int x = 213 - 35; x <= 3435 + 35; ++x) {
            differing += printed.pixel(x, y) != drawn.pixel(x, y);
            coloured += drawn.pixel(x, y) != qRgb(255, 255, 255);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coloured, 3223 * 2161);
    EXPECT_EQ(drawn.pixel(213 - 35, 1000), qRgb(0xC0, 0, 0));
    EXPECT_EQ(drawn.pixel(213 - 36, 1000), qRgb(255, 255, 255));
}

// --offset has no meaning for a print shop's file and is refused with the
// usage line; a file that cannot be made is a failure that leaves nothing.
TEST(CliPressPdf, OffsetRefusedAndUnwritablePathsFail)
{
    QTemporaryDir home;
    const QString pdf = home.filePath("press.pdf");
    CliResult r = runCasewrightCli(
        { "export-pdf", kDemo, pdf, "--press", "--offset", "1.0,0.0" }, home.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--press と --offset は一緒に指定できません\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("[--bleed N] [--press [--imposed]]")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    r = runCasewrightCli({ "export-pdf", kDemo, pdf, "--press", "--offset", "1.0,0.0" },
        home.path(), englishLocale());
    EXPECT_TRUE(r.err.startsWith("--press and --offset cannot be given together\n"))
        << r.err.toStdString();

    const QString missing = home.filePath("no/such/folder/out.pdf");
    r = runCasewrightCli({ "export-pdf", kDemo, missing, "--press" }, home.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
        QStringLiteral("ファイル(%1)が記録できません (ファイルに書き込めません)\n").arg(missing));
    EXPECT_FALSE(QFile::exists(missing));
}

// A disk that fills up while the file is written: the old file stays whole,
// and where there was none, none is left, nor any part of one.
TEST(CliPressPdf, AFullDiskLeavesTheOldFileOrNone)
{
    for (bool old : { true, false }) {
        SCOPED_TRACE(old);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("press.pdf");
        if (old) {
            ASSERT_TRUE(writeAll(pdf, "old contents"));
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", dir.path());
        env.insert("XDG_CONFIG_HOME", dir.path());
        p.setProcessEnvironment(env);
        // 20 blocks of 512 bytes: the document is read, the file is not written.
        p.start("sh",
            { "-c", "trap '' XFSZ; ulimit -f 20; exec \"$@\"", "sh",
                CASEWRIGHT_BIN_DIR "/casewright-cli", "export-pdf", kDemo, pdf, "--press" });
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("が記録できません"));
        if (old) {
            EXPECT_EQ(readAll(pdf), QByteArray("old contents"));
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
            old ? QStringList({ "press.pdf" }) : QStringList());
    }
}

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "TestSupport.h"

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

} // namespace

// --press with --bleed and --dpi: a page per sheet, the boxes in exact points
// at 600 dpi with a 2 mm bleed; the file's name on standard output as
// export-pdf prints it. Without --press the file is as it was: A4 landscape
// sheets with no trim or bleed box of their own.
TEST(CliPressPdf, APagePerSheetWithItsBoxes)
{
    QTemporaryDir home;
    const QString pdf = home.filePath("press.pdf");
    CliResult r = runCasewrightCli(
        { "export-pdf", kDemo, pdf, "--press", "--bleed", "2", "--dpi", "600" }, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, pdf + '\n');
    EXPECT_EQ(pageBoxes(pdf),
        QStringList({ "MediaBox [ 0 0 789 441 ]; TrimBox [ 51.48 51.24 737.4 389.88 ]; "
                      "BleedBox [ 45.84 45.6 743.04 395.52 ]",
            "MediaBox [ 0 0 528 435 ]; TrimBox [ 51.36 51 476.4 384 ]; "
            "BleedBox [ 45.72 45.36 482.04 389.64 ]" }));

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
    EXPECT_TRUE(r.err.contains("[--bleed N] [--press]")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    r = runCasewrightCli(
        { "export-pdf", kDemo, pdf, "--press", "--offset", "1.0,0.0" }, home.path(),
        englishLocale());
    EXPECT_TRUE(r.err.startsWith("--press and --offset cannot be given together\n"))
        << r.err.toStdString();

    const QString missing = home.filePath("no/such/folder/out.pdf");
    r = runCasewrightCli({ "export-pdf", kDemo, missing, "--press" }, home.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("ファイル(%1)が記録できません (ファイルに書き込めません)\n")
                         .arg(missing));
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

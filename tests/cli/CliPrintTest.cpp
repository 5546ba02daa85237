#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "base/ProgramFolders.h"
#include "document/DocumentFile.h"
#include "document/LabelDocument.h"

using namespace cw;

namespace {
using Result = CliResult;
Result cli(const QStringList &args, const QString &configHome)
{
    return runCasewrightCli(args, configHome);
}

// A document whose two pages can be told apart by their text.
QString writeDocument(const QTemporaryDir &dir)
{
    LabelDocument doc;
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("FrontCoverTitle");
    doc.bottom.title.use = true;
    doc.bottom.title.text = QStringLiteral("BackLabelTitle");
    const QString path = dir.filePath(QStringLiteral("doc.cwr"));
    NullMessageSink quiet;
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

QString pdfText(const QString &pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
        { "-f", QString::number(page), "-l", QString::number(page), pdf, "-" });
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), { pdf });
    p.waitForFinished(30000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &line : info.split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}
} // namespace

TEST(CliPrint, PrintsBothPagesIntoOnePdfFrontFirst)
{
    QTemporaryDir dir;
    const QString doc = writeDocument(dir);
    const QString pdf = dir.filePath("out.pdf");
    Result r = cli({ "print", doc, "--pdf", pdf, "--printer-dpi", "300" }, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(pdfPages(pdf), 2);
    EXPECT_TRUE(pdfText(pdf, 1).contains("FrontCoverTitle"));
    EXPECT_TRUE(pdfText(pdf, 2).contains("BackLabelTitle"));
    EXPECT_FALSE(pdfText(pdf, 1).contains("BackLabelTitle"));
}

TEST(CliPrint, TheOptionsChooseThePages)
{
    QTemporaryDir dir;
    const QString doc = writeDocument(dir);
    const QString pdf = dir.filePath("back.pdf");
    Result r = cli({ "print", doc, "--pdf", pdf, "--option", "TopLabelPrint=0" }, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_TRUE(pdfText(pdf, 1).contains("BackLabelTitle"));

    Result none = cli({ "print", doc, "--pdf", dir.filePath("none.pdf"), "--option",
                          "TopLabelPrint=0", "--option", "BottomLabelPrint=0" },
        dir.path());
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("印刷するページがありません")));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.pdf")));
}

TEST(CliPrint, FailuresAndBadArguments)
{
    QTemporaryDir dir;
    const QString doc = writeDocument(dir);
    Result missing
        = cli({ "print", dir.filePath("nope.cwr"), "--pdf", dir.filePath("x.pdf") }, dir.path());
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("がオープンできません")))
        << missing.err.toStdString();

    Result unwritable = cli({ "print", doc, "--pdf", "/nonexistent-folder/x.pdf" }, dir.path());
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("が記録できません")));

    Result noPrinter = cli({ "print", doc, "--printer", "NoSuchPrinterHere" }, dir.path());
    EXPECT_EQ(noPrinter.code, 1);
    EXPECT_TRUE(noPrinter.err.contains("NoSuchPrinterHere"));

    EXPECT_EQ(cli({ "print", doc, "--option", "Bogus=1" }, dir.path()).code, 2);
    EXPECT_EQ(cli({ "print", doc, "--option", "AreaLinePrint=2" }, dir.path()).code, 2);
    EXPECT_EQ(cli({ "print" }, dir.path()).code, 2);
    EXPECT_EQ(cli({ "print", doc, "--pdf", "a.pdf", "--printer", "p" }, dir.path()).code, 2);
}

TEST(CliPrint, TheDemoPrintsWithItsPicturesDecoded)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("demo.pdf");
    Result r = cli({ "print", QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"), "--pdf",
                       pdf, "--printer-dpi", "300", "--option", "TopLabelPrint=1", "--option",
                       "BottomLabelPrint=1" },
        dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The PNG pictures go through the decoder modules: nothing is reported.
    EXPECT_FALSE(r.err.contains(QStringLiteral("ファイル("))) << r.err.toStdString();
    EXPECT_EQ(pdfPages(pdf), 2);
    QProcess images;
    images.start(QStringLiteral("pdfimages"), { "-list", pdf });
    images.waitForFinished(30000);
    const QStringList rows
        = QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(rows.size(), 2 + 2); // two header lines and a picture on each page
}

// A PDF file is made for a printer of the resolution asked for: its pictures
// are embedded at exactly that many pixels per inch, whatever their own size.
// Run without a runtime folder, as from cron or ssh, standard error stays empty.
TEST(CliPrint, APdfCarriesItsPicturesAtThePrinterResolution)
{
    QTemporaryDir dir;
    for (const char *dpi : { "300", "600" }) {
        SCOPED_TRACE(dpi);
        const QString pdf = dir.filePath(QStringLiteral("demo%1.pdf").arg(dpi));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(CASEWRIGHT_BIN_DIR "/casewright-cli"),
            { "print", QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"), "--pdf", pdf,
                "--printer-dpi", dpi, "--option", "TopLabelPrint=1", "--option",
                "BottomLabelPrint=1" });
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(p.readAllStandardError(), QByteArray());

        QProcess images;
        images.start(QStringLiteral("pdfimages"), { "-list", pdf });
        images.waitForFinished(30000);
        const QStringList rows = QString::fromUtf8(images.readAllStandardOutput())
                                     .split('\n', Qt::SkipEmptyParts)
                                     .mid(2);
        ASSERT_GE(rows.size(), 2);
        for (const QString &row : rows) {
            // page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
            const QStringList f = row.simplified().split(' ');
            ASSERT_GE(f.size(), 14) << row.toStdString();
            EXPECT_EQ(f[12], QLatin1String(dpi)) << row.toStdString();
            EXPECT_EQ(f[13], QLatin1String(dpi)) << row.toStdString();
        }
    }
}

// The command line needs neither the widget library nor Qt Print Support to
// start; only the printer module, loaded to print to a printer, does.
TEST(CliPrint, OnlyThePrinterModuleLinksTheWidgetLibrary)
{
    auto libraries = [](const QString &file) {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), { file });
        ldd.waitForFinished(30000);
        return QString::fromUtf8(ldd.readAllStandardOutput());
    };
    const QString cli = libraries(QStringLiteral(CASEWRIGHT_BIN_DIR "/casewright-cli"));
    ASSERT_TRUE(cli.contains(QLatin1String("libQt6Gui"))) << cli.toStdString();
    EXPECT_FALSE(cli.contains(QLatin1String("libQt6Widgets"))) << cli.toStdString();
    EXPECT_FALSE(cli.contains(QLatin1String("libQt6PrintSupport"))) << cli.toStdString();
    const QString module = libraries(programModuleFolder() + "/casewright-printing.so");
    EXPECT_TRUE(module.contains(QLatin1String("libQt6PrintSupport"))) << module.toStdString();
}

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentFile.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

using Result = CliResult;
// Runs the command line with its own, empty settings folder.
Result runCli(const QTemporaryDir &home, const QStringList &args)
{
    return runCasewrightCli(args, home.path());
}

QString writeDocument(const QTemporaryDir &dir, const LabelDocument &doc)
{
    const QString path = QDir(dir.path()).filePath("doc.cwr");
    NullMessageSink quiet;
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

LabelDocument titled()
{
    LabelDocument doc;
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("表題");
    return doc;
}

} // namespace

TEST(CliRender, OpsOfTheEmptyFrontPageWithTheOptionsOff)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, LabelDocument());
    Result r = runCli(home,
        { "render", doc, "--page", "front", "--ops", "--printer-dpi", "300", "--option",
            "AreaLinePrint=0", "--option", "CutLinePrint=0" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    // Two fills, black, 8 trim marks and 2 x 19 dashes, two lines each.
    ASSERT_EQ(lines.size(), 8 + 2 * (8 + 38));
    EXPECT_EQ(lines[2], "Rectangle 523 76 979 526");
    EXPECT_EQ(lines[5], "Rectangle 66 76 523 526");
    EXPECT_EQ(lines[8], "MoveTo 66 20");
    EXPECT_EQ(lines.last(), "LineTo 1035 526");
}

TEST(CliRender, PrintOptionsComeFromTheSettingsWithBoundaryAndFoldLinesOn)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, LabelDocument());
    Result r = runCli(home, { "render", doc, "--page", "back", "--ops" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The left boundary line of the back page and the dashed fold line.
    EXPECT_TRUE(r.out.contains("MoveTo 240 80\nLineTo 240 523\n"));
    EXPECT_TRUE(r.out.contains("MoveTo 262 80\nLineTo 262 81\n"));
    // Nothing was written into the settings by reading them.
    EXPECT_FALSE(QFile::exists(home.filePath("Tessellane/Casewright.conf")));

    // A stored value is used; --option overrides it.
    QDir(home.path()).mkpath("Tessellane");
    writeAll(home.filePath("Tessellane/Casewright.conf"), "[General]\nAreaLinePrint=0\n");
    r = runCli(home, { "render", doc, "--page", "back", "--ops" });
    EXPECT_FALSE(r.out.contains("MoveTo 240 80\n"));
    r = runCli(home, { "render", doc, "--page", "back", "--ops", "--option", "AreaLinePrint=1" });
    EXPECT_TRUE(r.out.contains("MoveTo 240 80\n"));
}

TEST(CliRender, TitleAtAnotherResolutionAndSize)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, titled());
    Result r = runCli(
        home, { "render", doc, "--page", "front", "--ops", "--dpi", "300", "--size", "3507x2480" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("DrawTextInRect 1753 593 3181 1885 center center 表題\n"));
}

TEST(CliRender, WritesPngAndPdf)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, titled());
    const QString png = home.filePath("front.png");
    Result r = runCli(home, { "render", doc, "--page", "front", "--png", png });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QImage img(png);
    ASSERT_EQ(img.size(), QSize(1046, 604));
    EXPECT_EQ(img.pixel(66, 20) & 0xFFFFFF, 0u); // a trim mark
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);

    // Without --size the same preview page, 277.0 x 160.0 mm, at the resolution asked for.
    r = runCli(home, { "render", doc, "--page", "front", "--png", png, "--dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(3271, 1889));

    const QString pdf = home.filePath("back.pdf");
    r = runCli(home,
        { "render", doc, "--page", "back", "--pdf", pdf, "--dpi", "600", "--size", "7014x4960" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
}

TEST(CliRender, ExportPdfWritesBothPages)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, titled());
    const QString pdf = home.filePath("both.pdf");
    Result r = runCli(home, { "export-pdf", doc, pdf });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), pdf);
    const QByteArray data = readAll(pdf);
    EXPECT_TRUE(data.startsWith("%PDF"));
    EXPECT_EQ(
        data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "), 2);
}

TEST(CliRender, BadArgumentsAndFailures)
{
    QTemporaryDir home;
    const QString doc = writeDocument(home, LabelDocument());
    for (const QStringList &args : {
             QStringList { "render", doc, "--page", "side", "--ops" },
             QStringList { "render", doc, "--page", "front" },
             QStringList { "render", doc, "--page", "front", "--ops", "--png", "x.png" },
             QStringList { "render", doc, "--page", "front", "--ops", "--option", "Nope=1" },
             QStringList {
                 "render", doc, "--page", "front", "--ops", "--option", "AreaLinePrint=2" },
             QStringList { "render", "--page", "front", "--ops" },
             QStringList { "export-pdf", doc },
         }) {
        Result r = runCli(home, args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("\n使い方: casewright-cli ")) << r.err.toStdString();
    }
    Result r = runCli(home, { "render", home.filePath("missing.cwr"), "--page", "front", "--ops" });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("missing.cwr")) << r.err.toStdString();
    r = runCli(home, { "export-pdf", doc, home.filePath("no/such/folder/out.pdf") });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("が記録できません")) << r.err.toStdString();
}

// The command line saves its pictures as the program saves documents: a disk
// that fills up while the PNG is written leaves the old file whole.
TEST(CliRender, AFullDiskKeepsTheOldPng)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("page.png");
    ASSERT_TRUE(writeAll(png, "old contents"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    p.setProcessEnvironment(env);
    // 20 blocks of 512 bytes: the document is read, the page is not written.
    p.start("sh",
        { "-c", "trap '' XFSZ; ulimit -f 20; exec \"$@\"", "sh",
            CASEWRIGHT_BIN_DIR "/casewright-cli", "render",
            CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr", "--page", "front", "--dpi", "150", "--png",
            png });
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("が記録できません"));
    EXPECT_EQ(readAll(png), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "page.png" }));
}

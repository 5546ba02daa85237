#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "TestSupport.h"

using namespace cw;

namespace {

const QString kDemo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");

struct RefusedCase
{
    QStringList args;
    QString problem; // the first line on standard error
    QString usage; // what follows "usage: casewright-cli "
};

// A refusal says what is wrong, then how the command is used, and nothing else
// (in English here; the language of a run is checked in tests/language).
void expectRefused(const RefusedCase &c, const QString &configHome = QString())
{
    const CliResult r = runCasewrightCli(c.args, configHome, englishLocale());
    const std::string run = c.args.join(' ').toStdString();
    EXPECT_EQ(r.code, 2) << run;
    EXPECT_EQ(r.err, c.problem + "\nusage: casewright-cli " + c.usage + "\n") << run;
    EXPECT_TRUE(r.out.isEmpty()) << run << ": " << r.out.toStdString();
}

const QString kConvertUsage = QStringLiteral(
    "convert IN.cwr OUT.cwr [--format ID] [--size P,H,S] [--printer-dpi X[xY]] [--allow-unicode]");
const QString kDumpUsage = QStringLiteral("dump DOC.cwr [--printer-dpi X[xY]]");
const QString kGeometryUsage = QStringLiteral("geometry [--dpi X[xY]] [--page WxH]");
const QString kImportListUsage = QStringLiteral("import-list FILE|FOLDER|AUDIO... [--columns N]");
const QString kRenderUsage = QStringLiteral(
    "render DOC.cwr --page front|back|disc|page-K [--dpi X[xY]] [--size WxH] (--png F | --pdf F | --ops) "
    "[--option NAME=0|1]... [--bleed N] [--disc-guides] [--label-sheet ID | --printable-disc]");
const QString kPrintUsage
    = QStringLiteral("print DOC.cwr [--printer NAME | --pdf F [--paper a4|letter]] "
                     "[--option NAME=0|1]... [--offset X,Y] [--bleed N] [--printer-dpi X[xY]] "
                     "[--label-sheet ID] [--labels N,N] [--printable-disc]");
const QString kExportPdfUsage = QStringLiteral(
    "export-pdf DOC.cwr OUT.pdf [--dpi N] [--option NAME=0|1]... [--offset X,Y] [--bleed N] "
    "[--press [--imposed]]");

} // namespace

// Every command refuses an option it does not take before doing anything,
// whatever else is on the line: the arguments would otherwise be accepted.
TEST(CliArguments, EveryCommandRefusesAnOptionItDoesNotTake)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const QString unknown = QStringLiteral("unknown option: --anything");
    const QList<RefusedCase> cases = {
        { { "convert", "IN", "OUT", "--anything" }, unknown, kConvertUsage },
        { { "convert", kDemo, out, "--anything" }, unknown, kConvertUsage },
        { { "convert", kDemo, out, "--allow-unicode", "--anything=1" }, unknown, kConvertUsage },
        { { "convert", kDemo, out, "--allow-unicode=1" }, "unexpected value: --allow-unicode=1",
            kConvertUsage },
        { { "convert", kDemo, out, "-x" }, "unknown option: -x", kConvertUsage },
        { { "dump", kDemo, "--anything" }, unknown, kDumpUsage },
        { { "dump", "--anything", kDemo, "--printer-dpi", "300" }, unknown, kDumpUsage },
        // An option of another command is as unknown as any other.
        { { "dump", kDemo, "--columns", "2" }, "unknown option: --columns", kDumpUsage },
        { { "geometry", "--anything" }, unknown, kGeometryUsage },
        { { "import-list", kDemo, "--anything" }, unknown, kImportListUsage },
        { { "template", kDemo, "--anything" }, unknown, "template FILE.cwt" },
        { { "filter", "--anything" }, unknown, "filter [--plugins DIR]" },
        { { "decode", kDemo, "--anything" }, unknown,
            "decode PICTURE [--plugins DIR] [--png OUT]" },
        { { "render", kDemo, "--page", "front", "--ops", "--anything" }, unknown, kRenderUsage },
        { { "render", kDemo, "--page", "front", "--ops=1" }, "unexpected value: --ops=1",
            kRenderUsage },
        { { "print", kDemo, "--pdf", dir.filePath("out.pdf"), "--anything" }, unknown,
            kPrintUsage },
        // Refused before a printer is looked for.
        { { "print", kDemo, "--anything" }, unknown, kPrintUsage },
        { { "export-pdf", kDemo, dir.filePath("out.pdf"), "--anything" }, unknown,
            kExportPdfUsage },
    };
    for (const RefusedCase &c : cases)
        expectRefused(c, dir.path());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.pdf")));
}

TEST(CliArguments, AnOptionWithoutItsValueIsRefused)
{
    QTemporaryDir dir;
    const QList<RefusedCase> cases = {
        { { "geometry", "--dpi" }, "missing value for --dpi", kGeometryUsage },
        { { "dump", kDemo, "--printer-dpi" }, "missing value for --printer-dpi", kDumpUsage },
        { { "import-list", kDemo, "--columns" }, "missing value for --columns", kImportListUsage },
        { { "render", kDemo, "--page", "front", "--png" }, "missing value for --png",
            kRenderUsage },
        { { "print", kDemo, "--option", "CutLinePrint=1", "--option" },
            "missing value for --option", kPrintUsage },
    };
    for (const RefusedCase &c : cases)
        expectRefused(c, dir.path());
}

// A value may follow its option as the next argument or after "=".
TEST(CliArguments, AValueMayFollowAnEqualsSign)
{
    const CliResult spaced
        = runCasewrightCli({ "geometry", "--dpi", "360x180", "--page", "2000x1000" });
    const CliResult joined = runCasewrightCli({ "geometry", "--dpi=360x180", "--page=2000x1000" });
    ASSERT_EQ(spaced.code, 0) << spaced.err.toStdString();
    EXPECT_EQ(joined.code, 0) << joined.err.toStdString();
    EXPECT_EQ(joined.out, spaced.out);
    EXPECT_NE(joined.out, runCasewrightCli({ "geometry" }).out);
}

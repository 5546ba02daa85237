#include <gtest/gtest.h>

#include "TestSupport.h"

#include <QProcess>

using namespace cw;

namespace {
using Result = CliResult;
Result runCli(const QStringList &args)
{
    return runCasewrightCli(args);
}
} // namespace

TEST(CliGeometry, PrintsEveryValueForThePreviewPage)
{
    Result r = runCli({ "geometry" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines[0], "kx 3.779676");
    EXPECT_EQ(lines[2], "lineX 1.000000");
    EXPECT_TRUE(lines.contains("front.L 66"));
    EXPECT_TRUE(lines.contains("back.X3 805"));
    EXPECT_TRUE(lines.contains("sideWidth 22"));
}

TEST(CliGeometry, TakesResolutionAndPage)
{
    Result r = runCli({ "geometry", "--dpi", "360x180", "--page", "2000x1000" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("ky 7.086893\n"));
    EXPECT_TRUE(r.out.contains("lineY 1.417379\n"));
    EXPECT_TRUE(r.out.contains("topWidth 1715\n"));
    EXPECT_TRUE(r.out.contains("front.L -715\n"));
}

TEST(CliGeometry, BadArgumentsExitWithTwoAndAUsageLine)
{
    for (const QStringList &args :
        { QStringList { "geometry", "--dpi", "abc" }, QStringList { "geometry", "--page", "10" },
            QStringList { "geometry", "--dpi" }, QStringList { "nosuchcommand" } }) {
        Result r = runCli(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("\n使い方: casewright-cli ")) << r.err.toStdString();
    }
}

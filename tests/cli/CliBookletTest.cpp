// The booklet demo from the command line: its sheets, a page drawn alone,
// its dump and its press PDF's options.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "TestSupport.h"

using namespace cw;

namespace {
const QString kBooklet = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/booklet.cwr");
} // namespace

TEST(CliBooklet, TheDemosSheetsPagesAndDumpFollowItsEightPages)
{
    QTemporaryDir dir;
    const CliResult formats = runCasewrightCli({ "formats", kBooklet }, dir.path());
    ASSERT_EQ(formats.code, 0) << formats.err.toStdString();
    const QJsonArray list = QJsonDocument::fromJson(formats.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 1);
    const QJsonObject jewel = list[0].toObject();
    EXPECT_EQ(jewel["id"].toString(), "cd-jewel");
    EXPECT_EQ(jewel["pages"].toInt(), 8);
    EXPECT_EQ(jewel["sheets"].toArray().size(), 5); // four sides and the back label
    const QJsonArray reverse = jewel["sheets"].toArray()[1].toObject()["panels"].toArray();
    EXPECT_EQ(reverse[0].toObject()["page"].toInt(), 2);
    EXPECT_EQ(reverse[1].toObject()["page"].toInt(), 7);

    const CliResult dump = runCasewrightCli({ "dump", kBooklet }, dir.path());
    ASSERT_EQ(dump.code, 0) << dump.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(dump.out.toUtf8()).object();
    EXPECT_EQ(doc["bookletPages"].toInt(), 8);
    EXPECT_EQ(doc["pages"].toArray().size(), 6);
    // Page 7, the credits, has the cover picture.
    const QJsonObject picture = doc["pages"].toArray()[5].toObject()["picture"].toObject();
    EXPECT_TRUE(picture["use"].toBool());
    EXPECT_TRUE(picture["fileName"].toString().endsWith("/demo-cover.png"));

    // Page 3 alone holds the first song's lyrics; a page the booklet lacks is
    // refused as a usage error that names the booklet's sides and pages.
    const CliResult page = runCasewrightCli(
        { "render", kBooklet, "--page", "page-3", "--ops", "--dpi", "100" }, dir.path());
    ASSERT_EQ(page.code, 0) << page.err.toStdString();
    EXPECT_TRUE(page.out.contains("夜明けの歌")) << page.out.toStdString();
    EXPECT_TRUE(page.out.contains("窓をあけて 朝を待つ"));
    EXPECT_FALSE(page.out.contains("Tessellate"));
    const CliResult missing = runCasewrightCli(
        { "render", kBooklet, "--page", "page-9", "--ops" }, dir.path());
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("front-2-reverse, back, disc, page-1,"))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.err.contains("page-8")) << missing.err.toStdString();
    const CliResult imposed = runCasewrightCli(
        { "export-pdf", kBooklet, dir.filePath("x.pdf"), "--imposed" }, dir.path());
    EXPECT_EQ(imposed.code, 2);
    EXPECT_TRUE(imposed.err.contains("--press")) << imposed.err.toStdString();
}

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"

using namespace cw;

namespace {
struct Result
{
    int code;
    QByteArray out;
    QString err;
};
Result runCli(const QStringList &args)
{
    const CliResult r = runCasewrightCli(args);
    return { r.code, r.rawOut, r.err };
}
} // namespace

TEST(CliImportList, PrintsTheRowsAsJson)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.csv");
    writeAll(path, sjis(QStringLiteral("1,\"曲, 名\",3:45\r\n\r\n")));
    Result r = runCli({ "import-list", path, "--columns", "2" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first["separate"].toBool(), true);
    EXPECT_EQ(first["kind"].toInt(), 0);
    const QJsonArray columns = first["columns"].toArray();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].toObject()["text"].toString(), "1");
    EXPECT_EQ(columns[1].toObject()["text"].toString(), QStringLiteral("曲, 名"));
    EXPECT_EQ(columns[2].toObject()["text"].toString(), "");
    EXPECT_EQ(columns[1].toObject()["align"].toInt(), 1);
    const QJsonObject font = columns[1].toObject()["font"].toObject();
    EXPECT_EQ(font["name"].toString(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(font["size"].toInt(), 9);
    EXPECT_EQ(font["charset"].toInt(), 128);
    EXPECT_EQ(font["bold"].toBool(), false);
    EXPECT_EQ(font.keys().size(), 8);
    EXPECT_TRUE(r.out.contains("\"color\": 2147483656"));
    EXPECT_EQ(rows[1].toObject()["columns"].toArray()[0].toObject()["text"].toString(), "");
}

TEST(CliImportList, FailuresAndBadArguments)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.txt");
    Result r = runCli({ "import-list", missing });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("ファイル(" + missing + ")がオープンできません"));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(runCli({ "import-list", missing, "--columns", "4" }).code, 2);
    EXPECT_EQ(runCli({ "import-list" }).code, 2);
}

TEST(CliImportList, AlbumsFromACueSheetAFolderOrAudioFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(makeSilentAudio(dir.filePath("1.flac"), 2));
    ASSERT_TRUE(makeSilentAudio(dir.filePath("2.ogg"), 1));
    writeAll(dir.filePath("a.cue"),
        QStringLiteral("FILE \"1.flac\" WAVE\nTRACK 01 AUDIO\nTITLE \"曲\"\nINDEX 01 00:00:00\n")
            .toUtf8());
    const auto cells = [](const Result &r) {
        QStringList texts;
        for (const QJsonValue &row : QJsonDocument::fromJson(r.out).array())
            for (const QJsonValue &c : row.toObject()["columns"].toArray())
                texts.append(c.toObject()["text"].toString());
        return texts;
    };
    Result cue = runCli({ "import-list", dir.filePath("a.cue") });
    ASSERT_EQ(cue.code, 0) << cue.err.toStdString();
    EXPECT_EQ(cells(cue), QStringList({ "1", QStringLiteral("曲"), "0:02" }));
    const QStringList both = { "", "1", "0:02", "", "2", "0:01" };
    Result folder = runCli({ "import-list", dir.path() });
    ASSERT_EQ(folder.code, 0) << folder.err.toStdString();
    EXPECT_EQ(cells(folder), both);
    Result files = runCli(
        { "import-list", dir.filePath("2.ogg"), dir.filePath("1.flac"), "--columns", "3" });
    ASSERT_EQ(files.code, 0) << files.err.toStdString();
    EXPECT_EQ(cells(files), both);

    writeAll(dir.filePath("b.cue"), QByteArray("\x00\x01\x02", 3));
    Result bad = runCli({ "import-list", dir.filePath("b.cue") });
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(
        bad.err.contains("ファイル(" + dir.filePath("b.cue") + ")はキューシートではありません"));
}

TEST(CliTemplate, PrintsSurfaceNameAndLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.cwt");
    writeAll(path,
        sjis(
            QStringLiteral("<Casewright List Template File>\r\n1.01\r\n\r\n[Tmp Name]\r\n裏\r\n\r\n"
                           "[Tmp Mode]\r\n1\r\n\r\n[Tmp Data]\r\n2 004 005 010 080 020 003 001 "
                           "045\r\n")));
    Result r = runCli({ "template", path });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["surface"].toInt(), 1);
    EXPECT_EQ(o["name"].toString(), QStringLiteral("裏"));
    const QJsonObject l = o["layout"].toObject();
    EXPECT_EQ(l.keys().size(), 9);
    EXPECT_EQ(l["columnCount"].toInt(), 2);
    EXPECT_EQ(l["posX"].toInt(), 4);
    EXPECT_EQ(l["posY"].toInt(), 5);
    EXPECT_EQ(l["width1"].toInt(), 10);
    EXPECT_EQ(l["width2"].toInt(), 80);
    EXPECT_EQ(l["width3"].toInt(), 20);
    EXPECT_EQ(l["space1"].toInt(), 3);
    EXPECT_EQ(l["space2"].toInt(), 1);
    EXPECT_EQ(l["lineSpacing"].toInt(), 45);

    writeAll(path, "<Casewright List Template File>\r\n1.02\r\n");
    r = runCli({ "template", path });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.isEmpty());
}

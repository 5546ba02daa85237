#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "base/ProgramFolders.h"
#include "document/DocumentWriter.h"
#include "text/Cp932.h"

using namespace cw;

namespace {

using Result = CliResult;
Result runCli(const QStringList &args)
{
    return runCasewrightCli(args);
}

const QString kDemo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");

bool pngModuleBuilt()
{
    return QFileInfo::exists(programModuleFolder() + "/png.spi");
}

} // namespace

TEST(CliDocument, DumpsTheDemoDocument)
{
    Result r = runCli({ "dump", kDemo, "--printer-dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["fileName"].toString(), kDemo);
    EXPECT_EQ(d["dpiX"].toInt(), 300);
    EXPECT_EQ(d["listRows"].toArray().size(), 12);
    EXPECT_EQ(d["listRows"].toArray()[6].toObject()["kind"].toInt(), 1);
    EXPECT_EQ(d["coverPrints"].toArray().size(), 2);
    EXPECT_EQ(d["insidePrints"].toArray().size(), 2);
    EXPECT_EQ(d["backPrints"].toArray().size(), 1);
    EXPECT_EQ(d["listLayout"].toArray()[0].toObject()["lineSpacing"].toInt(), 5);
    const QJsonObject top = d["top"].toObject();
    EXPECT_EQ(top["title"].toObject()["text"].toString(), "Casewright デモ");
    EXPECT_EQ(top["title"].toObject()["font"].toObject()["color"].toInteger(), 2147483656LL);
    EXPECT_EQ(top["backgroundColor2"].toInteger(), 0x00fbf8f2);
    EXPECT_TRUE(d["bottom"].toObject()["titleSameAsFront"].toBool());
    EXPECT_TRUE(d["right"].toObject()["pictureSameAsLeft"].toBool());
    EXPECT_FALSE(d["left"].toObject().contains("useList"));
    EXPECT_EQ(d["right"].toObject()["title"].toObject()["offset"].toInt(), 5);
    const QJsonObject picture = top["picture"].toObject();
    EXPECT_EQ(picture["fileName"].toString(),
        QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo-cover.png"));
    EXPECT_EQ(picture["printWidth"].toInt(), 1425);
    EXPECT_EQ(picture["posY"].toInt(), -7);
    if (pngModuleBuilt()) {
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_EQ(picture["pixelWidth"].toInt(), 600);
        EXPECT_EQ(picture["sourceRect"].toObject()["right"].toInt(), 600);
    }
}

TEST(CliDocument, DumpConvertsToThePrinterResolution)
{
    Result r = runCli({ "dump", kDemo, "--printer-dpi", "600x150" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["dpiX"].toInt(), 600);
    EXPECT_EQ(d["dpiY"].toInt(), 150);
    const QJsonObject picture = d["top"].toObject()["picture"].toObject();
    EXPECT_EQ(picture["printWidth"].toInt(), 2850);
    EXPECT_EQ(picture["printHeight"].toInt(), 712);
    EXPECT_EQ(picture["posX"].toInt(), 4);
    EXPECT_EQ(picture["posY"].toInt(), -3);
    const QJsonObject item = d["coverPrints"].toArray()[1].toObject();
    EXPECT_EQ(item["posX"].toInt(), 1900);
    EXPECT_EQ(item["posY"].toInt(), 30);
}

TEST(CliDocument, ConvertingTwiceGivesTheSameBytes)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.cwr"), b = dir.filePath("b.cwr");
    Result r = runCli({ "convert", kDemo, a, "--printer-dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = runCli({ "convert", a, b, "--printer-dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray first = readAll(a);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(readAll(b), first);
    // The pictures are written with the full path they were found at.
    EXPECT_TRUE(first.contains(QByteArray(CASEWRIGHT_SOURCE_DIR "/examples/demo-cover.png\r\n")));
}

TEST(CliDocument, FailuresExitWithStatusOne)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.cwr");
    writeAll(bad, "not a document\r\n");
    Result r = runCli({ "dump", bad, "--printer-dpi", "300" });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), "ファイル(" + bad + ")はデータファイルではありません");
    EXPECT_TRUE(r.out.isEmpty());

    // A device is refused before it is read: it would never end.
    r = runCli({ "dump", "/dev/zero", "--printer-dpi", "300" });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.trimmed(), "ファイル(/dev/zero)がオープンできません");

    r = runCli({ "convert", kDemo, "/dev/full", "--printer-dpi", "300" });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("ファイル(/dev/full)が記録できません")) << r.err.toStdString();

    r = runCli({ "dump" });
    EXPECT_EQ(r.code, 2);
    r = runCli({ "convert", kDemo });
    EXPECT_EQ(r.code, 2);
}

TEST(CliDocument, ConvertWritesTheUnicodeFormOnlyWhenAllowed)
{
    QTemporaryDir dir;
    const QString fits = dir.filePath("fits.cwr"), cafe = dir.filePath("cafe.cwr");
    Result r = runCli({ "convert", kDemo, fits, "--printer-dpi", "300", "--allow-unicode" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Text that fits CP932 stays 1.06 even when Unicode is allowed.
    QByteArray data = readAll(fits);
    EXPECT_TRUE(data.startsWith("<Casewright Data File>\r\n1.06\r\n"));
    r = runCli({ "dump", fits, "--printer-dpi", "300" });
    QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["fileVersion"].toString(), "1.06");
    EXPECT_EQ(d["fileEncoding"].toString(), "CP932");

    // The same document in the Unicode form, with an "é" in its title.
    data = cp932::decode(data).toUtf8();
    data.replace("\r\n1.06\r\n", "\r\n1.07\r\n");
    data.replace("Casewright デモ", "Café デモ");
    ASSERT_TRUE(writeAll(cafe, data));
    r = runCli({ "dump", cafe, "--printer-dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["fileVersion"].toString(), "1.07");
    EXPECT_EQ(d["fileEncoding"].toString(), "UTF-8");
    EXPECT_EQ(d["top"].toObject()["title"].toObject()["text"].toString(), "Café デモ");

    const QString out = dir.filePath("out.cwr");
    r = runCli({ "convert", cafe, out, "--printer-dpi", "300" });
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith("ファイル(" + out + ")が記録できません\n"));
    EXPECT_TRUE(r.err.contains("表レーベル タイトル: 保存できない文字があります 「é」(4文字目)"))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    r = runCli({ "convert", cafe, out, "--printer-dpi", "300", "--allow-unicode" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(out).startsWith("<Casewright Data File>\r\n1.07\r\n"));
    EXPECT_TRUE(readAll(out).contains("\r\nCafé デモ\r\n"));
}

TEST(CliDocument, DumpShowsATextBlockWithItsLinesAndTheLinesCut)
{
    // Twenty kana of IPA Gothic, 12 points, in 20 x 15 mm at 300 dpi: four
    // a line; lines 54 pixels high, 120 % apart, start at 0, 64 and 129, and
    // the third would end below the box's 177 pixels.
    LabelDocument doc;
    doc.dpiX = doc.dpiY = 300;
    TPrintsData block;
    block.kind = PrintsTextBlock;
    block.text = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    block.blockWidth = 20;
    block.blockHeight = 15;
    block.font.name = QStringLiteral("IPAGothic");
    block.font.size = 12;
    doc.insidePrints.append(block);
    QTemporaryDir dir;
    const QString path = dir.filePath("block.cwr");
    ASSERT_TRUE(writeAll(path, documentBytes(doc).data));
    Result r = runCli({ "dump", path, "--printer-dpi", "300" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["fileVersion"].toString(), "1.08");
    const QJsonObject b = d["insidePrints"].toArray()[0].toObject()["textBlock"].toObject();
    EXPECT_EQ(b["width"].toInt(), 20);
    EXPECT_EQ(b["lineSpacing"].toInt(), 120);
    EXPECT_EQ(b["lines"].toArray(), QJsonArray({ "あいうえ", "おかきく" }));
    EXPECT_EQ(b["linesCut"].toInt(), 3);
}

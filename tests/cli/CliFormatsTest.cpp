// The case types on the command line: the table as JSON, writing a document
// for another case, the sheets a document's case has, and refusals naming the
// valid ids.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "TestSupport.h"

using namespace cw;

namespace {

using Result = CliResult;

const QString kDemo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");

// The demo document with its picture in `dir`, so that documents written
// beside it name the picture as the demo does.
QString demoIn(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("demo.cwr");
    EXPECT_TRUE(QFile::copy(kDemo, path));
    EXPECT_TRUE(QFile::copy(
        QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo-cover.png"), dir.filePath("demo-cover.png")));
    return path;
}

// A panel as the table lists it: id, role, x, y, width, height (mm).
QJsonObject panel(const char *id, const char *role, double x, double y, double w, double h)
{
    return QJsonObject { { "id", id }, { "role", role }, { "xMm", x }, { "yMm", y },
        { "widthMm", w }, { "heightMm", h } };
}

QJsonObject sheet(const char *id, double w, double h, const QJsonArray &panels)
{
    return QJsonObject { { "id", id }, { "widthMm", w }, { "heightMm", h }, { "panels", panels } };
}

// A video case's wrap: back panel, spine, front panel; then its reverse,
// printed with the inside only: the inside face behind the front panel, the
// rest blank.
QJsonObject wrap(const char *id, const char *name, double panelW, double spine, double h)
{
    QJsonObject inside = sheet("inside", 2 * panelW + spine, h,
        { panel("inside", "inside", 0.0, 0.0, panelW, h),
            panel("inside-spine", "blank", panelW, 0.0, spine, h),
            panel("inside-back", "blank", panelW + spine, 0.0, panelW, h) });
    inside["printedWhen"] = "inside";
    return QJsonObject { { "id", id }, { "name", name },
        { "sheets",
            QJsonArray { sheet("wrap", 2 * panelW + spine, h,
                             { panel("back", "back", 0.0, 0.0, panelW, h),
                                 panel("spine", "spine-left", panelW, 0.0, spine, h),
                                 panel("cover", "cover", panelW + spine, 0.0, panelW, h) }),
                inside } } };
}

QJsonArray frontSheet()
{
    return QJsonArray { sheet("front", 242.0, 119.5,
        { panel("cover", "cover", 121.0, 0.0, 121.0, 119.5),
            panel("inside", "inside", 0.0, 0.0, 121.0, 119.5) }) };
}

} // namespace

TEST(CliFormats, ListsEveryCaseWithItsSheetsAndPanelsInMillimetres)
{
    Result r = runCasewrightCli({ "formats" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    QJsonArray jewelSheets = frontSheet();
    jewelSheets.append(sheet("back", 150.0, 117.5,
        { panel("spine-left", "spine-left", 0.0, 0.0, 6.0, 117.5),
            panel("back", "back", 6.0, 0.0, 138.0, 117.5),
            panel("spine-right", "spine-right", 144.0, 0.0, 6.0, 117.5) }));
    const QJsonArray expected {
        QJsonObject { { "id", "cd-jewel" }, { "name", "CDジュエルケース" }, { "sheets", jewelSheets } },
        QJsonObject { { "id", "cd-slim" }, { "name", "CDスリムケース" }, { "sheets", frontSheet() } },
        wrap("dvd-14", "DVDトールケース(14mm)", 129.5, 14.0, 183.0),
        wrap("dvd-slim-9", "DVDスリムケース(9mm)", 129.5, 9.0, 183.0),
        wrap("dvd-slim-7", "DVDスリムケース(7mm)", 129.5, 7.0, 183.0),
        wrap("dvd-slim-5", "DVDスリムケース(5mm)", 129.5, 5.0, 183.0),
        wrap("bd-12", "Blu-rayケース(12mm)", 126.0, 12.0, 148.0),
        wrap("bd-14", "Blu-rayケース(14mm)", 128.0, 14.0, 149.0),
        // The custom case at its default sizes, marked as such.
        [] {
            QJsonObject custom = wrap("custom-wrap", "カスタムケース", 129.5, 14.0, 183.0);
            custom.insert("custom", true);
            return custom;
        }(),
    };
    QJsonParseError error;
    const QJsonDocument got = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_EQ(got.array(), expected) << r.out.toStdString();
    // Members in the order of the question a reader asks: which, then how large.
    EXPECT_TRUE(r.out.startsWith("[\n    {\n        \"id\": \"cd-jewel\",\n        \"name\": "
                                 "\"CDジュエルケース\",\n        \"sheets\": [\n            {\n"
                                 "                \"id\": \"front\",\n"
                                 "                \"widthMm\": 242,\n"
                                 "                \"heightMm\": 119.5,\n"))
        << r.out.toStdString();

    // The names in the run's language.
    r = runCasewrightCli({ "formats" }, QString(), englishLocale());
    const QJsonArray english = QJsonDocument::fromJson(r.out.toUtf8()).array();
    EXPECT_EQ(english[0].toObject()["name"].toString(), "CD jewel case");
    EXPECT_EQ(english[1].toObject()["name"].toString(), "CD slim case");
}

TEST(CliFormats, ConvertWritesAnotherCaseAndBackToTheSameBytes)
{
    QTemporaryDir dir;
    const QString demo = demoIn(dir);
    const QString slim = dir.filePath("slim.cwr"), jewel = dir.filePath("jewel.cwr");
    Result r = runCasewrightCli({ "convert", demo, slim, "--format", "cd-slim" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray slimBytes = readAll(slim);
    EXPECT_TRUE(slimBytes.startsWith(
        "<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncd-slim\r\n\r\n[Print Setting]\r\n"));

    r = runCasewrightCli({ "dump", slim });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(d["format"].toString(), "cd-slim");
    EXPECT_EQ(d["fileVersion"].toString(), "1.08");
    EXPECT_EQ(d["fileEncoding"].toString(), "UTF-8");
    // The back and the spines keep their values in a slim case.
    EXPECT_TRUE(d["right"].toObject()["pictureSameAsLeft"].toBool());
    EXPECT_EQ(d["right"].toObject()["title"].toObject()["offset"].toInt(), 5);

    r = runCasewrightCli({ "convert", slim, jewel, "--format", "cd-jewel" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(jewel), readAll(demo));
    r = runCasewrightCli({ "dump", jewel });
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["format"].toString(), "cd-jewel");

    // Without --format a document stays in its case.
    const QString again = dir.filePath("again.cwr");
    ASSERT_EQ(runCasewrightCli({ "convert", slim, again }).code, 0);
    EXPECT_EQ(readAll(again), slimBytes);
}

TEST(CliFormats, UnknownCasesAndSheetsAreRefusedWithTheValidIds)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.cwr");
    Result r = runCasewrightCli({ "convert", kDemo, out, "--format", "dvd" });
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--format は cd-jewel, cd-slim, dvd-14, dvd-slim-9, dvd-slim-7, "
                                 "dvd-slim-5, bd-12, bd-14, custom-wrap のどれかです\n使い方: "
                                 "casewright-cli convert "))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    r = runCasewrightCli({ "convert", kDemo, out, "--format", "dvd" }, QString(), englishLocale());
    EXPECT_TRUE(r.err.startsWith("--format must be one of cd-jewel, cd-slim, dvd-14, dvd-slim-9, "
                                 "dvd-slim-7, dvd-slim-5, bd-12, bd-14, custom-wrap\n"))
        << r.err.toStdString();

    const QString slim = dir.filePath("slim.cwr");
    ASSERT_EQ(runCasewrightCli({ "convert", kDemo, slim, "--format", "cd-slim" }).code, 0);
    // A sheet of another case: refused once the document's case is known.
    r = runCasewrightCli({ "render", slim, "--page", "back", "--ops" });
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--page は front か disc です\n使い方: casewright-cli render "))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    // A sheet no case has: refused before the document is read, naming every sheet.
    r = runCasewrightCli({ "render", dir.filePath("missing.cwr"), "--page", "side", "--ops" });
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--page は front, back, wrap, inside, disc のどれかです\n"))
        << r.err.toStdString();
    r = runCasewrightCli({ "render", slim, "--page", "side", "--ops" }, QString(), englishLocale());
    EXPECT_TRUE(r.err.startsWith("--page must be one of front, back, wrap, inside, disc\n"))
        << r.err.toStdString();
}

TEST(CliFormats, TheSlimCaseDrawsTheJewelCasesFrontSheet)
{
    QTemporaryDir dir;
    const QString slim = dir.filePath("slim.cwr");
    ASSERT_EQ(runCasewrightCli({ "convert", kDemo, slim, "--format", "cd-slim" }).code, 0);
    const Result jewelFront
        = runCasewrightCli({ "render", kDemo, "--page", "front", "--ops" }, dir.path());
    const Result slimFront
        = runCasewrightCli({ "render", slim, "--page", "front", "--ops" }, dir.path());
    ASSERT_EQ(jewelFront.code, 0) << jewelFront.err.toStdString();
    ASSERT_EQ(slimFront.code, 0) << slimFront.err.toStdString();
    EXPECT_GT(jewelFront.out.count('\n'), 50);
    EXPECT_EQ(slimFront.out, jewelFront.out);
}

// convert --size gives a custom case its sizes and dump shows them; sizes out
// of range or for another case are refused before anything is written.
TEST(CliFormats, ConvertGivesTheCustomCaseItsTypedSizes)
{
    QTemporaryDir dir;
    const QString demo = demoIn(dir);
    const QString custom = dir.filePath("custom.cwr"), out = dir.filePath("out.cwr");
    Result r = runCasewrightCli(
        { "convert", demo, custom, "--format", "custom-wrap", "--size", "140.5,190,0" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(custom).startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\n"
                                           "custom-wrap\r\nSize 140.5 190.0 0.0\r\n\r\n"));
    r = runCasewrightCli({ "dump", custom });
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["caseSize"].toString(),
        "140.5 190.0 0.0");

    const struct
    {
        QStringList args;
        const char *message;
    } refused[] = {
        { { "--format", "custom-wrap", "--size", "140,190,60.5" },
            "'60.5' は 0.0 から 60.0 までの数値(mm、小数1桁)ではありません" },
        { { "--format", "dvd-14", "--size", "140,190,10" },
            "--size はカスタムケース (custom-wrap) の文書にだけ指定できます" },
    };
    for (const auto &c : refused) {
        r = runCasewrightCli(QStringList { "convert", demo, out } + c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.startsWith(QString::fromUtf8(c.message) + "\n使い方: casewright-cli "))
            << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(CliFormats, AWrapsInsideIsDrawnAndPrintedWithTheInsideOnly)
{
    QTemporaryDir dir;
    const QString dvd = dir.filePath("dvd.cwr");
    ASSERT_EQ(runCasewrightCli({ "convert", demoIn(dir), dvd, "--format", "dvd-14" }).code, 0);
    Result r = runCasewrightCli({ "render", dvd, "--page", "inside", "--ops" }, dir.path());
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("--page inside は --option InsidePrint=1 と一緒に指定してください\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = runCasewrightCli({ "render", dvd, "--page", "inside", "--ops" }, dir.path(), englishLocale());
    EXPECT_TRUE(r.err.startsWith("give --page inside together with --option InsidePrint=1\n"))
        << r.err.toStdString();
    r = runCasewrightCli(
        { "render", dvd, "--page", "inside", "--ops", "--option", "InsidePrint=1" }, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_GT(r.out.count('\n'), 10);

    // print --pdf: the wrap, then its reverse on a page of its own.
    for (const char *inside : { "InsidePrint=0", "InsidePrint=1" }) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(inside));
        r = runCasewrightCli({ "print", dvd, "--pdf", pdf, "--option", inside }, dir.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QByteArray bytes = readAll(pdf);
        EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "),
            inside[12] == '1' ? 2 : 1)
            << inside;
    }
}

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "pictures/PictureLoading.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

QString dataDir()
{
    return QStringLiteral(CASEWRIGHT_TEST_DATA "/document");
}

// Lines joined with CR LF, encoded as CP932, each line ending with a break.
QByteArray fileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines) {
        out += sjis(l);
        out += "\r\n";
    }
    return out;
}

void insertLines(QStringList &lines, int at, const QStringList &more)
{
    for (int i = 0; i < more.size(); ++i)
        lines.insert(at + i, more[i]);
}

const QStringList kNewDocumentLines = {
    "<Casewright Data File>",
    "1.06",
    "",
    "[Print Setting]",
    "3 003 000 009 070 030 002 002 000",
    "3 003 000 009 087 030 002 002 000",
    "",
    "[DPI]",
    "300 300",
    "",
    "[Top Label]",
    "00ffffff",
    "00ffffff",
    "0",
    "",
    "1",
    "0 0",
    "0 0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0",
    "",
    "0 0 0 0",
    "0 0",
    "0",
    "",
    "[Top1Prints]",
    "",
    "[Top2Prints]",
    "",
    "[Bottom Label]",
    "00ffffff",
    "0 0",
    "",
    "1",
    "0 0",
    "0 0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0 0",
    "",
    "0 0 0 0",
    "0",
    "0",
    "",
    "[Left Title]",
    "00ffffff",
    "0 0",
    "",
    "0",
    "0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0",
    "",
    "0 0 0 0",
    "",
    "[Right Title]",
    "00ffffff",
    "0 0 0",
    "",
    "0",
    "0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0 0",
    "",
    "0 0 0 0",
    "",
    "[BottomPrints]",
    "",
    "[List]",
};

struct FileFixture : ::testing::Test
{
    FileFixture()
        : ed(doc, &messages)
    {
        useResolution(doc, 300, 300);
    }
    static void useResolution(LabelDocument &d, int x, int y)
    {
        d.dpiX = x;
        d.dpiY = y;
        d.surfacePixels = surfacePixelsAt(x, y);
    }
    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeAll(path, data));
        return path;
    }
    LoadStatus load(const QString &path) { return loadDocument(ed, path, progress); }
    // Loads `data` into a new document and returns its saved bytes.
    QByteArray resaved(const LabelDocument &d)
    {
        DocumentBytes b = documentBytes(d);
        EXPECT_TRUE(b.ok()) << b.problems.toStdString();
        return b.data;
    }

    QTemporaryDir dir;
    LabelDocument doc;
    RecordingMessages messages;
    RecordingProgress progress;
    DocumentEditor ed;
};

} // namespace

// ---- Writing ---------------------------------------------------------------

TEST_F(FileFixture, ANewDocumentIsWrittenLineForLine)
{
    EXPECT_EQ(documentBytes(doc).data, fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, NumbersColoursAndFontsUseTheFileFormats)
{
    doc.listLayout[0] = { 1, -5, 1000, 9, 70, 30, 2, 2, 3 };
    doc.top.backgroundColor1 = 0x00ABCDEF;
    doc.top.title.font.color = 0x000000FF;
    doc.top.title.font.size = 1234;
    doc.top.title.font.italic = true;
    doc.top.title.font.strikeOut = true;
    doc.top.picture.printWidth = 2016;
    doc.top.picture.posX = -293;
    doc.left.title.offset = 115;
    doc.right.titleSameAsLeft = true;
    TPrintsData item;
    item.kind = 1;
    item.text = "文字";
    item.textX = 3;
    item.textY = 4;
    item.angle = 270;
    item.fileName = "/p/a.bmp";
    item.transparent = true;
    item.transColor = 0x00FF00FF;
    item.posX = -1;
    item.posY = 2;
    item.printWidth = 30;
    item.printHeight = 40;
    doc.insidePrints.append(item);
    TListData row;
    row.separate = false;
    row.kind = 1;
    row.columns[1].text = "曲";
    row.columns[1].align = 2;
    doc.listRows.append(row);

    QStringList lines = kNewDocumentLines;
    lines[4] = "1 -05 1000 009 070 030 002 002 003";
    lines[11] = "00abcdef";
    lines[18] = "255 1234 128 0 1 0 1";
    lines[22] = "2016 0 -293 0";
    lines[50] = "115";
    lines[59] = "0 0 1";
    insertLines(lines, 29,
        { "1", "文字", "3 4", "-2147483640 009 128 0 0 0 0", "ＭＳ Ｐゴシック", "270", "/p/a.bmp",
            "1 16711935", "-1 2", "30 40" });
    lines << "0 1"
          << "1"
          << ""
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック"
          << "2"
          << "曲"
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック"
          << "1"
          << ""
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック";
    EXPECT_EQ(QString::fromLatin1(documentBytes(doc).data.toHex(' ')),
        QString::fromLatin1(fileOf(lines).toHex(' ')));
}

TEST_F(FileFixture, TextThatCannotBeWrittenIsRefusedWithItsFieldName)
{
    const QString path = write("keep.cwr", "old contents");
    doc.top.title.text = QStringLiteral("A😀");
    EXPECT_FALSE(saveDocument(doc, path, messages));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("ファイル(" + path + ")が記録できません\n"));
    EXPECT_TRUE(messages.messages[0].contains("表レーベル タイトル"));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));

    // 254 bytes is the longest line that reads back whole.
    doc.top.title.text = QString(254, QLatin1Char('x'));
    TListData row;
    row.columns[2].text = QString(128, QChar(0x3042)); // 256 bytes in CP932
    doc.listRows.append(row);
    messages.messages.clear();
    EXPECT_FALSE(saveDocument(doc, path, messages));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains("リスト 1行目 3列目"));
    EXPECT_FALSE(messages.messages[0].contains("タイトル"));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST_F(FileFixture, SavingReplacesTheOldFile)
{
    const QString path = write("x.cwr", "old contents that are longer than nothing");
    EXPECT_TRUE(ed.save(path));
    EXPECT_EQ(readAll(path), fileOf(kNewDocumentLines));
    EXPECT_TRUE(messages.messages.isEmpty());
}

// ---- Reading: versions ---------------------------------------------------------

class VersionFixture : public FileFixture, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(VersionFixture, EveryVersionLoadsWithItsSubstitutes)
{
    const double v = QString(GetParam()).toDouble();
    const QString path = dataDir() + "/v" + QString(GetParam()).replace('.', '_') + ".cwr";
    const QString pic = QDir::cleanPath(dataDir() + "/pic.bmp");
    doc.listLayout[0].lineSpacing = 7;
    doc.listLayout[1].lineSpacing = 8;
    doc.listRows.append(TListData());

    ASSERT_EQ(load(path), LoadStatus::Loaded) << messages.messages.join('\n').toStdString();
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(progress.texts, QStringList({ "セーブデータロード中" }));
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(doc.fileName, path);

    EXPECT_EQ(doc.listLayout[0], ListLayout({ 2, 5, 10, 12, 60, 25, 3, 4, v >= 1.04 ? 15 : 7 }));
    EXPECT_EQ(doc.listLayout[1], ListLayout({ 3, 4, 8, 10, 80, 30, 2, 2, v >= 1.04 ? 5 : 8 }));

    const bool v102 = v >= 1.02;
    const SurfaceSettings &t = doc.top;
    EXPECT_EQ(t.backgroundColor1, v102 ? 0x00ffeeddu : kWhite);
    EXPECT_EQ(t.backgroundColor2, v102 ? 0x00ccbbaau : kWhite);
    EXPECT_TRUE(t.title.use);
    EXPECT_EQ(t.title.text, "表のタイトル");
    EXPECT_EQ(int(t.title.posMode), 3);
    EXPECT_EQ(t.title.customXUse, v102);
    EXPECT_EQ(t.title.customX, v102 ? 12 : 0);
    EXPECT_FALSE(t.title.customYUse);
    EXPECT_EQ(t.title.customY, v102 ? 34 : 0);
    FontSpec topFont = defaultFont();
    topFont.size = 12;
    topFont.bold = true;
    topFont.name = "ＭＳ Ｐ明朝";
    EXPECT_EQ(t.title.font, topFont);
    EXPECT_TRUE(t.picture.use);
    EXPECT_EQ(t.picture.fileName, pic);
    EXPECT_EQ(t.picture.pixelWidth, 4);
    EXPECT_EQ(t.picture.pixelHeight, 2);
    EXPECT_EQ(t.picture.sourceRect, PixelRect({ 0, 0, 4, 2 }));
    EXPECT_EQ(t.picture.printWidth, 800);
    EXPECT_EQ(t.picture.printHeight, 400);
    EXPECT_EQ(t.picture.posX, -10);
    EXPECT_EQ(t.picture.posY, 20);
    EXPECT_EQ(t.useCoverPrints, v >= 1.03);
    EXPECT_EQ(t.useInsidePrints, v >= 1.03);
    EXPECT_TRUE(t.useList);

    ASSERT_EQ(doc.coverPrints.size(), 1);
    const TPrintsData &c = doc.coverPrints[0];
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.text, "前面の文字");
    EXPECT_EQ(c.textX, 10);
    EXPECT_EQ(c.textY, 20);
    EXPECT_EQ(c.font.color, 255u);
    EXPECT_EQ(c.font.size, 10);
    EXPECT_TRUE(c.font.italic);
    EXPECT_EQ(c.font.name, "ＭＳ ゴシック");
    EXPECT_EQ(c.angle, v >= 1.04 ? 90 : 0);
    EXPECT_TRUE(c.fileName.isEmpty());
    EXPECT_EQ(c.transparent, v >= 1.05);
    EXPECT_EQ(c.transColor, v >= 1.05 ? 65280u : 0u);

    ASSERT_EQ(doc.insidePrints.size(), 1);
    const TPrintsData &i = doc.insidePrints[0];
    EXPECT_EQ(i.kind, 1);
    EXPECT_EQ(i.text, "[List]");
    EXPECT_EQ(i.font.color, 16711680u);
    EXPECT_TRUE(i.font.underline);
    EXPECT_TRUE(i.font.strikeOut);
    EXPECT_EQ(i.angle, v >= 1.04 ? 45 : 0);
    EXPECT_EQ(i.fileName, pic);
    EXPECT_EQ(i.pixelWidth, 4);
    EXPECT_EQ(i.pixelHeight, 2);
    EXPECT_EQ(i.transparent, v >= 1.04);
    EXPECT_EQ(i.transColor, v >= 1.04 ? 255u : 0u);
    EXPECT_EQ(i.posX, 30);
    EXPECT_EQ(i.posY, 40);
    EXPECT_EQ(i.printWidth, 8);
    EXPECT_EQ(i.printHeight, 4);

    const SurfaceSettings &b = doc.bottom;
    EXPECT_EQ(b.backgroundColor1, v102 ? 0x00112233u : kWhite);
    EXPECT_TRUE(b.title.use);
    EXPECT_FALSE(b.titleSameAsFront);
    EXPECT_EQ(b.title.text, "裏のタイトル");
    EXPECT_EQ(int(b.title.posMode), 2);
    EXPECT_FALSE(b.title.customXUse);
    EXPECT_EQ(b.title.customYUse, v102);
    EXPECT_EQ(b.title.customY, v102 ? 45 : 0);
    EXPECT_EQ(b.title.font, defaultFont());
    EXPECT_FALSE(b.picture.use);
    EXPECT_EQ(b.usePrints, v >= 1.03);
    EXPECT_TRUE(b.useList);

    const SurfaceSettings &l = doc.left;
    EXPECT_EQ(l.backgroundColor1, v102 ? 0x00445566u : kWhite);
    EXPECT_TRUE(l.title.use);
    EXPECT_EQ(l.title.text, "左の背");
    EXPECT_EQ(int(l.title.posMode), v >= 1.06 ? 2 : 3);
    EXPECT_EQ(l.title.offset, v >= 1.01 ? 115 : 0); // "250" is cut to 115
    EXPECT_EQ(l.title.font.size, 8);
    EXPECT_TRUE(l.title.font.strikeOut);

    const SurfaceSettings &r = doc.right;
    EXPECT_EQ(r.backgroundColor1, v102 ? 0x00778899u : kWhite);
    EXPECT_TRUE(r.title.use);
    EXPECT_FALSE(r.titleSameAsFront);
    EXPECT_TRUE(r.titleSameAsLeft);
    EXPECT_EQ(r.title.text, "右の背");
    EXPECT_EQ(int(r.title.posMode), v >= 1.06 ? 0 : 3);
    EXPECT_EQ(r.title.offset, v >= 1.01 ? 7 : 0);
    EXPECT_EQ(r.title.font.size, 10);
    EXPECT_TRUE(r.title.font.bold);
    EXPECT_TRUE(r.title.font.italic);

    ASSERT_EQ(doc.backPrints.size(), 1);
    EXPECT_EQ(doc.backPrints[0].text, "裏の文字");
    EXPECT_EQ(doc.backPrints[0].textX, 5);
    EXPECT_EQ(doc.backPrints[0].textY, 6);
    EXPECT_FALSE(doc.backPrints[0].transparent);

    ASSERT_EQ(doc.listRows.size(), 2); // the row from before the load is gone
    const TListData &r1 = doc.listRows[0];
    EXPECT_TRUE(r1.separate);
    EXPECT_EQ(r1.kind, 0);
    EXPECT_EQ(r1.columns[0].text, "1");
    EXPECT_EQ(r1.columns[1].text, "[DPI]");
    EXPECT_TRUE(r1.columns[1].font.bold);
    EXPECT_EQ(r1.columns[2].text, "3:45");
    EXPECT_EQ(r1.columns[2].align, 3);
    const TListData &r2 = doc.listRows[1];
    EXPECT_FALSE(r2.separate);
    EXPECT_EQ(r2.kind, 1);
    EXPECT_EQ(r2.columns[1].align, 2);
    EXPECT_TRUE(r2.columns[1].text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionFixture,
    ::testing::Values("1.00", "1.01", "1.02", "1.03", "1.04", "1.05", "1.06"));

// ---- Reading: refusals -----------------------------------------------------------

namespace {

// A document with contents and a name, to check that refusals leave it alone.
void fillSome(DocumentEditor &ed)
{
    ed.document().fileName = "/old/name.cwr";
    ed.setTitleText(Surface::Top, "before");
    ed.document().listRows.append(TListData());
    ed.document().backPrints.append(TPrintsData());
}

void expectUntouched(const LabelDocument &d)
{
    EXPECT_EQ(d.fileName, "/old/name.cwr");
    EXPECT_EQ(d.top.title.text, "before");
    EXPECT_EQ(d.listRows.size(), 1);
    EXPECT_EQ(d.backPrints.size(), 1);
}

} // namespace

TEST_F(FileFixture, ANewerVersionIsRefused)
{
    fillSome(ed);
    QStringList lines = kNewDocumentLines;
    lines[1] = "1.08";
    const QString path = write("new.cwr", fileOf(lines));
    EXPECT_EQ(load(path), LoadStatus::WrongVersion);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")のバージョンが違います" }));
    EXPECT_FALSE(progress.visible);
    expectUntouched(doc);

    // The leading number counts: "1.06b" is 1.06, "1.1" is newer.
    lines[1] = "1.06b";
    EXPECT_EQ(load(write("b.cwr", fileOf(lines))), LoadStatus::Loaded);
    lines[1] = "1.1";
    EXPECT_EQ(load(write("c.cwr", fileOf(lines))), LoadStatus::WrongVersion);
}

TEST_F(FileFixture, AFileWithAnotherHeaderIsRefused)
{
    fillSome(ed);
    QStringList lines = kNewDocumentLines;
    lines[0] = "<Casewright Data File> ";
    const QString path = write("h.cwr", fileOf(lines));
    EXPECT_EQ(load(path), LoadStatus::NotADataFile);
    EXPECT_EQ(
        messages.messages, QStringList({ "ファイル(" + path + ")はデータファイルではありません" }));
    expectUntouched(doc);
    EXPECT_EQ(load(write("empty.cwr", QByteArray())), LoadStatus::NotADataFile);
    expectUntouched(doc);
}

TEST_F(FileFixture, AMissingFileIsReported)
{
    fillSome(ed);
    const QString path = dir.filePath("none.cwr");
    EXPECT_EQ(load(path), LoadStatus::CannotOpen);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")がオープンできません" }));
    EXPECT_FALSE(progress.visible);
    expectUntouched(doc);
    EXPECT_EQ(load(dir.path()), LoadStatus::CannotOpen);
}

TEST_F(FileFixture, APipeOrADeviceIsRefusedWithoutBeingRead)
{
    fillSome(ed);
    // A pipe without a writer would block the open, /dev/zero would never end.
    const QString fifo = dir.filePath("pipe.cwr");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : { fifo, QStringLiteral("/dev/zero") }) {
        messages.messages.clear();
        EXPECT_EQ(load(path), LoadStatus::CannotOpen);
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")がオープンできません" }));
        expectUntouched(doc);
    }
}

// A device that starts with `head` and then never ends.
class EndlessDevice : public QIODevice
{
public:
    EndlessDevice(QByteArray head, char fill)
        : m_head(std::move(head))
        , m_fill(fill)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 taken = 0;

protected:
    qint64 readData(char *data, qint64 max) override
    {
        for (qint64 i = 0; i < max; ++i, ++taken)
            data[i] = taken < m_head.size() ? m_head[taken] : m_fill;
        return max;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
    char m_fill;
};

TEST_F(FileFixture, EndlessJunkAfterTheHeaderEndsAsDamagedAfterReadingLittle)
{
    // A line that never ends is read 255 bytes at a time; the first piece
    // that has no place in the file ends the read.
    for (const QByteArray &head :
        { fileOf(kNewDocumentLines.mid(0, 2)), fileOf(kNewDocumentLines.mid(0, 4)) }) {
        EndlessDevice junk(head, 'x');
        messages.messages.clear();
        EXPECT_EQ(readDocument(ed, junk, "junk.cwr", progress), LoadStatus::Damaged);
        EXPECT_EQ(messages.messages, QStringList({ "ファイル(junk.cwr)が異常です" }));
        EXPECT_LT(junk.taken, 1 << 20);
    }
}

TEST_F(FileFixture, AStrayLineStopsTheReadAndKeepsWhatWasRead)
{
    fillSome(ed);
    QStringList lines = kNewDocumentLines;
    lines[4] = "1 001 002 003 004 005 006 007 008";
    lines[14] = "new title";
    // After the last line of [Top Label] a section header must follow an empty line.
    lines.insert(25, "stray");
    const QString path = write("bad.cwr", fileOf(lines));
    EXPECT_EQ(load(path), LoadStatus::Damaged);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が異常です" }));
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(doc.listLayout[0], ListLayout({ 1, 1, 2, 3, 4, 5, 6, 7, 8 }));
    EXPECT_EQ(doc.top.title.text, "new title");
    EXPECT_TRUE(doc.listRows.isEmpty());
    EXPECT_TRUE(doc.backPrints.isEmpty());
    // Not named after the damaged file, so that saving asks where to.
    EXPECT_TRUE(doc.fileName.isEmpty());

    // A line before the first section and a header without its empty line are stray too.
    lines = kNewDocumentLines;
    lines.insert(2, "x");
    EXPECT_EQ(load(write("bad2.cwr", fileOf(lines))), LoadStatus::Damaged);
    lines = kNewDocumentLines;
    lines.removeAt(2);
    EXPECT_EQ(load(write("bad3.cwr", fileOf(lines))), LoadStatus::Damaged);
}

// ---- Reading: edge cases ------------------------------------------------------------

TEST_F(FileFixture, EmptyTitlesAndTitlesThatLookLikeHeadersReadBack)
{
    ed.setTitleText(Surface::Top, "[DPI]");
    ed.setTitleText(Surface::Left, "[List]");
    ed.setTitleFont(Surface::Right, FontSpec { "[Top Label]", 9, kWindowTextColor, 128 });
    const QString path = dir.filePath("t.cwr");
    ASSERT_TRUE(ed.save(path));

    LabelDocument back;
    useResolution(back, 300, 300);
    back.bottom.title.text = "something";
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_EQ(back.top.title.text, "[DPI]");
    EXPECT_EQ(back.left.title.text, "[List]");
    EXPECT_EQ(back.right.title.font.name, "[Top Label]");
    EXPECT_TRUE(back.bottom.title.text.isEmpty()); // the empty line is the title
    EXPECT_EQ(int(back.bottom.title.posMode), 1);
    EXPECT_EQ(documentBytes(back).data, readAll(path));
}

TEST_F(FileFixture, ATrailingEmptyLineAndLfOnlyLinesAreAccepted)
{
    const QByteArray crlf = readAll(dataDir() + "/v1_06.cwr");
    ASSERT_FALSE(crlf.isEmpty());
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    const QString a = write("a.cwr", crlf + "\r\n");
    const QString b = write("b.cwr", lf);
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));

    ASSERT_EQ(load(a), LoadStatus::Loaded);
    const QByteArray fromCrlf = resaved(doc);
    LabelDocument other;
    useResolution(other, 300, 300);
    DocumentEditor e2(other, &messages);
    ASSERT_EQ(loadDocument(e2, b, progress), LoadStatus::Loaded);
    EXPECT_EQ(resaved(other), fromCrlf);
    EXPECT_EQ(other.listRows.size(), 2);
    EXPECT_EQ(other.top.picture.fileName, picture);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(FileFixture, MissingSectionsLeaveTheirFieldsButListsStartEmpty)
{
    ed.setTitleText(Surface::Top, "kept");
    ed.setBackgroundColor(Swatch::TopCover, 0x00010101);
    doc.listRows.append(TListData());
    QStringList lines = kNewDocumentLines;
    lines[39] = "1 0"; // bottom picture switched on
    // Without [Top Label] (lines 9..24) and without [List] (the last two lines).
    lines = lines.mid(0, 9) + lines.mid(25, lines.size() - 27);
    const QString path = write("m.cwr", fileOf(lines));
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    EXPECT_EQ(doc.top.title.text, "kept");
    EXPECT_EQ(doc.top.backgroundColor1, 0x00010101u);
    EXPECT_TRUE(doc.listRows.isEmpty());
    EXPECT_TRUE(doc.bottom.picture.use);
}

TEST_F(FileFixture, ASectionTwiceOverwritesFieldsAndAppendsRecords)
{
    TListData row;
    row.columns[0].text = "A";
    doc.listRows.append(row);
    row.columns[0].text = "B";
    doc.listRows.append(row);
    ed.setTitleText(Surface::Top, "first");
    QByteArray data = documentBytes(doc).data;
    LabelDocument second;
    second.top.title.text = "second";
    row.columns[0].text = "C";
    second.listRows.append(row);
    QByteArray more = documentBytes(second).data;
    // Everything after the version line of the second file, appended.
    more = more.mid(more.indexOf("\r\n", more.indexOf("1.06")) + 2);
    const QString path = write("twice.cwr", data + more);

    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_EQ(back.top.title.text, "second");
    ASSERT_EQ(back.listRows.size(), 3);
    EXPECT_EQ(back.listRows[0].columns[0].text, "A");
    EXPECT_EQ(back.listRows[2].columns[0].text, "C");
}

TEST_F(FileFixture, ARecordCutShortIsDropped)
{
    QStringList lines = kNewDocumentLines;
    lines << "1 0"
          << "1"
          << "one";
    ASSERT_EQ(load(write("cut.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_TRUE(doc.listRows.isEmpty());
}

TEST_F(FileFixture, A600DpiFileIsHalvedForA300DpiPrinter)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    LabelDocument at600;
    useResolution(at600, 600, 600);
    at600.top.picture.fileName = picture;
    at600.top.picture.printWidth = 801; // 4 x 2 picture: 801 x 400 fits the aspect
    at600.top.picture.printHeight = 400;
    at600.top.picture.posX = -11;
    at600.top.picture.posY = 21;
    at600.left.picture.printWidth = 55;
    at600.left.picture.printHeight = 1001;
    at600.left.picture.posX = 3;
    at600.left.picture.posY = -7;
    TPrintsData item;
    item.posX = 31;
    item.posY = -31;
    item.printWidth = 9;
    item.printHeight = 7;
    at600.coverPrints.append(item);
    at600.backPrints.append(item);
    const QString path = write("600.cwr", documentBytes(at600).data);

    ed.setKeepAspect(Surface::Top, true);
    ed.setKeepAspect(Surface::Left, false);
    ASSERT_EQ(load(path), LoadStatus::Loaded) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(doc.dpiX, 300);
    const PicturePlacement &t = doc.top.picture;
    EXPECT_EQ(t.pixelWidth, 4);
    // With the aspect lock on while reading, 801 wide gives 400 high and 400
    // high gives 800 wide; the conversion then halves both.
    EXPECT_EQ(t.printWidth, 400);
    EXPECT_EQ(t.printHeight, 200);
    EXPECT_EQ(t.posX, -5);
    EXPECT_EQ(t.posY, 10);
    EXPECT_TRUE(t.keepAspect);
    const PicturePlacement &l = doc.left.picture;
    EXPECT_EQ(l.printWidth, 27);
    EXPECT_EQ(l.printHeight, 500);
    EXPECT_EQ(l.posX, 1);
    EXPECT_EQ(l.posY, -3);
    EXPECT_FALSE(l.keepAspect);
    for (const TPrintsData &d : { doc.coverPrints[0], doc.backPrints[0] }) {
        EXPECT_EQ(d.posX, 15);
        EXPECT_EQ(d.posY, -15);
        EXPECT_EQ(d.printWidth, 4);
        EXPECT_EQ(d.printHeight, 3);
    }
}

TEST_F(FileFixture, ALinkedFollowerIsConvertedOnce)
{
    LabelDocument at600;
    useResolution(at600, 600, 600);
    for (PicturePlacement *p : { &at600.top.picture, &at600.bottom.picture }) {
        p->printWidth = 1000;
        p->printHeight = 800;
        p->posX = 100;
        p->posY = 60;
    }
    at600.bottom.pictureSameAsFront = true;
    const QString path = write("linked.cwr", documentBytes(at600).data);
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    EXPECT_TRUE(doc.bottom.pictureSameAsFront);
    for (const PicturePlacement *p : { &doc.top.picture, &doc.bottom.picture }) {
        EXPECT_EQ(p->printWidth, 500);
        EXPECT_EQ(p->printHeight, 400);
        EXPECT_EQ(p->posX, 50);
        EXPECT_EQ(p->posY, 30);
    }
}

TEST_F(FileFixture, NoResolutionMeansTheCurrentOne)
{
    QStringList lines = kNewDocumentLines;
    lines[22] = "100 50 -3 7";
    QStringList zero = lines;
    zero[8] = "0 0";
    QStringList none = lines;
    none.erase(none.begin() + 6, none.begin() + 9);
    for (const QStringList &l : { zero, none }) {
        ASSERT_EQ(load(write("d.cwr", fileOf(l))), LoadStatus::Loaded);
        EXPECT_EQ(doc.top.picture.printWidth, 100);
        EXPECT_EQ(doc.top.picture.printHeight, 50);
        EXPECT_EQ(doc.top.picture.posX, -3);
        EXPECT_EQ(doc.top.picture.posY, 7);
    }
}

TEST_F(FileFixture, OddValuesGetDefinedValues)
{
    QStringList lines = kNewDocumentLines;
    lines[13] = "yes"; // title switch: not a number
    lines[15] = "9"; // position mode out of range
    lines[16] = "1 12345"; // more than three digits
    lines[18] = "-2147483640 abc 999 1"; // size unparsable, so is all that follows
    lines[50] = "-40"; // negative offset
    insertLines(lines, 29,
        { "7", "odd kind", "x y", "0 009 128 0 0 0 0", "F", "0", "", "0 0", "99999999999 -1",
            "1 1" });
    ASSERT_EQ(load(write("odd.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_FALSE(doc.top.title.use);
    EXPECT_EQ(int(doc.top.title.posMode), 3);
    EXPECT_EQ(doc.top.title.customX, 999);
    EXPECT_EQ(doc.top.title.font.size, 0);
    EXPECT_EQ(doc.top.title.font.charset, 0);
    EXPECT_FALSE(doc.top.title.font.bold);
    EXPECT_EQ(doc.left.title.offset, 0);
    ASSERT_EQ(doc.insidePrints.size(), 1);
    const TPrintsData &d = doc.insidePrints[0];
    EXPECT_EQ(d.kind, 0); // only 1 names a picture item
    EXPECT_EQ(d.textX, 0);
    EXPECT_EQ(d.posX, 2147483647);
    EXPECT_EQ(d.posY, -1);
}

TEST_F(FileFixture, PicturesAreFoundBesideTheDocument)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    EXPECT_EQ(resolveDocumentPicture("pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("/elsewhere/gone/pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("C:\\Pictures\\pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("nothing.bmp", dir.filePath("a.cwr")), "nothing.bmp");
    const QString existing = dataDir() + "/pic.bmp";
    EXPECT_EQ(resolveDocumentPicture(existing, dir.filePath("a.cwr")), existing);

    // A picture that cannot be found keeps its name and is reported; reading goes on.
    QStringList lines = kNewDocumentLines;
    lines[21] = "/elsewhere/gone/none.bmp";
    lines[22] = "10 20 30 40";
    ASSERT_EQ(load(write("p.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_EQ(doc.top.picture.fileName, "/elsewhere/gone/none.bmp");
    EXPECT_EQ(doc.top.picture.printWidth, 10);
    EXPECT_EQ(doc.top.picture.posY, 40);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains("/elsewhere/gone/none.bmp"));
}

// ---- Round trips --------------------------------------------------------------------

TEST_F(FileFixture, EveryFieldSurvivesSaveAndLoad)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    doc.listLayout[0] = { 2, 11, 12, 13, 14, 15, 16, 17, 18 };
    doc.listLayout[1] = { 1, 21, 22, 23, 24, 25, 26, 27, 28 };
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleText(Surface::Left, "左");
    ed.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    ed.setTitleOffset(Surface::Left, 33);
    FontSpec f { "Ｆ", 14, 0x00123456, 1, true, true, true, true };
    ed.setTitleFont(Surface::Left, f);
    for (Surface s : kAllSurfaces) {
        ed.setTitleUse(s, true);
        ed.setPictureUse(s, true);
        ed.loadSurfacePicture(s, picture);
        ed.setPictureWidth(s, 600);
        ed.setPicturePosX(s, -7);
        ed.setPicturePosY(s, 9);
    }
    ed.setTitleText(Surface::Top, "表");
    ed.setTitlePosMode(Surface::Top, TitlePosition::Custom);
    ed.setTitleCustomXUse(Surface::Top, true);
    ed.setTitleCustomX(Surface::Top, 5);
    ed.setTitleCustomYUse(Surface::Top, true);
    ed.setTitleCustomY(Surface::Top, 6);
    ed.setTitleFont(Surface::Top, FontSpec { "Ｇ", 20, 0x80000005, 0, true, false, true, false });
    ed.setTitleSameAsFront(Surface::Bottom, true);
    ed.setTitleSameAsLeft(true);
    ed.setPictureSameAsFront(true);
    ed.setPictureSameAsLeft(true);
    ed.setUseList(Surface::Top, true);
    ed.setUseList(Surface::Bottom, true);
    ed.setUseCoverPrints(true);
    ed.setUseInsidePrints(true);
    ed.setUsePrints(true);
    ed.setBackgroundColor(Swatch::TopCover, 0x00000001);
    ed.setBackgroundColor(Swatch::TopInside, 0x00000002);
    ed.setBackgroundColor(Swatch::Bottom, 0x00000003);
    ed.setBackgroundColor(Swatch::Left, 0x00000004);
    ed.setBackgroundColor(Swatch::Right, 0x80000005);
    TPrintsData text;
    text.text = "テキスト";
    text.textX = 1;
    text.textY = 2;
    text.angle = 180;
    text.font = f;
    text.transparent = true;
    text.transColor = 0x00010203;
    TPrintsData pic = text;
    pic.kind = 1;
    pic.fileName = picture;
    pic.posX = -3;
    pic.posY = 4;
    pic.printWidth = 50;
    pic.printHeight = 60;
    for (QList<TPrintsData> *l : { &doc.coverPrints, &doc.insidePrints, &doc.backPrints })
        *l = { text, pic };
    for (int i = 0; i < 3; ++i) {
        TListData row;
        row.separate = i != 1;
        row.kind = i == 2;
        for (int c = 0; c < 3; ++c) {
            row.columns[c].text = QStringLiteral("%1-%2").arg(i).arg(c);
            row.columns[c].align = c + 1;
            row.columns[c].font = f;
        }
        doc.listRows.append(row);
    }

    const QString path = dir.filePath("all.cwr");
    ASSERT_TRUE(ed.save(path));
    const QByteArray first = readAll(path);
    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    const QString again = dir.filePath("again.cwr");
    ASSERT_TRUE(e2.save(again));
    EXPECT_EQ(readAll(again), first);

    EXPECT_EQ(back.listLayout, doc.listLayout);
    EXPECT_EQ(back.listRows, doc.listRows);
    EXPECT_EQ(controlValues(back), controlValues(doc));
    EXPECT_EQ(back.insidePrints[1].posX, -3);
    EXPECT_EQ(back.insidePrints[1].printHeight, 60);
    EXPECT_EQ(back.insidePrints[1].pixelWidth, 4);
}

TEST_F(FileFixture, PictureNamesAreWrittenBackAsTheyWereStored)
{
    const QString demoDir = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples");
    for (const QString &name : QDir(demoDir).entryList({ "*.png", "*.cwr" }, QDir::Files))
        ASSERT_TRUE(QFile::copy(demoDir + "/" + name, dir.filePath(name)));
    const QString path = dir.filePath("demo.cwr");
    const QByteArray original = readAll(path);
    LoadSusiePlugins(); // the decoder modules beside the test program
    ASSERT_TRUE(original.contains("\r\ndemo-cover.png\r\n"));
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    // The picture was found beside the document and is known by its full path.
    EXPECT_EQ(doc.top.picture.fileName, dir.filePath("demo-cover.png"));
    EXPECT_FALSE(doc.top.picture.bitmap.isNull());

    // Saved in place: byte for byte what was read.
    ASSERT_TRUE(saveDocument(doc, path, messages));
    EXPECT_EQ(readAll(path), original);

    // Saved into another folder, the relative name would lead nowhere: the
    // full path is written.
    QTemporaryDir other;
    const QString elsewhere = other.filePath("moved.cwr");
    ASSERT_TRUE(saveDocument(doc, elsewhere, messages));
    EXPECT_TRUE(readAll(elsewhere).contains(
        "\r\n" + QFile::encodeName(dir.filePath("demo-cover.png")) + "\r\n"));

    // A picture chosen anew is written with its own name.
    doc.top.picture.fileName = dir.filePath("other.png");
    EXPECT_TRUE(documentBytes(doc, path).data.contains(
        "\r\n" + QFile::encodeName(dir.filePath("other.png")) + "\r\n"));

    // "新規作成" forgets the names of the file that was read.
    ed.resetToNew();
    EXPECT_TRUE(doc.pictureNamesAsStored.isEmpty());
    FreeSusiePlugins();
}

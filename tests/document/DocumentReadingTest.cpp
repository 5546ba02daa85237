// Reading document files that are refused, damaged or unusual: what is read,
// what the user is told, and what stays as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "pictures/PictureLoading.h"
#include "render/Geometry.h"

using namespace cw;

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
    lines[1] = "1.09";
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
    // The stored 801 x 400 is kept whatever the aspect lock says; the
    // conversion then halves both.
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

#include "DocumentFileFixture.h"

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

TEST_F(FileFixture, AReadOnlyFileIsNotReplaced)
{
    const QString path = write("ro.cwr", "old contents");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(saveDocument(doc, path, messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST_F(FileFixture, AReadOnlyFolderKeepsItsFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into any folder";
    const QString path = write("in.cwr", "old contents");
    ASSERT_TRUE(QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(saveDocument(doc, path, messages));
    QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST_F(FileFixture, AFullDiskLeavesTheOldFileAsItWas)
{
    const QString path = write("full.cwr", "old contents");
    // Writes beyond the file-size limit fail as they would on a full disk.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveDocument(doc, path, messages);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "full.cwr" }));
}

TEST_F(FileFixture, WritingToAFullDeviceIsReported)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(saveDocument(doc, "/dev/full", messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(/dev/full)が記録できません" }));
    EXPECT_TRUE(QFileInfo("/dev/full").isFile() == false);
}

TEST_F(FileFixture, AVanishedFolderIsReported)
{
    const QString path = dir.filePath("gone/x.cwr");
    EXPECT_FALSE(saveDocument(doc, path, messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_FALSE(QFileInfo::exists(path));
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

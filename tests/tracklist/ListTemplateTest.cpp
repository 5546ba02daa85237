#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "TestSupport.h"
#include "tracklist/ListTemplate.h"

using namespace cw;

namespace {

const QByteArray kDefaultTopFile = "<Casewright List Template File>\r\n"
                                   "1.01\r\n"
                                   "\r\n"
                                   "[Tmp Name]\r\n"
                                   "Standard\r\n"
                                   "\r\n"
                                   "[Tmp Mode]\r\n"
                                   "0\r\n"
                                   "\r\n"
                                   "[Tmp Data]\r\n"
                                   "3 003 000 009 070 030 002 002 000\r\n";

QByteArray templateText(const QByteArray &version, const QByteArray &name, const QByteArray &mode,
    const QByteArray &data)
{
    return "<Casewright List Template File>\r\n" + version + "\r\n\r\n[Tmp Name]\r\n" + name
        + "\r\n\r\n[Tmp Mode]\r\n" + mode + "\r\n\r\n[Tmp Data]\r\n" + data + "\r\n";
}

int parse(const QByteArray &data, ListTemplate *out = nullptr)
{
    ListTemplate t;
    int r = parseListTemplate(data, t);
    if (out)
        *out = t;
    return r;
}

ListLayout layout(int n, int x, int y, int w1, int w2, int w3, int s1, int s2, int ls)
{
    return ListLayout { n, x, y, w1, w2, w3, s1, s2, ls };
}

} // namespace

TEST(ListTemplateFile, DefaultTopLayoutIsWrittenByteForByte)
{
    EXPECT_EQ(listTemplateFileBytes("Standard", 0, defaultListLayout(0)), kDefaultTopFile);
    QByteArray named = listTemplateFileBytes(QStringLiteral("標準"), 1, defaultListLayout(1));
    EXPECT_TRUE(named.contains("\r\n" + sjis(QStringLiteral("標準")) + "\r\n"));
    EXPECT_TRUE(named.endsWith("[Tmp Mode]\r\n1\r\n\r\n[Tmp Data]\r\n3 003 000 009 087 030 002 "
                               "002 000\r\n"));
}

TEST(ListTemplateFile, ReadsWhatItWrites)
{
    QTemporaryDir dir;
    RecordingMessages messages;
    const QString path = dir.filePath("mine.cwt");
    ListLayout l = layout(2, 5, 12, 20, 60, 0, 4, 0, 35);
    ASSERT_TRUE(WriteListTemplate(path, QStringLiteral("二段"), 1, l, messages));
    EXPECT_TRUE(messages.messages.isEmpty());
    ListTemplate t;
    EXPECT_EQ(ReadListTemplate(path, t), 1);
    EXPECT_EQ(t.name, QStringLiteral("二段"));
    EXPECT_EQ(t.fileName, "mine.cwt");
    EXPECT_EQ(t.layout, l);
}

TEST(ListTemplateFile, HeaderWithoutAnEmptyLineBeforeItIsRejected)
{
    QByteArray data = kDefaultTopFile;
    data.replace("Standard\r\n\r\n[Tmp Mode]", "Standard\r\n[Tmp Mode]");
    EXPECT_EQ(parse(data), -1);
    // Right after the version line too.
    QByteArray first = kDefaultTopFile;
    first.replace("1.01\r\n\r\n[Tmp Name]", "1.01\r\n[Tmp Name]");
    EXPECT_EQ(parse(first), -1);
}

TEST(ListTemplateFile, ExtraEmptyLinesAreAllowed)
{
    QByteArray data = kDefaultTopFile;
    data.replace("\r\n\r\n", "\r\n\r\n\r\n\r\n");
    data.append("\r\n\r\n");
    ListTemplate t;
    EXPECT_EQ(parse(data, &t), 0);
    EXPECT_EQ(t.name, "Standard");
    EXPECT_EQ(t.layout, defaultListLayout(0));
    // LF-only line ends read the same.
    QByteArray lf = kDefaultTopFile;
    lf.replace("\r\n", "\n");
    EXPECT_EQ(parse(lf), 0);
}

TEST(ListTemplateFile, ASecondValueLineRejectsTheFile)
{
    QByteArray data = kDefaultTopFile;
    data.replace("Standard\r\n", "Standard\r\nMore\r\n");
    EXPECT_EQ(parse(data), -1);
    EXPECT_EQ(parse(kDefaultTopFile + "3 003 000 009 070 030 002 002 000\r\n"), -1);
    EXPECT_EQ(parse(kDefaultTopFile + "\r\nstray\r\n"), -1);
    // Before any section too.
    QByteArray early = kDefaultTopFile;
    early.replace("1.01\r\n\r\n", "1.01\r\nstray\r\n\r\n");
    EXPECT_EQ(parse(early), -1);
}

TEST(ListTemplateFile, ModeOtherThanZeroOrOneOrMissingIsUnusable)
{
    EXPECT_EQ(parse(templateText("1.01", "x", "2", "3 003 000 009 070 030 002 002 000")), -1);
    EXPECT_EQ(parse(templateText("1.01", "x", "", "3 003 000 009 070 030 002 002 000")), -1);
    EXPECT_EQ(parse(templateText("1.01", "x", "-1", "3 003 000 009 070 030 002 002 000")), -1);
    // One digit is read: "10" is surface 1.
    EXPECT_EQ(parse(templateText("1.01", "x", "10", "3 003 000 009 070 030 002 002 000")), 1);
    QByteArray noMode = kDefaultTopFile;
    noMode.replace("[Tmp Mode]\r\n0\r\n\r\n", "");
    EXPECT_EQ(parse(noMode), -1);
}

TEST(ListTemplateFile, EmptyNameIsAllowed)
{
    ListTemplate t;
    EXPECT_EQ(parse(templateText("1.01", "", "1", "1 010 020 000 050 000 000 000 010"), &t), 1);
    EXPECT_EQ(t.name, "");
    EXPECT_EQ(t.layout, layout(1, 10, 20, 0, 50, 0, 0, 0, 10));
}

TEST(ListTemplateFile, VersionOneZeroZeroHasEightValues)
{
    ListTemplate t;
    EXPECT_EQ(parse(templateText("1.00", "old", "1", "2 004 005 010 080 020 003 001"), &t), 1);
    EXPECT_EQ(t.layout, layout(2, 4, 5, 10, 80, 20, 3, 1, 0));
    // A ninth value on an old line is not read.
    EXPECT_EQ(parse(templateText("1.00", "old", "0", "2 004 005 010 080 020 003 001 045"), &t), 0);
    EXPECT_EQ(t.layout.lineSpacing, 0);
}

TEST(ListTemplateFile, NewerVersionsAndWrongHeadersAreRejected)
{
    const QByteArray data = "3 003 000 009 070 030 002 002 000";
    EXPECT_EQ(parse(templateText("1.03", "x", "0", data)), -1);
    EXPECT_EQ(parse(templateText("2", "x", "0", data)), -1);
    EXPECT_EQ(parse(templateText("1.01xyz", "x", "0", data)), 0);
    EXPECT_EQ(parse(templateText("1.01000001", "x", "0", data)), 0); // equal in single precision
    // The version is read as the C library reads a number, hexadecimal too.
    EXPECT_EQ(parse(templateText("0x2", "x", "0", data)), -1);
    EXPECT_EQ(parse(templateText("0x1.08p0", "x", "0", data)), -1);
    EXPECT_EQ(parse(templateText(" -0X1", "x", "0", data)), 0);
    EXPECT_EQ(parse(templateText("0x", "x", "0", data)), 0);
    EXPECT_EQ(parse(QByteArray(kDefaultTopFile).replace("<Casewright", "<Caseright")), -1);
    EXPECT_EQ(parse(QByteArray()), -1);
    EXPECT_EQ(parse(" " + kDefaultTopFile), -1);
    // A first line longer than 255 bytes is cut there and does not match.
    EXPECT_EQ(
        parse(QByteArray(kDefaultTopFile).replace("File>", "File>" + QByteArray(300, 'x'))), -1);
}

TEST(ListTemplateFile, NumbersAreReadWithTheirFieldWidths)
{
    ListTemplate t;
    // No spaces: one digit, then three digits each.
    EXPECT_EQ(parse(templateText("1.01", "x", "0", "3003000009070030002002010"), &t), 0);
    EXPECT_EQ(t.layout, layout(3, 3, 0, 9, 70, 30, 2, 2, 10));
    // Signs count in the width; a short line keeps the surface's defaults.
    EXPECT_EQ(parse(templateText("1.01", "x", "1", "3 -05 1 2"), &t), 1);
    EXPECT_EQ(t.layout, layout(3, -5, 1, 2, 87, 30, 2, 2, 0));
    EXPECT_EQ(parse(templateText("1.01", "x", "0", "junk"), &t), 0);
    EXPECT_EQ(t.layout, defaultListLayout(0));
}

TEST(ListTemplateFile, ValuesOrNamesThatWouldNotReadBackAreNotWritten)
{
    QTemporaryDir dir;
    RecordingMessages messages;
    const QString path = dir.filePath("bad.cwt");
    ListLayout big = defaultListLayout(0);
    big.width2 = 1000;
    EXPECT_FALSE(WriteListTemplate(path, "x", 0, big, messages));
    // A lone surrogate has no form in either encoding.
    EXPECT_FALSE(
        WriteListTemplate(path, QString(QChar(0xD800)), 0, defaultListLayout(0), messages));
    EXPECT_FALSE(WriteListTemplate(path, QString(300, 'a'), 0, defaultListLayout(0), messages));
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(messages.messages.size(), 3);
    for (const QString &m : messages.messages)
        EXPECT_TRUE(m.startsWith("ファイル(" + path + ")が記録できません\n")) << m.toStdString();
}

TEST(ListTemplateStore, ScansFoldersAndSkipsSilently)
{
    QTemporaryDir program, user;
    const QString p = program.path(), u = user.path();
    writeAll(p + "/b.cwt", templateText("1.01", "B", "1", "3 003 000 009 087 030 002 002 000"));
    writeAll(p + "/a.cwt", templateText("1.01", "A", "0", "1 003 000 009 070 030 002 002 000"));
    writeAll(p + "/c.CWT", templateText("1.01", "C", "0", "2 003 000 009 070 030 002 002 000"));
    writeAll(p + "/mode2.cwt", templateText("1.01", "M", "2", "2 003 000 009 070 030 002 002 000"));
    writeAll(p + "/broken.cwt", "garbage");
    writeAll(p + "/other.txt", templateText("1.01", "T", "0", "2"));
    // The user's copy of a program template replaces it.
    writeAll(u + "/a.cwt", templateText("1.01", "A2", "0", "2 003 000 009 070 030 002 002 000"));
    writeAll(u + "/d.cwt", templateText("1.01", "D", "1", "2 003 000 009 070 030 002 002 000"));

    ListTemplateStore store;
    store.LoadTemplateFolder({ p, u, p });
    EXPECT_EQ(store.names(0), QStringList({ "A2", "C" }));
    EXPECT_EQ(store.names(1), QStringList({ "B", "D" }));
    EXPECT_EQ(store.templates(0)[0].fileName, "a.cwt");
    EXPECT_EQ(store.templates(0)[0].layout.columnCount, 2);
    EXPECT_EQ(store.currentTemplate(0), -1);
    EXPECT_EQ(store.currentTemplate(1), -1);
}

TEST(ListTemplateStore, APipeOrADeviceNamedLikeATemplateIsSkippedWithoutWaiting)
{
    QTemporaryDir folder;
    const QString p = folder.path();
    // Opening a pipe with no writer blocks: the scan must not open it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(p + "/pipe.cwt").constData(), 0600), 0);
    writeAll(p + "/a.cwt", templateText("1.01", "A", "0", "1 003 000 009 070 030 002 002 000"));
    ListTemplateStore store;
    store.LoadTemplateFolder({ p });
    EXPECT_EQ(store.names(0), QStringList({ "A" }));
    ListTemplate t;
    EXPECT_EQ(ReadListTemplate(QStringLiteral("/dev/zero"), t), -1);
    EXPECT_EQ(ReadListTemplate(p + "/pipe.cwt", t), -1);
}

TEST(ListTemplateStore, AtMostFiftyPerSurface)
{
    QTemporaryDir dir;
    for (int i = 0; i < 52; ++i)
        writeAll(dir.filePath(QString::asprintf("t%02d.cwt", i)),
            templateText("1.01", QByteArray::number(i), "0", "3 003 000 009 070 030 002 002 000"));
    writeAll(dir.filePath("z.cwt"),
        templateText("1.01", "back", "1", "3 003 000 009 070 030 002 002 000"));
    ListTemplateStore store;
    store.LoadTemplateFolder({ dir.path() });
    ASSERT_EQ(store.templates(0).size(), 50);
    EXPECT_EQ(store.templates(0).last().name, "49");
    EXPECT_EQ(store.names(1), QStringList({ "back" }));

    // A 51st is refused on saving, nothing written; an existing name still saves.
    RecordingMessages messages;
    const QString path = dir.filePath("new.cwt");
    EXPECT_FALSE(store.saveTemplate(0, path, "new", defaultListLayout(0), messages));
    EXPECT_EQ(messages.messages, QStringList({ "これ以上テンプレートを追加できません" }));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(
        store.saveTemplate(0, dir.filePath("t07.cwt"), "seven", defaultListLayout(0), messages));
    EXPECT_EQ(store.templates(0).size(), 50);
    EXPECT_EQ(store.templates(0)[7].name, "seven");
    EXPECT_EQ(store.currentTemplate(0), 7);
}

TEST(ListTemplateStore, PickingAppliesOnlyANewEntry)
{
    QTemporaryDir dir;
    writeAll(
        dir.filePath("a.cwt"), templateText("1.01", "A", "0", "1 010 020 000 050 000 000 000 010"));
    writeAll(
        dir.filePath("b.cwt"), templateText("1.01", "B", "0", "2 004 005 010 080 020 003 001 000"));
    ListTemplateStore store;
    store.LoadTemplateFolder({ dir.path() });
    ListLayout l = defaultListLayout(0);
    EXPECT_FALSE(store.pickTemplate(0, -1, l));
    EXPECT_FALSE(store.pickTemplate(0, 2, l));
    EXPECT_EQ(l, defaultListLayout(0));
    EXPECT_TRUE(store.pickTemplate(0, 1, l));
    EXPECT_EQ(l, layout(2, 4, 5, 10, 80, 20, 3, 1, 0));
    EXPECT_EQ(store.currentTemplate(0), 1);
    EXPECT_EQ(store.currentTemplate(1), -1);
    // The current entry again: nothing, even after the values changed.
    l.posX = 50;
    EXPECT_FALSE(store.pickTemplate(0, 1, l));
    EXPECT_EQ(l.posX, 50);
    EXPECT_EQ(store.proposedFileName(0), "b.cwt");
    EXPECT_EQ(store.proposedFileName(1), "");
    // Front templates are not offered for the back.
    EXPECT_FALSE(store.pickTemplate(1, 0, l));
    // A re-read forgets the current entries.
    store.LoadTemplateFolder({ dir.path() });
    EXPECT_EQ(store.currentTemplate(0), -1);
}

TEST(ListTemplateStore, SavingTwiceUnderOneNameLeavesOneUpdatedEntry)
{
    QTemporaryDir dir;
    ListTemplateStore store;
    store.LoadTemplateFolder({ dir.path() });
    RecordingMessages messages;
    const QString path = dir.filePath("mine.cwt");
    ASSERT_TRUE(store.saveTemplate(1, path, "first", defaultListLayout(1), messages));
    ListLayout changed = defaultListLayout(1);
    changed.lineSpacing = 25;
    ASSERT_TRUE(store.saveTemplate(1, path, "second", changed, messages));
    EXPECT_TRUE(messages.messages.isEmpty());
    ASSERT_EQ(store.templates(1).size(), 1);
    EXPECT_EQ(store.templates(1)[0].name, "second");
    EXPECT_EQ(store.templates(1)[0].fileName, "mine.cwt");
    EXPECT_EQ(store.templates(1)[0].layout, changed);
    EXPECT_EQ(store.currentTemplate(1), 0);
    EXPECT_TRUE(store.templates(0).isEmpty());
    ListTemplate t;
    EXPECT_EQ(ReadListTemplate(path, t), 1);
    EXPECT_EQ(t.layout.lineSpacing, 25);
}

TEST(ListTemplateStore, AFileThatCannotBeCreatedLeavesTheCollection)
{
    QTemporaryDir dir;
    ListTemplateStore store;
    store.LoadTemplateFolder({ dir.path() });
    RecordingMessages messages;
    // A folder stands where the file would be.
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.cwt"));
    const QString path = dir.filePath("x.cwt");
    EXPECT_FALSE(store.saveTemplate(0, path, "x", defaultListLayout(0), messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_TRUE(store.templates(0).isEmpty());
    EXPECT_EQ(store.currentTemplate(0), -1);
}

TEST(ListTemplateStore, ATemplateIsSavedOnlyWhereTemplatesAreReadAgain)
{
    QTemporaryDir read, other;
    ASSERT_TRUE(QDir(read.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::link(read.path(), other.filePath("link")));
    ListTemplateStore store;
    store.LoadTemplateFolder({ read.path() });
    const std::pair<QString, bool> cases[] = {
        { read.filePath("a.cwt"), true },
        { read.path() + "/./b.cwt", true },
        { read.path() + "/sub/../c.cwt", true },
        { other.filePath("link/d.cwt"), true }, // the same folder through a link
        { read.filePath("sub/e.cwt"), false },
        { other.filePath("f.cwt"), false },
        { other.filePath("missing/g.cwt"), false },
    };
    for (const auto &[path, taken] : cases) {
        RecordingMessages messages;
        EXPECT_EQ(store.saveTemplate(0, path, QFileInfo(path).baseName(), defaultListLayout(0), messages),
            taken)
            << path.toStdString();
        EXPECT_EQ(QFile::exists(path), taken) << path.toStdString();
        EXPECT_EQ(messages.messages,
            taken ? QStringList() : QStringList { templateFolderMessage({ read.path() }) })
            << path.toStdString();
    }
    // Every template taken is read again.
    ListTemplateStore again;
    again.LoadTemplateFolder({ read.path() });
    EXPECT_EQ(again.names(0), QStringList({ "a", "b", "c", "d" }));
    // Before any load, the program's and the user's folder are the ones read.
    EXPECT_EQ(ListTemplateStore().readFolders(), QStringList({ programTemplateFolder(), userTemplateFolder() }));
}

TEST(ListTemplateStore, TheSaveDialogStartsInTheFolderWithTheCurrentFileName)
{
    QTemporaryDir dir;
    ListTemplateStore store;
    store.LoadTemplateFolder({ dir.path() });
    EXPECT_EQ(store.saveDialogStart(0, dir.path()), dir.path() + "/");
    EXPECT_EQ(store.saveDialogStart(0, dir.path() + "/"), dir.path() + "/");
    RecordingMessages messages;
    ASSERT_TRUE(store.saveTemplate(0, dir.filePath("t.cwt"), "t", defaultListLayout(0), messages));
    EXPECT_EQ(store.saveDialogStart(0, dir.path()), dir.filePath("t.cwt"));
    EXPECT_EQ(store.saveDialogStart(1, dir.path()), dir.path() + "/");
}

TEST(ListTemplateStore, SaveFolderIsTheProgramTemplateFolderWhenWritable)
{
    // The shipped templates lie in share/casewright/templates beside the
    // executables' bin folder; the build tree has that folder, writable.
    EXPECT_EQ(programTemplateFolder(),
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/casewright/templates"));
    EXPECT_EQ(templateSaveFolder(), programTemplateFolder());
    EXPECT_FALSE(userTemplateFolder().isEmpty());
}

TEST(ListTemplateFile, ANameOutsideCp932IsWrittenAs102InUtf8AndReadBack)
{
    const QString name = QStringLiteral("Björk — 標準 😀");
    const QByteArray bytes = listTemplateFileBytes(name, 1, defaultListLayout(1));
    EXPECT_EQ(bytes, templateText("1.02", name.toUtf8(), "1", "3 003 000 009 087 030 002 002 000"));
    ListTemplate t;
    EXPECT_EQ(parse(bytes, &t), 1);
    EXPECT_EQ(t.name, name);
    EXPECT_EQ(t.layout, defaultListLayout(1));

    // The Unicode form's lines hold 1,022 bytes of text: 340 kana and "é".
    const QString longest = QString(340, QChar(0x3042)) + QStringLiteral("é");
    EXPECT_EQ(parse(listTemplateFileBytes(longest, 0, defaultListLayout(0)), &t), 0);
    EXPECT_EQ(t.name, longest);
    QString problem;
    EXPECT_TRUE(listTemplateFileBytes(longest + "x", 0, defaultListLayout(0), &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("最大1022バイト"))) << problem.toStdString();

    // Older versions stay CP932: the same bytes read as a CP932 name there.
    const QByteArray sjisName = sjis(QStringLiteral("標準"));
    EXPECT_EQ(
        parse(templateText("1.01", sjisName, "0", "3 003 000 009 070 030 002 002 000"), &t), 0);
    EXPECT_EQ(t.name, QStringLiteral("標準"));
    EXPECT_EQ(parse(templateText("1.02", "標準", "0", "3 003 000 009 070 030 002 002 000"), &t), 0);
    EXPECT_EQ(t.name, QStringLiteral("標準"));
}

// The template writer saves as the document writer does: a disk that fills
// up keeps the old template whole.
TEST(ListTemplateFile, AFullDiskKeepsTheOldTemplate)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.cwt");
    RecordingMessages messages;
    ASSERT_TRUE(WriteListTemplate(path, QStringLiteral("old"), 0, defaultListLayout(0), messages));
    const QByteArray before = readAll(path);
    bool written = true;
    {
        FullDiskAfter full(10);
        written = WriteListTemplate(path, QStringLiteral("new"), 1, defaultListLayout(1), messages);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "t.cwt" }));
}

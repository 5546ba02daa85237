#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include "TestSupport.h"
#include "tracklist/ListImport.h"

using namespace cw;

namespace {

ImportFields fields(const char *a, const char *b = "", const char *c = "")
{
    return { QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c) };
}

QList<TListData> importFile(const QString &path, int columns, RecordingMessages &messages,
    int *count = nullptr, QList<TListData> rows = {})
{
    int n = ImportListFile(path, rows, ListEditorDefaults(), columns, messages);
    if (count)
        *count = n;
    return rows;
}

std::array<QString, 3> texts(const TListData &r)
{
    return { r.columns[0].text, r.columns[1].text, r.columns[2].text };
}

} // namespace

TEST(ListImportCsv, QuotedFieldWithACommaOnThreeColumns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.csv");
    writeAll(path, "1,\"Hello, world\",3:45\r\n");
    RecordingMessages messages;
    int count = 0;
    QList<TListData> rows = importFile(path, 3, messages, &count);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(count, 1);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(texts(rows[0]), fields("1", "Hello, world", "3:45"));
    EXPECT_TRUE(rows[0].separate);
    EXPECT_EQ(rows[0].kind, 0);
}

TEST(ListImportCsv, QuotingRules)
{
    // Doubled quotes inside quotes give one.
    EXPECT_EQ(splitCsvLine(R"("""hi""")"), fields("\"hi\""));
    // A fourth field is dropped.
    EXPECT_EQ(splitCsvLine("a,b,c,d"), fields("a", "b", "c"));
    EXPECT_EQ(splitCsvLine("a,b,\"c,d\",e"), fields("a", "b", "c,d"));
    // A line of only commas: three empty fields.
    EXPECT_EQ(splitCsvLine(",,,,,"), fields("", "", ""));
    EXPECT_EQ(splitCsvLine(""), fields(""));
    // A quote in the middle of an unquoted field opens a quoted part, in
    // which commas are ordinary; a quote followed by another character is
    // dropped and the quoted part goes on.
    EXPECT_EQ(splitCsvLine("ab\"c,d\"e,f"), fields("abc,de,f"));
    EXPECT_EQ(splitCsvLine("\"ab\"c,d\",e"), fields("abc,d", "e"));
    // A quote followed by a comma closes the field and takes the comma.
    EXPECT_EQ(splitCsvLine("\"a\",\"b\",\"c\""), fields("a", "b", "c"));
    // A quote just before the end of the line.
    EXPECT_EQ(splitCsvLine("a,b\""), fields("a", "b"));
    EXPECT_EQ(splitCsvLine("a,\"b"), fields("a", "b"));
    EXPECT_EQ(splitCsvLine("a,\""), fields("a", ""));
    // Spaces are kept.
    EXPECT_EQ(splitCsvLine(" a , b "), fields(" a ", " b "));
}

TEST(ListImportText, TabsSplitAtMostThreeFields)
{
    EXPECT_EQ(splitTabLine("a\tb"), fields("a", "b", ""));
    EXPECT_EQ(splitTabLine("a\tb\tc\td\te"), fields("a", "b", "c"));
    EXPECT_EQ(splitTabLine("\t\t"), fields("", "", ""));
    // Commas and quotes are ordinary in text files.
    EXPECT_EQ(splitTabLine("\"a,b\"\tc"), fields("\"a,b\"", "c"));
}

TEST(ListImport, CsvOnlyWhenThePathEndsInCsvInAnyCase)
{
    EXPECT_TRUE(isCsvPath("/x/list.csv"));
    EXPECT_TRUE(isCsvPath("/x/LIST.CsV"));
    EXPECT_FALSE(isCsvPath("/x/list.txt"));
    EXPECT_FALSE(isCsvPath("/x/list.csv.txt"));
    EXPECT_FALSE(isCsvPath("csv"));

    QTemporaryDir dir;
    RecordingMessages messages;
    const QByteArray data = "a,b\tc\r\n";
    writeAll(dir.filePath("x.CSV"), data);
    writeAll(dir.filePath("x.txt"), data);
    QList<TListData> csv = importFile(dir.filePath("x.CSV"), 3, messages);
    QList<TListData> tsv = importFile(dir.filePath("x.txt"), 3, messages);
    EXPECT_EQ(texts(csv[0]), fields("a", "b\tc"));
    EXPECT_EQ(texts(tsv[0]), fields("a,b", "c"));
}

TEST(ListImport, FieldsGoIntoCellsByColumnCount)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    writeAll(path, "1\tTitle\t3:45\r\n");
    RecordingMessages messages;
    QList<TListData> one = importFile(path, 1, messages);
    EXPECT_EQ(texts(one[0]), fields("", "1", ""));
    EXPECT_FALSE(one[0].separate);
    EXPECT_FALSE(one[0].columns[0].enabled);
    QList<TListData> two = importFile(path, 2, messages);
    EXPECT_EQ(texts(two[0]), fields("1", "Title", ""));
    EXPECT_TRUE(two[0].separate);
    QList<TListData> three = importFile(path, 3, messages);
    EXPECT_EQ(texts(three[0]), fields("1", "Title", "3:45"));
    EXPECT_TRUE(three[0].columns[2].enabled);
    // Counts from a hand-edited layout outside 1..3 keep the fields.
    EXPECT_EQ(texts(importFile(path, 0, messages)[0]), fields("", "1", ""));
    EXPECT_EQ(texts(importFile(path, 7, messages)[0]), fields("1", "Title", "3:45"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(ListImport, EveryLineBecomesARowEmptyOnesToo)
{
    QTemporaryDir dir;
    RecordingMessages messages;
    const QString crlf = dir.filePath("crlf.txt"), lf = dir.filePath("lf.txt"),
                  last = dir.filePath("last.txt"), empty = dir.filePath("empty.txt");
    writeAll(crlf, sjis(QStringLiteral("01\t曲名\t3:45\r\n\r\n02\t次\t1:00\r\n")));
    writeAll(lf, sjis(QStringLiteral("01\t曲名\t3:45\n\n02\t次\t1:00\n")));
    writeAll(last, "a\r\nb");
    writeAll(empty, "");
    QList<TListData> a = importFile(crlf, 3, messages);
    QList<TListData> b = importFile(lf, 3, messages);
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a, b);
    EXPECT_EQ(texts(a[0]), fields("01", "曲名", "3:45"));
    EXPECT_EQ(texts(a[1]), fields(""));
    EXPECT_EQ(texts(a[2]), fields("02", "次", "1:00"));
    EXPECT_EQ(importFile(last, 3, messages).size(), 2);
    int count = -2;
    EXPECT_TRUE(importFile(empty, 3, messages, &count).isEmpty());
    EXPECT_EQ(count, 0);
    // A lone CR ends a line like LF and CR LF.
    EXPECT_EQ(splitImportLines("a\rb\r\n\r\rc\r"), QList<QByteArray>({ "a", "b", "", "", "c" }));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(ListImport, RowsAreAppendedWithTheEditorsDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    writeAll(path, "x\r\n");
    TListData existing;
    existing.columns[1].text = "kept";
    QList<TListData> rows = { existing };
    ListEditorDefaults d;
    d.align = { 3, 2, 2 };
    d.fonts[1].size = 12;
    RecordingMessages messages;
    EXPECT_EQ(ImportListFile(path, rows, d, 2, messages), 1);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].columns[1].text, "kept");
    EXPECT_EQ(rows[1].columns[0].text, "x");
    EXPECT_EQ(rows[1].columns[0].align, 3);
    EXPECT_EQ(rows[1].columns[1].font.size, 12);
}

TEST(ListImport, LongLinesContinueAsTheNextLine)
{
    // 1023 bytes are one piece; the rest is a row of its own.
    QByteArray line(1500, 'a');
    line[1023] = 'b';
    QList<QByteArray> pieces = splitImportLines(line + "\r\nz");
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0], QByteArray(1023, 'a'));
    EXPECT_EQ(pieces[1], "b" + QByteArray(476, 'a'));
    EXPECT_EQ(pieces[2], "z");
    // A line of exactly 1023 bytes leaves its break to an empty line.
    pieces = splitImportLines(QByteArray(1023, 'c') + "\r\nd\r\n");
    EXPECT_EQ(pieces, QList<QByteArray>({ QByteArray(1023, 'c'), "", "d" }));
    pieces = splitImportLines(QByteArray(1022, 'c') + "\r\nd\r\n");
    EXPECT_EQ(pieces, QList<QByteArray>({ QByteArray(1022, 'c'), "d" }));
    // A double-byte character is never cut in half.
    const QByteArray kanji = sjis(QStringLiteral("曲"));
    QByteArray mixed = QByteArray(1022, 'e') + kanji + "f";
    pieces = splitImportLines(mixed);
    EXPECT_EQ(pieces, QList<QByteArray>({ QByteArray(1022, 'e'), kanji + "f" }));

    QTemporaryDir dir;
    const QString path = dir.filePath("long.txt");
    writeAll(path, mixed + "\r\n");
    RecordingMessages messages;
    QList<TListData> rows = importFile(path, 1, messages);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].columns[1].text, QStringLiteral("曲f"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(ListImport, NulEndsTheLinesText)
{
    EXPECT_EQ(splitImportLines(QByteArray("ab\0cd\r\nx", 8)), QList<QByteArray>({ "ab", "x" }));
}

TEST(ListImport, AFileThatIsNotCp932LeavesTheListAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.csv");
    writeAll(path, QByteArray("ok,line\r\n2,\x81\x20,x\r\n"));
    TListData existing;
    existing.columns[1].text = "kept";
    QList<TListData> rows = { existing };
    RecordingMessages messages;
    EXPECT_EQ(ImportListFile(path, rows, ListEditorDefaults(), 3, messages), -1);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], existing);
    EXPECT_EQ(messages.messages,
        QStringList({ "ファイル(" + path + ")の2行目にShift-JISとして読めない文字があります" }));
}

TEST(ListImport, AFileThatCannotBeOpenedLeavesTheListAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.txt");
    QList<TListData> rows = { TListData() };
    RecordingMessages messages;
    EXPECT_EQ(ImportListFile(path, rows, ListEditorDefaults(), 3, messages), -1);
    EXPECT_EQ(rows.size(), 1);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")がオープンできません" }));
    // A folder cannot be read as a file either.
    messages.messages.clear();
    EXPECT_EQ(ImportListFile(dir.path(), rows, ListEditorDefaults(), 3, messages), -1);
    EXPECT_EQ(rows.size(), 1);
    EXPECT_EQ(messages.messages.size(), 1);
}

TEST(ListImport, APipeOrADeviceIsRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QList<TListData> rows = { TListData() };
    RecordingMessages messages;
    // Opening a pipe with no writer would block; a device may never end.
    EXPECT_EQ(
        ImportListFile(QStringLiteral("/dev/null"), rows, ListEditorDefaults(), 3, messages), -1);
    EXPECT_EQ(ImportListFile(fifo, rows, ListEditorDefaults(), 3, messages), -1);
    EXPECT_EQ(rows.size(), 1);
    EXPECT_EQ(messages.messages,
        QStringList({ "ファイル(/dev/null)がオープンできません",
            "ファイル(" + fifo + ")がオープンできません" }));
}

TEST(ListImport, UnicodeExportsAreReadAsUtf8AndEverythingElseAsCp932)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray cafe = QStringLiteral("Café,曲").toUtf8();
    struct Case
    {
        QByteArray data;
        ImportEncoding encoding;
        ImportFields first;
    };
    const QList<Case> cases = {
        { bom + cafe + "\r\n", ImportEncoding::Utf8WithBom, fields("Café", "曲") },
        // "Café" pairs as Shift-JIS too ("Cafﾃｩ"): valid UTF-8 wins.
        { cafe + "\r\nx\r\n", ImportEncoding::Utf8, fields("Café", "曲") },
        { sjis(QStringLiteral("曲名,ｱｰﾃｨｽﾄ")), ImportEncoding::Cp932, fields("曲名", "ｱｰﾃｨｽﾄ") },
        { "plain,ascii", ImportEncoding::Cp932, fields("plain", "ascii") },
        { bom, ImportEncoding::Utf8WithBom, {} },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(detectImportEncoding(c.data), c.encoding) << c.data.toHex().toStdString();
        const ListImportData parsed = parseListImport(c.data, true);
        EXPECT_EQ(parsed.firstInvalidLine, 0);
        if (c.first == ImportFields {})
            EXPECT_TRUE(parsed.lines.isEmpty());
        else
            EXPECT_EQ(parsed.lines.value(0), c.first) << c.data.toHex().toStdString();
    }
    // A marked file that is not UTF-8 after all names its line.
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.csv");
    writeAll(path, bom + "ok\r\n\x82\xA0\r\n");
    RecordingMessages messages;
    int count = 0;
    EXPECT_TRUE(importFile(path, 3, messages, &count).isEmpty());
    EXPECT_EQ(count, -1);
    EXPECT_EQ(messages.messages,
        QStringList({ "ファイル(" + path + ")の2行目にUTF-8として読めない文字があります" }));
    // A long UTF-8 line is never cut inside a character.
    const QByteArray e = QStringLiteral("é").toUtf8();
    const QList<QByteArray> pieces
        = splitImportLines(QByteArray(1022, 'a') + e + "b", ImportEncoding::Utf8);
    EXPECT_EQ(pieces, QList<QByteArray>({ QByteArray(1022, 'a'), e + "b" }));
}

TEST(ListImportCsv, AQuotedFieldSpanningLineBreaksIsOneFieldOfOneRow)
{
    struct Case
    {
        QByteArray data;
        QList<ImportFields> rows;
    };
    const QList<Case> cases = {
        { "1,\"line one\r\nline two\",3:45\r\nnext",
            { fields("1", "line one line two", "3:45"), fields("next") } },
        { "\"a\nb\rc\"\"d\"\"\r\ne\",x", { fields("a b c\"d\" e", "x") } },
        { "\"one\r\n\r\nthree\"", { fields("one  three") } },
        // No closing quote before the end: every line alone, as before.
        { "\"open\r\nb,c\r\n", { fields("open"), fields("b", "c") } },
        // A quote that does not follow the rules: line by line.
        { "\"Title\" (Live)\r\nb,\"c\"\r\n", { fields("Title (Live)"), fields("b", "c") } },
        { "a\"b\r\nc\"", { fields("ab"), fields("c") } },
        // The quote in a fourth field is ignored, as is the rest of the line.
        { "a,b,c,\"d\r\ne", { fields("a", "b", "c"), fields("e") } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseListImport(c.data, true).lines, c.rows) << c.data.toStdString();
    // Tab-separated text keeps every line a row.
    EXPECT_EQ(parseListImport("\"a\nb\"", false).lines.size(), 2);
    // A record may span at most kCsvRecordMaxLines lines.
    QByteArray fits = "\"", tooLong = "\"";
    for (int i = 1; i < kCsvRecordMaxLines; ++i)
        fits += "l\n";
    tooLong = fits + "l\n";
    EXPECT_EQ(parseListImport(fits + "end\"", true).lines.size(), 1);
    EXPECT_EQ(parseListImport(tooLong + "end\"", true).lines.size(), kCsvRecordMaxLines + 1);
}

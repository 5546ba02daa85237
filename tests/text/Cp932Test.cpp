#include <gtest/gtest.h>

#include <QBuffer>

#include "TestSupport.h"
#include "text/Cp932.h"
#include "text/LineIO.h"

using namespace cw;

TEST(Cp932, RoundTripsTheProgramsTexts)
{
    struct Case
    {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        { QStringLiteral("表レーベル(裏)"),
            QByteArray("\x95\x5c\x83\x8c\x81\x5b\x83\x78\x83\x8b(\x97\xa0)") },
        { QStringLiteral("ＭＳ Ｐゴシック"),
            QByteArray("\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e") },
        { QStringLiteral("ｾﾊﾟﾚｰﾄ"), QByteArray("\xbe\xca\xdf\xda\xb0\xc4") },
        { QStringLiteral("①"), QByteArray("\x87\x40") },
        { QStringLiteral("～"), QByteArray("\x81\x60") },
    };
    for (const Case &c : cases) {
        cp932::EncodeResult r = cp932::encode(c.text);
        EXPECT_TRUE(r.ok()) << c.text.toStdString();
        EXPECT_EQ(r.bytes.toHex().toStdString(), c.bytes.toHex().toStdString())
            << c.text.toStdString();
        int invalid = -1;
        EXPECT_EQ(cp932::decode(c.bytes, &invalid), c.text);
        EXPECT_EQ(invalid, 0);
    }
}

TEST(Cp932, UsesTheWindowsTableForTheDisputedCharacters)
{
    // 0x815F is the backslash-like "＼" and 0x8160 the wave dash as code page
    // 932 maps them (U+FF3C, U+FF5E), not the JIS mapping.
    EXPECT_EQ(cp932::decode(QByteArray("\x81\x5f")), QString(QChar(0xFF3C)));
    EXPECT_EQ(cp932::decode(QByteArray("\x81\x60")), QString(QChar(0xFF5E)));
    EXPECT_EQ(cp932::decode(QByteArray("\x81\x7c")), QString(QChar(0xFF0D)));
    // Single bytes: ASCII stays ASCII (0x5C is a backslash in paths).
    EXPECT_EQ(cp932::decode(QByteArray("C:\\a")), QStringLiteral("C:\\a"));
}

TEST(Cp932, ReportsUnencodableCharactersWithTheirPlace)
{
    cp932::EncodeResult r = cp932::encode(QStringLiteral("ab😀c€"));
    ASSERT_EQ(r.unencodable.size(), 2);
    EXPECT_EQ(r.unencodable[0].character, char32_t(0x1F600));
    EXPECT_EQ(r.unencodable[0].index, 2);
    EXPECT_EQ(r.unencodable[1].character, char32_t(0x20AC));
    EXPECT_EQ(r.unencodable[1].index, 5);
    EXPECT_EQ(r.bytes, QByteArray("abc")); // nothing replaced in their place
    EXPECT_TRUE(cp932::describe(r.unencodable).contains(QStringLiteral("😀")));
}

TEST(Cp932, DecodingDamagedBytesCountsThem)
{
    int invalid = 0;
    // A lone lead byte at the end, an invalid trail byte, an unassigned single byte.
    QString s = cp932::decode(QByteArray("A\x82\x20"
                                         "B\xa0"
                                         "\x81"),
        &invalid);
    EXPECT_EQ(invalid, 3);
    EXPECT_EQ(s, QStringLiteral("A\uFFFD B\uFFFD\uFFFD"));
}

TEST(LineReader, SplitsLinesAndRemovesBreaks)
{
    LineReader r(QByteArray("one\r\ntwo\nthree\r\n\r\nlast"));
    QStringList lines;
    QString line;
    while (r.readLine(line))
        lines.append(line);
    EXPECT_EQ(lines, (QStringList { "one", "two", "three", "", "last" }));
}

TEST(LineReader, TakesAtMost255BytesOfALine)
{
    QByteArray longLine(300, 'x');
    longLine[254] = 'y';
    longLine[255] = 'z';
    LineReader r(longLine + "\r\nnext\r\n");
    QString a, b, c;
    ASSERT_TRUE(r.readLine(a));
    ASSERT_TRUE(r.readLine(b));
    ASSERT_TRUE(r.readLine(c));
    EXPECT_EQ(a.size(), 255);
    EXPECT_TRUE(a.endsWith('y'));
    EXPECT_EQ(b.size(), 45);
    EXPECT_TRUE(b.startsWith('z'));
    EXPECT_EQ(c, QStringLiteral("next"));
    EXPECT_FALSE(r.readLine(a));
}

TEST(LineReader, ALineOfExactlyTheLimitLeavesItsBreakAsAnEmptyLine)
{
    QByteArray l254(254, 'a'), l255(255, 'b');
    LineReader r(l254 + "\r\n" + l255 + "\r\nx");
    QStringList lines;
    QString line;
    while (r.readLine(line))
        lines.append(line);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].size(), 254);
    EXPECT_EQ(lines[1].size(), 255);
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], QStringLiteral("x"));
}

TEST(LineReader, ADoubleByteCharacterCutAtTheLimitIsReportedAsDamaged)
{
    // 254 ASCII bytes and a two-byte character: the first read ends inside it.
    QByteArray data = QByteArray(254, 'a') + sjis(QStringLiteral("表")) + "\r\n";
    LineReader r(data);
    QString a, b;
    ASSERT_TRUE(r.readLine(a));
    ASSERT_TRUE(r.readLine(b));
    EXPECT_EQ(a, QString(254, 'a') + QChar(0xFFFD));
    EXPECT_EQ(b, QStringLiteral("\\")); // the trail byte 0x5C alone
    EXPECT_EQ(r.invalidLines(), 1);
}

TEST(LineReader, ReadingFromADeviceInAnyChunkSizeGivesTheSameLines)
{
    // CR LF pairs, lone CRs and lines at the limit fall on every chunk border.
    QByteArray data;
    for (int i = 0; i < 40; ++i)
        data += QByteArray(i % 7, 'a' + char(i % 26)) + (i % 3 ? "\r\n" : i % 2 ? "\r" : "\n");
    data += QByteArray(12, 'z') + "\r";
    const int limit = 5;
    auto lines = [&](LineReader &r) {
        QList<QByteArray> out;
        QByteArray l;
        while (r.readRawLine(l))
            out.append(l);
        return out;
    };
    LineReader whole(data, limit);
    const QList<QByteArray> expected = lines(whole);
    for (int chunk : { 1, 2, 3, 5, 7, 64 }) {
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        LineReader streamed(&buffer, limit, chunk);
        EXPECT_EQ(lines(streamed), expected) << "chunk " << chunk;
        EXPECT_FALSE(streamed.readError());
    }
}

TEST(LineWriter, WritesCp932WithCrLfAndRefusesWhatItCannotHold)
{
    LineWriter w;
    w.writeLine(QStringLiteral("表"), QStringLiteral("タイトル"));
    w.writeLine(42);
    EXPECT_TRUE(w.ok());
    EXPECT_EQ(w.data(), QByteArray("\x95\x5c\r\n42\r\n"));

    LineWriter bad;
    bad.writeLine(QStringLiteral("ok"));
    bad.writeLine(QStringLiteral("x😀"), QStringLiteral("表レーベルのタイトル"));
    bad.writeLine(QString(255, 'a'), QStringLiteral("長い項目"));
    bad.writeLine(QStringLiteral("a\nb"), QStringLiteral("改行"));
    ASSERT_EQ(bad.problems().size(), 3);
    EXPECT_EQ(bad.problems()[0].line, 2);
    EXPECT_EQ(bad.problems()[1].byteLength, 255);
    EXPECT_TRUE(bad.problemText().contains(QStringLiteral("表レーベルのタイトル")));
    EXPECT_TRUE(bad.problemText().contains(QStringLiteral("長い項目")));
    EXPECT_TRUE(bad.problemText().contains(QStringLiteral("改行")));

    LineWriter fits;
    fits.writeLine(QString(254, 'a'));
    EXPECT_TRUE(fits.ok());
}

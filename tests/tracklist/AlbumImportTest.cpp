#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "ObservedEdit.h"
#include "TestSupport.h"
#include "document/DiscTitles.h"
#include "document/DocumentEditor.h"
#include "text/FileFilter.h"
#include "tracklist/AlbumImport.h"
#include "tracklist/AudioTags.h"
#include "tracklist/CueSheet.h"

using namespace cw;

// Readable failure output for the QString comparisons below.
void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

ImportFields fields(const QString &a, const QString &b = QString(), const QString &c = QString())
{
    return { a, b, c };
}

// Writes a silent audio file and tags it.
void makeTrack(const QString &path, double seconds, const AudioTags &tags = AudioTags())
{
    ASSERT_TRUE(makeSilentAudio(path, seconds)) << path.toStdString();
    ASSERT_TRUE(writeAudioTags(path, tags)) << path.toStdString();
}

AudioTags tagged(const char *title, int track, int disc = 0)
{
    AudioTags t;
    t.title = QString::fromUtf8(title);
    t.track = track;
    t.disc = disc;
    t.album = QStringLiteral("夏の記録");
    t.albumArtist = QStringLiteral("楽団");
    return t;
}

// Every rule of a single-file sheet: disc and track commands, the commands
// that say nothing about the list, distances between INDEX 01 lines with the
// gaps, and the end of the FILE for the last track.
const char *const kSheet = "REM GENRE Pop\r\n"
                           "REM DATE 1999\r\n"
                           "CATALOG 4988001234567\r\n"
                           "PERFORMER \"楽団\"\r\n"
                           "TITLE \"夏の記録\"\r\n"
                           "FILE \"album.wav\" WAVE\r\n"
                           "  TRACK 01 AUDIO\r\n"
                           "    TITLE \"始まりの曲\"\r\n"
                           "    PERFORMER \"楽団\"\r\n"
                           "    ISRC JPXX09900001\r\n"
                           "    FLAGS DCP\r\n"
                           "    INDEX 01 00:00:00\r\n"
                           "  TRACK 02 AUDIO\r\n"
                           "    TITLE \"客演\"\r\n"
                           "    PERFORMER \"歌手\"\r\n"
                           "    INDEX 00 00:02:00\r\n"
                           "    INDEX 01 00:03:00\r\n"
                           "    POSTGAP 00:01:00\r\n"
                           "  TRACK 03 AUDIO\r\n"
                           "    TITLE \"終わり\"\r\n"
                           "    PREGAP 00:00:74\r\n"
                           "    INDEX 01 00:07:37\r\n";

} // namespace

TEST(AlbumImportTime, Format)
{
    const std::pair<qint64, const char *> cases[]
        = { { 0, "0:00" }, { 999, "0:00" }, { 59999, "0:59" }, { 61000, "1:01" },
              { 3599999, "59:59" }, { 3600000, "1:00:00" }, { 36061999, "10:01:01" }, { -1, "" } };
    for (const auto &[ms, text] : cases)
        EXPECT_EQ(formatPlayingTime(ms), QString::fromLatin1(text)) << ms;
}

TEST(AlbumImportCue, TimeSyntax)
{
    EXPECT_EQ(parseCueTime("00:00:00"), 0);
    EXPECT_EQ(parseCueTime("01:02:03"), (62 * 75 + 3));
    EXPECT_EQ(parseCueTime("120:00:74"), (7200 * 75 + 74)); // past 99 minutes
    for (const char *bad : { "00:60:00", "00:00:75", "1:2", "aa:00:00", "", "1234567:00:00",
             "-1:00:00", "00:00:00:00" })
        EXPECT_FALSE(parseCueTime(bad).has_value()) << bad;
}

TEST(AlbumImportCue, SingleFileSheetInEveryEncoding)
{
    QTemporaryDir dir;
    makeTrack(dir.filePath("album.wav"), 10);
    const QString text = QString::fromUtf8(kSheet);
    const QByteArray encodings[]
        = { text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), sjis(text) };
    for (const QByteArray &data : encodings) {
        const QString path = dir.filePath("album.cue");
        writeAll(path, data);
        RecordingMessages messages;
        const std::optional<AlbumFields> album = readCueSheetFile(path, messages);
        ASSERT_TRUE(album) << messages.messages.join('\n').toStdString();
        EXPECT_TRUE(messages.messages.isEmpty());
        EXPECT_EQ(album->discTitle, QStringLiteral("夏の記録"));
        EXPECT_EQ(album->discPerformer, QStringLiteral("楽団"));
        // 3 s; 4.49 s + POSTGAP 1 s + PREGAP 0.99 s; 10 s - 7.49 s.
        const QList<ImportFields> expected = { fields("1", QStringLiteral("始まりの曲"), "0:03"),
            fields("2", QStringLiteral("客演 / 歌手"), "0:06"),
            fields("3", QStringLiteral("終わり"), "0:02") };
        EXPECT_EQ(album->lines, expected);
    }
}

TEST(AlbumImportCue, MultiFileHiddenTrackAndBadIndexes)
{
    QTemporaryDir dir;
    makeTrack(dir.filePath("01.flac"), 4);
    makeTrack(dir.filePath("02.flac"), 3);
    // Track 2's gap lies at the end of the first file; a sheet naming the WAV
    // finds the FLAC of the same name. Track 1 hides 30 s before INDEX 01 in
    // the second sheet.
    const struct
    {
        const char *sheet;
        QStringList times;
    } cases[] = {
        { "FILE \"01.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
          "INDEX 00 00:03:00\nFILE \"02.wav\" WAVE\nINDEX 01 00:00:00\n",
            { "0:04", "0:03" } },
        { "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:30:00\n"
          "TRACK 02 AUDIO\nINDEX 01 03:30:00\nTRACK 03 AUDIO\nINDEX 01 100:00:00\n"
          "TRACK 04 AUDIO\nINDEX 01 120:30:00\n",
            { "3:00", "1:36:30", "20:30", "" } }, // the FILE does not exist: no last time
        // Missing and out-of-order INDEX lines leave times empty.
        { "FILE \"01.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:02:00\nTRACK 02 AUDIO\n"
          "INDEX 01 00:01:00\nTRACK 03 AUDIO\nTRACK 04 AUDIO\nINDEX 01 00:03:00\n",
            { "", "", "", "0:01" } },
        // A data track ends the audio before it and is not listed.
        { "FILE \"01.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 MODE1/2352\n"
          "INDEX 01 00:02:00\n",
            { "0:02" } },
    };
    for (const auto &c : cases) {
        RecordingMessages messages;
        const std::optional<AlbumFields> album
            = readCueSheetData(QByteArray(c.sheet), dir.path(), "x.cue", messages);
        ASSERT_TRUE(album);
        QStringList times;
        for (const ImportFields &f : album->lines)
            times.append(f[2]);
        EXPECT_EQ(times, c.times) << c.sheet;
        EXPECT_TRUE(album->discTitle.isEmpty());
    }
}

TEST(AlbumImportCue, RefusedSheetsSayWhy)
{
    QTemporaryDir dir;
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) & 0xFF);
    const QString big = dir.filePath("big.cue");
    writeAll(big, QByteArray(kCueSheetSizeLimit + 1, 'A'));
    const struct
    {
        QString path;
        QByteArray data; // empty: not written
        QString reason;
    } cases[] = {
        { dir.filePath("bin.cue"), binary, ")はキューシートではありません" },
        { dir.filePath("empty.cue"), "REM nothing\r\nTITLE x\r\n",
            ")には音声トラックがありません" },
        { dir.filePath("missing.cue"), {}, ")がオープンできません" },
        { dir.path(), {}, ")がオープンできません" }, // a folder named as a sheet
        { big, {}, ")はキューシートではありません" },
    };
    for (const auto &c : cases) {
        if (!c.data.isEmpty())
            writeAll(c.path, c.data);
        RecordingMessages messages;
        EXPECT_FALSE(readCueSheetFile(c.path, messages));
        EXPECT_EQ(messages.messages, QStringList { "ファイル(" + c.path + c.reason });
    }
}

TEST(AlbumImportAudio, OrderTitlesLengthsAndUnreadableFiles)
{
    QTemporaryDir dir;
    makeTrack(dir.filePath("z.flac"), 2, tagged("二枚目の一曲目", 1, 2));
    makeTrack(dir.filePath("b.ogg"), 3, tagged("三曲目", 3, 1));
    makeTrack(dir.filePath("a.opus"), 1, tagged("一曲目", 1, 1));
    makeTrack(dir.filePath("untitled.wav"), 1.5, tagged("", 2, 1));
    makeTrack(dir.filePath("no number 2.flac"), 1, tagged("番号なしB", 0, 1));
    makeTrack(dir.filePath("no number 10.flac"), 1, tagged("番号なしC", 0, 1));
    writeAll(dir.filePath("fake.mp3"), "this is no audio");
    // A FLAC cut in the middle: its header still gives the length.
    makeTrack(dir.filePath("cut.flac"), 1, tagged("途中まで", 9, 3));
    QByteArray cut = readAll(dir.filePath("cut.flac"));
    writeAll(dir.filePath("cut.flac"), cut.left(cut.size() / 2));
    writeAll(dir.filePath("cover.jpg"), "not listed");

    RecordingMessages messages;
    const std::optional<AlbumFields> album = readAudioFolder(dir.path(), messages);
    ASSERT_TRUE(album);
    const QList<ImportFields> expected = { fields("1", QStringLiteral("一曲目"), "0:01"),
        fields("2", "untitled", "0:01"), fields("3", QStringLiteral("三曲目"), "0:03"),
        fields("", QStringLiteral("番号なしB"), "0:01"),
        fields("", QStringLiteral("番号なしC"), "0:01"),
        fields("1", QStringLiteral("二枚目の一曲目"), "0:02"),
        fields("9", QStringLiteral("途中まで"), "0:01") };
    EXPECT_EQ(album->lines, expected);
    EXPECT_EQ(messages.messages,
        QStringList { "次のファイルは音声ファイルとして読めないため飛ばしました\n"
            + dir.filePath("fake.mp3") });
    EXPECT_EQ(album->discTitle, QStringLiteral("夏の記録"));
    EXPECT_EQ(album->discPerformer, QStringLiteral("楽団"));
}

TEST(AlbumImportAudio, NothingReadableIsRefused)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("a.flac"), "x");
    writeAll(dir.filePath("b.ogg"), QByteArray());
    RecordingMessages messages;
    EXPECT_FALSE(readAudioFiles({ dir.filePath("a.flac"), dir.filePath("b.ogg") }, messages));
    EXPECT_EQ(messages.messages,
        QStringList { "音声ファイルとして読めるファイルがありません\n" + dir.filePath("a.flac")
            + "\n" + dir.filePath("b.ogg") });
    messages.messages.clear();
    QDir(dir.path()).mkdir("empty");
    EXPECT_FALSE(readAudioFolder(dir.filePath("empty"), messages));
    EXPECT_EQ(messages.messages,
        QStringList { "フォルダ(" + dir.filePath("empty") + ")には音声ファイルがありません" });
}

TEST(AlbumImportAudio, DiscPerformerFallsBackToACommonArtist)
{
    QTemporaryDir dir;
    AudioTags a;
    a.artist = QStringLiteral("歌手");
    a.album = QStringLiteral("盤A");
    AudioTags b = a;
    b.album = QStringLiteral("盤B");
    makeTrack(dir.filePath("1.flac"), 1, a);
    makeTrack(dir.filePath("2.flac"), 1, b);
    RecordingMessages messages;
    const std::optional<AlbumFields> album
        = readAudioFiles({ dir.filePath("2.flac"), dir.filePath("1.flac") }, messages);
    ASSERT_TRUE(album);
    EXPECT_EQ(album->discPerformer, QStringLiteral("歌手"));
    EXPECT_TRUE(album->discTitle.isEmpty()); // the albums differ
    // Without track numbers the names decide.
    EXPECT_EQ(album->lines[0][1], "1");
}

namespace {

QByteArray le32(qsizetype n)
{
    const quint32 v = quint32(n);
    const char bytes[4] = { char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
        char(v >> 24) };
    return QByteArray(bytes, 4);
}

// A silent WAV tagged only with a RIFF INFO list, as recorders and rippers
// write it: sox makes the audio, the LIST chunk is appended here.
void makeInfoWav(
    const QString &path, double seconds, const QList<std::pair<QByteArray, QString>> &fields)
{
    ASSERT_TRUE(makeSilentAudio(path, seconds)) << path.toStdString();
    QByteArray info("INFO");
    for (const auto &[id, value] : fields) {
        const QByteArray text = value.toUtf8() + '\0';
        info += id + le32(text.size()) + text;
        if (text.size() % 2)
            info += '\0';
    }
    QByteArray wav = readAll(path);
    ASSERT_TRUE(wav.startsWith("RIFF"));
    ASSERT_FALSE(wav.contains("ID3"));
    wav += "LIST" + le32(info.size()) + info;
    wav.replace(4, 4, le32(wav.size() - 8));
    ASSERT_TRUE(writeAll(path, wav));
}

} // namespace

TEST(AlbumImportAudio, WavInfoTagsGiveTitlesNumbersAndTheDisc)
{
    QTemporaryDir dir;
    makeInfoWav(dir.filePath("a.wav"), 2,
        { { "INAM", QStringLiteral("二曲目") }, { "IART", QStringLiteral("楽団") },
            { "IPRD", QStringLiteral("夏の記録") }, { "IPRT", "2" } });
    makeInfoWav(dir.filePath("b.wav"), 1,
        { { "INAM", QStringLiteral("一曲目") }, { "IART", QStringLiteral("楽団") },
            { "IPRD", QStringLiteral("夏の記録") }, { "IPRT", "1" } });
    const std::optional<AudioTags> tags = readAudioTags(dir.filePath("a.wav"));
    ASSERT_TRUE(tags);
    EXPECT_EQ(tags->title, QStringLiteral("二曲目"));
    EXPECT_EQ(tags->artist, QStringLiteral("楽団"));
    EXPECT_EQ(tags->album, QStringLiteral("夏の記録"));
    EXPECT_EQ(tags->track, 2);
    EXPECT_EQ(tags->lengthMs, 2000);

    RecordingMessages messages;
    const std::optional<AlbumFields> album = readAudioFolder(dir.path(), messages);
    ASSERT_TRUE(album);
    EXPECT_TRUE(messages.messages.isEmpty());
    const QList<ImportFields> expected = { fields("1", QStringLiteral("一曲目"), "0:01"),
        fields("2", QStringLiteral("二曲目"), "0:02") };
    EXPECT_EQ(album->lines, expected);
    EXPECT_EQ(album->discTitle, QStringLiteral("夏の記録"));
    EXPECT_EQ(album->discPerformer, QStringLiteral("楽団"));
}

TEST(AlbumImportSources, KindsAndColumnRules)
{
    QTemporaryDir dir;
    makeTrack(dir.filePath("t.flac"), 65, tagged("曲", 4));
    writeAll(dir.filePath("list.txt"), sjis(QStringLiteral("1\t曲\t3:00\r\n")));
    EXPECT_EQ(listSourceKind(dir.filePath("t.FLAC")), ListSourceKind::Audio);
    EXPECT_EQ(listSourceKind(dir.filePath("a.Cue")), ListSourceKind::CueSheet);
    EXPECT_EQ(listSourceKind(dir.filePath("list.txt")), ListSourceKind::Text);
    EXPECT_EQ(listSourceKind(dir.path()), ListSourceKind::Folder);

    const std::array<std::array<const char *, 3>, 3> cells
        = { { { "", "4", "" }, { "4", "曲", "" }, { "4", "曲", "1:05" } } };
    for (int n = 1; n <= 3; ++n) {
        RecordingMessages messages;
        const std::optional<ListImportOutcome> r
            = importListSources({ dir.filePath("t.flac") }, ListEditorDefaults(), n, messages);
        ASSERT_TRUE(r);
        ASSERT_EQ(r->rows.size(), 1);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(r->rows[0].columns[k].text, QString::fromUtf8(cells[n - 1][k])) << n << k;
        EXPECT_EQ(r->rows[0].separate, n != 1);
        EXPECT_TRUE(r->offersTitles());
    }
    // Text files import as before and offer no titles.
    RecordingMessages messages;
    const std::optional<ListImportOutcome> text
        = importListSources({ dir.filePath("list.txt") }, ListEditorDefaults(), 3, messages);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rows[0].columns[2].text, "3:00");
    EXPECT_FALSE(text->offersTitles());
    EXPECT_FALSE(
        importListSources({ dir.filePath("none.txt") }, ListEditorDefaults(), 3, messages));
}

TEST(AlbumImportFilter, EntriesFollowTheEditorsOwn)
{
    const QString own = QStringLiteral("テキストファイル(*.txt)|*.TXT|全てのファイル(*.*)|*.*");
    EXPECT_EQ(withAlbumImportEntries(own),
        own
            + "|キューシート(*.cue)|*.CUE|音声ファイル(*.flac *.mp3 *.ogg *.opus *.m4a *.wav)|"
              "*.FLAC;*.MP3;*.OGG;*.OPUS;*.M4A;*.WAV");
    const QStringList qt = toQtFilters(withAlbumImportEntries(own));
    ASSERT_EQ(qt.size(), 4);
    EXPECT_EQ(qt[2], QStringLiteral("キューシート(*.cue) (*.CUE)"));
}

TEST(AlbumImportTitles, DiscTitlesGoThroughTheLinks)
{
    EXPECT_EQ(spineTitleFor("T", "P"), "P / T");
    EXPECT_EQ(spineTitleFor("", "P"), "P");
    EXPECT_EQ(frontTitleFor("", "P"), "P");
    EXPECT_EQ(frontTitleFor("T", "P"), "T");

    // Back and left spine follow the front, the right spine the left one.
    LabelDocument doc;
    DocumentEditor ed(doc);
    ed.setTitleSameAsFront(Surface::Bottom, true);
    ed.setTitleSameAsFront(Surface::Left, true);
    ed.setTitleSameAsLeft(true);
    const ObservedEdit r = observeEdit(doc,
        [&] { return applyDiscTitles(ed, QStringLiteral("夏の記録"), QStringLiteral("楽団")); });
    EXPECT_TRUE(doc.top.title.use && doc.left.title.use && doc.right.title.use);
    EXPECT_EQ(doc.top.title.text, QStringLiteral("夏の記録"));
    EXPECT_EQ(doc.bottom.title.text, QStringLiteral("夏の記録"));
    EXPECT_EQ(doc.left.title.text, QStringLiteral("夏の記録"));
    EXPECT_EQ(doc.right.title.text, QStringLiteral("夏の記録"));
    EXPECT_TRUE(r.refreshes(PreviewPage::Front) && r.refreshes(PreviewPage::Back));
    EXPECT_TRUE(r.changed.contains("BottomTitle"));

    // Unlinked spines get "performer / title"; the back is left alone.
    LabelDocument plain;
    DocumentEditor ed2(plain);
    applyDiscTitles(ed2, QStringLiteral("夏の記録"), QStringLiteral("楽団"));
    EXPECT_EQ(plain.left.title.text, QStringLiteral("楽団 / 夏の記録"));
    EXPECT_EQ(plain.right.title.text, QStringLiteral("楽団 / 夏の記録"));
    EXPECT_TRUE(plain.bottom.title.text.isEmpty());
    EXPECT_FALSE(plain.bottom.title.use);
    EXPECT_TRUE(applyDiscTitles(ed2, QString(), QString()).isEmpty());
}

namespace {
struct ScriptedConfirm : ConfirmSink
{
    bool answer = false;
    QStringList asked;
    bool confirm(const QString &text, const QString &caption) override
    {
        asked.append(caption + ":" + text);
        return answer;
    }
};
} // namespace

TEST(AlbumImportTitles, AskedOnceOnlyWhenTheImportFoundTitles)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    ListImportOutcome found;
    found.discTitle = QStringLiteral("夏の記録");
    ScriptedConfirm no;
    EXPECT_TRUE(offerDiscTitles(ed, found, no).isEmpty());
    EXPECT_EQ(no.asked, QStringList { QStringLiteral("確認:タイトルにも使いますか？") });
    EXPECT_TRUE(doc.top.title.text.isEmpty());
    ScriptedConfirm yes;
    yes.answer = true;
    EXPECT_TRUE(offerDiscTitles(ed, ListImportOutcome(), yes).isEmpty());
    EXPECT_TRUE(yes.asked.isEmpty());
    EXPECT_FALSE(offerDiscTitles(ed, found, yes).isEmpty());
    EXPECT_EQ(doc.top.title.text, QStringLiteral("夏の記録"));
    EXPECT_EQ(doc.left.title.text, QStringLiteral("夏の記録"));
}

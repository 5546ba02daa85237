// Album import figures: a folder of 30 FLAC files read through the tag
// library, and a cue sheet of 99 tracks whose last track takes the length of
// its FLAC file.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/UserPrompts.h"
#include "tracklist/AlbumImport.h"
#include "tracklist/AudioTags.h"

using namespace cw;

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// One tagged FLAC of `seconds` of silence.
bool makeFlac(const QString &path, int seconds, int track)
{
    const QString wav = path + QStringLiteral(".wav");
    const bool ok = run(QStringLiteral("sox"),
                        { "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "trim", "0",
                            QString::number(seconds) })
        && run(QStringLiteral("flac"), { "-s", "-f", "-o", path, wav });
    QFile::remove(wav);
    if (!ok)
        return false;
    AudioTags tags;
    tags.title = QStringLiteral("曲 %1").arg(track);
    tags.album = QStringLiteral("盤");
    tags.albumArtist = QStringLiteral("楽団");
    tags.track = track;
    return writeAudioTags(path, tags);
}

void BM_ImportFolderOf30Flac(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("01.flac");
    if (!makeFlac(first, 2, 1)) {
        state.SkipWithError("sox/flac failed");
        return;
    }
    for (int i = 2; i <= 30; ++i) {
        const QString path
            = dir.filePath(QStringLiteral("%1.flac").arg(i, 2, 10, QLatin1Char('0')));
        QFile::copy(first, path);
        AudioTags tags;
        tags.title = QStringLiteral("曲 %1").arg(i);
        tags.track = i;
        writeAudioTags(path, tags);
    }
    NullMessageSink quiet;
    for (auto _ : state) {
        const std::optional<ListImportOutcome> r
            = importListSources({ dir.path() }, ListEditorDefaults(), 3, quiet);
        if (!r || r->rows.size() != 30)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ImportFolderOf30Flac)->Unit(benchmark::kMillisecond);

void BM_ImportCueSheetOf99Tracks(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!makeFlac(dir.filePath("album.flac"), 600, 1)) {
        state.SkipWithError("sox/flac failed");
        return;
    }
    QString sheet = QStringLiteral("REM GENRE Pop\r\nPERFORMER \"楽団\"\r\nTITLE \"盤\"\r\n"
                                   "FILE \"album.wav\" WAVE\r\n");
    for (int i = 0; i < 99; ++i) {
        const int frames = i * 6 * 75; // 6 s apart
        sheet += QStringLiteral(
            "  TRACK %1 AUDIO\r\n    TITLE \"曲 %1\"\r\n    PERFORMER \"歌手 %1\"\r\n"
            "    ISRC JPXX09900%1\r\n    INDEX 01 %2:%3:%4\r\n")
                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                     .arg(frames / 75 / 60, 2, 10, QLatin1Char('0'))
                     .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
                     .arg(frames % 75, 2, 10, QLatin1Char('0'));
    }
    const QString path = dir.filePath("album.cue");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(sheet.toUtf8());
    }
    NullMessageSink quiet;
    for (auto _ : state) {
        const std::optional<ListImportOutcome> r
            = importListSources({ path }, ListEditorDefaults(), 3, quiet);
        if (!r || r->rows.size() != 99 || r->rows.last().columns[2].text != QLatin1String("0:12"))
            state.SkipWithError("wrong rows");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ImportCueSheetOf99Tracks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

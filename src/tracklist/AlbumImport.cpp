#include "tracklist/AlbumImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "base/UiText.h"
#include "tracklist/AudioTags.h"
#include "tracklist/CueSheet.h"

namespace cw {

namespace {

const QStringList &audioExtensions()
{
    static const QStringList list
        = { QStringLiteral("flac"), QStringLiteral("mp3"), QStringLiteral("ogg"),
              QStringLiteral("opus"), QStringLiteral("m4a"), QStringLiteral("wav") };
    return list;
}

bool hasAudioExtension(const QString &path)
{
    return audioExtensions().contains(QFileInfo(path).suffix().toLower());
}

QString fileMessage(const QString &path, const char *reason)
{
    return UiText::tr(reason).arg(path);
}

// At most this many file names are listed in one message.
constexpr int kListedFiles = 20;

QString listedFiles(const QString &head, const QStringList &paths)
{
    QString text = head;
    for (qsizetype i = 0; i < paths.size() && i < kListedFiles; ++i)
        text += QLatin1Char('\n') + paths[i];
    if (paths.size() > kListedFiles)
        text += UiText::tr("\nほか%1件").arg(paths.size() - kListedFiles);
    return text;
}

// Only regular files: a pipe would keep the import waiting for a writer.
std::optional<QByteArray> readSmallFile(const QString &path, qint64 limit, bool *tooLarge)
{
    *tooLarge = false;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > limit) {
        *tooLarge = true;
        return std::nullopt;
    }
    QByteArray data = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    if (data.size() > limit) {
        *tooLarge = true;
        return std::nullopt;
    }
    return data;
}

// The audio file a cue sheet's FILE names: the name itself beside the sheet,
// or, when it is not there, a file of the same base name with one of the
// audio extensions (sheets often name the WAV that was later compressed).
QString findCueFile(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return QString();
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QDir dir(folder);
    const QString direct = dir.filePath(relative);
    if (QFileInfo(direct).isFile())
        return direct;
    const QFileInfo wanted(direct);
    const QDir parent = wanted.dir();
    for (const QString &ext : audioExtensions()) {
        const QString candidate
            = parent.filePath(wanted.completeBaseName() + QLatin1Char('.') + ext);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

struct ReadAudio
{
    QString path;
    AudioTags tags;
};

// The value every file that has one agrees on; empty when none has one or
// they differ.
QString commonValue(const QList<ReadAudio> &files, QString AudioTags::*field)
{
    QString value;
    for (const ReadAudio &f : files) {
        const QString &v = f.tags.*field;
        if (v.isEmpty())
            continue;
        if (value.isEmpty())
            value = v;
        else if (v != value)
            return QString();
    }
    return value;
}

// File names in natural order: runs of digits compare by their value, so
// "2.flac" comes before "10.flac"; otherwise case-insensitively.
int compareNatural(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Compare the runs without their leading zeros: longer is larger.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == QLatin1Char('0'))
                ++si;
            while (sj + 1 < ej && b[sj] == QLatin1Char('0'))
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            const int c = QStringView(a).mid(si, ei - si).compare(QStringView(b).mid(sj, ej - sj));
            if (c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        const int c = QString::compare(QString(a[i]), QString(b[j]), Qt::CaseInsensitive);
        if (c != 0)
            return c;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

} // namespace

QString albumImportFilterEntries()
{
    return UiText::tr("キューシート(*.cue)|*.CUE|"
                      "音声ファイル(*.flac *.mp3 *.ogg *.opus *.m4a *.wav)|"
                      "*.FLAC;*.MP3;*.OGG;*.OPUS;*.M4A;*.WAV");
}

QString withAlbumImportEntries(const QString &filter)
{
    if (filter.isEmpty())
        return albumImportFilterEntries();
    return filter + QLatin1Char('|') + albumImportFilterEntries();
}

ListSourceKind listSourceKind(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return ListSourceKind::Folder;
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("cue"))
        return ListSourceKind::CueSheet;
    if (audioExtensions().contains(suffix))
        return ListSourceKind::Audio;
    return ListSourceKind::Text;
}

QString formatPlayingTime(qint64 ms)
{
    if (ms < 0)
        return QString();
    const qint64 seconds = ms / 1000;
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

std::optional<AlbumFields> readCueSheetData(
    const QByteArray &data, const QString &folder, const QString &path, MessageSink &messages)
{
    const std::optional<QString> text = decodeCueText(data);
    if (!text) {
        messages.showMessage(fileMessage(
            path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)はキューシートではありません")));
        return std::nullopt;
    }
    const CueSheet sheet = parseCueSheet(*text);
    const bool anyAudio = std::any_of(
        sheet.tracks.begin(), sheet.tracks.end(), [](const CueTrack &t) { return t.audio; });
    if (!anyAudio) {
        messages.showMessage(fileMessage(
            path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)には音声トラックがありません")));
        return std::nullopt;
    }
    const QList<qint64> lengths = cueTrackLengths(sheet, [&](int file) -> std::optional<qint64> {
        if (folder.isEmpty())
            return std::nullopt;
        const QString found = findCueFile(folder, sheet.files[file]);
        if (found.isEmpty())
            return std::nullopt;
        return readAudioLength(found);
    });
    AlbumFields album;
    album.discTitle = sheet.title;
    album.discPerformer = sheet.performer;
    for (qsizetype i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack &t = sheet.tracks[i];
        if (!t.audio)
            continue;
        QString title = t.title;
        if (!t.performer.isEmpty() && t.performer != sheet.performer)
            title += (title.isEmpty() ? QString() : QStringLiteral(" / ")) + t.performer;
        album.lines.append({ t.number > 0 ? QString::number(t.number) : QString(), title,
            formatPlayingTime(lengths[i]) });
    }
    return album;
}

std::optional<AlbumFields> readCueSheetFile(const QString &path, MessageSink &messages)
{
    bool tooLarge = false;
    const std::optional<QByteArray> data = readSmallFile(path, kCueSheetSizeLimit, &tooLarge);
    if (!data) {
        messages.showMessage(tooLarge
                ? fileMessage(path,
                    QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)はキューシートではありません"))
                : fileMessage(
                    path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)がオープンできません")));
        return std::nullopt;
    }
    return readCueSheetData(*data, QFileInfo(path).absolutePath(), path, messages);
}

std::optional<AlbumFields> readAudioFiles(const QStringList &paths, MessageSink &messages)
{
    QList<ReadAudio> files;
    QStringList unreadable;
    for (const QString &path : paths) {
        if (std::optional<AudioTags> tags = readAudioTags(path))
            files.append({ path, *tags });
        else
            unreadable.append(path);
    }
    if (files.isEmpty()) {
        messages.showMessage(
            listedFiles(UiText::tr("音声ファイルとして読めるファイルがありません"), unreadable));
        return std::nullopt;
    }
    if (!unreadable.isEmpty())
        messages.showMessage(listedFiles(
            UiText::tr("次のファイルは音声ファイルとして読めないため飛ばしました"), unreadable));

    const auto trackKey = [](const ReadAudio &f) {
        return f.tags.track > 0 ? f.tags.track : std::numeric_limits<int>::max();
    };
    std::stable_sort(files.begin(), files.end(), [&](const ReadAudio &a, const ReadAudio &b) {
        if (a.tags.disc != b.tags.disc)
            return a.tags.disc < b.tags.disc;
        if (trackKey(a) != trackKey(b))
            return trackKey(a) < trackKey(b);
        return compareNatural(QFileInfo(a.path).fileName(), QFileInfo(b.path).fileName()) < 0;
    });

    AlbumFields album;
    album.discTitle = commonValue(files, &AudioTags::album);
    album.discPerformer = commonValue(files, &AudioTags::albumArtist);
    if (album.discPerformer.isEmpty()
        && std::none_of(files.begin(), files.end(),
            [](const ReadAudio &f) { return !f.tags.albumArtist.isEmpty(); }))
        album.discPerformer = commonValue(files, &AudioTags::artist);
    album.lines.reserve(files.size());
    for (const ReadAudio &f : files) {
        const QString title
            = f.tags.title.isEmpty() ? QFileInfo(f.path).completeBaseName() : f.tags.title;
        album.lines.append({ f.tags.track > 0 ? QString::number(f.tags.track) : QString(), title,
            formatPlayingTime(f.tags.lengthMs) });
    }
    return album;
}

std::optional<AlbumFields> readAudioFolder(const QString &path, MessageSink &messages)
{
    const QDir dir(path);
    if (!QFileInfo(path).isDir() || !dir.isReadable()) {
        messages.showMessage(UiText::tr("フォルダ(%1)がオープンできません").arg(path));
        return std::nullopt;
    }
    QStringList paths;
    const QFileInfoList entries
        = dir.entryInfoList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QFileInfo &info : entries)
        if (hasAudioExtension(info.fileName()))
            paths.append(info.filePath());
    if (paths.isEmpty()) {
        messages.showMessage(UiText::tr("フォルダ(%1)には音声ファイルがありません").arg(path));
        return std::nullopt;
    }
    return readAudioFiles(paths, messages);
}

std::optional<ListImportOutcome> importListSources(const QStringList &paths,
    const ListEditorDefaults &defaults, int columnCount, MessageSink &messages)
{
    if (paths.isEmpty())
        return std::nullopt;
    ListImportOutcome outcome;
    std::optional<AlbumFields> album;
    if (paths.size() > 1) {
        album = readAudioFiles(paths, messages);
    } else {
        const QString &path = paths.first();
        switch (listSourceKind(path)) {
        case ListSourceKind::Text:
            if (ImportListFile(path, outcome.rows, defaults, columnCount, messages) < 0)
                return std::nullopt;
            return outcome;
        case ListSourceKind::CueSheet:
            album = readCueSheetFile(path, messages);
            break;
        case ListSourceKind::Audio:
            album = readAudioFiles(paths, messages);
            break;
        case ListSourceKind::Folder:
            album = readAudioFolder(path, messages);
            break;
        }
    }
    if (!album)
        return std::nullopt;
    appendImportedRows(outcome.rows, album->lines, defaults, columnCount);
    outcome.discTitle = album->discTitle;
    outcome.discPerformer = album->discPerformer;
    return outcome;
}

QString frontTitleFor(const QString &discTitle, const QString &discPerformer)
{
    return discTitle.isEmpty() ? discPerformer : discTitle;
}

QString spineTitleFor(const QString &discTitle, const QString &discPerformer)
{
    if (discTitle.isEmpty() || discPerformer.isEmpty())
        return frontTitleFor(discTitle, discPerformer);
    return discPerformer + QStringLiteral(" / ") + discTitle;
}

} // namespace cw

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/UserPrompts.h"
#include "tracklist/ListImport.h"

namespace cw {

// Track lists read from the album itself: a cue sheet, audio files or a folder
// of them. Each track becomes the same three fields a text line gives: number,
// title and playing time.

// The entries the list editor's "ファイル" dialog offers after its own, in the
// "description|patterns" form of its filter.
QString albumImportFilterEntries();
// `filter` with those entries appended after its own.
QString withAlbumImportEntries(const QString &filter);

// What a chosen path is read as.
enum class ListSourceKind {
    Text, // tab-separated text or CSV (ImportListFile)
    CueSheet, // "*.cue"
    Audio, // "*.flac", "*.mp3", "*.ogg", "*.opus", "*.m4a", "*.wav"
    Folder // the audio files in a folder
};
ListSourceKind listSourceKind(const QString &path);

// A playing time as shown in the list: "m:ss", from one hour "h:mm:ss";
// rounded down to the second. Empty for a negative time.
QString formatPlayingTime(qint64 ms);

struct AlbumFields
{
    QList<ImportFields> lines;
    // The disc's title and performer when known (the cue sheet's TITLE and
    // PERFORMER before the first track; the album and album-artist tags).
    QString discTitle;
    QString discPerformer;
};

// A cue sheet: one line per audio track in sheet order; the track's TITLE,
// followed by " / " and its PERFORMER when that differs from the disc's. The
// FILE names are looked up beside the sheet (a file of the same name with
// another audio extension stands in for a missing one). Nothing after a
// message when the sheet cannot be read, is not text or has no audio track.
std::optional<AlbumFields> readCueSheetFile(const QString &path, MessageSink &messages);
// The same from the sheet's bytes; `folder` is where its FILE names are.
std::optional<AlbumFields> readCueSheetData(
    const QByteArray &data, const QString &folder, const QString &path, MessageSink &messages);

// Audio files in the order of disc number, track number (files without one
// after those with one) and file name; the title tag, or the file name
// without its extension when there is none. Files that cannot be read are
// left out and named in one message; nothing (after the message) when no
// file could be read.
std::optional<AlbumFields> readAudioFiles(const QStringList &paths, MessageSink &messages);
// The audio files directly in a folder (by their extensions), as above.
std::optional<AlbumFields> readAudioFolder(const QString &path, MessageSink &messages);

struct ListImportOutcome
{
    // The new rows, made as the editor's "新規" makes them, with the fields put
    // into the cells by the column count; the caller appends them.
    QList<TListData> rows;
    QString discTitle; // empty when not known
    QString discPerformer;
    bool offersTitles() const { return !discTitle.isEmpty() || !discPerformer.isEmpty(); }
};

// The import behind "ファイル" and `casewright-cli import-list`: one text or
// CSV file (read by ImportListFile), one cue sheet, one folder, or one or more
// audio files. Nothing after a message when the import is refused; the caller's
// list is then left as it was.
std::optional<ListImportOutcome> importListSources(const QStringList &paths,
    const ListEditorDefaults &defaults, int columnCount, MessageSink &messages);

// The title texts a disc title and performer give: the front title is the
// disc title (the performer when there is no title), the spines read
// "performer / title".
QString frontTitleFor(const QString &discTitle, const QString &discPerformer);
QString spineTitleFor(const QString &discTitle, const QString &discPerformer);

} // namespace cw

#pragma once

#include <QString>
#include <optional>

namespace cw {

// What the track list takes from one audio file. The tag library stays behind
// this header: nothing else in the program includes it.
struct AudioTags
{
    QString title;
    QString artist;
    QString album;
    QString albumArtist;
    int track = 0; // 0: no track number
    int disc = 0; // 0: no disc number
    qint64 lengthMs = -1; // -1: the length is not known
};

// Reads the tags and the audio length of a file (FLAC, MP3, Ogg Vorbis, Opus,
// M4A, WAV and the other formats the tag library knows, chosen by the name's
// extension and the file's contents). Nothing when the file cannot be opened
// or is not audio of a known kind.
std::optional<AudioTags> readAudioTags(const QString &path);

// The audio length alone, in milliseconds; nothing when it cannot be read.
std::optional<qint64> readAudioLength(const QString &path);

// Writes title, artist, album, album artist, track and disc number into an
// existing audio file (empty texts and zero numbers are left out). False when
// the file cannot be read or saved.
bool writeAudioTags(const QString &path, const AudioTags &tags);

} // namespace cw

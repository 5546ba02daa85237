#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace cw {

// Cue sheets: the track list of a disc image.

// CD audio has 75 frames a second.
constexpr int kCueFramesPerSecond = 75;
// Larger files are not read as cue sheets (a sheet of 99 tracks is a few
// kilobytes); this keeps a mistaken name from filling the memory.
constexpr qint64 kCueSheetSizeLimit = 1 << 20;

struct CueTrack
{
    int number = 0; // as written after TRACK
    bool audio = true; // TRACK nn AUDIO; data tracks are not listed
    QString title;
    QString performer;
    int file = -1; // index into CueSheet::files of the INDEX 01 line; -1 without one
    qint64 start = -1; // INDEX 01 in frames from the start of its file; -1: none
    qint64 pregap = 0; // PREGAP and POSTGAP in frames (silence not in the file)
    qint64 postgap = 0;
};

struct CueSheet
{
    QString title; // the disc's TITLE and PERFORMER (before the first TRACK)
    QString performer;
    QStringList files; // FILE names in order, as written
    QList<CueTrack> tracks;
};

// Turns the bytes of a cue sheet into text: UTF-8 after a UTF-8 byte-order
// mark, UTF-16 after a UTF-16 one, otherwise UTF-8 when the bytes are valid
// UTF-8 and CP932 when they are not. Nothing when the bytes hold a NUL outside
// UTF-16 (not a text file).
std::optional<QString> decodeCueText(const QByteArray &data);

// Reads the commands of a cue sheet's text. Unknown commands, REM, CATALOG,
// ISRC, FLAGS, SONGWRITER and the like are passed over; an INDEX with a time
// that is not mm:ss:ff (minutes of any length up to six digits, seconds below
// 60, frames below 75) is not taken.
CueSheet parseCueSheet(const QString &text);

// "mm:ss:ff" -> frames; nothing when malformed.
std::optional<qint64> parseCueTime(const QString &text);

// The playing time of each track in milliseconds (-1 when not known), in the
// order of CueSheet::tracks: the distance from its INDEX 01 to the next
// track's INDEX 01 in the same file, or to the end of its file (whose length
// `fileLengthMs` gives, by the FILE's index) when the next track starts in
// another file or there is none. PREGAP of the next track and POSTGAP of this
// one count as part of the distance. A track without INDEX 01, or whose next
// INDEX 01 does not come after its own, gets -1.
QList<qint64> cueTrackLengths(
    const CueSheet &sheet, const std::function<std::optional<qint64>(int file)> &fileLengthMs);

} // namespace cw

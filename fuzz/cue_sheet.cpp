// The cue-sheet reader: decoding, commands and playing times. The first byte
// picks whether the sheet's files have a length; the rest is the sheet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tracklist/AlbumImport.h"
#include "tracklist/CueSheet.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > size_t(kCueSheetSizeLimit))
        return 0;
    const bool filesKnown = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const std::optional<QString> text = decodeCueText(bytes);
    if (!text)
        return 0;
    const CueSheet sheet = parseCueSheet(*text);
    const QList<qint64> lengths = cueTrackLengths(sheet, [&](int file) -> std::optional<qint64> {
        if (file < 0 || file >= sheet.files.size())
            std::abort(); // only files the sheet names are asked for
        if (!filesKnown)
            return std::nullopt;
        return qint64(file + 1) * 3600000;
    });
    if (lengths.size() != sheet.tracks.size())
        std::abort();
    for (qsizetype i = 0; i < lengths.size(); ++i) {
        if (lengths[i] < -1)
            std::abort();
        if (lengths[i] >= 0 && formatPlayingTime(lengths[i]).isEmpty())
            std::abort();
        const CueTrack &t = sheet.tracks[i];
        if ((t.start < 0) != (t.file < 0) || t.file >= sheet.files.size())
            std::abort();
    }
    // The whole path without a folder: no file is looked up.
    NullMessageSink quiet;
    const std::optional<AlbumFields> album = readCueSheetData(bytes, QString(), "x.cue", quiet);
    if (album && album->lines.isEmpty())
        std::abort(); // a sheet is either refused or lists a track
    return 0;
}

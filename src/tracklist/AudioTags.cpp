#include "tracklist/AudioTags.h"

#include <QFile>
#include <QFileInfo>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>
#include <taglib/tstring.h>

namespace cw {

namespace {

QString toQString(const TagLib::String &s)
{
    return QString::fromUtf8(s.toCString(true));
}

TagLib::String toTagString(const QString &s)
{
    return TagLib::String(s.toUtf8().constData(), TagLib::String::UTF8);
}

// "3" or "3/12": the number in front of the slash; 0 when there is none.
int leadingNumber(const TagLib::String &s)
{
    const QString text = toQString(s).trimmed();
    const QString head = text.section(QLatin1Char('/'), 0, 0).trimmed();
    bool ok = false;
    const int n = head.toInt(&ok);
    return ok && n > 0 ? n : 0;
}

QString firstValue(const TagLib::PropertyMap &map, const char *key)
{
    const auto it = map.find(key);
    if (it == map.end() || it->second.isEmpty())
        return QString();
    return toQString(it->second.front());
}

// Only regular files: a pipe or a device could keep the reader waiting.
bool isReadableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

std::optional<AudioTags> readAudioTags(const QString &path)
{
    if (!isReadableFile(path))
        return std::nullopt;
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileRef file(name.constData(), true, TagLib::AudioProperties::Average);
    // Some readers take any bytes for a stream without frames; audio has a
    // sample rate.
    if (file.isNull() || !file.audioProperties() || file.audioProperties()->sampleRate() <= 0)
        return std::nullopt;
    // The property map joins every tag a file holds: a WAV file's basic tag
    // is its ID3v2 tag alone, while its RIFF INFO chunk (INAM, IART, IPRD,
    // IPRT) shows only there. The basic tag fills what the map leaves empty.
    const TagLib::PropertyMap properties = file.file()->properties();
    const TagLib::Tag *tag = file.tag();
    const auto text = [&](const char *key, TagLib::String (TagLib::Tag::*basic)() const) {
        const QString value = firstValue(properties, key).trimmed();
        return value.isEmpty() && tag ? toQString((tag->*basic)()).trimmed() : value;
    };
    AudioTags tags;
    tags.title = text("TITLE", &TagLib::Tag::title);
    tags.artist = text("ARTIST", &TagLib::Tag::artist);
    tags.album = text("ALBUM", &TagLib::Tag::album);
    tags.albumArtist = firstValue(properties, "ALBUMARTIST").trimmed();
    if (const auto it = properties.find("DISCNUMBER");
        it != properties.end() && !it->second.isEmpty())
        tags.disc = leadingNumber(it->second.front());
    if (const auto it = properties.find("TRACKNUMBER");
        it != properties.end() && !it->second.isEmpty())
        tags.track = leadingNumber(it->second.front());
    if (tags.track <= 0 && tag)
        tags.track = int(tag->track());
    const int ms = file.audioProperties()->lengthInMilliseconds();
    tags.lengthMs = ms > 0 ? ms : -1;
    return tags;
}

std::optional<qint64> readAudioLength(const QString &path)
{
    const std::optional<AudioTags> tags = readAudioTags(path);
    if (!tags || tags->lengthMs < 0)
        return std::nullopt;
    return tags->lengthMs;
}

bool writeAudioTags(const QString &path, const AudioTags &tags)
{
    if (!isReadableFile(path))
        return false;
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileRef file(name.constData(), false);
    if (file.isNull())
        return false;
    TagLib::PropertyMap map = file.file()->properties();
    const auto put = [&map](const char *key, const QString &value) {
        if (!value.isEmpty())
            map.replace(key, TagLib::StringList(toTagString(value)));
    };
    put("TITLE", tags.title);
    put("ARTIST", tags.artist);
    put("ALBUM", tags.album);
    put("ALBUMARTIST", tags.albumArtist);
    if (tags.track > 0)
        put("TRACKNUMBER", QString::number(tags.track));
    if (tags.disc > 0)
        put("DISCNUMBER", QString::number(tags.disc));
    file.file()->setProperties(map);
    return file.save();
}

} // namespace cw

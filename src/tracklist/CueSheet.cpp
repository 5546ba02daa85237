#include "tracklist/CueSheet.h"

#include <QStringDecoder>

#include "text/Cp932.h"

namespace cw {

namespace {

// The first word of a line and the rest after it.
struct Command
{
    QString keyword;
    QString rest;
};

Command splitCommand(const QString &line)
{
    const QString trimmed = line.trimmed();
    qsizetype space = 0;
    while (space < trimmed.size() && !trimmed[space].isSpace())
        ++space;
    return { trimmed.left(space).toUpper(), trimmed.mid(space).trimmed() };
}

// A quoted value (up to the closing quote, or the end of the line when the
// quote is not closed) or, unquoted, the whole rest of the line.
QString textValue(const QString &rest)
{
    if (!rest.startsWith(QLatin1Char('"')))
        return rest;
    const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
    return close < 0 ? rest.mid(1) : rest.mid(1, close - 1);
}

// FILE "name" TYPE, or FILE name TYPE with the name unquoted.
QString fileName(const QString &rest)
{
    if (rest.startsWith(QLatin1Char('"')))
        return textValue(rest);
    const qsizetype lastSpace = rest.lastIndexOf(QLatin1Char(' '));
    return lastSpace < 0 ? rest : rest.left(lastSpace).trimmed();
}

QStringList words(const QString &rest)
{
    return rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool isValidUtf8(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(data);
    (void)text;
    return !decoder.hasError();
}

} // namespace

std::optional<QString> decodeCueText(const QByteArray &data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.contains('\0') ? std::nullopt
                                   : std::optional<QString>(QString::fromUtf8(data.mid(3)));
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(
            data.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        const QString text = decoder(data.mid(2));
        if (text.contains(QChar(0)))
            return std::nullopt;
        return text;
    }
    if (data.contains('\0'))
        return std::nullopt;
    if (isValidUtf8(data))
        return QString::fromUtf8(data);
    return cp932::decode(data);
}

std::optional<qint64> parseCueTime(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    qint64 values[3];
    for (int i = 0; i < 3; ++i) {
        const QString &p = parts[i];
        if (p.isEmpty() || p.size() > (i == 0 ? 6 : 2))
            return std::nullopt;
        qint64 v = 0;
        for (QChar c : p) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            v = v * 10 + (c.unicode() - '0');
        }
        values[i] = v;
    }
    if (values[1] >= 60 || values[2] >= kCueFramesPerSecond)
        return std::nullopt;
    return (values[0] * 60 + values[1]) * kCueFramesPerSecond + values[2];
}

CueSheet parseCueSheet(const QString &text)
{
    CueSheet sheet;
    int currentFile = -1;
    CueTrack *track = nullptr;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        const Command c = splitCommand(QStringView(text).mid(pos, end - pos).toString());
        pos = end + 1;
        if (c.keyword.isEmpty())
            continue;
        if (c.keyword == QLatin1String("FILE")) {
            sheet.files.append(fileName(c.rest));
            currentFile = int(sheet.files.size() - 1);
        } else if (c.keyword == QLatin1String("TRACK")) {
            const QStringList w = words(c.rest);
            CueTrack t;
            t.number = w.isEmpty() ? 0 : w[0].toInt();
            t.audio
                = w.size() < 2 || w[1].compare(QLatin1String("AUDIO"), Qt::CaseInsensitive) == 0;
            sheet.tracks.append(t);
            track = &sheet.tracks.last();
        } else if (c.keyword == QLatin1String("TITLE")) {
            (track ? track->title : sheet.title) = textValue(c.rest).trimmed();
        } else if (c.keyword == QLatin1String("PERFORMER")) {
            (track ? track->performer : sheet.performer) = textValue(c.rest).trimmed();
        } else if (c.keyword == QLatin1String("INDEX") && track) {
            const QStringList w = words(c.rest);
            // Only the first INDEX 01 of a track counts.
            if (w.size() >= 2 && w[0].toInt() == 1 && track->start < 0 && currentFile >= 0) {
                if (const std::optional<qint64> t = parseCueTime(w[1])) {
                    track->start = *t;
                    track->file = currentFile;
                }
            }
        } else if ((c.keyword == QLatin1String("PREGAP") || c.keyword == QLatin1String("POSTGAP"))
            && track) {
            const QStringList w = words(c.rest);
            if (const std::optional<qint64> t = w.isEmpty() ? std::nullopt : parseCueTime(w[0]))
                (c.keyword == QLatin1String("PREGAP") ? track->pregap : track->postgap) = *t;
        }
        // REM, CATALOG, ISRC, FLAGS, SONGWRITER, CDTEXTFILE and anything
        // else say nothing about the list.
    }
    return sheet;
}

QList<qint64> cueTrackLengths(
    const CueSheet &sheet, const std::function<std::optional<qint64>(int file)> &fileLengthMs)
{
    QList<qint64> lengths;
    lengths.reserve(sheet.tracks.size());
    QList<std::optional<std::optional<qint64>>> fileLengths(sheet.files.size());
    const auto lengthOf = [&](int file) -> std::optional<qint64> {
        if (file < 0 || file >= fileLengths.size())
            return std::nullopt;
        if (!fileLengths[file])
            fileLengths[file] = fileLengthMs(file);
        return *fileLengths[file];
    };
    const auto framesToMs = [](qint64 frames) { return frames * 1000 / kCueFramesPerSecond; };
    for (qsizetype i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack &t = sheet.tracks[i];
        const CueTrack *next = i + 1 < sheet.tracks.size() ? &sheet.tracks[i + 1] : nullptr;
        qint64 ms = -1;
        if (t.start >= 0) {
            const qint64 gaps = t.postgap + (next ? next->pregap : 0);
            if (next && next->start >= 0 && next->file == t.file) {
                if (next->start > t.start)
                    ms = framesToMs(next->start - t.start + gaps);
            } else if (!next || (next->start >= 0 && next->file > t.file)) {
                const std::optional<qint64> fileMs = lengthOf(t.file);
                const qint64 startMs = framesToMs(t.start);
                if (fileMs && *fileMs > startMs)
                    ms = *fileMs - startMs + framesToMs(gaps);
            }
        }
        lengths.append(ms);
    }
    return lengths;
}

} // namespace cw

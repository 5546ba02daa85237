#include "RobotFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include "TestSupport.h"

namespace {

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, (x * y) & 255));
    return img;
}

QByteArray encoded(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

// A BMP header that claims a picture far beyond any memory.
QByteArray hugeBmp()
{
    QByteArray b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    auto put = [&b](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xff);
    };
    put(2, 54 + 16);
    put(10, 54);
    put(14, 40);
    put(18, 200000);
    put(22, 200000);
    b[26] = 1;
    b[28] = 24;
    return b + QByteArray(16, '\x7f');
}

} // namespace

void RobotFiles::add(const QString &name, const QByteArray &data)
{
    const QString path = m_dir.filePath(name);
    if (writeAll(path, data))
        m_files.append(path);
}

RobotFiles::RobotFiles()
{
    if (!m_dir.isValid())
        return;
    QDir(m_dir.path()).mkpath(QStringLiteral("out"));

    // Pictures: every format Qt writes here, and GIF by hand.
    const QImage small = pattern(64, 48);
    const QImage large = pattern(900, 640);
    const QList<QByteArray> writers = QImageWriter::supportedImageFormats();
    QList<QPair<QString, QByteArray>> good;
    for (const char *format : { "bmp", "png", "jpg", "tif", "webp" }) {
        if (!writers.contains(format))
            continue;
        good.append({ QStringLiteral("small.%1").arg(QLatin1String(format)), encoded(small, format) });
    }
    good.append({ QStringLiteral("large.jpg"), encoded(large, "jpg") });
    good.append({ QStringLiteral("写真.png"), encoded(pattern(33, 70), "png") });
    good.append({ QStringLiteral("indexed.bmp"),
        encoded(small.convertToFormat(QImage::Format_Indexed8), "bmp") });
    good.append({ QStringLiteral("tiny.gif"),
        QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                   "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                   "D\x01\x00;",
            43) });
    for (const auto &[name, data] : good) {
        add(name, data);
        // Cut short: the header whole, the pixels not.
        add(QStringLiteral("cut_") + name, data.left(std::max<qsizetype>(20, data.size() * 3 / 5)));
        add(QStringLiteral("stub_") + name, data.left(12));
    }
    add(QStringLiteral("huge.bmp"), hugeBmp());
    // Large enough for the window to read it in the background.
    add(QStringLiteral("large_rle.bmp"), largeRleBmp());
    add(QStringLiteral("empty.png"), QByteArray());
    add(QStringLiteral("text.jpg"), QByteArray("this is no picture\n").repeated(10));
    QByteArray noise(4096, '\0');
    quint32 s = 2463534242u;
    for (char &c : noise) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        c = char(s);
    }
    add(QStringLiteral("noise.bmp"), noise);
    add(QStringLiteral("noise.tif"), QByteArray("II*\0", 4) + noise);
    add(QStringLiteral("noise.webp"), QByteArray("RIFF\xff\xff\xff\x7fWEBPVP8 ", 16) + noise);

    // Documents: the versions the program reads, and damaged ones.
    const QDir docs(QStringLiteral(CASEWRIGHT_TEST_DATA "/document"));
    for (const QString &name : docs.entryList(QDir::Files)) {
        const QByteArray data = readAll(docs.filePath(name));
        add(name, data);
        if (name.endsWith(QLatin1String(".cwr"))) {
            add(QStringLiteral("cut_") + name, data.left(data.size() / 2));
            QByteArray flipped = data;
            for (qsizetype i = 40; i < flipped.size(); i += 97)
                flipped[i] = char(flipped[i] ^ 0x5a);
            add(QStringLiteral("flipped_") + name, flipped);
        }
    }
    add(QStringLiteral("empty.cwr"), QByteArray());
    add(QStringLiteral("noise.cwr"), noise);
    add(QStringLiteral("longline.cwr"),
        readAll(docs.filePath(QStringLiteral("v1_06.cwr"))).left(60) + QByteArray(200000, '9'));

    // List templates and text imports.
    add(QStringLiteral("empty.cwt"), QByteArray());
    add(QStringLiteral("noise.cwt"), noise);
    add(QStringLiteral("numbers.cwt"), QByteArray("CWR List Template\r\n-1\r\n99999999999\r\nx\r\n"));
    QByteArray rows;
    for (int i = 1; i <= 120; ++i)
        rows += sjis(QStringLiteral("%1\t曲 %1\t3:%2\r\n").arg(i).arg(i % 60, 2, 10, QLatin1Char('0')));
    add(QStringLiteral("rows.txt"), rows);
    add(QStringLiteral("rows.csv"), QByteArray("1,\"a,b\",\"unterminated\n2,,,,,,,,,,,,,,,,,,,,,,\n,\n"));
    add(QStringLiteral("utf8.csv"), QStringLiteral("\xfeff一,二,三\n🎵,€,ẞ\n").toUtf8());
    add(QStringLiteral("longline.txt"), QByteArray(100000, 'x') + "\n");
    add(QStringLiteral("noise.txt"), noise);
    // Lyrics for a text block, in either encoding it reads.
    const QString lyrics = QStringLiteral("夜明けの歌\r\n\r\n一番 The morning comes\r\n二番\r\n");
    add(QStringLiteral("lyrics_sjis.txt"), sjis(lyrics));
    add(QStringLiteral("lyrics_utf8.txt"), lyrics.toUtf8());

    // Audio files and cue sheets.
    const QString wav = m_dir.filePath(QStringLiteral("tone.wav"));
    if (makeSilentAudio(wav, 1.5)) {
        m_files.append(wav);
        add(QStringLiteral("cut_tone.wav"), readAll(wav).left(60));
    }
    const QString flac = m_dir.filePath(QStringLiteral("tone.flac"));
    if (makeSilentAudio(flac, 1.0))
        m_files.append(flac);
    add(QStringLiteral("noise.flac"), QByteArray("fLaC") + noise);
    add(QStringLiteral("album.cue"),
        sjis(QStringLiteral("TITLE \"アルバム\"\r\nPERFORMER \"歌手\"\r\nFILE \"tone.wav\" WAVE\r\n"
                            "  TRACK 01 AUDIO\r\n    TITLE \"一\"\r\n    INDEX 01 00:00:00\r\n"
                            "  TRACK 02 AUDIO\r\n    TITLE \"二\"\r\n    INDEX 01 00:01:00\r\n")));
    add(QStringLiteral("hostile.cue"),
        QByteArray("FILE \"../../../../etc/passwd\" WAVE\r\n  TRACK 99999999999 AUDIO\r\n"
                   "    INDEX 01 99:99:99\r\n  TRACK -1 AUDIO\r\n    TITLE \"unterminated\r\n"
                   "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 01 00:00:-5\r\n")
            + QByteArray(3000, 'T'));
    add(QStringLiteral("empty.cue"), QByteArray());
    for (const QString &path : std::as_const(m_files))
        m_contents.append(readAll(path));
}

bool RobotFiles::restore()
{
    if (!isValid())
        return false;
    QDir dir(m_dir.path());
    for (const QFileInfo &entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const bool gone = entry.isDir() && !entry.isSymLink()
            ? QDir(entry.filePath()).removeRecursively()
            : QFile::remove(entry.filePath());
        if (!gone)
            return false;
    }
    if (!dir.mkpath(QStringLiteral("out")))
        return false;
    for (qsizetype i = 0; i < m_files.size(); ++i)
        if (!writeAll(m_files[i], m_contents[i]))
            return false;
    return true;
}

// The real decoder modules against Qt's own readers: the same pixels.
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "PictureTestUtil.h"
#include "TestSupport.h"

using namespace cw;

namespace {

class DecoderModules : public HostTest
{
protected:
    void SetUp() override { SusieHost::instance().load(realModuleDir()); }

    QImage viaModules(const QString &file)
    {
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_TRUE(LoadPictureFile(bitmap, file, messages)) << file.toStdString();
        EXPECT_TRUE(messages.messages.isEmpty());
        return bitmap;
    }

    QImage viaQt(const QString &file)
    {
        QImageReader reader(file);
        QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
        return image;
    }

    void expectSame(const QString &file)
    {
        const QImage mine = viaModules(file);
        const QImage qt = viaQt(file);
        QString why;
        EXPECT_TRUE(sameRgb(mine, qt, &why)) << file.toStdString() << ": " << why.toStdString();
    }
};

TEST_F(DecoderModules, PngOfEveryColourKindGivesQtsPixels)
{
    const QList<QPair<const char *, QImage>> images = {
        { "rgb", patternImage(37, 23, QImage::Format_RGB32) },
        { "grey", patternImage(37, 23, QImage::Format_Grayscale8) },
        { "grey16", patternImage(19, 5, QImage::Format_Grayscale16) },
        { "rgb48", patternImage(19, 5, QImage::Format_RGBX64) },
        { "indexed",
            patternImage(37, 23, QImage::Format_RGB32)
                .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither) },
        { "mono", patternImage(37, 23, QImage::Format_Mono) },
        { "one-pixel", patternImage(1, 1, QImage::Format_RGB32) },
    };
    for (const auto &[name, image] : images) {
        const QString file = path(QString::fromLatin1(name) + ".png");
        ASSERT_TRUE(image.save(file, "PNG")) << name;
        expectSame(file);
    }
}

TEST(OnWhite, TheReferenceGivesTheValuesWorkedOutByHand)
{
    for (const OnWhiteCase &c : kOnWhiteByHand)
        EXPECT_EQ(onWhite(c.grey, c.alpha), c.flattened) << c.grey << " " << c.alpha;
    expectOnWhiteCases(flattenedOnWhite(onWhiteCasesImage()), "reference");
}

TEST_F(DecoderModules, PngAlphaIsFlattenedOntoWhite)
{
    ASSERT_TRUE(onWhiteCasesImage().save(path("cases.png"), "PNG"));
    expectOnWhiteCases(viaModules(path("cases.png")), "png");

    const QImage image = patternImage(37, 23, QImage::Format_ARGB32);
    ASSERT_TRUE(image.save(path("alpha.png"), "PNG"));
    const QImage mine = viaModules(path("alpha.png"));
    QString why;
    EXPECT_TRUE(sameRgb(mine, flattenedOnWhite(viaQt(path("alpha.png"))), &why))
        << why.toStdString();
    EXPECT_FALSE(mine.hasAlphaChannel());
}

TEST_F(DecoderModules, PngPaletteTransparencyKeepsTheEntrysColour)
{
    QImage image(4, 1, QImage::Format_Indexed8);
    image.setColorTable({ qRgba(10, 200, 30, 0), qRgb(255, 0, 0), qRgb(0, 0, 255) });
    image.setPixel(0, 0, 0);
    image.setPixel(1, 0, 1);
    image.setPixel(2, 0, 2);
    image.setPixel(3, 0, 0);
    ASSERT_TRUE(image.save(path("trns.png"), "PNG"));
    const QImage mine = viaModules(path("trns.png"));
    ASSERT_EQ(mine.size(), QSize(4, 1));
    EXPECT_EQ(mine.pixel(0, 0) & 0xffffff, 0x0ac81eu);
    EXPECT_EQ(mine.pixel(1, 0) & 0xffffff, 0xff0000u);
    EXPECT_EQ(mine.pixel(2, 0) & 0xffffff, 0x0000ffu);
}

TEST_F(DecoderModules, JpegColourGreyAndProgressiveGiveQtsPixels)
{
    ASSERT_TRUE(patternImage(37, 23).save(path("rgb.jpg"), "JPEG", 90));
    expectSame(path("rgb.jpg"));
    ASSERT_TRUE(patternImage(37, 23, QImage::Format_Grayscale8).save(path("grey.jpg"), "JPEG", 75));
    expectSame(path("grey.jpg"));
    QImageWriter writer(path("progressive.jpg"), "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(80);
    ASSERT_TRUE(writer.write(patternImage(64, 48)));
    expectSame(path("progressive.jpg"));
}

// A JPEG file with an EXIF orientation marker right after its start.
QByteArray withExifOrientation(const QByteArray &jpeg, int orientation, bool bigEndian)
{
    QByteArray tiff = bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
    auto u16 = [&](int v) {
        const char hi = char((v >> 8) & 0xff), lo = char(v & 0xff);
        tiff.append(bigEndian ? hi : lo);
        tiff.append(bigEndian ? lo : hi);
    };
    auto u32 = [&](int v) {
        bigEndian ? (u16(v >> 16), u16(v & 0xffff)) : (u16(v & 0xffff), u16(v >> 16));
    };
    u32(8); // the first directory
    u16(2); // two entries: some other tag, then the orientation
    u16(0x010f), u16(2), u32(4), tiff.append("Cam", 4);
    u16(0x0112), u16(3), u32(1), u16(orientation), u16(0);
    u32(0);
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray marker("\xff\xe1");
    marker.append(char((app1.size() + 2) >> 8));
    marker.append(char((app1.size() + 2) & 0xff));
    return jpeg.left(2) + marker + app1 + jpeg.mid(2);
}

TEST_F(DecoderModules, JpegComesOutTurnedByItsExifOrientation)
{
    // Four quadrants of plain colours, wider than high.
    QImage stored(64, 32, QImage::Format_RGB32);
    const QRgb colours[4]
        = { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255) };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            stored.setPixel(x, y, colours[(y / 16) * 2 + x / 32]);
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(stored.save(&b, "JPEG", 95));
    }
    const QImage grey = stored.convertToFormat(QImage::Format_Grayscale8);
    QByteArray greyJpeg;
    {
        QBuffer b(&greyJpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(grey.save(&b, "JPEG", 95));
    }
    auto upright = [](const QImage &img, int o) {
        const QImage quarter = img.transformed(QTransform().rotate(90));
        const QImage threeQuarters = img.transformed(QTransform().rotate(270));
        switch (o) {
        case 2:
            return img.mirrored(true, false);
        case 3:
            return img.transformed(QTransform().rotate(180));
        case 4:
            return img.mirrored(false, true);
        case 5:
            return quarter.mirrored(true, false);
        case 6:
            return quarter;
        case 7:
            return threeQuarters.mirrored(true, false);
        case 8:
            return threeQuarters;
        default:
            return img;
        }
    };
    for (int o = 1; o <= 8; ++o) {
        for (const bool isGrey : { false, true }) {
            const QString file = path(QStringLiteral("o%1%2.jpg").arg(o).arg(isGrey ? "g" : ""));
            ASSERT_TRUE(writeAll(file, withExifOrientation(isGrey ? greyJpeg : jpeg, o, o % 2)));
            const QImage mine = viaModules(file);
            const QImage expected = upright(isGrey ? grey : stored, o);
            ASSERT_EQ(mine.size(), expected.size()) << o;
            // The centre of each quadrant, with room for JPEG's rounding.
            for (const QPoint &p : { QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3) }) {
                const QPoint at(p.x() * mine.width() / 4, p.y() * mine.height() / 4);
                const QRgb a = mine.pixel(at), b = expected.pixel(at);
                EXPECT_NEAR(qRed(a), qRed(b), 24) << "orientation " << o << " grey " << isGrey;
                EXPECT_NEAR(qGreen(a), qGreen(b), 24) << "orientation " << o << " grey " << isGrey;
                EXPECT_NEAR(qBlue(a), qBlue(b), 24) << "orientation " << o << " grey " << isGrey;
            }
            // Sampled, it is decoded at full size a row at a time by the
            // module itself, and keeps exactly the whole picture's pixels.
            for (int factor : { 2, 8 }) {
                const QSize wanted = wantedSizeFor(mine.size(), factor);
                RecordingMessages messages;
                QImage sampled;
                PictureReduction got;
                ASSERT_TRUE(LoadPictureFile(
                    sampled, file, messages, wanted, got, ReductionKind::Sample));
                EXPECT_EQ(got.factor, factor);
                QString why;
                EXPECT_TRUE(sameRgb(sampled, reducePicture(mine, factor, ReductionKind::Sample), &why))
                    << "orientation " << o << " grey " << isGrey << " by " << factor << ": "
                    << why.toStdString();
                EXPECT_EQ(moduleDelivers("jpeg.spi", file, wanted, ReductionKind::Sample),
                    reducedPictureSize(mine.size(), factor))
                    << "orientation " << o << " grey " << isGrey;
            }
        }
    }
}

// An uncompressed GIF: every pixel is a 9-bit literal code, with a clear
// code often enough that the code size never grows.
QByteArray gifFile(int w, int h, const QList<QRgb> &palette, const QList<quint8> &pixels,
    bool interlaced = false, int screenW = -1, int screenH = -1, int left = 0, int top = 0)
{
    QByteArray b("GIF89a");
    auto u16 = [&](int v) {
        b.append(char(v & 0xff));
        b.append(char((v >> 8) & 0xff));
    };
    u16(screenW < 0 ? w : screenW);
    u16(screenH < 0 ? h : screenH);
    b.append(char(0xf7));
    b.append(char(0));
    b.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = palette.value(i, qRgb(0, 0, 0));
        b.append(char(qRed(c)));
        b.append(char(qGreen(c)));
        b.append(char(qBlue(c)));
    }
    b.append(char(0x2c));
    u16(left);
    u16(top);
    u16(w);
    u16(h);
    b.append(char(interlaced ? 0x40 : 0));
    b.append(char(8));
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    auto code = [&](int c) {
        acc |= quint32(c) << bits;
        bits += 9;
        while (bits >= 8) {
            data.append(char(acc & 0xff));
            acc >>= 8;
            bits -= 8;
        }
    };
    QList<quint8> order;
    if (interlaced) {
        const int starts[] = { 0, 4, 2, 1 }, steps[] = { 8, 8, 4, 2 };
        for (int p = 0; p < 4; ++p)
            for (int y = starts[p]; y < h; y += steps[p])
                for (int x = 0; x < w; ++x)
                    order.append(pixels[y * w + x]);
    } else {
        order = pixels;
    }
    int run = 0;
    code(256);
    for (quint8 px : order) {
        if (run == 250) {
            code(256);
            run = 0;
        }
        code(px);
        ++run;
    }
    code(257);
    if (bits > 0)
        data.append(char(acc & 0xff));
    for (int i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        b.append(char(block.size()));
        b.append(block);
    }
    b.append(char(0));
    b.append(char(0x3b));
    return b;
}

QList<QRgb> gifPalette()
{
    QList<QRgb> p;
    for (int i = 0; i < 256; ++i)
        p.append(qRgb(i, (i * 7) & 255, 255 - i));
    return p;
}

QList<quint8> gifPixels(int w, int h)
{
    QList<quint8> px;
    for (int i = 0; i < w * h; ++i)
        px.append(quint8((i * 37 + i / 7) & 255));
    return px;
}

TEST_F(DecoderModules, GifPlainAndInterlacedGiveQtsPixels)
{
    ASSERT_TRUE(writeAll(path("a.gif"), gifFile(37, 23, gifPalette(), gifPixels(37, 23))));
    expectSame(path("a.gif"));
    ASSERT_TRUE(writeAll(path("i.gif"), gifFile(29, 19, gifPalette(), gifPixels(29, 19), true)));
    expectSame(path("i.gif"));
    // A GIF comes out of its module as 8 bits with a colour table.
    QBuffer stream;
    ASSERT_TRUE(ConvertByPlugin(path("a.gif"), stream));
    EXPECT_EQ(qFromLittleEndian<quint16>(stream.data().constData() + 14 + 14), 8);
    EXPECT_EQ(qFromLittleEndian<quint32>(stream.data().constData() + 10), 14u + 40 + 1024);
}

// The same GIF with a colour table of its own on the frame (`entries`
// colours: red i, green 100, blue 200), put after the frame's descriptor.
QByteArray withLocalTable(QByteArray gif, int entries)
{
    QByteArray local;
    for (int i = 0; i < entries; ++i)
        local.append(QByteArray(1, char(i)) + char(100) + char(200));
    const int flags = 13 + 768 + 9;
    int bits = 0;
    while ((2 << bits) < entries)
        ++bits;
    gif[flags] = char(gif[flags] | 0x80 | bits);
    gif.insert(flags + 1, local);
    return gif;
}

// The same GIF with `index` as its screen's background colour.
QByteArray withBackground(QByteArray gif, int index)
{
    gif[11] = char(index);
    return gif;
}

// A first frame that leaves part of its screen uncovered: the rest of the
// screen is white (transparent, on paper), whatever the screen's background
// colour and whichever colour table the frame uses. The frame's own pixels
// keep their colours.
TEST_F(DecoderModules, GifScreenOutsideTheFirstFrameIsWhite)
{
    QList<QRgb> red = gifPalette();
    red[7] = qRgb(255, 0, 0);
    QList<quint8> fifty(50 * 50, 7);
    fifty[0] = 9;
    fifty[50 * 50 - 1] = 11;
    struct Case
    {
        const char *name;
        QByteArray file;
        QSize screen;
        QList<QPair<QPoint, QRgb>> pixels; // screen pixels and their colours
    };
    const QRgb white = qRgb(255, 255, 255);
    const QList<QRgb> p = gifPalette();
    const QByteArray small = gifFile(2, 2, p, { 10, 20, 30, 40 }, false, 5, 4, 3, 1);
    const Case cases[] = {
        { "50 x 50 at 0, 0 on 100 x 100, background red",
            withBackground(gifFile(50, 50, red, fifty, false, 100, 100, 0, 0), 7), QSize(100, 100),
            { { { 0, 0 }, p[9] }, { { 1, 0 }, red[7] }, { { 49, 49 }, p[11] },
                { { 50, 0 }, white }, { { 0, 50 }, white }, { { 99, 99 }, white } } },
        { "2 x 2 at 3, 1 on 5 x 4", small, QSize(5, 4),
            { { { 3, 1 }, p[10] }, { { 4, 1 }, p[20] }, { { 3, 2 }, p[30] }, { { 4, 2 }, p[40] },
                { { 0, 0 }, white }, { { 2, 1 }, white }, { { 4, 3 }, white } } },
        { "background colour 5", withBackground(small, 5), QSize(5, 4),
            { { { 4, 2 }, p[40] }, { { 0, 0 }, white }, { { 4, 0 }, white } } },
        { "own table of 64 colours", withLocalTable(withBackground(small, 5), 64), QSize(5, 4),
            { { { 3, 1 }, qRgb(10, 100, 200) }, { { 4, 2 }, qRgb(40, 100, 200) },
                { { 0, 0 }, white }, { { 4, 3 }, white } } },
        { "own full table", withLocalTable(withBackground(small, 5), 256), QSize(5, 4),
            { { { 3, 1 }, qRgb(10, 100, 200) }, { { 0, 0 }, white }, { { 4, 3 }, white } } },
        { "interlaced", gifFile(9, 7, p, gifPixels(9, 7), true, 21, 15, 6, 5), QSize(21, 15),
            { { { 6, 5 }, p[gifPixels(9, 7)[0]] }, { { 14, 11 }, p[gifPixels(9, 7)[62]] },
                { { 5, 5 }, white }, { { 15, 11 }, white }, { { 20, 14 }, white } } },
        { "past the screen's right and bottom edges",
            gifFile(9, 7, p, gifPixels(9, 7), false, 12, 10, 6, 5), QSize(12, 10),
            { { { 6, 5 }, p[gifPixels(9, 7)[0]] }, { { 11, 9 }, p[gifPixels(9, 7)[4 * 9 + 5]] },
                { { 5, 9 }, white }, { { 11, 4 }, white } } },
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("s.gif"));
        ASSERT_TRUE(writeAll(file, c.file)) << c.name;
        const QImage mine = viaModules(file);
        ASSERT_EQ(mine.size(), c.screen) << c.name;
        for (const auto &[at, colour] : c.pixels)
            EXPECT_EQ(mine.pixel(at), colour) << c.name << " at " << at.x() << ", " << at.y();
    }
}

TEST_F(DecoderModules, DamagedFilesFailWithTheMessageOrLoadWhatIsThere)
{
    QByteArray png, jpg;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        patternImage(64, 64).save(&b, "PNG");
    }
    {
        QBuffer b(&jpg);
        b.open(QIODevice::WriteOnly);
        patternImage(64, 64).save(&b, "JPEG");
    }
    const QByteArray gif = gifFile(37, 23, gifPalette(), gifPixels(37, 23));
    QByteArray corruptPng = png;
    for (int i = 60; i < corruptPng.size() - 20; i += 7)
        corruptPng[i] = char(corruptPng[i] ^ 0x5a);
    QByteArray corruptJpg = jpg;
    for (int i = 200; i < corruptJpg.size() - 10; i += 5)
        corruptJpg[i] = char(0xff);
    // A PNG header claiming 100000 x 100000 pixels.
    QByteArray bombPng = png.left(33);
    qToBigEndian<quint32>(100000, bombPng.data() + 16);
    qToBigEndian<quint32>(100000, bombPng.data() + 20);
    // A GIF screen of 65535 x 65535 with a tiny frame.
    QByteArray bigGif = gif;
    bigGif[6] = bigGif[7] = bigGif[8] = bigGif[9] = char(0xff);
    const QList<QPair<const char *, QByteArray>> files = {
        { "trunc.png", png.left(png.size() / 2) },
        { "sig.png", png.left(8) },
        { "corrupt.png", corruptPng },
        { "bomb.png", bombPng },
        { "trunc.jpg", jpg.left(jpg.size() / 2) },
        { "soi.jpg", jpg.left(3) },
        { "corrupt.jpg", corruptJpg },
        { "trunc.gif", gif.left(gif.size() / 2) },
        { "head.gif", gif.left(13) },
        { "big.gif", bigGif },
    };
    for (const auto &[name, data] : files) {
        const QString file = path(QString::fromLatin1(name));
        ASSERT_TRUE(writeAll(file, data));
        RecordingMessages messages;
        QImage bitmap;
        if (LoadPictureFile(bitmap, file, messages)) {
            EXPECT_TRUE(messages.messages.isEmpty()) << name;
            EXPECT_LE(bitmap.width(), 65535) << name;
            EXPECT_LE(qint64(bitmap.width()) * bitmap.height(), 65535ll * 65535) << name;
        } else {
            // The module recognised its format: the user is told why it
            // failed, not to look for a plug-in.
            const QString broken = "ファイル(" + file + ")は壊れているため読み込めません";
            const QString large = "ファイル(" + file + ")は画像が大きすぎて読み込めません";
            const bool tooLarge = QByteArray(name) == "big.gif";
            EXPECT_EQ(messages.messages, QStringList { tooLarge ? large : broken }) << name;
        }
    }
}

TEST_F(DecoderModules, FileWithWrongExtensionIsDecodedByContent)
{
    ASSERT_TRUE(patternImage(9, 7).save(path("really-a-png.jpg"), "PNG"));
    expectSame(path("really-a-png.jpg"));
}

} // namespace

namespace {

// The direct route of LoadPictureFile and the BMP image of ConvertByPlugin
// give the same picture.
TEST_F(DecoderModules, LoadingEqualsReadingTheConvertedBmp)
{
    ASSERT_TRUE(patternImage(37, 23).save(path("a.jpg"), "JPEG", 90));
    ASSERT_TRUE(patternImage(37, 23).save(path("a.png"), "PNG"));
    ASSERT_TRUE(patternImage(37, 23, QImage::Format_ARGB32).save(path("b.png"), "PNG"));
    ASSERT_TRUE(patternImage(37, 23, QImage::Format_Grayscale8).save(path("g.jpg"), "JPEG"));
    for (const char *name : { "a.jpg", "a.png", "b.png", "g.jpg" }) {
        const QImage loaded = viaModules(path(name));
        QBuffer stream;
        ASSERT_TRUE(ConvertByPlugin(path(name), stream));
        QImage fromBmp;
        ASSERT_TRUE(fromBmp.loadFromData(stream.data(), "BMP"));
        QString why;
        EXPECT_TRUE(sameRgb(loaded, fromBmp, &why)) << name << ": " << why.toStdString();
        for (int y = 0; y < loaded.height(); ++y)
            for (int x = 0; x < loaded.width(); ++x)
                ASSERT_EQ(qAlpha(loaded.pixel(x, y)), 255) << name;
    }
}

TEST_F(DecoderModules, ColourJpegAndPngComeAsTopDown32BitRows)
{
    ASSERT_TRUE(patternImage(5, 3).save(path("a.jpg"), "JPEG"));
    ASSERT_TRUE(patternImage(5, 3).save(path("a.png"), "PNG"));
    for (const char *name : { "a.jpg", "a.png" }) {
        QBuffer stream;
        ASSERT_TRUE(ConvertByPlugin(path(name), stream));
        const char *bmp = stream.data().constData();
        EXPECT_EQ(qFromLittleEndian<quint16>(bmp + 14 + 14), 32) << name;
        EXPECT_EQ(qFromLittleEndian<qint32>(bmp + 14 + 8), -3) << name;
        EXPECT_EQ(stream.data().size(), 14 + 40 + 12 + 5 * 3 * 4) << name;
        EXPECT_EQ(viaModules(path(name)).format(), QImage::Format_RGB32);
    }
}

} // namespace

// A GIF asked for at a reduced size: its screen averaged (or sampled) row by
// row while it is decoded (an interlaced frame's lines into the blocks they
// belong to, as they come), the same pixels as the whole screen reduced.
TEST_F(DecoderModules, GifReducedIsItsWholeScreenAveraged)
{
    struct Case
    {
        const char *name;
        QByteArray file;
        QSize wanted;
        int factor;
    };
    const Case cases[] = {
        { "plain", gifFile(37, 23, gifPalette(), gifPixels(37, 23)), QSize(9, 5), 4 },
        { "interlaced", gifFile(29, 19, gifPalette(), gifPixels(29, 19), true), QSize(7, 4), 4 },
        { "frame on a screen", gifFile(2, 2, gifPalette(), { 10, 20, 30, 40 }, false, 5, 4, 3, 1),
            QSize(2, 2), 2 },
        { "frame on a screen with a background colour",
            withBackground(gifFile(5, 5, gifPalette(), gifPixels(5, 5), false, 20, 20, 0, 0), 7),
            QSize(5, 5), 4 },
        { "interlaced frame on a screen",
            gifFile(9, 7, gifPalette(), gifPixels(9, 7), true, 21, 15, 6, 5), QSize(5, 3), 4 },
        { "interlaced frame past the screen's edges",
            gifFile(9, 7, gifPalette(), gifPixels(9, 7), true, 12, 10, 6, 5), QSize(1, 1), 8 },
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("r.gif"));
        ASSERT_TRUE(writeAll(file, c.file)) << c.name;
        const QImage whole = viaModules(file);
        RecordingMessages messages;
        QImage reduced;
        PictureReduction got;
        for (ReductionKind kind : { ReductionKind::Average, ReductionKind::Sample }) {
            ASSERT_TRUE(LoadPictureFile(reduced, file, messages, c.wanted, got, kind)) << c.name;
            EXPECT_EQ(got.fullSize, whole.size()) << c.name;
            EXPECT_EQ(got.factor, c.factor) << c.name;
            QString why;
            EXPECT_TRUE(sameRgb(reduced, reducePicture(whole, c.factor, kind), &why))
                << c.name << (kind == ReductionKind::Sample ? " sampled: " : ": ")
                << why.toStdString();
        }
    }
}

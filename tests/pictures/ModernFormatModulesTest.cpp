// The TIFF, WebP and HEIF / AVIF modules: pictures made here with the
// formats' own tools, decoded through the host, compared pixel by pixel with
// a reference decode (Qt's readers for TIFF and WebP, heif-convert for HEIF).
#include <QBuffer>
#include <QImageReader>
#include <QProcess>
#include <QTransform>
#include <dlfcn.h>
#include <libheif/heif.h>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "spi.h"

using namespace cw;

namespace {

// Runs one of the picture tools; true when it ran and succeeded.
bool tool(const QString &program, const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit
        && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

// What a viewer shows for a stored picture with orientation tag `o` (1-8).
QImage oriented(const QImage &stored, int o)
{
    switch (o) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return stored.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return stored.transformed(QTransform().rotate(90));
    case 7: return stored.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8: return stored.transformed(QTransform().rotate(270));
    default: return stored;
    }
}

QImage readWithQt(const QString &file)
{
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << file.toStdString() << ": " << reader.errorString().toStdString();
    return image;
}

class ModernFormatModules : public HostTest
{
protected:
    void SetUp() override
    {
        SusieHost::instance().load(realModuleDir());
        ASSERT_TRUE(patternImage(37, 23).save(path("rgb.png")));
        ASSERT_TRUE(patternImage(37, 23, QImage::Format_ARGB32).save(path("rgba.png")));
        ASSERT_TRUE(patternImage(37, 23, QImage::Format_RGBA64).save(path("rgba16.png")));
        ASSERT_TRUE(patternImage(37, 23, QImage::Format_RGBX64).save(path("rgb16.png")));
    }

    QImage load(const QString &file)
    {
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_TRUE(LoadPictureFile(bitmap, file, messages)) << file.toStdString();
        EXPECT_EQ(messages.messages, QStringList());
        return bitmap;
    }

    // Every pixel equal, or at most `tolerance` apart in each channel.
    void expectPixels(const QString &file, const QImage &reference, int tolerance = 0)
    {
        const QImage mine = load(file);
        QString why;
        if (tolerance == 0 || mine.size() != reference.size()) {
            EXPECT_TRUE(sameRgb(mine, reference, &why))
                << file.toStdString() << ": " << why.toStdString();
            return;
        }
        int worst = 0;
        for (int y = 0; y < mine.height(); ++y)
            for (int x = 0; x < mine.width(); ++x) {
                const QRgb a = mine.pixel(x, y), b = reference.pixel(x, y);
                worst = std::max({ worst, std::abs(qRed(a) - qRed(b)),
                    std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
            }
        EXPECT_LE(worst, tolerance) << file.toStdString();
    }

    // A failure with one message about the file, whatever its reason.
    void expectRefused(const QString &file)
    {
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_FALSE(LoadPictureFile(bitmap, file, messages)) << file.toStdString();
        ASSERT_EQ(messages.messages.size(), 1) << file.toStdString();
        EXPECT_TRUE(messages.messages[0].startsWith("ファイル(" + file + ")"));
        EXPECT_TRUE(bitmap.isNull());
    }
};

struct Variant
{
    const char *name;
    const char *source; // rgb.png, rgba.png, rgb16.png or rgba16.png
    QStringList options;
    // Deep samples reduced to 8 bits: libtiff's grey reader and libheif
    // truncate where the reference rounds, one step apart at most.
    int tolerance = 0;
    // Qt cannot read it: ImageMagick's decode to PNG is the reference.
    bool convertDecodes = false;
};

TEST_F(ModernFormatModules, TiffOfEveryKindGivesQtsPixels)
{
    const QList<Variant> variants = {
        { "none", "rgb.png", { "-compress", "None" } },
        { "lzw", "rgb.png", { "-compress", "LZW" } },
        { "zip", "rgb.png", { "-compress", "Zip" } },
        { "packbits", "rgb.png", { "-compress", "RLE" } },
        { "jpeg", "rgb.png", { "-compress", "JPEG", "-quality", "90" } },
        { "big-endian", "rgb.png", { "-endian", "MSB" } },
        { "tiled", "rgb.png", { "-define", "tiff:tile-geometry=16x16" } },
        { "planes", "rgb.png", { "-interlace", "Plane" } },
        { "rgb16", "rgb16.png", { "-depth", "16" } },
        { "grey8", "rgb.png", { "-type", "Grayscale", "-depth", "8" } },
        { "grey16", "rgb16.png", { "-type", "Grayscale", "-depth", "16" }, 1 },
        { "bilevel", "rgb.png", { "-type", "Bilevel" } },
        { "group4", "rgb.png", { "-type", "Bilevel", "-compress", "Group4" } },
        { "fax", "rgb.png", { "-type", "Bilevel", "-compress", "Fax" } },
        { "palette", "rgb.png", { "-type", "Palette" } },
        { "palette16", "rgb.png", { "-colors", "16", "-type", "Palette", "-depth", "4" } },
        { "rgba", "rgba.png", { "-type", "TrueColorAlpha" } },
        { "rgba16", "rgba16.png", { "-type", "TrueColorAlpha", "-depth", "16" } },
        { "rgba-associated", "rgba.png",
            { "-type", "TrueColorAlpha", "-define", "tiff:alpha=associated" } },
        { "cmyk", "rgb.png", { "-colorspace", "CMYK" } },
        { "cmyk-lzw", "rgb.png", { "-colorspace", "CMYK", "-compress", "LZW" } },
        { "cmyk16", "rgb16.png", { "-colorspace", "CMYK", "-depth", "16" }, 1, true },
        { "cmyk16-planes", "rgb16.png", { "-colorspace", "CMYK", "-depth", "16", "-interlace",
                                              "Plane" }, 1, true },
    };
    for (const Variant &v : variants) {
        const QString file = path(QString::fromLatin1(v.name) + ".tif");
        QString out;
        ASSERT_TRUE(tool("convert", QStringList { path(v.source) } + v.options + QStringList { file },
            &out))
            << v.name << ": " << out.toStdString();
        if (v.convertDecodes) {
            ASSERT_TRUE(tool("convert", { file, "-depth", "8", file + ".png" })) << v.name;
        }
        expectPixels(file, flattenedOnWhite(readWithQt(v.convertDecodes ? file + ".png" : file)),
            v.tolerance);
    }
}

// Alpha, straight or premultiplied in the file, flattened onto white with
// the values worked out by hand.
TEST_F(ModernFormatModules, TiffAndWebpAlphaIsFlattenedOntoWhite)
{
    ASSERT_TRUE(onWhiteCasesImage().save(path("cases.png"), "PNG"));
    const QList<QPair<QString, QStringList>> tiffs = {
        { "straight.tif", { "-type", "TrueColorAlpha" } },
        { "associated.tif", { "-type", "TrueColorAlpha", "-define", "tiff:alpha=associated" } },
    };
    for (const auto &[name, options] : tiffs) {
        ASSERT_TRUE(tool("convert", QStringList { path("cases.png") } + options + QStringList { path(name) }))
            << name.toStdString();
        expectOnWhiteCases(load(path(name)), name.toStdString());
    }
    ASSERT_TRUE(tool("cwebp", { "-lossless", "-exact", path("cases.png"), "-o", path("cases.webp") }));
    expectOnWhiteCases(load(path("cases.webp")), "webp");
}

TEST_F(ModernFormatModules, TiffOrientationTagIsApplied)
{
    const char *names[] = { "TopLeft", "TopRight", "BottomRight", "BottomLeft", "LeftTop",
        "RightTop", "RightBottom", "LeftBottom" };
    const QImage stored = readWithQt(path("rgb.png"));
    for (int o = 1; o <= 8; ++o) {
        const QString file = path(QStringLiteral("o%1.tif").arg(o));
        ASSERT_TRUE(tool("convert", { path("rgb.png"), "-orient", names[o - 1], file }));
        expectPixels(file, oriented(stored, o));
    }
}

TEST_F(ModernFormatModules, WebpStillAndAnimatedGiveTheirPixels)
{
    const QList<Variant> variants = {
        { "lossy", "rgb.png", { "-q", "80" } },
        { "lossless", "rgb.png", { "-lossless" } },
        { "lossy-alpha", "rgba.png", { "-q", "80" } },
        { "lossless-alpha", "rgba.png", { "-lossless", "-exact" } },
    };
    for (const Variant &v : variants) {
        const QString file = path(QString::fromLatin1(v.name) + ".webp");
        ASSERT_TRUE(tool("cwebp", v.options + QStringList { path(v.source), "-o", file })) << v.name;
        expectPixels(file, flattenedOnWhite(readWithQt(file)));
    }
    // The first frame of an animation, not the second.
    ASSERT_TRUE(patternImage(37, 23, QImage::Format_ARGB32).mirrored().save(path("second.png")));
    const QString anim = path("anim.webp");
    ASSERT_TRUE(
        tool("img2webp", { "-lossless", path("rgba.png"), path("second.png"), "-o", anim }));
    expectPixels(anim, flattenedOnWhite(readWithQt(path("rgba.png"))));
}

TEST_F(ModernFormatModules, HeicAndAvifGiveHeifConvertsPixels)
{
    ASSERT_TRUE(patternImage(40, 24).save(path("even.png")));
    const QList<Variant> variants = {
        { "even.heic", "even.png", { "-q", "90" } },
        { "odd.heic", "rgb.png", { "-q", "90" } },
        { "alpha.heic", "rgba.png", { "-q", "90" } },
        { "lossless.heic",
            "rgb.png", { "-L", "-p", "chroma=444", "--matrix_coefficients=0" } },
        { "even.avif", "even.png", { "-A", "-q", "90" } },
        { "odd.avif", "rgb.png", { "-A", "-q", "90" } },
        { "alpha.avif", "rgba.png", { "-A", "-q", "90" } },
        { "deep.avif", "rgb16.png", { "-A", "-q", "90", "-b", "12", "-p", "chroma=444" }, 1 },
    };
    for (const Variant &v : variants) {
        const QString file = path(QString::fromLatin1(v.name));
        QString out;
        ASSERT_TRUE(tool("heif-enc", v.options + QStringList { path(v.source), "-o", file }, &out))
            << v.name << ": " << out.toStdString();
        ASSERT_TRUE(tool("heif-convert", { file, file + ".png" }, &out))
            << v.name << ": " << out.toStdString();
        expectPixels(file, flattenedOnWhite(readWithQt(file + ".png")), v.tolerance);
    }
}

// Writes the picture as a HEIF file whose boxes turn and mirror it for
// display as the orientation tag `o` says.
bool writeTurnedHeif(
    const QImage &picture, const QString &file, heif_compression_format format, int o)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_image *image = nullptr;
    heif_encoding_options *options = heif_encoding_options_alloc();
    bool ok = heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok
        && heif_encoder_set_lossless(encoder, 1).code == heif_error_Ok
        && heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB,
               heif_chroma_interleaved_RGB, &image)
                .code
            == heif_error_Ok
        && heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8).code
            == heif_error_Ok;
    if (ok) {
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
        options->image_orientation = heif_orientation(o);
        ok = heif_context_encode_image(context, image, encoder, options, nullptr).code
                == heif_error_Ok
            && heif_context_write_to_file(context, QFile::encodeName(file).constData()).code
                == heif_error_Ok;
    }
    heif_encoding_options_free(options);
    if (image)
        heif_image_release(image);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    return ok;
}

TEST_F(ModernFormatModules, HeifRotationAndMirroringAreApplied)
{
    const QImage picture = patternImage(40, 24);
    for (const auto &[format, ext] : { std::pair { heif_compression_HEVC, "heic" },
             std::pair { heif_compression_AV1, "avif" } }) {
        const QString upright = path(QStringLiteral("o1.%1").arg(ext));
        ASSERT_TRUE(writeTurnedHeif(picture, upright, format, 1)) << ext;
        const QImage stored = load(upright);
        ASSERT_EQ(stored.size(), QSize(40, 24)) << ext;
        for (int o = 2; o <= 8; ++o) {
            const QString file = path(QStringLiteral("o%1.%2").arg(o).arg(ext));
            ASSERT_TRUE(writeTurnedHeif(picture, file, format, o)) << ext << o;
            expectPixels(file, oriented(stored, o));
        }
    }
}

// An uncompressed 8-bit grey TIFF of `pages` pages, each width x height
// (the pixel data holds one byte only); `loop` points the last page back at
// the first.
QByteArray tiffFile(quint32 width, quint32 height, int pages, bool loop = false)
{
    QByteArray b("II*\0", 4);
    auto u16 = [&](quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xffff)), u16(quint16(v >> 16)); };
    u32(8);
    const int entries = 9;
    const quint32 ifdBytes = 2 + entries * 12 + 4 + 2; // with the pixel and a pad byte
    for (int p = 0; p < pages; ++p) {
        const quint32 at = quint32(b.size());
        const quint32 pixel = at + ifdBytes - 2;
        const quint32 next = p + 1 < pages ? at + ifdBytes : loop ? 8 : 0;
        u16(entries);
        auto entry = [&](quint16 tag, quint16 type, quint32 value) {
            u16(tag), u16(type), u32(1);
            if (type == 3)
                u16(quint16(value)), u16(0);
            else
                u32(value);
        };
        entry(256, 4, width);
        entry(257, 4, height);
        entry(258, 3, 8);
        entry(259, 3, 1);
        entry(262, 3, 1);
        entry(273, 4, pixel);
        entry(277, 3, 1);
        entry(278, 4, height);
        entry(279, 4, 1);
        u32(next);
        b.append(char(0x80)).append('\0');
    }
    return b;
}

QByteArray garbageAfter(const QByteArray &magic, int bytes)
{
    QByteArray b = magic;
    quint32 seed = 99;
    while (b.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        b.append(char(seed >> 16));
    }
    return b;
}

TEST_F(ModernFormatModules, HostileFilesAreRefused)
{
    ASSERT_TRUE(tool("convert", { path("rgb.png"), "-compress", "LZW", path("a.tif") }));
    ASSERT_TRUE(tool("cwebp", { "-q", "80", path("rgb.png"), "-o", path("a.webp") }));
    ASSERT_TRUE(tool("heif-enc", { "-q", "80", path("rgb.png"), "-o", path("a.heic") }));
    ASSERT_TRUE(tool("heif-enc", { "-A", "-q", "80", path("rgb.png"), "-o", path("a.avif") }));
    const QByteArray tif = readAll(path("a.tif")), webp = readAll(path("a.webp")),
                     heic = readAll(path("a.heic")), avif = readAll(path("a.avif"));
    // HEIF files whose every size box claims 100000 x 100000 pixels.
    auto huge = [](QByteArray heif) {
        for (qsizetype at = heif.indexOf("ispe"); at >= 0; at = heif.indexOf("ispe", at + 4)) {
            qToBigEndian<quint32>(100000, heif.data() + at + 8);
            qToBigEndian<quint32>(100000, heif.data() + at + 12);
        }
        return heif;
    };
    // A WebP canvas of 100000 x 100000 (an extended header) around a small
    // picture, still and animated.
    auto hugeWebp = [&](bool animated) {
        QByteArray chunks("VP8X\x0a\0\0\0", 8);
        chunks.append(char(animated ? 0x02 : 0)).append(QByteArray(3, '\0'));
        for (int i = 0; i < 2; ++i)
            chunks.append(char(99999 & 0xff)).append(char((99999 >> 8) & 0xff)).append(char(99999 >> 16));
        if (animated)
            chunks.append(QByteArray("ANIM\x06\0\0\0", 8)).append(QByteArray(6, '\0'));
        chunks.append(webp.mid(12));
        QByteArray file("RIFF");
        file.append(QByteArray(4, '\0')).append("WEBP").append(chunks);
        qToLittleEndian<quint32>(quint32(file.size() - 8), file.data() + 4);
        return file;
    };
    const QList<QPair<const char *, QByteArray>> files = {
        { "trunc.tif", tif.left(tif.size() / 2) },
        { "head.tif", tif.left(8) },
        { "huge.tif", tiffFile(100000, 100000, 1) },
        { "garbage.tif", garbageAfter(QByteArray("II*\0", 4), 4096) },
        { "garbage-mm.tif", garbageAfter(QByteArray("MM\0*", 4), 4096) },
        { "trunc.webp", webp.left(webp.size() / 2) },
        { "huge.webp", hugeWebp(false) },
        { "huge-anim.webp", hugeWebp(true) },
        { "garbage.webp", garbageAfter(webp.left(16), 4096) },
        { "trunc.heic", heic.left(heic.size() / 2) },
        { "huge.heic", huge(heic) },
        { "garbage.heic", garbageAfter(heic.left(qFromBigEndian<quint32>(heic.constData())), 4096) },
        { "trunc.avif", avif.left(avif.size() / 2) },
        { "huge.avif", huge(avif) },
        { "garbage.avif", garbageAfter(avif.left(qFromBigEndian<quint32>(avif.constData())), 4096) },
    };
    for (const auto &[name, data] : files) {
        const QString file = path(QString::fromLatin1(name));
        ASSERT_TRUE(writeAll(file, data));
        expectRefused(file);
    }
}

TEST_F(ModernFormatModules, TiffWithManyPagesGivesItsFirstPage)
{
    // 10,000 pages, and a chain of pages that runs back to the first: only
    // the first page is read.
    for (const bool loop : { false, true }) {
        const QString file = path(loop ? "loop.tif" : "pages.tif");
        ASSERT_TRUE(writeAll(file, tiffFile(1, 1, loop ? 3 : 10000, loop)));
        const QImage image = load(file);
        ASSERT_EQ(image.size(), QSize(1, 1));
        EXPECT_EQ(image.pixel(0, 0), qRgb(0x80, 0x80, 0x80));
    }
}

// Each module decides from the 2048-byte probe alone: the file it is shown
// need not exist, and it accepts no other module's format.
TEST_F(ModernFormatModules, ModulesDecideFromTheProbeAlone)
{
    ASSERT_TRUE(tool("convert", { path("rgb.png"), path("a.tif") }));
    ASSERT_TRUE(tool("convert", { path("rgb.png"), "-endian", "MSB", path("b.tif") }));
    ASSERT_TRUE(tool("cwebp", { "-lossless", path("rgb.png"), "-o", path("a.webp") }));
    ASSERT_TRUE(tool("heif-enc", { path("rgb.png"), "-o", path("a.heic") }));
    ASSERT_TRUE(tool("heif-enc", { "-A", path("rgb.png"), "-o", path("a.avif") }));
    const QList<QPair<const char *, QStringList>> accepts = {
        { "tiff.spi", { "a.tif", "b.tif" } },
        { "webp.spi", { "a.webp" } },
        { "heif.spi", { "a.heic", "a.avif" } },
    };
    const QStringList all = { "a.tif", "b.tif", "a.webp", "a.heic", "a.avif", "rgb.png" };
    for (const auto &[module, own] : accepts) {
        void *handle = dlopen(QFile::encodeName(realModuleDir() + "/" + module).constData(), RTLD_NOW);
        ASSERT_TRUE(handle) << module;
        auto isSupported = reinterpret_cast<SpiIsSupported>(dlsym(handle, "IsSupported"));
        ASSERT_TRUE(isSupported);
        for (const QString &name : all) {
            QByteArray probe = readAll(path(name)).left(2048);
            probe.append(QByteArray(2048 + 128 - probe.size(), '\0'));
            EXPECT_EQ(isSupported("/nonexistent/picture", probe.constData()) != 0,
                own.contains(name))
                << module << " " << name.toStdString();
        }
        dlclose(handle);
    }
    // The host decodes by content, whatever the file is called, and the
    // BMP image built from a module's output holds the same picture.
    for (const char *name : { "a.tif", "b.tif", "a.webp", "a.heic", "a.avif" }) {
        ASSERT_TRUE(QFile::copy(path(name), path(name) + ".dat"));
        const QImage loaded = load(path(name) + ".dat");
        EXPECT_EQ(loaded.size(), QSize(37, 23)) << name;
        QBuffer stream;
        ASSERT_TRUE(ConvertByPlugin(path(name), stream)) << name;
        QImage fromBmp;
        ASSERT_TRUE(fromBmp.loadFromData(stream.data(), "BMP")) << name;
        QString why;
        EXPECT_TRUE(sameRgb(loaded, fromBmp, &why)) << name << ": " << why.toStdString();
    }
}

} // namespace

// A grid picture declares its canvas in its own item data, and libheif
// allocates that canvas before it decodes a tile. The seed is a 1 x 1 grid
// of 12 x 8 pixels ("ispe" 12 x 8) over one 64 x 64 tile; each case changes
// the declared canvas (16-bit fields at bytes 4 and 6 of the "idat" payload)
// or the grid's "ispe" (the second "ispe" box). A canvas with more pixels
// than the size the picture states is refused as broken. A 556-byte file whose grid
// stated 0 x 0 and declared 30000 x 30000 used to run for 30 s and 7.9 GB.
TEST_F(ModernFormatModules, GridCanvasIsBoundBeforeLibheifAllocatesIt)
{
    const QByteArray seed
        = readAll(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/fuzz/corpus/heif_module/a.heic"));
    ASSERT_EQ(seed.size(), 577);
    const qsizetype canvasAt = seed.indexOf("idat") + 4 + 4;
    const qsizetype gridIspeAt = seed.indexOf("ispe", seed.indexOf("ispe") + 4) + 4 + 4;
    ASSERT_EQ(qFromBigEndian<quint16>(seed.constData() + canvasAt), 12);
    ASSERT_EQ(qFromBigEndian<quint32>(seed.constData() + gridIspeAt), 12u);
    auto variant = [&](quint16 canvasW, quint16 canvasH, quint32 ispeW, quint32 ispeH) {
        QByteArray f = seed;
        qToBigEndian<quint16>(canvasW, f.data() + canvasAt);
        qToBigEndian<quint16>(canvasH, f.data() + canvasAt + 2);
        qToBigEndian<quint32>(ispeW, f.data() + gridIspeAt);
        qToBigEndian<quint32>(ispeH, f.data() + gridIspeAt + 4);
        return f;
    };
    const QString tooLarge = QStringLiteral(")は画像が大きすぎて読み込めません");
    const QString broken = QStringLiteral(")は壊れているため読み込めません");
    const struct
    {
        const char *name;
        QByteArray data;
        QString reason; // empty: it decodes
    } cases[] = {
        { "grid.heic", seed, {} },
        { "no-size.heic", variant(30000, 30000, 0, 0), broken },
        { "canvas-beyond-size.heic", variant(13, 8, 12, 8), broken },
        { "canvas-taller.heic", variant(12, 9, 12, 8), broken },
        // libheif writes the size after turning a picture into "ispe".
        { "size-turned.heic", variant(12, 8, 8, 12), {} },
        { "empty-canvas.heic", variant(0, 8, 12, 8), broken },
        { "huge.heic", variant(30000, 30000, 30000, 30000), tooLarge },
    };
    for (const auto &c : cases) {
        const QString file = path(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeAll(file, c.data));
        RecordingMessages messages;
        QImage bitmap;
        const bool loaded = LoadPictureFile(bitmap, file, messages);
        if (c.reason.isEmpty()) {
            EXPECT_TRUE(loaded) << c.name;
            EXPECT_EQ(bitmap.size(), QSize(12, 8)) << c.name;
            EXPECT_TRUE(messages.messages.isEmpty()) << c.name;
            continue;
        }
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_EQ(messages.messages, QStringList { "ファイル(" + file + c.reason }) << c.name;
    }
}

namespace {

// The module that decodes `file`, by its suffix.
QString moduleFor(const QString &file)
{
    return file.endsWith(".png") ? "png.spi" : file.endsWith(".jpg") ? "jpeg.spi" : "tiff.spi";
}

} // namespace

// Pictures asked for at a reduced size, also those whose pixels cannot come
// in the order of their rows: the passes of an interlaced PNG, a TIFF stored
// mirrored or turned, 16-bit CMYK. Each is reduced while it is decoded and
// gives exactly the whole picture's block averages, or its blocks' middle
// pixels when sampled, at every factor, with edge blocks narrower than the
// factor (37 x 23 pixels, and 3 x 2 where passes are empty).
TEST_F(ModernFormatModules, ReducedWhileDecodedInAnyOrderAreTheWholePicturesBlocks)
{
    ASSERT_TRUE(patternImage(3, 2).save(path("tiny.png")));
    const char *orientations[] = { "TopLeft", "TopRight", "BottomRight", "BottomLeft", "LeftTop",
        "RightTop", "RightBottom", "LeftBottom" };
    QList<QPair<QString, QStringList>> files = {
        { "plain.png", { path("rgba.png") } },
        { "interlaced.png", { path("rgb.png"), "-interlace", "PNG" } },
        { "interlaced-alpha.png", { path("rgba.png"), "-interlace", "PNG" } },
        { "interlaced-deep.png", { path("rgba16.png"), "-interlace", "PNG" } },
        { "interlaced-palette.png", { path("rgb.png"), "-interlace", "PNG", "-type", "Palette" } },
        { "interlaced-grey.png", { path("rgb.png"), "-interlace", "PNG", "-type", "Grayscale" } },
        { "interlaced-tiny.png", { path("tiny.png"), "-interlace", "PNG" } },
        { "cmyk16.tif", { path("rgb16.png"), "-colorspace", "CMYK", "-depth", "16" } },
        { "cmyk16-turned.tif",
            { path("rgb16.png"), "-colorspace", "CMYK", "-depth", "16", "-orient", "RightTop" } },
    };
    for (int o = 1; o <= 8; ++o)
        files.append({ QStringLiteral("o%1.tif").arg(o),
            { path("rgb.png"), "-orient", orientations[o - 1] } });
    files.append({ "o6-alpha.tif", { path("rgba.png"), "-orient", "RightTop" } });
    for (const auto &[name, args] : files) {
        const QString file = path(name);
        ASSERT_TRUE(tool("convert", args + QStringList { file })) << name.toStdString();
        const QImage whole = load(file);
        ASSERT_FALSE(whole.isNull()) << name.toStdString();
        for (ReductionKind kind : { ReductionKind::Average, ReductionKind::Sample })
            for (int factor : { 2, 4, 8 }) {
                const std::string what = name.toStdString() + " at " + std::to_string(factor)
                    + (kind == ReductionKind::Sample ? " sampled" : "");
                RecordingMessages messages;
                QImage reduced;
                PictureReduction got;
                const QSize wanted = wantedSizeFor(whole.size(), factor);
                ASSERT_TRUE(LoadPictureFile(reduced, file, messages, wanted, got, kind)) << what;
                const int expected = pictureReductionFor(whole.size(), wanted);
                EXPECT_EQ(got.factor, expected) << what;
                EXPECT_EQ(got.kind, kind) << what;
                EXPECT_EQ(got.fullSize, whole.size()) << what;
                QString why;
                EXPECT_TRUE(sameRgb(reduced, reducePicture(whole, expected, kind), &why))
                    << what << ": " << why.toStdString();
                // The module itself delivers the reduced picture (the host
                // would reduce a whole one to the same pixels).
                EXPECT_EQ(moduleDelivers(moduleFor(file), file, wanted, kind),
                    reducedPictureSize(whole.size(), expected))
                    << what;
            }
    }
    // JPEG samples at full size, row by row: colour, grey and CMYK.
    const QList<QPair<QString, QStringList>> jpegs = {
        { "colour.jpg", { path("rgb.png") } },
        { "grey.jpg", { path("rgb.png"), "-type", "Grayscale" } },
        { "cmyk.jpg", { path("rgb.png"), "-colorspace", "CMYK" } },
    };
    for (const auto &[name, args] : jpegs) {
        const QString file = path(name);
        ASSERT_TRUE(tool("convert", args + QStringList { file })) << name.toStdString();
        const QImage whole = load(file);
        for (int factor : { 2, 4, 8 }) {
            RecordingMessages messages;
            QImage sampled;
            PictureReduction got;
            const QSize wanted = wantedSizeFor(whole.size(), factor);
            ASSERT_TRUE(LoadPictureFile(sampled, file, messages, wanted, got, ReductionKind::Sample))
                << name.toStdString();
            QString why;
            EXPECT_TRUE(sameRgb(sampled, reducePicture(whole, got.factor, ReductionKind::Sample), &why))
                << name.toStdString() << " at " << factor << ": " << why.toStdString();
            EXPECT_EQ(moduleDelivers(moduleFor(file), file, wanted, ReductionKind::Sample),
                reducedPictureSize(whole.size(), got.factor))
                << name.toStdString();
        }
    }
}

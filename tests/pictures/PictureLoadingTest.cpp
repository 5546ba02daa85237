#include <QBuffer>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "pictures/BmpDecoder.h"
#include "pictures/LocalMemory.h"

using namespace cw;

namespace {

const QString kNoModuleFilter = QStringLiteral("画像|;*.bmp|BMP(*.bmp)|*.bmp");

QString missing(const QString &f)
{
    return "ファイル(" + f + ")がありません";
}
QString unusable(const QString &f)
{
    return "ファイル(" + f + ")は利用できない画像形式です(Pluginがありません)";
}

using LoadPictureFileTest = HostTest;

TEST_F(LoadPictureFileTest, ReadsBmpDirectlyWithoutAnyModule)
{
    const QImage source = patternImage(37, 23);
    ASSERT_TRUE(source.save(path("a.bmp"), "BMP"));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("a.bmp"), messages));
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(sameRgb(bitmap, source));
}

TEST_F(LoadPictureFileTest, MissingFileGivesOnlyTheMissingMessage)
{
    SusieHost::instance().load(realModuleDir());
    RecordingMessages messages;
    QImage bitmap(3, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    EXPECT_FALSE(LoadPictureFile(bitmap, path("none.png"), messages));
    EXPECT_EQ(messages.messages, QStringList { missing(path("none.png")) });
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 0, 0)); // untouched
}

TEST_F(LoadPictureFileTest, DirectoryCountsAsMissing)
{
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, work.path(), messages));
    EXPECT_EQ(messages.messages, QStringList { missing(work.path()) });
}

TEST_F(LoadPictureFileTest, UnknownFormatWithoutModulesGivesThePluginMessage)
{
    ASSERT_TRUE(patternImage(8, 8).save(path("a.png"), "PNG"));
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, path("a.png"), messages));
    EXPECT_EQ(messages.messages, QStringList { unusable(path("a.png")) });
    EXPECT_TRUE(bitmap.isNull());
}

TEST_F(LoadPictureFileTest, EmptyFileIsUnusable)
{
    ASSERT_TRUE(writeAll(path("empty.bmp"), QByteArray()));
    SusieHost::instance().load(realModuleDir());
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, path("empty.bmp"), messages));
    EXPECT_EQ(messages.messages, QStringList { unusable(path("empty.bmp")) });
}

// A 40-byte-header BMP written by hand.
QByteArray bmpFile(int width, int height, int bitCount, quint32 pixelBytes, quint32 sizeImage = 0,
    int paletteEntries = 0)
{
    QByteArray b;
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](quint16 v) {
        b.append(char(v & 0xff));
        b.append(char(v >> 8));
    };
    const quint32 offset = 54 + 4 * paletteEntries;
    b.append("BM");
    u32(offset + pixelBytes);
    u32(0);
    u32(offset);
    u32(40);
    u32(quint32(width));
    u32(quint32(height));
    u16(1);
    u16(quint16(bitCount));
    u32(0);
    u32(sizeImage);
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);
    b.append(QByteArray(4 * paletteEntries, '\x40'));
    b.append(QByteArray(int(pixelBytes), '\x7f'));
    return b;
}

// A damaged BMP file and what loading it gives: a picture of the size the
// file claims (the pixels it lacks are white), or a message ending in
// `message` after "ファイル(<file>)".
struct BadBmp
{
    const char *name;
    QByteArray data;
    QSize loaded; // empty when it must fail
    const char16_t *message = nullptr;
};

TEST_F(LoadPictureFileTest, DamagedBmpFilesFailWithAMessage)
{
    SusieHost::instance().load(realModuleDir());
    QByteArray good;
    {
        QBuffer buf(&good);
        buf.open(QIODevice::WriteOnly);
        patternImage(20, 10).save(&buf, "BMP");
    }
    // Not a BMP file the program reads, nor one a module decodes.
    const char16_t *unusable = u")は利用できない画像形式です(Pluginがありません)";
    const char16_t *tooLarge = u")は画像が大きすぎて読み込めません";
    const QList<BadBmp> cases = {
        { "truncated-header", good.left(30), {}, unusable },
        // Half the rows: the file's first rows (the picture's bottom ones).
        { "truncated-pixels", good.left(good.size() / 2), QSize(20, 10) },
        { "huge", bmpFile(100000, 100000, 24, 64), {}, tooLarge },
        { "bitcount-7", bmpFile(4, 4, 7, 64), {}, unusable },
        { "bitcount-0", bmpFile(4, 4, 0, 64), {}, unusable },
        { "zero-width", bmpFile(0, 4, 24, 64), {}, unusable },
        { "negative-width", bmpFile(-4, 4, 24, 64), {}, unusable },
        { "zero-height", bmpFile(4, 0, 24, 64), {}, unusable },
        // 16 million pixels (64 MB as RGB32) are within the limit; the image
        // size the header claims does not matter, the pixels are cut short.
        { "size-beyond-pixels", bmpFile(4000, 4000, 24, 64, 48000000), QSize(4000, 4000) },
        { "only-signature", QByteArray("BM"), {}, unusable },
    };
    for (const BadBmp &c : cases) {
        const QString file = path(QString::fromLatin1(c.name) + ".bmp");
        ASSERT_TRUE(writeAll(file, c.data));
        RecordingMessages messages;
        QImage bitmap;
        const bool loaded = LoadPictureFile(bitmap, file, messages);
        EXPECT_EQ(loaded, !c.loaded.isEmpty()) << c.name;
        if (!c.loaded.isEmpty()) {
            EXPECT_EQ(bitmap.size(), c.loaded) << c.name;
            EXPECT_EQ(messages.messages, QStringList()) << c.name;
        } else {
            EXPECT_EQ(messages.messages,
                QStringList({ "ファイル(" + file + QString::fromUtf16(c.message) }))
                << c.name;
            EXPECT_TRUE(bitmap.isNull()) << c.name;
        }
    }
    // The cut file holds 54 + 273 bytes: four whole rows of 60 bytes, the
    // picture's rows 9 to 6 (stored bottom-up), and a part of row 5. Those
    // rows are the picture's, the rows above are white.
    RecordingMessages messages;
    QImage cut;
    ASSERT_TRUE(LoadPictureFile(cut, path("truncated-pixels.bmp"), messages));
    const QImage pattern = patternImage(20, 10);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(cut.pixel(x, 9), pattern.pixel(x, 9)) << x;
        EXPECT_EQ(cut.pixel(x, 6), pattern.pixel(x, 6)) << x;
        EXPECT_EQ(cut.pixel(x, 0), qRgb(255, 255, 255)) << x;
        EXPECT_EQ(cut.pixel(x, 4), qRgb(255, 255, 255)) << x;
    }
}

TEST_F(LoadPictureFileTest, HugeBmpIsRefusedAsTooLarge)
{
    const QString file = path("huge.bmp");
    ASSERT_TRUE(writeAll(file, bmpFile(100000, 100000, 24, 64)));
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, file, messages));
    EXPECT_EQ(messages.messages,
        QStringList { "ファイル(" + file + ")は画像が大きすぎて読み込めません" });
}

// --- the host ---------------------------------------------------------------

using SusieHostTest = HostTest;

TEST_F(SusieHostTest, FilterWithoutModules)
{
    QTemporaryDir empty;
    SusieHost::instance().load(empty.path());
    EXPECT_EQ(SusieHost::instance().moduleCount(), 0);
    EXPECT_EQ(PictureFilter(), kNoModuleFilter);
    EXPECT_EQ(pictureOpenDialogFilter(), kNoModuleFilter + "|すべてのファイル(*.*)|*.*");
}

TEST_F(SusieHostTest, RealModulesGiveTheirPatternsInNameOrder)
{
    SusieHost::instance().load(realModuleDir());
    EXPECT_EQ(SusieHost::instance().moduleNames(),
        (QStringList { "gif.spi", "heif.spi", "jpeg.spi", "png.spi", "tiff.spi", "webp.spi" }));
    EXPECT_EQ(PictureFilter(),
        "画像|*.gif;*.heic;*.heif;*.avif;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.tif;*.tiff;*.webp"
        ";*.bmp|BMP(*.bmp)|*.bmp"
        "|GIF|*.gif|HEIF / AVIF|*.heic;*.heif;*.avif|JPEG|*.jpg;*.jpeg;*.jpe;*.jfif|PNG|*.png"
        "|TIFF|*.tif;*.tiff|WebP|*.webp");
}

TEST_F(SusieHostTest, ModulesThatAreNotImportFiltersOrLackEntryPointsAreSkipped)
{
    ModuleFolder folder({ "tm_export:a.spi", "tm_shortversion:b.spi", "tm_noinfo:c.spi",
        "tm_unresolved:d.spi", "tm_good:e.spi", "tm_nodecode:f.spi" });
    ASSERT_TRUE(writeAll(folder.file("g.spi"), "not a shared object"));
    ASSERT_TRUE(writeAll(folder.file("readme.txt"), "x"));
    SusieHost::instance().load(folder.path());
    // f.spi is an import filter without IsSupported/GetPicture: it is kept
    // (its patterns are offered) but passed over when decoding.
    EXPECT_EQ(SusieHost::instance().moduleNames(), (QStringList { "e.spi", "f.spi" }));
    EXPECT_EQ(PictureFilter(),
        "画像|*.cwtp;*.cwtp;*.bmp|BMP(*.bmp)|*.bmp|Test good|*.cwtp|Test nodecode|*.cwtp");
}

TEST_F(SusieHostTest, OnDemandLoadsModulesOnlyUpToTheOneThatDecodes)
{
    ModuleFolder folder({ "tm_export:a.spi", "tm_fail:b.spi", "tm_good:c.spi", "tm_tint:d.spi" });
    ASSERT_TRUE(writeAll(folder.file("e.spi"), "not a shared object"));
    SusieHost &host = SusieHost::instance();
    host.load(folder.path());
    const QString filterAtOnce = PictureFilter();

    host.load(folder.path(), ModuleLoading::OnDemand);
    EXPECT_EQ(host.loadedModuleCount(), 0);
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(2, 2, qRgb(10, 20, 30))));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    // a.spi is no import filter and is dropped, b.spi fails, c.spi decodes;
    // d.spi, which would tint the picture, is never asked.
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(host.loadedModuleCount(), 2);

    // The filter needs every module: the same text as loading them at once.
    EXPECT_EQ(PictureFilter(), filterAtOnce);
    EXPECT_EQ(host.moduleNames(), (QStringList { "b.spi", "c.spi", "d.spi" }));

    // A file no module takes asks every module, also those still waiting.
    host.load(folder.path(), ModuleLoading::OnDemand);
    ASSERT_TRUE(writeAll(path("x.bin"), QByteArray(64, 'x')));
    EXPECT_FALSE(LoadPictureFile(bitmap, path("x.bin"), messages));
    EXPECT_EQ(messages.messages.last(), unusable(path("x.bin")));
    EXPECT_EQ(host.loadedModuleCount(), 3);
}

TEST_F(SusieHostTest, HostileInfoTextsAreBoundedAndTheListEnds)
{
    ModuleFolder folder({ "tm_badinfo:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_EQ(SusieHost::instance().moduleCount(), 1);
    // Every text is cut at the 64 bytes asked for, and the never-ending
    // pattern list is cut after 256 entries.
    const QStringList fields = PictureFilter().split('|');
    ASSERT_EQ(fields.size(), 4 + 2 * 256);
    EXPECT_EQ(fields[4], QString(64, 'D'));
    EXPECT_EQ(fields[5], QString(64, 'P'));
}

TEST_F(SusieHostTest, PluginFolderFromTheSettingsGetsATrailingSeparator)
{
    EXPECT_EQ(withTrailingSeparator("/opt/spi"), "/opt/spi/");
    EXPECT_EQ(withTrailingSeparator("/opt/spi/"), "/opt/spi/");

    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Takechin", "Susie");
        s.remove("Plug-in");
    }
    EXPECT_EQ(susiePluginFolder(), programModuleFolder() + "/");
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Takechin", "Susie");
        s.setValue("Plug-in/Path", "/opt/spi");
    }
    EXPECT_EQ(susiePluginFolder(), "/opt/spi/");
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Takechin", "Susie");
        s.setValue("Plug-in/Path", "/opt/other/");
    }
    EXPECT_EQ(susiePluginFolder(), "/opt/other/");
    {
        // A group with an empty value names no folder.
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Takechin", "Susie");
        s.setValue("Plug-in/Path", "");
    }
    EXPECT_EQ(susiePluginFolder(), programModuleFolder() + "/");
}

TEST_F(SusieHostTest, FileAcceptedOnlyAtByte128IsDecodedWithOffset128)
{
    ModuleFolder folder({ "tm_only128:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(5, 3, qRgb(10, 20, 30), 0, 128)));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    EXPECT_EQ(bitmap.size(), QSize(5, 3));
    EXPECT_EQ(bitmap.pixel(4, 2), qRgb(10, 20, 30));
    // Without the prefix the same module does not decode at offset 0.
    ASSERT_TRUE(writeAll(path("q.cwtp"), testPicture(5, 3, qRgb(10, 20, 30))));
    EXPECT_FALSE(LoadPictureFile(bitmap, path("q.cwtp"), messages));
    EXPECT_EQ(messages.messages.last(), unusable(path("q.cwtp")));
}

TEST_F(SusieHostTest, FirstAcceptingModuleDecodes)
{
    ModuleFolder folder({ "tm_good:a.spi", "tm_tint:b.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(2, 2, qRgb(10, 20, 30))));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(10, 20, 30));
}

TEST_F(SusieHostTest, WhenTheFirstAcceptingModuleFailsTheSecondDecodes)
{
    ModuleFolder folder(
        { "tm_fail:a.spi", "tm_nogetpicture:b.spi", "tm_nodecode:c.spi", "tm_tint:d.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_EQ(SusieHost::instance().moduleCount(), 4);
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(2, 2, qRgb(10, 20, 30))));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(10, 20, 30 ^ 0xff)); // the tinting module's
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(SusieHostTest, ConvertByPluginLeavesACompleteBmpWithThePositionAtTheEnd)
{
    ModuleFolder folder({ "tm_good:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(3, 2, qRgb(1, 2, 3))));
    QBuffer stream;
    ASSERT_TRUE(ConvertByPlugin(path("p.cwtp"), stream));
    const QByteArray bmp = stream.data();
    EXPECT_EQ(stream.pos(), bmp.size());
    ASSERT_EQ(bmp.size(), 14 + 40 + 2 * 12);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 2), quint32(bmp.size()));
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 10), 54u);
    EXPECT_FALSE(ConvertByPlugin(path("none.cwtp"), stream));
}

TEST_F(SusieHostTest, HostileModuleOutputNeverCrashesAndLeaksNoBlock)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    const size_t before = liveLocalBlocks();
    for (int mode : { 1, 2, 3, 4, 5, 8, 9, 10, 11, 12 }) {
        const QString file = path(QString("h%1.cwtp").arg(mode));
        ASSERT_TRUE(writeAll(file, testPicture(4, 4, qRgb(1, 2, 3), mode)));
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_FALSE(LoadPictureFile(bitmap, file, messages)) << mode;
        EXPECT_EQ(messages.messages, QStringList { unusable(file) }) << mode;
        EXPECT_EQ(liveLocalBlocks(), before) << mode;
    }
}

TEST_F(SusieHostTest, ShortColourTableIsCompletedWithZeroEntries)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(4, 2, qRgb(200, 100, 50), 6)));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    ASSERT_EQ(bitmap.size(), QSize(4, 2));
    // top row 1 1 0 0, bottom row 0 1 2 3
    EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffff, 0xffffffu);
    EXPECT_EQ(bitmap.pixel(2, 0) & 0xffffff, qRgb(200, 100, 50) & 0xffffff);
    EXPECT_EQ(bitmap.pixel(0, 1) & 0xffffff, qRgb(200, 100, 50) & 0xffffff);
    EXPECT_EQ(bitmap.pixel(2, 1) & 0xffffff, 0u);
    EXPECT_EQ(bitmap.pixel(3, 1) & 0xffffff, 0u);
}

TEST_F(SusieHostTest, ThirtyTwoBitPictureWithoutImageSizeHasRowsOfFourBytesAPixel)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(3, 2, qRgb(9, 8, 7), 7)));
    QBuffer stream;
    ASSERT_TRUE(ConvertByPlugin(path("p.cwtp"), stream));
    const QByteArray bmp = stream.data();
    // 14 + 40 + three masks + 2 rows of 12 bytes
    ASSERT_EQ(bmp.size(), 14 + 40 + 12 + 24);
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 10), 66u);
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 14 + 32), 0u); // colours used
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 14 + 36), 0u); // important
}

TEST_F(SusieHostTest, TopDownModuleOutputLoads)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(1, 2, qRgb(9, 8, 7), 13)));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffff, qRgb(9, 8, 7) & 0xffffff);
    EXPECT_EQ(bitmap.pixel(0, 1) & 0xffffff, 0u);
}

TEST_F(SusieHostTest, TopDown32BitRowsWithAZeroFourthByteLoadOpaque)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(2, 1, qRgb(9, 8, 7), 14)));
    RecordingMessages messages;
    QImage bitmap;
    ASSERT_TRUE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    ASSERT_EQ(bitmap.size(), QSize(2, 1));
    // The fourth byte of a 32-bit row is unused: the picture is opaque, as the
    // BMP image of the same output reads.
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(9, 8, 7));
    EXPECT_EQ(bitmap.pixel(1, 0), qRgb(9, 8, 7));
    EXPECT_EQ(bitmap.convertToFormat(QImage::Format_ARGB32).pixel(1, 0), qRgb(9, 8, 7));
    // Drawn onto a transparent canvas it covers it.
    QImage canvas(2, 1, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, bitmap);
    }
    EXPECT_EQ(canvas.pixel(1, 0), qRgb(9, 8, 7));
    QBuffer stream;
    ASSERT_TRUE(ConvertByPlugin(path("p.cwtp"), stream));
    QImage viaBmp;
    ASSERT_TRUE(viaBmp.loadFromData(stream.data(), "BMP"));
    EXPECT_EQ(viaBmp.pixel(0, 0), bitmap.pixel(0, 0));
}

TEST_F(SusieHostTest, ModuleRefusesAPictureBeyondTheLimit)
{
    ModuleFolder folder({ "tm_good:a.spi" });
    SusieHost::instance().load(folder.path());
    ASSERT_TRUE(writeAll(path("p.cwtp"), testPicture(100000, 100000, qRgb(1, 2, 3))));
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, path("p.cwtp"), messages));
    EXPECT_EQ(messages.messages, QStringList { unusable(path("p.cwtp")) });
}

TEST_F(SusieHostTest, ModuleThatGivesAReasonGetsTheMatchingMessage)
{
    // tm_reason exports the failure-reason extension, tm_fail does not: the
    // same failure from tm_fail alone keeps the old message.
    struct Case
    {
        QStringList modules;
        int mode;
        QString message;
    };
    const QString f = path("p.cwtp");
    const QList<Case> cases = {
        { { "tm_reason:a.spi" }, 20, "ファイル(" + f + ")は画像が大きすぎて読み込めません" },
        { { "tm_reason:a.spi" }, 21, "ファイル(" + f + ")は壊れているため読み込めません" },
        { { "tm_fail:a.spi", "tm_reason:b.spi" }, 21,
            "ファイル(" + f + ")は壊れているため読み込めません" },
        { { "tm_fail:a.spi" }, 21, unusable(f) },
        { { "tm_reason:a.spi" }, 0, QString() }, // the plain picture decodes
    };
    for (const Case &c : cases) {
        ModuleFolder folder(c.modules);
        SusieHost::instance().load(folder.path());
        ASSERT_TRUE(writeAll(f, testPicture(1, 1, qRgb(1, 2, 3), c.mode)));
        RecordingMessages messages;
        QImage bitmap;
        EXPECT_EQ(LoadPictureFile(bitmap, f, messages), c.message.isEmpty());
        EXPECT_EQ(
            messages.messages, c.message.isEmpty() ? QStringList() : QStringList { c.message })
            << c.modules.join(' ').toStdString() << " mode " << c.mode;
    }
}

TEST_F(SusieHostTest, RealModuleSaysATruncatedFileIsBroken)
{
    SusieHost::instance().load(realModuleDir());
    // A PNG signature and a header chunk cut short.
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000");
    ASSERT_TRUE(writeAll(path("cut.png"), png));
    RecordingMessages messages;
    QImage bitmap;
    EXPECT_FALSE(LoadPictureFile(bitmap, path("cut.png"), messages));
    EXPECT_EQ(messages.messages,
        QStringList { "ファイル(" + path("cut.png") + ")は壊れているため読み込めません" });
}

// --- the BMP assembly -------------------------------------------------------

QByteArray infoBlock(int width, int height, int bitCount, quint32 sizeImage, int extraBytes)
{
    QByteArray b(40 + extraBytes, '\0');
    qToLittleEndian<quint32>(40, b.data());
    qToLittleEndian<qint32>(width, b.data() + 4);
    qToLittleEndian<qint32>(height, b.data() + 8);
    qToLittleEndian<quint16>(1, b.data() + 12);
    qToLittleEndian<quint16>(quint16(bitCount), b.data() + 14);
    qToLittleEndian<quint32>(sizeImage, b.data() + 20);
    qToLittleEndian<quint32>(99, b.data() + 32);
    qToLittleEndian<quint32>(98, b.data() + 36);
    for (int i = 40; i < b.size(); ++i)
        b[i] = char(i);
    return b;
}

TEST(AssembleBmp, PaletteEntriesAndRowSizesFollowTheBitCount)
{
    struct Row
    {
        int bits, width, palette, rowBytes;
    };
    const QList<Row> rows = {
        { 1, 9, 2, 4 },
        { 1, 33, 2, 8 },
        { 4, 9, 16, 8 },
        { 8, 5, 256, 8 },
        { 16, 3, 3, 8 },
        { 24, 5, 0, 16 },
        { 32, 3, 3, 12 },
    };
    for (const Row &r : rows) {
        const QByteArray info = infoBlock(r.width, 3, r.bits, 0, 4 * r.palette);
        const QByteArray pixels(r.rowBytes * 3, '\x11');
        QByteArray out;
        ASSERT_TRUE(assembleBmpFromPlugin(
            info.constData(), info.size(), pixels.constData(), pixels.size(), out))
            << r.bits;
        const quint32 offset = 14 + 40 + 4 * r.palette;
        EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 10), offset) << r.bits;
        EXPECT_EQ(out.size(), qsizetype(offset + 3 * r.rowBytes)) << r.bits;
        EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 2), quint32(out.size()));
        EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 14 + 32), 0u);
        EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 14 + 36), 0u);
        EXPECT_EQ(out.mid(54, 4 * r.palette), info.mid(40)) << r.bits;
        // One byte fewer pixels than the rows need: refused, not read past.
        QByteArray shortOut;
        EXPECT_FALSE(assembleBmpFromPlugin(
            info.constData(), info.size(), pixels.constData(), pixels.size() - 1, shortOut));
    }
}

TEST(AssembleBmp, ImageSizeFieldWinsWhenNotZero)
{
    const QByteArray info = infoBlock(5, 3, 24, 20, 0);
    const QByteArray pixels(48, '\x22');
    QByteArray out;
    ASSERT_TRUE(assembleBmpFromPlugin(info.constData(), info.size(), pixels.constData(), 48, out));
    EXPECT_EQ(out.size(), 54 + 20);
}

TEST(AssembleBmp, RefusesBadBlocks)
{
    const QByteArray pixels(4096, '\0');
    QByteArray out;
    const QByteArray shortInfo = infoBlock(2, 2, 24, 0, 0).left(39);
    EXPECT_FALSE(assembleBmpFromPlugin(shortInfo.constData(), 39, pixels.constData(), 4096, out));
    for (int bits : { 0, 2, 7, 12, 64 }) {
        const QByteArray info = infoBlock(2, 2, bits, 0, 0);
        EXPECT_FALSE(assembleBmpFromPlugin(info.constData(), 40, pixels.constData(), 4096, out));
    }
    const QByteArray zeroW = infoBlock(0, 2, 24, 0, 0);
    EXPECT_FALSE(assembleBmpFromPlugin(zeroW.constData(), 40, pixels.constData(), 4096, out));
    const QByteArray zeroH = infoBlock(2, 0, 24, 0, 0);
    EXPECT_FALSE(assembleBmpFromPlugin(zeroH.constData(), 40, pixels.constData(), 4096, out));
    const QByteArray huge = infoBlock(100000, 100000, 24, 0, 0);
    EXPECT_FALSE(assembleBmpFromPlugin(huge.constData(), 40, pixels.constData(), 4096, out));
    EXPECT_TRUE(out.isEmpty());
}

} // namespace

TEST(LoadPictureFileNonRegular, APipeOrADeviceIsRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    RecordingMessages messages;
    QImage bitmap;
    // Opening a pipe with no writer would block: the loader must not open it.
    EXPECT_FALSE(LoadPictureFile(bitmap, fifo, messages));
    EXPECT_FALSE(LoadPictureFile(bitmap, QStringLiteral("/dev/zero"), messages));
    EXPECT_FALSE(LoadPictureFile(bitmap, dir.path(), messages));
    ASSERT_EQ(messages.messages.size(), 3);
    EXPECT_TRUE(messages.messages[0].startsWith(QStringLiteral("ファイル(") + fifo));
    EXPECT_TRUE(bitmap.isNull());
}

// Decoding through a module reads the pixel rows where the module left them:
// the picture is exactly the one the converted BMP image reads as through the
// program's BMP decoder (format, colour table, masks and all), and no block is
// left behind.
TEST_F(SusieHostTest, DecodingInPlaceGivesTheConvertedBmpsPicture)
{
    ModuleFolder folder({ "tm_hostile:a.spi" });
    SusieHost::instance().load(folder.path());
    const size_t before = liveLocalBlocks();
    // 0 plain, 6 a short colour table, 7 32 bits without masks, 13 top-down rows
    for (int mode : { 0, 6, 7, 13 }) {
        const QString file = path(QString("m%1.cwtp").arg(mode));
        ASSERT_TRUE(writeAll(file, testPicture(5, 3, qRgb(200, 100, 50), mode)));
        RecordingMessages messages;
        QImage bitmap;
        ASSERT_TRUE(LoadPictureFile(bitmap, file, messages)) << mode;
        QBuffer stream;
        ASSERT_TRUE(ConvertByPlugin(file, stream)) << mode;
        QImage viaBmp;
        ASSERT_EQ(decodeBmp(stream.data(), viaBmp, quint64(1) << 24), BmpStatus::Ok) << mode;
        EXPECT_EQ(bitmap.format(), viaBmp.format()) << mode;
        EXPECT_EQ(bitmap.colorTable(), viaBmp.colorTable()) << mode;
        EXPECT_TRUE(bitmap == viaBmp) << mode;
        EXPECT_EQ(liveLocalBlocks(), before) << mode;
    }
}

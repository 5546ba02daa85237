#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <iterator>

#include "base/ProgramFolders.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"
#include "spi.h"

using namespace cw;

// The folders of the real decoder modules (the program's module folder of
// the build tree) and of the modules built only for the tests.
inline QString realModuleDir()
{
    return programModuleFolder();
}
inline QString testModuleDir()
{
    return QStringLiteral(CASEWRIGHT_BIN_DIR "/../test-modules");
}

// A folder holding copies of test modules under chosen names (the host
// loads them in name order).
class ModuleFolder
{
public:
    // "module:name in the folder" entries, e.g. "tm_fail:a.spi"
    explicit ModuleFolder(const QStringList &modules)
    {
        for (const QString &m : modules) {
            const QString from = testModuleDir() + "/" + m.section(':', 0, 0) + ".spi";
            EXPECT_TRUE(QFile::copy(from, dir.filePath(m.section(':', 1)))) << from.toStdString();
        }
    }
    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// The test format of the test modules: "CWTP", mode, size, one colour;
// `prefix` bytes of zeros come first.
inline QByteArray testPicture(int width, int height, QRgb color, int mode = 0, int prefix = 0)
{
    QByteArray b(prefix, '\0');
    QByteArray h(20, '\0');
    h.replace(0, 4, "CWTP");
    h[4] = char(mode);
    for (int i = 0; i < 4; ++i) {
        h[8 + i] = char((width >> (8 * i)) & 0xff);
        h[12 + i] = char((height >> (8 * i)) & 0xff);
    }
    h[16] = char(qRed(color));
    h[17] = char(qGreen(color));
    h[18] = char(qBlue(color));
    return b + h;
}

// A picture with varied content, the same on every run.
inline QImage patternImage(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(w, h, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) & 31);
            img.setPixel(x, y,
                qRgba((x * 255 / std::max(1, w - 1) + noise) & 255,
                    (y * 255 / std::max(1, h - 1)) & 255, (x * y + noise * 3) & 255,
                    (x * 7 + y * 3) & 255));
        }
    return img.convertToFormat(format);
}

inline bool sameRgb(const QImage &a, const QImage &b, QString *why = nullptr)
{
    if (a.size() != b.size()) {
        if (why)
            *why = QStringLiteral("size %1x%2 vs %3x%4")
                       .arg(a.width())
                       .arg(a.height())
                       .arg(b.width())
                       .arg(b.height());
        return false;
    }
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff)) {
                if (why)
                    *why = QStringLiteral("pixel (%1,%2): %3 vs %4")
                               .arg(x)
                               .arg(y)
                               .arg(a.pixel(x, y), 8, 16)
                               .arg(b.pixel(x, y), 8, 16);
                return false;
            }
    return true;
}

// A colour with alpha flattened onto white paper: each channel becomes the
// whole number nearest to c * a / 255 + (255 - a), the colour's share and
// white's (255 * (255 - a) / 255 is whole). c * a / 255 is never a half, so
// there is no tie to settle. kOnWhiteByHand below checks this against
// values worked out by hand.
inline int onWhite(int c, int a)
{
    return int(std::lround(c * a / 255.0)) + 255 - a;
}

// The reference for a decoded picture with alpha: `image` (straight, not
// premultiplied alpha) flattened onto white pixel by pixel.
inline QImage flattenedOnWhite(const QImage &image)
{
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = src.pixel(x, y);
            const int a = qAlpha(c);
            out.setPixel(x, y, qRgb(onWhite(qRed(c), a), onWhite(qGreen(c), a), onWhite(qBlue(c), a)));
        }
    return out;
}

// Grey levels with alpha and what they become on white, worked out by hand
// as round(c * a / 255) + 255 - a. Where it says "not", truncating instead
// of rounding would give one less.
struct OnWhiteCase
{
    int grey, alpha, flattened;
};
inline constexpr OnWhiteCase kOnWhiteByHand[] = {
    { 200, 0, 255 }, // nothing of the colour: white
    { 77, 255, 77 }, // opaque: the colour itself
    { 0, 128, 127 }, // 0 + 127
    { 255, 128, 255 }, // 128 + 127
    { 1, 128, 128 }, // 128 / 255 = 0.502 -> 1, + 127 (not 127)
    { 100, 100, 194 }, // 10000 / 255 = 39.2 -> 39, + 155
    { 254, 3, 255 }, // 762 / 255 = 2.988 -> 3, + 252 (not 254)
    { 10, 200, 63 }, // 2000 / 255 = 7.84 -> 8, + 55 (not 62)
    { 128, 64, 223 }, // 8192 / 255 = 32.1 -> 32, + 191
    { 51, 250, 55 }, // 12750 / 255 = 50 exactly, + 5
};

// A row of grey pixels with alpha, one for each hand-worked case. Red, green
// and blue carry the same level, so these cases are about alpha alone; the
// order of the channels is for the whole-picture comparisons.
inline QImage onWhiteCasesImage()
{
    const int n = int(std::size(kOnWhiteByHand));
    QImage img(n, 1, QImage::Format_ARGB32);
    for (int x = 0; x < n; ++x) {
        const OnWhiteCase &c = kOnWhiteByHand[x];
        img.setPixel(x, 0, qRgba(c.grey, c.grey, c.grey, c.alpha));
    }
    return img;
}

// Checks a decoded onWhiteCasesImage() against the hand-worked values.
inline void expectOnWhiteCases(const QImage &decoded, const std::string &what)
{
    const int n = int(std::size(kOnWhiteByHand));
    ASSERT_EQ(decoded.size(), QSize(n, 1)) << what;
    for (int x = 0; x < n; ++x) {
        const OnWhiteCase &c = kOnWhiteByHand[x];
        const int v = c.flattened;
        EXPECT_EQ(decoded.pixel(x, 0) & 0xffffff, qRgb(v, v, v) & 0xffffff)
            << what << ": grey " << c.grey << " alpha " << c.alpha;
    }
}

// The size of the picture decoder module `module` (its file name in the
// program's module folder) delivers for `file` when asked for `wanted`
// through its reduction extension, or its sampling one; invalid when it fails
// or has no such extension.
inline QSize moduleDelivers(const QString &module, const QString &file, QSize wanted,
    ReductionKind kind = ReductionKind::Average)
{
    void *handle = dlopen(QFile::encodeName(realModuleDir() + "/" + module).constData(), RTLD_NOW);
    if (!handle)
        return QSize();
    auto get = reinterpret_cast<SpiGetPictureReduced>(dlsym(
        handle, kind == ReductionKind::Sample ? "GetPictureSampled" : "GetPictureReduced"));
    QSize size;
    SpiHandle info = nullptr, pixels = nullptr;
    int32_t fw = 0, fh = 0;
    if (get
        && get(SPI_REDUCED_EXTENSION_VERSION, QFile::encodeName(file).constData(), 0, 0,
               wanted.width(), wanted.height(), &fw, &fh, &info, &pixels, nullptr, 0)
            == SPI_OK) {
        const auto *header = static_cast<const unsigned char *>(LocalLock(info));
        const qint32 h = qFromLittleEndian<qint32>(header + 8);
        size = QSize(qFromLittleEndian<qint32>(header + 4), h < 0 ? -h : h);
        LocalUnlock(info);
    }
    if (info)
        LocalFree(info);
    if (pixels)
        LocalFree(pixels);
    dlclose(handle);
    return size;
}

// Every test leaves the host without modules.
class HostTest : public ::testing::Test
{
protected:
    void TearDown() override { FreeSusiePlugins(); }
    QTemporaryDir work;
    QString path(const QString &name) const { return work.filePath(name); }
};

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

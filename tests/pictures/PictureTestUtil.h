#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "base/ProgramFolders.h"
#include "pictures/PictureLoading.h"
#include "pictures/SusieHost.h"

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

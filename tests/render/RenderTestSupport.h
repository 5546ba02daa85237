#pragma once

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include "document/LabelDocument.h"
#include "render/Geometry.h"
#include "render/PictureFileReader.h"

using namespace cw;

// Reads picture files straight with QImage and counts every read, so that
// tests see when the renderer goes back to the file.
class CountingReader : public PictureFileReader
{
public:
    bool load(QImage &bitmap, const QString &fileName) override
    {
        ++loads;
        QImage image(fileName);
        if (image.isNull())
            return false;
        bitmap = image;
        return true;
    }
    QImage copyRegion(const QImage &source, const QRect &rect) override
    {
        ++copies;
        if (failCopy)
            return QImage();
        return PictureFileReader::copyRegion(source, rect);
    }
    bool crop(QImage &bitmap, const PixelRect &rect) override
    {
        ++crops;
        if (failCrop)
            return false;
        return PictureFileReader::crop(bitmap, rect);
    }
    int loads = 0, copies = 0, crops = 0;
    bool failCopy = false, failCrop = false;
};

// All print options off.
// "MoveTo x0 y0" + "LineTo x1 y1"
inline QStringList seg(int x0, int y0, int x1, int y1)
{
    return { QStringLiteral("MoveTo %1 %2").arg(x0).arg(y0),
        QStringLiteral("LineTo %1 %2").arg(x1).arg(y1) };
}

// Dashes down column x from y while y < end, `dash` long, every 2 * dash.
inline QStringList dashes(int x, int y, int end, int dash)
{
    QStringList out;
    for (; y < end; y += 2 * dash)
        out << seg(x, y, x, y + dash);
    return out;
}

inline PrintOptions optionsOff()
{
    PrintOptions o;
    o.boundaryLines = false;
    o.foldLines = false;
    o.spinesSameDirection = false;
    return o;
}

// A document at the given reference resolution with nothing placed.
inline LabelDocument emptyDocument(int dpi = 300)
{
    LabelDocument doc;
    doc.dpiX = dpi;
    doc.dpiY = dpi;
    doc.surfacePixels = surfacePixelsAt(dpi, dpi);
    return doc;
}

// The lines starting with `prefix`.
// A document of a case with every surface coloured and titled and both
// lists on.
inline LabelDocument colouredDocument(const char *format = "cd-jewel")
{
    LabelDocument doc = emptyDocument(300);
    doc.caseFormat = QString::fromLatin1(format);
    doc.top.backgroundColor1 = 0x00112233;
    doc.top.backgroundColor2 = 0x00445566;
    doc.bottom.backgroundColor1 = 0x00778899;
    doc.left.backgroundColor1 = 0x00aabbcc;
    doc.right.backgroundColor1 = 0x00ddeeff;
    for (Surface s : kAllSurfaces) {
        doc.surface(s).title.use = true;
        doc.surface(s).title.text = surfacePrefix(s);
    }
    doc.top.useList = doc.bottom.useList = true;
    doc.listRows = { TListData() };
    return doc;
}

inline QStringList linesStarting(const QStringList &lines, const QString &prefix)
{
    QStringList out;
    for (const QString &l : lines)
        if (l.startsWith(prefix))
            out.append(l);
    return out;
}

// A picture whose every pixel tells where it is: red = x, green = y (mod 256),
// blue = 0x40.
inline QImage coordinateImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0x40));
    return img;
}

inline QString saveImage(const QTemporaryDir &dir, const QString &name, const QImage &img)
{
    const QString path = QDir(dir.path()).filePath(name);
    img.save(path, "BMP");
    return path;
}

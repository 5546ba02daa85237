#pragma once

// What the document file tests share: the lines of a new document, building
// file bytes from lines, and a fixture with a document, its editor and a folder.
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "render/Geometry.h"

using namespace cw;

inline QString dataDir()
{
    return QStringLiteral(CASEWRIGHT_TEST_DATA "/document");
}

// Lines joined with CR LF, encoded as CP932, each line ending with a break.
inline QByteArray fileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines) {
        out += sjis(l);
        out += "\r\n";
    }
    return out;
}

inline void insertLines(QStringList &lines, int at, const QStringList &more)
{
    for (int i = 0; i < more.size(); ++i)
        lines.insert(at + i, more[i]);
}

// The lines a new document is saved as.
inline const QStringList kNewDocumentLines = {
    "<Casewright Data File>",
    "1.06",
    "",
    "[Print Setting]",
    "3 003 000 009 070 030 002 002 000",
    "3 003 000 009 087 030 002 002 000",
    "",
    "[DPI]",
    "300 300",
    "",
    "[Top Label]",
    "00ffffff",
    "00ffffff",
    "0",
    "",
    "1",
    "0 0",
    "0 0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0",
    "",
    "0 0 0 0",
    "0 0",
    "0",
    "",
    "[Top1Prints]",
    "",
    "[Top2Prints]",
    "",
    "[Bottom Label]",
    "00ffffff",
    "0 0",
    "",
    "1",
    "0 0",
    "0 0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0 0",
    "",
    "0 0 0 0",
    "0",
    "0",
    "",
    "[Left Title]",
    "00ffffff",
    "0 0",
    "",
    "0",
    "0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0",
    "",
    "0 0 0 0",
    "",
    "[Right Title]",
    "00ffffff",
    "0 0 0",
    "",
    "0",
    "0",
    "-2147483640 009 128 0 0 0 0",
    "ＭＳ Ｐゴシック",
    "0 0",
    "",
    "0 0 0 0",
    "",
    "[BottomPrints]",
    "",
    "[List]",
};

// A document at 300 dpi with its editor, a folder for files and recorders
// for what the user is shown.
struct FileFixture : ::testing::Test
{
    FileFixture()
        : ed(doc, &messages)
    {
        useResolution(doc, 300, 300);
    }
    static void useResolution(LabelDocument &d, int x, int y)
    {
        d.dpiX = x;
        d.dpiY = y;
        d.surfacePixels = surfacePixelsAt(x, y);
    }
    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeAll(path, data));
        return path;
    }
    LoadStatus load(const QString &path) { return loadDocument(ed, path, progress); }
    // Loads `data` into a new document and returns its saved bytes.
    QByteArray resaved(const LabelDocument &d)
    {
        DocumentBytes b = documentBytes(d);
        EXPECT_TRUE(b.ok()) << b.problems.toStdString();
        return b.data;
    }

    QTemporaryDir dir;
    LabelDocument doc;
    RecordingMessages messages;
    RecordingProgress progress;
    DocumentEditor ed;
};

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "RenderTestSupport.h"

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "document/PicturePlacementOps.h"
#include "pictures/PictureLoading.h"
#include "render/PageOutput.h"

using namespace cw;

namespace {

// A document whose cover picture is also on the back (linked) and on the
// left spine, saved in `dir`; returns the document's path.
QString coverOnThreeSurfaces(const QTemporaryDir &dir)
{
    const QString cover = saveImage(dir, "cover.bmp", coordinateImage(400, 300));
    NullMessageSink quiet;
    LabelDocument doc = emptyDocument();
    setPictureUse(doc, Surface::Top, true);
    LoadSurfacePicture(doc, Surface::Top, cover, quiet);
    setPictureUse(doc, Surface::Bottom, true);
    setPictureLink(doc, Surface::Top, true);
    setPictureUse(doc, Surface::Left, true);
    LoadSurfacePicture(doc, Surface::Left, cover, quiet);
    const QString path = QDir(dir.path()).filePath("insert.cwr");
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

void load(LabelDocument &doc, const QString &path)
{
    NullMessageSink quiet;
    NullProgressSink progress;
    DocumentEditor editor(doc, &quiet);
    ASSERT_EQ(loadDocument(editor, path, progress), LoadStatus::Loaded);
}

} // namespace

// Reading the document decodes the picture once for the three surfaces, and
// printing takes each visible part from the picture held without reading the
// file; the pages are those drawn from the file read afresh.
TEST(SharedPicture, ACoverOnThreeSurfacesIsDecodedOnceAndNotReadWhenPrinted)
{
    QTemporaryDir dir;
    const QString path = coverOnThreeSurfaces(dir);
    LabelDocument doc, fresh;
    load(doc, path);
    load(fresh, path);
    const uchar *bits = doc.top.picture.bitmap.constBits();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(doc.bottom.picture.bitmap.constBits(), bits);
    EXPECT_EQ(doc.left.picture.bitmap.constBits(), bits);

    // A cache that holds neither the part nor the whole picture: the file is
    // read again, as before the picture was ever held.
    for (PicturePlacement *p : { &fresh.top.picture, &fresh.bottom.picture, &fresh.left.picture })
        p->sourceRect = PixelRect { 0, 0, 1, 1 };

    CountingReader reader, freshReader;
    for (PreviewPage page : { PreviewPage::Front, PreviewPage::Back }) {
        SCOPED_TRACE(int(page));
        const QImage got = renderPageImage(doc, optionsOff(), page, 96, 96, 1046, 604, &reader);
        const QImage want
            = renderPageImage(fresh, optionsOff(), page, 96, 96, 1046, 604, &freshReader);
        EXPECT_TRUE(got == want);
    }
    EXPECT_EQ(reader.loads, 0);
    EXPECT_EQ(freshReader.loads, 3);
    EXPECT_EQ(doc.left.picture.sourceRect, fresh.left.picture.sourceRect);
    EXPECT_EQ(doc.left.picture.bitmap.size(), fresh.left.picture.bitmap.size());
}

// Loads are shared only while a SharedPictureLoads lives and only for the
// same file unchanged.
TEST(SharedPicture, OnlyTheSameUnchangedFileIsSharedAndOnlyWhileLoadsAreShared)
{
    QTemporaryDir dir;
    const QString file = saveImage(dir, "a.bmp", coordinateImage(40, 30));
    NullMessageSink quiet;
    QImage a, b, c;
    ASSERT_TRUE(LoadPictureFile(a, file, quiet));
    ASSERT_TRUE(LoadPictureFile(b, file, quiet));
    EXPECT_NE(a.constBits(), b.constBits());
    {
        SharedPictureLoads shared;
        ASSERT_TRUE(LoadPictureFile(a, file, quiet));
        ASSERT_TRUE(LoadPictureFile(b, file, quiet));
        EXPECT_EQ(shared.decodes, 1);
        EXPECT_EQ(a.constBits(), b.constBits());
        saveImage(dir, "a.bmp", coordinateImage(41, 30)); // another size
        ASSERT_TRUE(LoadPictureFile(c, file, quiet));
        EXPECT_EQ(shared.decodes, 2);
        EXPECT_EQ(c.width(), 41);
        EXPECT_FALSE(LoadPictureFile(c, dir.filePath("missing.bmp"), quiet));
        EXPECT_EQ(c.width(), 41);
    }
}

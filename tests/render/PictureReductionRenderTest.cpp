// Pictures drawn from the pixels the page needs: the reduction chosen for a
// table of sizes and resolutions, the numbers the document keeps in the
// file's own pixels, a reduced cover against the whole picture's page, and
// pages that need no reduction drawn from whole pictures.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>

#include "RenderTestSupport.h"

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "document/PicturePlacementOps.h"
#include "pictures/PictureLoading.h"
#include "render/DrawSurfacePicture.h"
#include "render/PageOutput.h"

using namespace cw;

namespace {

struct NeedCase
{
    const char *what;
    int pixelWidth, pixelHeight;
    int posX, posY, printWidth, printHeight;
    int surfaceWidth, surfaceHeight;
    int dpi, targetDpi;
    bool transparent;
    int factor;
};

// The reduction is the largest of 1, 2, 4, 8 that keeps one pixel of the
// visible part for each device pixel, at the target resolution or the
// reference one, whichever is finer.
TEST(PictureReductionNeeded, ForATableOfSizesAndResolutions)
{
    const NeedCase cases[] = {
        // A 12000 x 9000 photograph covering the 300-dpi cover face (as
        // loading places it): 9116 x 9000 pixels show on 1429 x 1411.
        { "cover 300 dpi", 12000, 9000, -226, 0, 1881, 1411, 1429, 1411, 300, 300, false, 4 },
        { "cover printed at 600 dpi", 12000, 9000, -226, 0, 1881, 1411, 1429, 1411, 300, 600,
            false, 2 },
        { "cover in the 96-dpi preview", 12000, 9000, -226, 0, 1881, 1411, 1429, 1411, 300, 96,
            false, 4 },
        { "cover printed larger", 12000, 9000, -1130, -450, 3762, 2822, 1429, 1411, 300, 300,
            false, 2 },
        { "a 1600 x 1600 cover", 1600, 1600, 0, 0, 1429, 1429, 1429, 1411, 300, 300, false, 1 },
        { "a spine", 12000, 9000, -889, 0, 1849, 1387, 70, 1387, 300, 300, false, 4 },
        { "8000 x 6000 cover", 8000, 6000, -226, 0, 1881, 1411, 1429, 1411, 300, 300, false, 4 },
        { "8000 x 6000 at 600 dpi", 8000, 6000, -452, 0, 3762, 2822, 2858, 2822, 600, 600, false,
            2 },
        { "an item shown small", 3000, 3000, 10, 10, 300, 300, 1429, 1411, 300, 300, false, 8 },
        { "the same with a transparent colour", 3000, 3000, 10, 10, 300, 300, 1429, 1411, 300,
            300, true, 8 },
        { "half of it beyond the face", 4000, 4000, -500, 0, 1000, 1000, 1429, 1411, 300, 300,
            false, 4 },
    };
    for (const NeedCase &c : cases) {
        QString name;
        QImage bitmap;
        PixelRect rect;
        int reduction = 1;
        PictureRef pic;
        pic.pixelWidth = c.pixelWidth;
        pic.pixelHeight = c.pixelHeight;
        pic.posX = c.posX;
        pic.posY = c.posY;
        pic.printWidth = c.printWidth;
        pic.printHeight = c.printHeight;
        pic.fileName = &name;
        pic.bitmap = &bitmap;
        pic.cacheRect = &rect;
        pic.reduction = &reduction;
        pic.transparent = c.transparent;
        const PictureScale scale { c.dpi, c.dpi, c.targetDpi, c.targetDpi };
        const PictureWindow w = computePictureWindow(pic, c.surfaceWidth, c.surfaceHeight, scale);
        EXPECT_EQ(pictureReductionNeeded(pic, w), c.factor) << c.what;
    }
}

// A smooth picture with some detail: what a photograph is like.
QImage photoLike(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                qRgb(x * 255 / w, y * 255 / h,
                    128 + int(100 * std::sin(x / 40.0) * std::cos(y / 30.0))));
    return img;
}

void load(LabelDocument &doc, const QString &path)
{
    NullMessageSink quiet;
    NullProgressSink progress;
    DocumentEditor editor(doc, &quiet);
    ASSERT_EQ(loadDocument(editor, path, progress), LoadStatus::Loaded);
}

// A document at `dpi` with a 2000 x 1500 picture as cover, saved in `dir`.
QString coverDocument(const QTemporaryDir &dir, int dpi)
{
    const QString cover = saveImage(dir, "cover.bmp", photoLike(2000, 1500));
    NullMessageSink quiet;
    LabelDocument doc = emptyDocument(dpi);
    setPictureUse(doc, Surface::Top, true);
    LoadSurfacePicture(doc, Surface::Top, cover, quiet);
    const QString path = QDir(dir.path()).filePath(QStringLiteral("cover-%1.cwr").arg(dpi));
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Loading, drawing, saving and a change of printer keep every number in the
// file's own pixels; only the pixels held are reduced, and a printer that
// needs more of them has the picture read again at a finer reduction.
TEST(PictureReductionRender, StoredNumbersStayInTheFilesPixels)
{
    QTemporaryDir dir;
    const QString path = coverDocument(dir, 72);
    LabelDocument doc = emptyDocument(72); // a 72-dpi printer: no conversion
    load(doc, path);
    PicturePlacement &p = doc.top.picture;
    EXPECT_EQ(p.pixelWidth, 2000);
    EXPECT_EQ(p.pixelHeight, 1500);
    EXPECT_EQ(p.sourceRect, (PixelRect { 0, 0, 2000, 1500 }));
    EXPECT_EQ(p.bitmapReduction, 4); // 1500 >= 4 x 338 rows of the 72-dpi face
    EXPECT_EQ(p.bitmap.size(), QSize(500, 375));
    const PicturePlacement loaded = p;
    NullMessageSink quiet;
    const QString first = QDir(dir.path()).filePath(QStringLiteral("first.cwr"));
    ASSERT_TRUE(saveDocument(doc, first, quiet));

    (void)renderPageImage(doc, optionsOff(), PreviewPage::Front, 72, 72, 800, 400);
    EXPECT_EQ(p.pixelWidth, 2000);
    EXPECT_EQ(p.printWidth, loaded.printWidth);
    EXPECT_EQ(p.posX, loaded.posX);
    PictureRef ref = PictureRef::of(p);
    const PictureWindow w = computePictureWindow(
        ref, doc.surfacePixels.topWidth, doc.surfacePixels.topHeight, { 72, 72, 72, 72 });
    EXPECT_EQ(p.sourceRect, w.source); // file pixels, not reduced ones
    EXPECT_EQ(p.bitmapReduction, 4);

    // Saved after drawing from reduced pixels: the file saved right after
    // loading, byte for byte.
    const QString again = QDir(dir.path()).filePath(QStringLiteral("again.cwr"));
    ASSERT_TRUE(saveDocument(doc, again, quiet));
    EXPECT_EQ(fileBytes(again), fileBytes(first));

    // A 300-dpi printer: the sizes follow, the picture's own do not, and
    // the next drawing reads it with more pixels.
    {
        DocumentEditor editor(doc, &quiet);
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
        editor.convertToResolution(72, 72);
    }
    EXPECT_EQ(p.pixelWidth, 2000);
    EXPECT_EQ(p.pixelHeight, 1500);
    EXPECT_EQ(p.printWidth, loaded.printWidth * 300 / 72);
    (void)renderPageImage(doc, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700);
    EXPECT_EQ(p.bitmapReduction, 1); // 1500 rows for 1411: whole
    EXPECT_EQ(p.pixelWidth, 2000);
}

// Mean and largest absolute difference per channel over the cover face.
struct Difference
{
    double mean = 0;
    int max = 0;
};
Difference difference(const QImage &a, const QImage &b, const QRect &r)
{
    Difference d;
    qint64 sum = 0, n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int c : { qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q) }) {
                sum += std::abs(c);
                d.max = std::max(d.max, std::abs(c));
                ++n;
            }
        }
    d.mean = n ? double(sum) / double(n) : 0;
    return d;
}

// A cover drawn from its reduced pixels against the same page drawn from
// the whole picture: the block average of a smooth picture lies within 2
// levels per channel on average and 24 at most (the edges of the face may
// take a neighbouring block).
TEST(PictureReductionRender, AReducedCoverIsCloseToTheWholePicturesPage)
{
    QTemporaryDir dir;
    const QString path = coverDocument(dir, 72);
    LabelDocument reduced = emptyDocument(72), whole = emptyDocument(72);
    load(reduced, path);
    load(whole, path);
    NullMessageSink messages;
    PicturePlacement &w = whole.top.picture;
    ASSERT_TRUE(LoadPictureFile(w.bitmap, w.fileName, messages));
    w.bitmapReduction = 1;
    ASSERT_EQ(reduced.top.picture.bitmapReduction, 4);

    const QImage a = renderPageImage(reduced, optionsOff(), PreviewPage::Front, 72, 72, 800, 400);
    const QImage b = renderPageImage(whole, optionsOff(), PreviewPage::Front, 72, 72, 800, 400);
    EXPECT_EQ(reduced.top.picture.bitmapReduction, 4);
    EXPECT_EQ(whole.top.picture.bitmapReduction, 1);
    const FrontPageGeometry g = computeFrontPageGeometry(72, 72, 800, 400);
    const QRect face(g.L + g.W, g.T, g.R - g.L - g.W, g.B - g.T);
    const Difference d = difference(a, b, face);
    EXPECT_LE(d.mean, 2.0) << d.max;
    EXPECT_LE(d.max, 24);
    EXPECT_GT(d.mean, 0.0); // the pixels drawn are the reduced ones
}

// A page whose pictures need no reduction is drawn from the whole pictures,
// exactly as a reader that only ever reads whole pictures draws it.
TEST(PictureReductionRender, PagesNeedingNoReductionAreThoseOfWholePictures)
{
    QTemporaryDir dir;
    const QString path = coverDocument(dir, 300);
    LabelDocument doc = emptyDocument(300);
    load(doc, path);
    EXPECT_EQ(doc.top.picture.bitmapReduction, 1);
    LabelDocument plain = emptyDocument(300);
    load(plain, path);
    CountingReader wholeOnly;
    const QImage a = renderPageImage(doc, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700);
    const QImage b = renderPageImage(
        plain, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700, &wholeOnly);
    EXPECT_EQ(doc.top.picture.bitmapReduction, 1);
    EXPECT_TRUE(a == b);
}

} // namespace

namespace {

// A picture item showing `file` at `place` (reference pixels), with or
// without a transparent colour.
TPrintsData pictureItem(const QString &file, const QRect &place, bool transparent, ColorRef key)
{
    NullMessageSink quiet;
    TPrintsData item;
    item.kind = 1;
    EXPECT_TRUE(loadPrintsPicture(item, file, quiet)) << file.toStdString();
    item.posX = place.x();
    item.posY = place.y();
    item.printWidth = place.width();
    item.printHeight = place.height();
    item.transparent = transparent;
    item.transColor = key;
    return item;
}

// A 300-dpi document whose cover holds `items`, saved in `dir`.
QString itemsDocument(const QTemporaryDir &dir, const QList<TPrintsData> &items)
{
    NullMessageSink quiet;
    LabelDocument doc = emptyDocument(300);
    doc.top.useCoverPrints = true;
    doc.coverPrints = items;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("items.cwr"));
    EXPECT_TRUE(saveDocument(doc, path, quiet));
    return path;
}

// Picture items are read when their record is complete: one printed small
// is held reduced for its printed size, by block averages; one with a
// transparent colour at the same reduction, sampled (its colours are exactly
// the file's); both keep the position and size the file gives and the
// picture's own size.
TEST(PictureReductionRender, PictureItemsAreReadForTheSizeTheyArePrintedAt)
{
    QTemporaryDir dir;
    const QString picture = saveImage(dir, "item.bmp", photoLike(2000, 1500));
    QList<TPrintsData> items;
    for (bool transparent : { false, true })
        items.append(pictureItem(picture, QRect(10, 20, 400, 300), transparent, 0x00ffffff));
    const QString path = itemsDocument(dir, items);

    LabelDocument loaded = emptyDocument(300);
    load(loaded, path);
    ASSERT_EQ(loaded.coverPrints.size(), 2);
    const TPrintsData &small = loaded.coverPrints[0];
    const TPrintsData &keyed = loaded.coverPrints[1];
    for (const TPrintsData *item : { &small, &keyed }) {
        EXPECT_EQ(item->pixelWidth, 2000);
        EXPECT_EQ(item->pixelHeight, 1500);
        EXPECT_EQ(item->posX, 10);
        EXPECT_EQ(item->posY, 20);
        EXPECT_EQ(item->printWidth, 400);
        EXPECT_EQ(item->printHeight, 300);
    }
    EXPECT_EQ(small.bitmapReduction, 4); // 1500 >= 4 x 300, not 8 x 300
    EXPECT_EQ(small.bitmapKind, ReductionKind::Average);
    EXPECT_EQ(small.bitmap.size(), QSize(500, 375));
    EXPECT_EQ(keyed.bitmapReduction, 4);
    EXPECT_EQ(keyed.bitmapKind, ReductionKind::Sample);
    const QImage whole = photoLike(2000, 1500);
    EXPECT_TRUE(keyed.bitmap.convertToFormat(QImage::Format_RGB32)
        == reducePicture(whole, 4, ReductionKind::Sample));
    EXPECT_EQ(keyed.bitmap.pixel(10, 20), whole.pixel(42, 82));
}

// A picture of three colours on a transparent-colour ground (magenta), for
// an item with a transparent colour: a red disc and a blue bar.
QImage keyedPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QRect(w / 8, h / 8, w / 2, h / 2));
    p.setBrush(QColor(0, 0, 255));
    p.drawRect(QRect(w / 2, h / 3, w / 3, h / 2));
    return img;
}

// An item with a transparent colour printed at a quarter of its pixels is
// drawn from its sampled pixels: the page shows the paper where the
// picture has the transparent colour and the picture's own colours
// elsewhere, never a blend of them with the transparent colour (as an
// average would give at every edge). Against the page drawn from the whole
// picture, only pixels along the shapes' edges differ: under 3% of the item.
TEST(PictureReductionRender, AKeyedItemIsDrawnFromItsSampledPixels)
{
    QTemporaryDir dir;
    const QString picture = saveImage(dir, "keyed.png", keyedPicture(1600, 1200));
    const QString path
        = itemsDocument(dir, { pictureItem(picture, QRect(100, 100, 400, 300), true, 0x00ff00ff) });
    NullMessageSink quiet;

    LabelDocument sampled = emptyDocument(300), whole = emptyDocument(300);
    load(sampled, path);
    load(whole, path);
    ASSERT_EQ(sampled.coverPrints[0].bitmapReduction, 4);
    CountingReader wholeOnly;
    TPrintsData &w = whole.coverPrints[0];
    ASSERT_TRUE(LoadPictureFile(w.bitmap, w.fileName, quiet));
    w.bitmapReduction = 1;
    w.bitmapKind = ReductionKind::Average;
    w.cacheRect = PixelRect { 0, 0, 1600, 1200 };
    const QImage a = renderPageImage(sampled, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700);
    const QImage b = renderPageImage(
        whole, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700, &wholeOnly);
    EXPECT_EQ(sampled.coverPrints[0].bitmapReduction, 4);
    EXPECT_EQ(w.bitmapReduction, 1);

    const FrontPageGeometry g = computeFrontPageGeometry(300, 300, 3300, 1700);
    const QRect area(g.L + g.W + 100, g.T + 100, 400, 300);
    const QList<QRgb> allowed
        = { qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255) };
    int foreign = 0, differ = 0, paper = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y) | 0xff000000u;
            foreign += !allowed.contains(p);
            paper += p == qRgb(255, 255, 255);
            differ += p != (b.pixel(x, y) | 0xff000000u);
        }
    EXPECT_EQ(foreign, 0);
    EXPECT_GT(paper, 400 * 300 / 4); // the ground is transparent
    EXPECT_LT(differ, 400 * 300 * 3 / 100) << differ;

    // Switching the transparent colour off or on reads the picture again in
    // the way it is now drawn.
    TPrintsData &s = sampled.coverPrints[0];
    for (bool transparent : { false, true }) {
        s.transparent = transparent;
        renderPageImage(sampled, optionsOff(), PreviewPage::Front, 300, 300, 3300, 1700);
        EXPECT_EQ(s.bitmapReduction, 4);
        EXPECT_EQ(s.bitmapKind, transparent ? ReductionKind::Sample : ReductionKind::Average);
    }
}

} // namespace

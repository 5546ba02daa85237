#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

#include "RenderTestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "document/PicturePlacementOps.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"
#include "render/PageOutput.h"

using namespace cw;

namespace {

constexpr int kPageW = 3508, kPageH = 2480; // A4 landscape at 300 dpi

QRgb rgbOf(ColorRef c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Every pixel tells its own column and row, so that a test can name the
// picture pixel it expects.
QRgb codeOf(int c, int r)
{
    return qRgb(c & 0xFF, r & 0xFF, ((c >> 8) << 4) | (r >> 8));
}

QImage codedPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            image.setPixel(c, r, codeOf(c, r));
    return image;
}

// A surface picture drawn one picture pixel per reference pixel.
void placePicture(PicturePlacement &p, const QString &file, int w, int h, int posX, int posY)
{
    const QImage image = codedPicture(w, h);
    ASSERT_TRUE(image.save(file));
    p.use = true;
    p.fileName = file;
    p.bitmap = image;
    p.pixelWidth = w;
    p.pixelHeight = h;
    p.sourceRect = PixelRect { 0, 0, w, h };
    p.printWidth = w;
    p.printHeight = h;
    p.posX = posX;
    p.posY = posY;
}

QImage render(
    LabelDocument &doc, PreviewPage page, int bleed, CountingReader &reader, int dpi = 300)
{
    PrintOptions o; // boundary and fold lines on
    o.bleedMm = bleed;
    const int w = kPageW * dpi / 300, h = kPageH * dpi / 300;
    return renderPageImage(doc, o, page, dpi, dpi, w, h, &reader);
}

// Pixels outside `ring` (painted over in both) are the same.
void expectSameOutside(QImage a, QImage b, const QList<QRect> &ring)
{
    for (QImage *image : { &a, &b }) {
        QPainter p(image);
        for (const QRect &r : ring)
            p.fillRect(r, Qt::black);
    }
    QRect differ;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                differ |= QRect(x, y, 1, 1);
    EXPECT_TRUE(differ.isNull()) << differ.left() << "," << differ.top() << " " << differ.right()
                                 << "," << differ.bottom();
}

} // namespace

// The cover picture continues 3 mm past the three outer edges of the cover
// face: its own pixels beyond the trim where it has them (12 columns on the
// right, 12 rows at the top), its outermost pixels repeated beyond them and
// at the bottom, where it ends at the trim. The inside face's colour bleeds
// the same 3 mm, and neither crosses the fold.
TEST(Bleed, CoverPictureAndInsideColourBleedThreeMillimetresNotAcrossTheFold)
{
    QTemporaryDir dir;
    for (int dpi : { 300, 600 }) {
        SCOPED_TRACE(dpi);
        LabelDocument doc = emptyDocument(300);
        doc.top.backgroundColor1 = 0x000000FF; // red, under the picture
        doc.top.backgroundColor2 = 0x0000FF00; // green
        const SurfacePixels ref = surfacePixelsAt(300, 300);
        placePicture(doc.top.picture, dir.filePath("cover.png"), ref.topWidth + 12,
            ref.topHeight + 12, 0, -12);
        CountingReader reader;
        const QImage bled = render(doc, PreviewPage::Front, 3, reader, dpi);
        const QImage plain = render(doc, PreviewPage::Front, 0, reader, dpi);

        const PageScale s = pageScale(dpi, dpi);
        const FrontPageGeometry g = computeFrontPageGeometry(dpi, dpi, bled.width(), bled.height());
        const int b = dpi == 300 ? 35 : 70; // trunc(3 mm x pixels per mm)
        ASSERT_EQ(mmToPixels(3.0, s.kx), b);
        const int cover = g.L + g.W;
        const int scale = dpi / 300; // target pixels per picture pixel
        // The body's pixel mapping carried on past its edges (rounding down).
        auto down = [scale](int v) { return v >= 0 ? v / scale : -((-v + scale - 1) / scale); };
        auto expected = [&](int x, int y) {
            const int c = std::clamp(down(x - cover), 0, ref.topWidth + 11);
            const int r = std::clamp(down(y - g.T) + 12, 0, ref.topHeight + 11);
            return codeOf(c, r);
        };
        // The cover's ring: above, right of and below the face.
        int wrong = 0;
        for (int y = g.T - b; y < g.B + 1 + b; ++y)
            for (int x = cover; x < g.R + 1 + b; ++x) {
                const bool inBlock = y >= g.T && y <= g.B && x <= g.R;
                if (!inBlock && bled.pixel(x, y) != expected(x, y))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        // The inside face's ring: left, above and below, green up to the fold.
        const QRgb green = rgbOf(doc.top.backgroundColor2);
        for (int y : { g.T - b, g.T - 1, g.B + 1, g.B + b })
            for (int x : { g.L - b, g.L, cover - 1 })
                EXPECT_EQ(bled.pixel(x, y), green) << x << "," << y;
        for (int y : { g.T, (g.T + g.B) / 2, g.B })
            EXPECT_EQ(bled.pixel(g.L - b, y), green);
        // Exactly b pixels: white just beyond.
        const QRgb white = qRgb(255, 255, 255);
        for (int y : { g.T, (g.T + g.B) / 2, g.B }) {
            EXPECT_EQ(bled.pixel(g.L - b - 1, y), white);
            EXPECT_EQ(bled.pixel(g.R + 1 + b, y), white);
        }
        for (int x : { g.L, cover - 1, cover, g.R }) {
            EXPECT_EQ(bled.pixel(x, g.T - b - 1), white);
            EXPECT_EQ(bled.pixel(x, g.B + 1 + b), white);
        }
        // Nothing else moves: block, lines and trim marks are as without bleed.
        expectSameOutside(bled, plain,
            { QRect(QPoint(g.L - b, g.T - b), QPoint(g.R + b, g.T - 1)),
                QRect(QPoint(g.L - b, g.B + 1), QPoint(g.R + b, g.B + b)),
                QRect(QPoint(g.L - b, g.T), QPoint(g.L - 1, g.B)),
                QRect(QPoint(g.R + 1, g.T), QPoint(g.R + b, g.B)) });
    }
}

// On the back strip the spines and the back label each bleed past the outer
// edges only; the back picture, though it reaches past both spine lines,
// never shows beyond them.
TEST(Bleed, BackStripBleedsAtItsOuterEdgesOnlyNotAcrossTheSpines)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    doc.left.backgroundColor1 = 0x00FF0000; // blue
    doc.bottom.backgroundColor1 = 0x0000FFFF; // yellow
    doc.right.backgroundColor1 = 0x00FF00FF; // magenta
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    placePicture(doc.bottom.picture, dir.filePath("back.png"), ref.bottomWidth + 40,
        ref.bottomHeight, -20, 0);
    CountingReader reader;
    const QImage bled = render(doc, PreviewPage::Back, 3, reader);
    const QImage plain = render(doc, PreviewPage::Back, 0, reader);
    const BackPageGeometry g = computeBackPageGeometry(300, 300, kPageW, kPageH);
    const int b = 35;
    const QRgb blue = rgbOf(doc.left.backgroundColor1);
    const QRgb magenta = rgbOf(doc.right.backgroundColor1);
    const QRgb white = qRgb(255, 255, 255);
    for (int y : { g.T - b, g.T - 1, g.B + 1, g.B + b }) {
        SCOPED_TRACE(y);
        EXPECT_EQ(bled.pixel(g.L - b, y), blue);
        EXPECT_EQ(bled.pixel(g.X1 - 1, y), blue);
        // The back picture's bleed starts on the spine line and ends before the next.
        const int row = y < g.T ? 0 : ref.bottomHeight - 1;
        EXPECT_EQ(bled.pixel(g.X1, y), codeOf(20, row));
        EXPECT_EQ(bled.pixel(g.X2 - 1, y), codeOf(20 + g.X2 - 1 - g.X1, row));
        EXPECT_EQ(bled.pixel(g.X2, y), magenta);
        EXPECT_EQ(bled.pixel(g.X3 + b, y), magenta);
        EXPECT_EQ(bled.pixel(g.X3 + b + 1, y), white);
        EXPECT_EQ(bled.pixel(g.L - b - 1, y), white);
    }
    for (int x : { g.L, g.X1, g.X2, g.X3 }) {
        EXPECT_EQ(bled.pixel(x, g.T - b - 1), white);
        EXPECT_EQ(bled.pixel(x, g.B + b + 1), white);
    }
    // Beside the spines, the spine colour: the picture's own pixels beyond
    // the spine lines stay unprinted.
    for (int y : { g.T, (g.T + g.B) / 2, g.B }) {
        EXPECT_EQ(bled.pixel(g.L - 1, y), blue);
        EXPECT_EQ(bled.pixel(g.L - b, y), blue);
        EXPECT_EQ(bled.pixel(g.X3 + 1, y), magenta);
        EXPECT_EQ(bled.pixel(g.X3 + b, y), magenta);
    }
    // The fills now reach the block's last column and row too, which only
    // the lines covered before: one corner pixel no line reaches is filled.
    EXPECT_EQ(bled.pixel(g.X3, g.B), magenta);
    EXPECT_EQ(plain.pixel(g.X3, g.B), white);
    expectSameOutside(bled, plain,
        { QRect(g.X3, g.B, 1, 1), QRect(QPoint(g.L - b, g.T - b), QPoint(g.X3 + b, g.T - 1)),
            QRect(QPoint(g.L - b, g.B + 1), QPoint(g.X3 + b, g.B + b)),
            QRect(QPoint(g.L - b, g.T), QPoint(g.L - 1, g.B)),
            QRect(QPoint(g.X3 + 1, g.T), QPoint(g.X3 + b, g.B)) });
}

// A picture that stops short of an edge does not bleed there; one that
// reaches no outer edge does not bleed at all.
TEST(Bleed, OnlyEdgesThePictureReachesBleed)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    placePicture(doc.top.picture, dir.filePath("small.png"), 200, 100, ref.topWidth - 200, 50);
    CountingReader reader;
    const QImage bled = render(doc, PreviewPage::Front, 3, reader);
    const FrontPageGeometry g = computeFrontPageGeometry(300, 300, kPageW, kPageH);
    const QRgb white = qRgb(255, 255, 255);
    // Rows beside the picture continue it to the right; rows above it do not.
    EXPECT_EQ(bled.pixel(g.R + 35, g.T + 50), codeOf(199, 0));
    EXPECT_EQ(bled.pixel(g.R + 35, g.T + 149), codeOf(199, 99));
    EXPECT_EQ(bled.pixel(g.R + 35, g.T + 49), white); // the white cover colour
    EXPECT_EQ(bled.pixel(g.R + 35, g.T + 150), white);
    EXPECT_EQ(bled.pixel(g.R - 100, g.T - 1), white);
}

// A bled page drawn again takes its bleed from the picture's cache; a moved
// picture reads its file once for both its body and its bleed.
TEST(Bleed, TheBleedIsCachedAndAMovedPictureIsReadOnce)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    placePicture(
        doc.top.picture, dir.filePath("p.png"), ref.topWidth + 100, ref.topHeight + 100, -50, -50);
    CountingReader reader;
    const QImage first = render(doc, PreviewPage::Front, 3, reader);
    const QImage second = render(doc, PreviewPage::Front, 3, reader);
    EXPECT_EQ(reader.loads, 0);
    EXPECT_TRUE(first == second);
    doc.top.picture.posX = -40;
    const QImage moved = render(doc, PreviewPage::Front, 3, reader);
    EXPECT_EQ(reader.loads, 1);
    const FrontPageGeometry g = computeFrontPageGeometry(300, 300, kPageW, kPageH);
    EXPECT_EQ(moved.pixel(g.R + 35, g.T), codeOf(g.R + 35 - (g.L + g.W) + 40, 50));
}

// Without bleed the canvas calls are exactly those of a page without one;
// with it, only the background fills grow.
TEST(Bleed, ZeroBleedDrawsTheSameCalls)
{
    LabelDocument doc = emptyDocument(300);
    for (PreviewPage page : { PreviewPage::Front, PreviewPage::Back }) {
        RecordingCanvas none(300, 300), zero(300, 300), three(300, 300);
        PrintOptions o;
        drawDocumentPage(none, doc, o, page, 300, 300, kPageW, kPageH);
        o.bleedMm = 0;
        drawDocumentPage(zero, doc, o, page, 300, 300, kPageW, kPageH);
        o.bleedMm = 3;
        drawDocumentPage(three, doc, o, page, 300, 300, kPageW, kPageH);
        EXPECT_EQ(none.lines(), zero.lines());
        ASSERT_EQ(none.lines().size(), three.lines().size());
        int differ = 0;
        for (int i = 0; i < none.lines().size(); ++i)
            if (none.lines()[i] != three.lines()[i]) {
                ++differ;
                EXPECT_TRUE(three.lines()[i].startsWith("Rectangle"));
            }
        EXPECT_EQ(differ, page == PreviewPage::Front ? 2 : 3);
    }
}

// A picture that fits its surface exactly stays whole in memory: its bleed
// repeats its edges straight from it, with no copy and no file read.
TEST(Bleed, AWholePictureBleedsWithoutACopy)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    placePicture(doc.top.picture, dir.filePath("fit.png"), ref.topWidth, ref.topHeight, 0, 0);
    CountingReader reader;
    QImage page;
    for (int i = 0; i < 2; ++i)
        page = render(doc, PreviewPage::Front, 2, reader);
    EXPECT_EQ(reader.loads + reader.copies + reader.crops, 0);
    const FrontPageGeometry g = computeFrontPageGeometry(300, 300, kPageW, kPageH);
    const int b = 23; // trunc(2 mm x pixels per mm)
    EXPECT_EQ(page.pixel(g.R + b, g.T - b), codeOf(ref.topWidth - 1, 0));
    EXPECT_EQ(page.pixel(g.R + b, g.B + b), codeOf(ref.topWidth - 1, ref.topHeight - 1));
    EXPECT_EQ(page.pixel(g.R + b + 1, g.B + b), qRgb(255, 255, 255));
}

namespace {

// Reads pictures reduced as asked, by the block average; counts the reads
// and the factor each was delivered at.
class ReducingReader : public CountingReader
{
public:
    bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override
    {
        const QImage whole(fileName);
        if (whole.isNull())
            return false;
        const int f = pictureReductionFor(whole.size(), wanted);
        factors.append(f);
        bitmap = reducePicture(whole, f, kind);
        reduction = PictureReduction { whole.size(), f, kind };
        return true;
    }
    QList<int> factors;
};

// A picture of blocks of 4 x 4 pixels, each block one colour: its reduction
// by 4 holds exactly the colours its whole pixels have.
QImage blockPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            image.setPixel(c, r, codeOf(c / 4, r / 4));
    return image;
}

} // namespace

// A picture with four times the pixels its page needs bleeds from the same
// reduction the body is drawn from: it is read once, reduced by 4 (never
// whole), and the bleed ring has the pixels a whole-picture page has. A
// printer that needs every pixel has it read again whole.
TEST(Bleed, AHugePictureBleedsFromItsReducedPixels)
{
    QTemporaryDir dir;
    const int dpi = 75;
    LabelDocument doc = emptyDocument(dpi);
    const SurfacePixels ref = surfacePixelsAt(dpi, dpi);
    const int w = 4 * (ref.topWidth + 20), h = 4 * (ref.topHeight + 20);
    const QString file = dir.filePath("huge.png");
    ASSERT_TRUE(blockPicture(w, h).save(file));
    PicturePlacement &p = doc.top.picture;
    p.use = true;
    p.fileName = file;
    p.pixelWidth = w;
    p.pixelHeight = h;
    p.printWidth = ref.topWidth + 20; // overhangs every edge by 10
    p.printHeight = ref.topHeight + 20;
    p.posX = p.posY = -10;
    LabelDocument whole = doc;

    ReducingReader reader;
    const QImage first = render(doc, PreviewPage::Front, 3, reader, dpi);
    const QImage again = render(doc, PreviewPage::Front, 3, reader, dpi);
    EXPECT_EQ(reader.factors, QList<int>({ 4 }));
    EXPECT_EQ(reader.loads, 0);
    EXPECT_TRUE(first == again);
    EXPECT_EQ(doc.top.picture.bitmapReduction, 4);
    EXPECT_EQ(doc.top.picture.bleed.factor, 4);

    CountingReader wholeReader;
    const QImage fromWhole = render(whole, PreviewPage::Front, 3, wholeReader, dpi);
    EXPECT_EQ(wholeReader.loads, 1);
    const FrontPageGeometry g = computeFrontPageGeometry(dpi, dpi, first.width(), first.height());
    const int b = mmToPixels(3.0, pageScale(dpi, dpi).kx);
    ASSERT_EQ(b, 8);
    const int cover = g.L + g.W;
    int ring = 0, wrong = 0;
    for (int y = g.T - b; y <= g.B + b; ++y)
        for (int x = cover; x <= g.R + b; ++x)
            if (y < g.T || y > g.B || x > g.R) {
                ++ring;
                wrong += first.pixel(x, y) != fromWhole.pixel(x, y);
            }
    EXPECT_GT(ring, 0);
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(first.pixel(g.R + b, g.T - b), qRgb(255, 255, 255));

    // At 300 dpi the face covers four device pixels per reference pixel:
    // only the whole picture has a pixel for each.
    render(doc, PreviewPage::Front, 3, reader, 300);
    EXPECT_EQ(reader.factors, QList<int>({ 4, 1 }));
    EXPECT_EQ(doc.top.picture.bleed.factor, 1);
}

// A picture fitted to its surface's width or height reaches that edge
// exactly, so it bleeds there: its last column (row) repeats past the trim.
TEST(Bleed, AFittedPictureReachesTheTrimAndBleeds)
{
    QTemporaryDir dir;
    LabelDocument doc = emptyDocument(300);
    placePicture(doc.top.picture, dir.filePath("wide.png"), 200, 100, 0, 0);
    placePicture(doc.bottom.picture, dir.filePath("tall.png"), 100, 200, 0, 0);
    applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    applySizeMode(doc, Surface::Bottom, PictureSizing::FitHeight);
    ASSERT_EQ(doc.top.picture.printWidth, 1429);
    ASSERT_EQ(doc.bottom.picture.printHeight, 1387);
    CountingReader reader;
    const QImage front = render(doc, PreviewPage::Front, 3, reader);
    const QImage back = render(doc, PreviewPage::Back, 3, reader);
    const FrontPageGeometry f = computeFrontPageGeometry(300, 300, kPageW, kPageH);
    const BackPageGeometry b = computeBackPageGeometry(300, 300, kPageW, kPageH);
    // 10 reference pixels in: row 10 * 100 / 714 of the wide picture, column
    // 10 * 100 / 693 of the tall one.
    EXPECT_EQ(front.pixel(f.R + 35, f.T + 10), codeOf(199, 1));
    EXPECT_EQ(back.pixel(b.X1 + 10, b.B + 35), codeOf(1, 199));
}

// Every outer edge of every surface bleeds with a picture sized exactly to
// its surface, whether the picture is drawn smaller than its source, larger
// or one to one, at 300 and 600 dpi: the ring past the trim, exactly as wide
// as the bleed, carries the picture's outermost pixels (the body's
// nearest-neighbour mapping held at the picture's edges), never the face
// colour, and white lies beyond it.
TEST(Bleed, EveryOuterEdgeBleedsWithAPictureSizedToItsSurface)
{
    QTemporaryDir dir;
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    const ColorRef red = 0x000000FF;
    const QRgb white = qRgb(255, 255, 255);
    const struct
    {
        const char *how;
        int num, den; // picture pixels per reference pixel
    } scales[] = { { "drawn smaller than its source", 9, 8 }, { "drawn larger", 1, 2 },
        { "one to one", 1, 1 } };
    for (int dpi : { 300, 600 })
        for (const auto &sc : scales) {
            SCOPED_TRACE(testing::Message() << dpi << " dpi, " << sc.how);
            LabelDocument doc = emptyDocument(300);
            for (Surface s : kAllSurfaces) {
                doc.surface(s).backgroundColor1 = red;
                const int w = ref.width(s) * sc.num / sc.den, h = ref.height(s) * sc.num / sc.den;
                PicturePlacement &p = doc.surface(s).picture;
                placePicture(p, dir.filePath(QStringLiteral("s%1.png").arg(int(s))), w, h, 0, 0);
                p.printWidth = ref.width(s);
                p.printHeight = ref.height(s);
            }
            doc.top.backgroundColor2 = red;
            CountingReader reader;
            const QImage front = render(doc, PreviewPage::Front, 3, reader, dpi);
            const QImage back = render(doc, PreviewPage::Back, 3, reader, dpi);
            const FrontPageGeometry f
                = computeFrontPageGeometry(dpi, dpi, front.width(), front.height());
            const BackPageGeometry g
                = computeBackPageGeometry(dpi, dpi, back.width(), back.height());
            const int b = mmToPixels(3.0, pageScale(dpi, dpi).kx);
            ASSERT_EQ(b, dpi == 300 ? 35 : 70);
            // Each surface: its page, its trim (right and bottom exclusive)
            // and the edges that bleed (left, top, right, bottom).
            const struct
            {
                Surface s;
                const QImage *page;
                QRect trim;
                int bl, bt, br, bb;
            } faces[] = {
                { Surface::Top, &front, QRect(QPoint(f.L + f.W, f.T), QPoint(f.R, f.B)), 0, b, b,
                    b },
                { Surface::Left, &back, QRect(QPoint(g.L, g.T), QPoint(g.X1 - 1, g.B)), b, b, 0,
                    b },
                { Surface::Bottom, &back, QRect(QPoint(g.X1, g.T), QPoint(g.X2 - 1, g.B)), 0, b, 0,
                    b },
                { Surface::Right, &back, QRect(QPoint(g.X2, g.T), QPoint(g.X3, g.B)), 0, b, b, b },
            };
            for (const auto &face : faces) {
                SCOPED_TRACE(int(face.s));
                const PicturePlacement &p = doc.surface(face.s).picture;
                const int bodyW = ref.width(face.s) * dpi / 300,
                          bodyH = ref.height(face.s) * dpi / 300;
                const QRect &t = face.trim;
                auto expected = [&](int x, int y) {
                    const long long c = (long long)(x - t.left()) * p.pixelWidth / bodyW;
                    const long long r = (long long)(y - t.top()) * p.pixelHeight / bodyH;
                    return codeOf(int(std::clamp<long long>(c, 0, p.pixelWidth - 1)),
                        int(std::clamp<long long>(r, 0, p.pixelHeight - 1)));
                };
                const QRect ring = t.adjusted(-face.bl, -face.bt, face.br, face.bb);
                int wrong = 0, pixels = 0;
                for (int y = ring.top(); y <= ring.bottom(); ++y)
                    for (int x = ring.left(); x <= ring.right(); ++x) {
                        if (t.contains(x, y))
                            continue;
                        ++pixels;
                        if (face.page->pixel(x, y) != expected(x, y) && ++wrong <= 3)
                            ADD_FAILURE() << "at " << x << "," << y;
                    }
                EXPECT_EQ(wrong, 0) << "of " << pixels;
                // White just past each bleeding edge, in its middle.
                const QPoint mid = t.center();
                if (face.bl) {
                    EXPECT_EQ(face.page->pixel(ring.left() - 1, mid.y()), white);
                }
                if (face.br) {
                    EXPECT_EQ(face.page->pixel(ring.right() + 1, mid.y()), white);
                }
                EXPECT_EQ(face.page->pixel(mid.x(), ring.top() - 1), white);
                EXPECT_EQ(face.page->pixel(mid.x(), ring.bottom() + 1), white);
            }
        }
}

// A free-print picture placed across an outer trim edge continues past it
// with its own pixels (and its outermost ones beyond them), over the
// surface picture's bleed; its transparent colour stays transparent there.
// An item that reaches no outer edge, or only the fold, draws no bleed.
TEST(Bleed, AFreePrintPictureAcrossTheTrimBleedsItsOwnPixels)
{
    QTemporaryDir dir;
    const SurfacePixels ref = surfacePixelsAt(300, 300);
    const QRgb key = qRgb(1, 2, 3);
    // The left half is the transparent colour.
    QImage halves = codedPicture(200, 100);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 100; ++c)
            halves.setPixel(c, r, key);
    const QString coded = dir.filePath("item.png"), half = dir.filePath("half.png");
    ASSERT_TRUE(codedPicture(200, 100).save(coded));
    ASSERT_TRUE(halves.save(half));
    auto item = [](const QString &file, int posX, int posY) {
        TPrintsData d;
        d.kind = 1;
        d.fileName = file;
        d.pixelWidth = d.printWidth = 200;
        d.pixelHeight = d.printHeight = 100;
        d.posX = posX;
        d.posY = posY;
        return d;
    };
    for (int dpi : { 300, 600 }) {
        SCOPED_TRACE(dpi);
        LabelDocument doc = emptyDocument(300);
        doc.top.backgroundColor2 = 0x0000FF00; // green
        placePicture(doc.top.picture, dir.filePath("cover.png"), ref.topWidth, ref.topHeight, 0, 0);
        doc.top.useCoverPrints = doc.top.useInsidePrints = true;
        // Across the cover's top right corner: 20 rows above, 60 columns right.
        doc.coverPrints.append(item(coded, ref.topWidth - 140, -20));
        // Inside the cover, and on the inside face across the fold only.
        doc.coverPrints.append(item(coded, 300, 300));
        doc.insidePrints.append(item(coded, ref.topWidth - 100, 600));
        // Across the inside face's bottom edge, half of it transparent.
        TPrintsData clear = item(half, 400, ref.topHeight - 50);
        clear.transparent = true;
        clear.transColor = 0x00030201;
        doc.insidePrints.append(clear);
        CountingReader reader;
        const QImage page = render(doc, PreviewPage::Front, 3, reader, dpi);
        const FrontPageGeometry g = computeFrontPageGeometry(dpi, dpi, page.width(), page.height());
        const int b = dpi == 300 ? 35 : 70, k = dpi / 300; // target pixels per reference pixel
        const int cover = g.L + g.W;
        // The item's pixel at (x, y): its mapping carried past its edges.
        auto itemPixel = [&](int left, int top, int posX, int posY, int x, int y) {
            const int c = std::clamp((x - left - posX * k) / k, 0, 199);
            const int r = std::clamp((y - top - posY * k) / k, 0, 99);
            return codeOf(c, r);
        };
        // Right of the cover beside the corner item, and above it: the item's
        // own columns 140 .. 174 (at 300 dpi), its own rows 5 .. 19 and its
        // first row repeated above them.
        const int firstItemRow = g.T - 20 * k;
        for (int x : { g.R + 1, g.R + b / 2, g.R + b })
            for (int y : { g.T - b, firstItemRow - 1, firstItemRow, g.T - 1, g.T, g.T + 79 * k })
                EXPECT_EQ(page.pixel(x, y), itemPixel(cover, g.T, ref.topWidth - 140, -20, x, y))
                    << x << "," << y;
        // Below the corner item the cover picture's bleed goes on.
        EXPECT_EQ(page.pixel(g.R + b, g.T + 80 * k), codeOf(ref.topWidth - 1, 80));
        // The inside item that crosses the fold stops there, and the item
        // inside the cover draws nothing past the trim: the cover picture
        // shows beyond the fold and above the trim.
        EXPECT_EQ(page.pixel(cover + 5 * k, g.T + 650 * k), codeOf(5, 650));
        EXPECT_EQ(page.pixel(cover + 350 * k, g.T - b), codeOf(350, 0));
        // Below the inside face: the transparent half shows the inside
        // colour, the other half its own rows past the trim.
        for (int y : { g.B + 1, g.B + b }) {
            EXPECT_EQ(page.pixel(g.L + 450 * k, y), qRgb(0, 255, 0)) << y;
            EXPECT_EQ(page.pixel(g.L + 550 * k, y),
                itemPixel(g.L, g.T, 400, ref.topHeight - 50, g.L + 550 * k, y))
                << y;
        }
    }
}

// A picture item with a transparent colour bleeds from sampled pixels, as its
// body is drawn: each block's middle pixel keeps the colour key, where the
// block average would turn it into an opaque mixture past the trim.
TEST(Bleed, AReducedTransparentItemBleedsFromSampledPixels)
{
    QTemporaryDir dir;
    const int dpi = 75;
    LabelDocument doc = emptyDocument(dpi);
    const SurfacePixels ref = surfacePixelsAt(dpi, dpi);
    // Red, but the middle pixel of every block of 4 x 4 is the colour key.
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    for (int r = 2; r < 200; r += 4)
        for (int c = 2; c < 400; c += 4)
            picture.setPixel(c, r, qRgb(1, 2, 3));
    TPrintsData item;
    item.kind = 1;
    item.fileName = dir.filePath("keyed.png");
    ASSERT_TRUE(picture.save(item.fileName));
    item.pixelWidth = 400;
    item.pixelHeight = 200;
    item.printWidth = 100; // four picture pixels per reference pixel
    item.printHeight = 50;
    item.posX = ref.topWidth - 50; // half of it past the right edge
    item.posY = 100;
    item.transparent = true;
    item.transColor = 0x00030201;
    doc.coverPrints.append(item);
    doc.top.useCoverPrints = true;
    ReducingReader reader;
    const QImage page = render(doc, PreviewPage::Front, 3, reader, dpi);
    EXPECT_EQ(reader.factors, QList<int>({ 4 }));
    EXPECT_EQ(doc.coverPrints[0].bleed.kind, ReductionKind::Sample);
    const FrontPageGeometry g = computeFrontPageGeometry(dpi, dpi, page.width(), page.height());
    const int b = mmToPixels(3.0, pageScale(dpi, dpi).kx);
    int shown = 0;
    for (int y = g.T + 100; y < g.T + 150; ++y)
        for (int x = g.R + 1; x <= g.R + b; ++x)
            shown += page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(shown, 0);
}

#include "PictureTestUtil.h"
#include "TestSupport.h"
#include "document/PicturePlacementOps.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

class Placement : public HostTest
{
protected:
    void SetUp() override
    {
        PrinterState st;
        st.printerDpiX = st.printerDpiY = 300;
        ComputeSurfacePixels(doc, st);
        ASSERT_TRUE(patternImage(1429, 1000).save(path("p.bmp"), "BMP"));
    }
    PicturePlacement &top() { return doc.top.picture; }
    PicturePlacement &bottom() { return doc.bottom.picture; }
    LabelDocument doc;
    RecordingMessages messages;
};

TEST_F(Placement, SurfaceSizesAt300Dpi)
{
    EXPECT_EQ(surfaceWidth(doc, Surface::Top), 1429);
    EXPECT_EQ(surfaceHeight(doc, Surface::Top), 1411);
    EXPECT_EQ(surfaceWidth(doc, Surface::Bottom), 1629);
    EXPECT_EQ(surfaceHeight(doc, Surface::Bottom), 1387);
    EXPECT_EQ(surfaceWidth(doc, Surface::Left), 70);
    EXPECT_EQ(surfaceHeight(doc, Surface::Right), 1387);
}

TEST_F(Placement, LoadingCoversTheFrontAndCentresIt)
{
    top().sizeMode = PictureSizing::FitWidth;
    top().alignMode = PictureAlignment::CentreDown;
    PlacementResult r = LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.refreshPage);
    EXPECT_EQ(r.changed, QList<PictureSlot> { Surface::Top });
    EXPECT_EQ(top().pixelWidth, 1429);
    EXPECT_EQ(top().pixelHeight, 1000);
    EXPECT_EQ(top().sourceRect, (PixelRect { 0, 0, 1429, 1000 }));
    EXPECT_EQ(top().printWidth, 2016);
    EXPECT_EQ(top().printHeight, 1411);
    EXPECT_EQ(top().posX, -293); // (1429 - 2016) halved toward zero
    EXPECT_EQ(top().posY, 0);
    EXPECT_EQ(int(top().sizeMode), 0); // left as it was
    EXPECT_EQ(int(top().alignMode), 4);
    const PlacementTexts t = placementTexts(doc, Surface::Top);
    EXPECT_EQ(t.pixelWidth, "1429");
    EXPECT_EQ(t.pixelWidthMm, "121.0mm");
    EXPECT_EQ(t.pixelHeightMm, "84.7mm");
    EXPECT_EQ(t.printWidth, "2016");
    EXPECT_EQ(t.printWidthMm, "170.7mm");
    EXPECT_EQ(t.posX, "-293");
    EXPECT_EQ(t.posXMm, "-24.8mm");
    EXPECT_EQ(t.posYMm, "0.0mm");
}

TEST_F(Placement, FitWidthThenCentreThenBottom)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    PlacementResult r = applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    EXPECT_EQ(r.refreshPage, PreviewPage::Front);
    EXPECT_EQ(top().printWidth, 1429);
    EXPECT_EQ(top().printHeight, 1000);
    EXPECT_EQ(top().posX, -293);
    EXPECT_EQ(top().posY, 0);
    EXPECT_EQ(int(top().sizeMode), 0);
    applyAlignMode(doc, Surface::Top, PictureAlignment::CentreDown);
    EXPECT_EQ(top().posY, 205);
    EXPECT_EQ(top().posX, -293);
    applyAlignMode(doc, Surface::Top, PictureAlignment::Bottom);
    EXPECT_EQ(top().posY, 411);
    applyAlignMode(doc, Surface::Top, PictureAlignment::CentreAcross);
    EXPECT_EQ(top().posX, 0);
    applyAlignMode(doc, Surface::Top, PictureAlignment::Right);
    EXPECT_EQ(top().posX, 0);
    applyAlignMode(doc, Surface::Top, PictureAlignment::Top);
    EXPECT_EQ(top().posY, 0);
    EXPECT_EQ(int(top().alignMode), 3);
}

TEST_F(Placement, FitHeight)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    applySizeMode(doc, Surface::Top, PictureSizing::FitHeight);
    EXPECT_EQ(top().printHeight, 1411);
    EXPECT_EQ(top().printWidth, 2016);
}

// "幅合わせ" and "高さ合わせ" give the surface's own width or height exactly
// and truncate the other side. Every row's ratio is inexact in floating
// point, where the fitted side came out one pixel short.
TEST_F(Placement, FittingGivesTheSurfacesOwnSizeExactly)
{
    const auto W = PictureSizing::FitWidth, H = PictureSizing::FitHeight;
    const struct
    {
        Surface surface;
        PictureSizing mode;
        int pixelWidth, pixelHeight;
        int printWidth, printHeight;
    } cases[] = {
        { Surface::Top, W, 200, 100, 1429, 714 },
        { Surface::Top, H, 200, 100, 2822, 1411 },
        { Surface::Top, W, 618, 400, 1429, 924 },
        { Surface::Top, W, 43, 97, 1429, 3223 },
        { Surface::Top, H, 300, 19, 22278, 1411 },
        { Surface::Bottom, W, 200, 100, 1629, 814 },
        { Surface::Bottom, W, 285, 190, 1629, 1086 },
        { Surface::Bottom, H, 200, 100, 2774, 1387 },
        { Surface::Bottom, H, 50, 67, 1035, 1387 },
        { Surface::Left, H, 200, 100, 2774, 1387 },
        { Surface::Left, W, 200, 100, 70, 35 },
        { Surface::Right, W, 275, 1000, 70, 254 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
            << int(c.surface) << " " << int(c.mode) << " " << c.pixelWidth << "x" << c.pixelHeight);
        PicturePlacement &p = doc.surface(c.surface).picture;
        p.pixelWidth = c.pixelWidth;
        p.pixelHeight = c.pixelHeight;
        applySizeMode(doc, c.surface, c.mode);
        EXPECT_EQ(p.printWidth, c.printWidth);
        EXPECT_EQ(p.printHeight, c.printHeight);
    }
}

// Loading covers the surface with the larger ratio, exactly as fitting does.
TEST_F(Placement, LoadingCoversTheSurfaceExactly)
{
    ASSERT_TRUE(patternImage(200, 100).save(path("wide.bmp"), "BMP"));
    LoadSurfacePicture(doc, Surface::Top, path("wide.bmp"), messages);
    EXPECT_EQ(top().printWidth, 2822);
    EXPECT_EQ(top().printHeight, 1411);
    EXPECT_EQ(top().posX, -696);
    EXPECT_EQ(top().posY, 0);
    ASSERT_TRUE(patternImage(618, 1236).save(path("tall.bmp"), "BMP"));
    LoadSurfacePicture(doc, Surface::Top, path("tall.bmp"), messages);
    EXPECT_EQ(top().printWidth, 1429);
    EXPECT_EQ(top().printHeight, 2858);
    EXPECT_EQ(top().posX, 0);
    EXPECT_EQ(top().posY, -723);
}

TEST_F(Placement, CustomChoicesChangeNothingAndRefreshNothing)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    PlacementResult r = applySizeMode(doc, Surface::Top, PictureSizing::Custom);
    EXPECT_FALSE(r.refreshPage);
    EXPECT_EQ(top().printWidth, 1429);
    EXPECT_EQ(int(top().sizeMode), 2);
    r = applyAlignMode(doc, Surface::Top, PictureAlignment::Custom);
    EXPECT_FALSE(r.refreshPage);
    EXPECT_EQ(top().posX, -293);
}

TEST_F(Placement, TypedWidthKeepsTheAspect)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    PlacementResult r = setPrintWidth(doc, Surface::Top, 700);
    EXPECT_EQ(r.refreshPage, PreviewPage::Front);
    EXPECT_EQ(top().printWidth, 700);
    EXPECT_EQ(top().printHeight, 489); // 1000 * 700 / 1429 = 489.85
    EXPECT_EQ(int(top().sizeMode), 2);
    setPrintHeight(doc, Surface::Top, 500);
    EXPECT_EQ(top().printWidth, 714); // 1429 * 500 / 1000 = 714.5
    setKeepAspect(doc, Surface::Top, false);
    setPrintWidth(doc, Surface::Top, 100);
    EXPECT_EQ(top().printHeight, 500);
}

TEST_F(Placement, NoPictureMeansNoAspectAndNoFit)
{
    setPrintWidth(doc, Surface::Top, 300);
    EXPECT_EQ(top().printHeight, 0);
    applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    applySizeMode(doc, Surface::Top, PictureSizing::FitHeight);
    EXPECT_EQ(top().printWidth, 300);
}

TEST_F(Placement, HugeTypedSizeDoesNotOverflow)
{
    ASSERT_TRUE(patternImage(1, 3000).save(path("tall.bmp"), "BMP"));
    LoadSurfacePicture(doc, Surface::Top, path("tall.bmp"), messages);
    setPrintWidth(doc, Surface::Top, 999999);
    EXPECT_EQ(top().printHeight, std::numeric_limits<int>::max());
}

TEST_F(Placement, FailedLoadKeepsEverythingButTheName)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    PlacementResult r = LoadSurfacePicture(doc, Surface::Top, path("none.bmp"), messages);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(top().fileName, path("none.bmp"));
    EXPECT_EQ(top().pixelWidth, 1429);
    EXPECT_EQ(top().printWidth, 2016);
    EXPECT_EQ(top().bitmap.width(), 1429);
    EXPECT_EQ(messages.messages.last(), "ファイル(" + path("none.bmp") + ")がありません");
}

TEST_F(Placement, LinkedBackGetsTheFrontsValuesThenFitsItsOwnWidth)
{
    setPictureLink(doc, Surface::Top, true);
    PlacementResult r = LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    EXPECT_TRUE(r.touches(Surface::Bottom));
    EXPECT_EQ(bottom().fileName, path("p.bmp"));
    EXPECT_EQ(bottom().bitmap.size(), QSize(1429, 1000));
    EXPECT_EQ(bottom().printWidth, 2016); // computed for the front
    EXPECT_EQ(bottom().printHeight, 1411);
    EXPECT_EQ(bottom().posX, -293);
    EXPECT_EQ(bottom().posY, 0);
    EXPECT_EQ(bottom().sourceRect, (PixelRect { 0, 0, 1429, 1000 }));

    r = applySizeMode(doc, Surface::Top, PictureSizing::FitWidth);
    EXPECT_EQ(r.refreshPage, PreviewPage::Shown); // both pages changed
    EXPECT_EQ(top().printWidth, 1429);
    EXPECT_EQ(bottom().printWidth, 1629); // the back label's own width
    EXPECT_EQ(bottom().printHeight, 1139); // 1000 * 1629 / 1429 = 1139.96
    EXPECT_EQ(int(bottom().sizeMode), 0);

    applyAlignMode(doc, Surface::Top, PictureAlignment::CentreDown);
    EXPECT_EQ(top().posY, 205);
    EXPECT_EQ(bottom().posY, 124); // (1387 - 1139) / 2
    EXPECT_EQ(int(bottom().alignMode), 4);
}

TEST_F(Placement, LinkedTypedValuesReachTheFollower)
{
    setPictureLink(doc, Surface::Top, true);
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    PlacementResult r = setPosX(doc, Surface::Top, 118);
    EXPECT_EQ(bottom().posX, 118);
    EXPECT_EQ(int(bottom().alignMode), 6);
    EXPECT_TRUE(r.touches(Surface::Bottom));
    EXPECT_EQ(placementTexts(doc, Surface::Bottom).posX, "118");
    EXPECT_EQ(placementTexts(doc, Surface::Bottom).posXMm, "10.0mm");
    setPosY(doc, Surface::Top, 7);
    EXPECT_EQ(bottom().posY, 7);
    setPrintWidth(doc, Surface::Top, 700);
    EXPECT_EQ(bottom().printWidth, 700);
    EXPECT_EQ(bottom().printHeight, 489);
    EXPECT_EQ(int(bottom().sizeMode), 2);
    setKeepAspect(doc, Surface::Top, false);
    EXPECT_FALSE(bottom().keepAspect);
}

TEST_F(Placement, TurningTheLinkOffKeepsTheCopiedValues)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    PlacementResult r = setPictureLink(doc, Surface::Top, true);
    EXPECT_EQ(r.refreshPage, PreviewPage::Back);
    EXPECT_EQ(bottom().printWidth, 2016);
    setPictureLink(doc, Surface::Top, false);
    EXPECT_EQ(bottom().printWidth, 2016);
    EXPECT_EQ(bottom().fileName, path("p.bmp"));
    setPosX(doc, Surface::Top, 5);
    EXPECT_EQ(bottom().posX, -293);
}

TEST_F(Placement, SpineLinkCopiesLeftToRightOnly)
{
    setPictureLink(doc, Surface::Left, true);
    EXPECT_TRUE(doc.right.pictureSameAsLeft);
    LoadSurfacePicture(doc, Surface::Left, path("p.bmp"), messages);
    // 70 x 1387 covered: s = 1387 / 1000
    EXPECT_EQ(doc.left.picture.printWidth, 1982);
    EXPECT_EQ(doc.left.picture.printHeight, 1387);
    EXPECT_EQ(doc.left.picture.posX, -956);
    EXPECT_EQ(doc.right.picture.posX, -956);
    setKeepAspect(doc, Surface::Left, false);
    EXPECT_TRUE(doc.right.picture.keepAspect);
    setPosX(doc, Surface::Right, 3); // a follower repeats nothing
    EXPECT_EQ(doc.left.picture.posX, -956);
}

TEST_F(Placement, UseNeverClearsThePicture)
{
    LoadSurfacePicture(doc, Surface::Top, path("p.bmp"), messages);
    setPictureUse(doc, Surface::Top, true);
    setPictureUse(doc, Surface::Top, false);
    EXPECT_EQ(top().printWidth, 2016);
    EXPECT_FALSE(top().bitmap.isNull());
}

} // namespace

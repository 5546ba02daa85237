#include <gtest/gtest.h>

#include "TestSupport.h"
#include "render/Geometry.h"

using namespace cw;

TEST(Geometry, ScaleFactorsMultiplyByTheReciprocal)
{
    PageScale s300 = pageScale(300, 300);
    EXPECT_DOUBLE_EQ(s300.kx, 300 * (1.0 / 25.399));
    EXPECT_NEAR(s300.kx, 11.811488, 1e-6);
    EXPECT_EQ(int(s300.lineX), 2);
    // At 96 dpi the 0.2 mm line (0.756 px) is raised to exactly one pixel.
    PageScale s96 = pageScale(96, 96);
    EXPECT_EQ(s96.lineX, 1.0);
    EXPECT_EQ(s96.lineY, 1.0);
    // Unequal resolutions: each direction has its own factor.
    PageScale s = pageScale(360, 180);
    EXPECT_NEAR(s.kx, 14.173786, 1e-6);
    EXPECT_NEAR(s.ky, 7.086893, 1e-6);
    EXPECT_EQ(int(s.lineX), 2);
    EXPECT_EQ(int(s.lineY), 1);
}

TEST(Geometry, SurfaceSizesAtCommonResolutions)
{
    struct Case
    {
        int dx, dy, tw, th, bw, bh, sw, sh;
    };
    const Case cases[] = {
        { 96, 96, 457, 451, 521, 444, 22, 444 },
        { 300, 300, 1429, 1411, 1629, 1387, 70, 1387 },
        { 600, 600, 2858, 2822, 3259, 2775, 141, 2775 },
        { 360, 180, 1715, 846, 1955, 832, 85, 832 },
    };
    for (const Case &c : cases) {
        SurfacePixels p = surfacePixelsAt(c.dx, c.dy);
        EXPECT_EQ(p.topWidth, c.tw) << c.dx;
        EXPECT_EQ(p.topHeight, c.th) << c.dy;
        EXPECT_EQ(p.bottomWidth, c.bw) << c.dx;
        EXPECT_EQ(p.bottomHeight, c.bh) << c.dy;
        EXPECT_EQ(p.sideWidth, c.sw) << c.dx;
        EXPECT_EQ(p.sideHeight, c.sh) << c.dy;
        EXPECT_EQ(p.width(Surface::Right), c.sw);
        EXPECT_EQ(p.height(Surface::Bottom), c.bh);
    }
}

TEST(Geometry, FrontAndBackPagesOnThePreviewPage)
{
    FrontPageGeometry f = computeFrontPageGeometry(96, 96, 1046, 604);
    EXPECT_EQ(f.W, 457);
    EXPECT_EQ(f.H, 451);
    EXPECT_EQ(f.L, 66);
    EXPECT_EQ(f.T, 76);
    EXPECT_EQ(f.R, 66 + 914 - 1);
    EXPECT_EQ(f.B, 76 + 451 - 1);

    BackPageGeometry b = computeBackPageGeometry(96, 96, 1046, 604);
    EXPECT_EQ(b.H, 444);
    EXPECT_EQ(b.T, 80);
    EXPECT_EQ(b.B, 523);
    EXPECT_EQ(b.L, 240); // (1046 - 566) / 2
    EXPECT_EQ(b.X1, 262);
    EXPECT_EQ(b.X2, 783);
    EXPECT_EQ(b.X3, 805);
    // The block is centred with trunc(150 mm); the three parts add up to one less.
    EXPECT_EQ(b.X3 - b.L, 565);
}

TEST(Geometry, TooNarrowPageGivesANegativeOrigin)
{
    FrontPageGeometry f = computeFrontPageGeometry(300, 300, 2000, 1000);
    EXPECT_EQ(f.W, 1429);
    EXPECT_EQ(f.L, -429);
    EXPECT_EQ(f.T, -205); // (1000 - 1411) / 2 = -205.5: truncation toward zero, not floor
    EXPECT_EQ(f.R, -429 + 2858 - 1);

    BackPageGeometry b = computeBackPageGeometry(300, 300, 1000, 1000);
    EXPECT_EQ(b.L, -385); // (1000 - 1771) / 2 = -385.5
    EXPECT_EQ(b.X1, -315); // 70 px of spine
    EXPECT_EQ(b.X2, 1314); // 1629 px of back
}

TEST(Geometry, UnequalResolutions)
{
    // Across at 360 dpi (14.1738 px/mm), down at 180 dpi (7.0869 px/mm).
    FrontPageGeometry f = computeFrontPageGeometry(360, 180, 4000, 1500);
    EXPECT_EQ(f.W, 1715);
    EXPECT_EQ(f.H, 846);
    EXPECT_EQ(f.L, 285); // (4000 - 2 * 1715) / 2
    EXPECT_EQ(f.T, 327); // (1500 - 846) / 2
    EXPECT_EQ(f.R, 3714); // 285 + 3430 - 1
    EXPECT_EQ(f.B, 1172); // 327 + 846 - 1
    BackPageGeometry b = computeBackPageGeometry(360, 180, 4000, 1500);
    EXPECT_EQ(b.H, 832);
    EXPECT_EQ(b.T, 334); // (1500 - 832) / 2
    EXPECT_EQ(b.L, 937); // (4000 - trunc(150 mm) = 2126) / 2
    EXPECT_EQ(b.X1 - b.L, 85);
    EXPECT_EQ(b.X2 - b.X1, 1955);
}

class FakePrinter : public PrinterBackend
{
public:
    bool queryResolution(int &x, int &y) override
    {
        ++calls;
        if (fail)
            return false;
        x = dpiX;
        y = dpiY;
        return true;
    }
    bool fail = false;
    int dpiX = 600, dpiY = 600, calls = 0;
};

TEST(PrinterResolution, ReadsThePrinterAndComputesSurfaces)
{
    PrinterState state;
    FakePrinter printer;
    printer.dpiX = 360;
    printer.dpiY = 180;
    RecordingMessages messages;
    QueryPrinterResolution(printer, messages, state);
    EXPECT_EQ(state.printerDpiX, 360);
    EXPECT_EQ(state.printerDpiY, 180);
    EXPECT_TRUE(messages.messages.isEmpty());

    LabelDocument doc;
    doc.top.picture.printWidth = 777; // not converted by ComputeSurfacePixels
    ComputeSurfacePixels(doc, state);
    EXPECT_EQ(doc.dpiX, 360);
    EXPECT_EQ(doc.dpiY, 180);
    EXPECT_EQ(doc.surfacePixels.topWidth, 1715);
    EXPECT_EQ(doc.surfacePixels.topHeight, 846);
    EXPECT_EQ(doc.top.picture.printWidth, 777);

    EXPECT_DOUBLE_EQ(PixelsToMmX(1429, state), 1429 * 25.399 / 360);
    EXPECT_EQ(formatMm(PixelsToMmY(1411, PrinterState {})), QStringLiteral("119.5mm"));
}

TEST(PrinterResolution, AFailureIsReportedOnceAndFallsBackTo300)
{
    PrinterState state;
    FakePrinter printer;
    printer.fail = true;
    RecordingMessages messages;
    QueryPrinterResolution(printer, messages, state);
    EXPECT_TRUE(state.printerFailed);
    EXPECT_EQ(state.printerDpiX, 300);
    EXPECT_EQ(state.printerDpiY, 300);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0],
        QStringLiteral("プリンタエラーが発生しました\nプリンタを300dpi×300dpiと仮定します"));

    // A later query does not touch the printer and says nothing, even if it works again.
    printer.fail = false;
    QueryPrinterResolution(printer, messages, state);
    EXPECT_EQ(printer.calls, 1);
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(state.printerDpiX, 300);
    EXPECT_TRUE(state.printerFailed);
}

TEST(PrinterResolution, AZeroResolutionCountsAsAFailure)
{
    PrinterState state;
    FakePrinter printer;
    printer.dpiX = 0;
    RecordingMessages messages;
    QueryPrinterResolution(printer, messages, state);
    EXPECT_TRUE(state.printerFailed);
    EXPECT_EQ(state.printerDpiX, 300);
}

// The printable area a page needs with its trim marks (15.0 mm outside its
// block on every side): one pixel less either way loses a mark.
TEST(Geometry, ThePrintableAreaAPageNeedsWithItsMarks)
{
    struct Case
    {
        bool back;
        int dpiX, dpiY;
        int width, height;
    };
    const Case cases[] = {
        { false, 300, 300, 3212, 1765 }, // 2 x 1429 + 2 x 177, 1411 + 2 x 177
        { true, 300, 300, 2125, 1741 }, // 70 + 1629 + 70 on 1771 centred, 1387
        { false, 600, 600, 6424, 3530 },
        { true, 600, 600, 4251, 3483 },
        { false, 600, 300, 6424, 1765 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.back << " " << c.dpiX << "x" << c.dpiY);
        const PageExtent e = pageExtentWithMarks(c.back, c.dpiX, c.dpiY);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.height, c.height);
        EXPECT_TRUE(pageFitsWithMarks(c.back, c.dpiX, c.dpiY, c.width, c.height));
        EXPECT_TRUE(pageFitsWithMarks(c.back, c.dpiX, c.dpiY, c.width + 1, c.height + 1));
        EXPECT_FALSE(pageFitsWithMarks(c.back, c.dpiX, c.dpiY, c.width - 1, c.height));
        EXPECT_FALSE(pageFitsWithMarks(c.back, c.dpiX, c.dpiY, c.width, c.height - 1));
        EXPECT_DOUBLE_EQ(e.widthMm, c.back ? 180.0 : 272.0);
        EXPECT_DOUBLE_EQ(e.heightMm, c.back ? 147.5 : 149.5);
    }
}

namespace {
const CaseSheet &firstSheet(const char *format)
{
    return findCaseFormat(QString::fromLatin1(format))->sheets[0];
}
} // namespace

// A sheet's trim marks on paper at 300 dpi (A4 landscape 3508 x 2480, US
// Letter landscape 3300 x 2550): whole (59 to 177 pixels out) where the room
// holds them; a wrap's shortened to the room, from 1 mm past the bleed, and
// refused below 2 mm (23 pixels); the jewel case's front never shortened.
// The DVD wrap is 1529 + 165 + 1529 by 2161 pixels, the Blu-ray's 1488 +
// 141 + 1488 by 1748.
TEST(Geometry, TrimMarksFollowTheRoomThePaperLeaves)
{
    struct Case
    {
        const char *format;
        int bleedMm, width, height;
        bool fits;
        MarkSpan across, down;
    };
    const Case cases[] = {
        { "dvd-14", 0, 3508, 2480, true, { 11, 142 }, { 11, 159 } },
        { "dvd-14", 3, 3508, 2480, true, { 47, 142 }, { 47, 159 } },
        { "dvd-14", 0, 3300, 2550, true, { 11, 38 }, { 59, 177 } },
        { "dvd-14", 1, 3300, 2550, false, { 59, 177 }, { 59, 177 } }, // 38 - 23 < 23
        { "dvd-14", 3, 3300, 2550, false, { 59, 177 }, { 59, 177 } },
        { "dvd-14", 0, 3291, 2229, true, { 11, 34 }, { 11, 34 } }, // the least that fits
        { "dvd-14", 0, 3290, 2229, false, { 59, 177 }, { 11, 34 } },
        { "bd-12", 3, 3300, 2550, true, { 47, 91 }, { 59, 177 } },
        { "cd-jewel", 3, 3300, 2550, true, { 59, 177 }, { 59, 177 } },
        { "cd-jewel", 0, 3058, 2550, false, { 59, 177 }, { 59, 177 } }, // room 100
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.format << " bleed " << c.bleedMm << " on " << c.width << "x" << c.height);
        const CaseSheet &sheet = firstSheet(c.format);
        const SheetGeometry g = computeSheetGeometry(sheet, 300, 300, c.width, c.height);
        const SheetMarks m
            = sheetMarks(sheet, g, pageScale(300, 300), c.bleedMm, c.width, c.height);
        EXPECT_EQ(m.fits, c.fits);
        EXPECT_EQ(m.across, c.across);
        EXPECT_EQ(m.down, c.down);
        EXPECT_EQ(pageFitsWithMarks(sheet, c.bleedMm, 300, 300, c.width, c.height), c.fits);
    }
}

// The least printable area a wrap needs: its pixels and 1 mm past the bleed
// plus 2 mm of mark on each side, found as the rule decides it.
TEST(Geometry, ThePrintableAreaAWrapNeeds)
{
    struct Case
    {
        const char *format;
        int bleedMm, dpi, width, height;
        double widthMm, heightMm;
    };
    const Case cases[] = {
        { "dvd-14", 0, 300, 3291, 2229, 279.0, 189.0 },
        { "dvd-14", 3, 300, 3363, 2301, 285.0, 195.0 },
        { "bd-12", 2, 300, 3233, 1864, 274.0, 158.0 },
        { "dvd-slim-5", 0, 600, 6376, 4463, 270.0, 189.0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " bleed " << c.bleedMm);
        const CaseSheet &sheet = firstSheet(c.format);
        const PageExtent e = pageExtentWithMarks(sheet, c.bleedMm, c.dpi, c.dpi);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.height, c.height);
        EXPECT_DOUBLE_EQ(e.widthMm, c.widthMm);
        EXPECT_DOUBLE_EQ(e.heightMm, c.heightMm);
        EXPECT_FALSE(pageFitsWithMarks(sheet, c.bleedMm, c.dpi, c.dpi, c.width - 1, c.height));
        EXPECT_FALSE(pageFitsWithMarks(sheet, c.bleedMm, c.dpi, c.dpi, c.width, c.height - 1));
    }
}

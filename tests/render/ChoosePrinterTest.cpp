#include <gtest/gtest.h>

#include "TestSupport.h"
#include "render/ChoosePrinter.h"

using namespace cw;

namespace {
class FixedPrinter : public PrinterBackend
{
public:
    explicit FixedPrinter(int dpi)
        : dpi(dpi)
    { }
    bool queryResolution(int &x, int &y) override
    {
        x = y = dpi;
        return true;
    }
    int dpi;
};

void place(PicturePlacement &p, int w, int h, int x, int y)
{
    p.pixelWidth = 1429;
    p.pixelHeight = 1000;
    p.printWidth = w;
    p.printHeight = h;
    p.posX = x;
    p.posY = y;
}
} // namespace

TEST(ChoosePrinter, DoublingTheResolutionDoublesEveryDevicePixelValue)
{
    PrinterState state;
    LabelDocument doc;
    DocumentEditor ed(doc);
    ComputeSurfacePixels(doc, state); // 300 x 300
    place(doc.top.picture, 2016, 1411, -293, 0);
    place(doc.left.picture, 70, 49, 0, 669);
    doc.right.picture.keepAspect = false;
    TPrintsData item;
    item.posX = 10;
    item.posY = 20;
    item.printWidth = 300;
    item.printHeight = 201;
    doc.insidePrints.append(item);
    const double widthMm = PixelsToMmX(2016, state);

    FixedPrinter printer(600);
    RecordingMessages messages;
    int dialogs = 0;
    ChoosePrinterResult r = ChoosePrinter(
        ed, printer, [&] { ++dialogs; }, messages, state);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(r.refused);
    EXPECT_TRUE(r.resolutionChanged);
    EXPECT_EQ(doc.dpiX, 600);
    EXPECT_EQ(doc.surfacePixels.topWidth, 2858);
    // Width and height are converted independently: the aspect lock, which
    // would recompute the height from the width, is off meanwhile.
    EXPECT_EQ(doc.top.picture.printWidth, 4032);
    EXPECT_EQ(doc.top.picture.printHeight, 2822);
    EXPECT_EQ(doc.top.picture.posX, -586);
    EXPECT_EQ(doc.top.picture.posY, 0);
    EXPECT_EQ(doc.left.picture.printHeight, 98);
    EXPECT_EQ(doc.left.picture.posY, 1338);
    EXPECT_EQ(doc.insidePrints[0].posX, 20);
    EXPECT_EQ(doc.insidePrints[0].printHeight, 402);
    // The switches are back as they were.
    EXPECT_TRUE(doc.top.picture.keepAspect);
    EXPECT_FALSE(doc.right.picture.keepAspect);
    // The millimetres stay.
    EXPECT_DOUBLE_EQ(PixelsToMmX(doc.top.picture.printWidth, state), widthMm);
    EXPECT_EQ(r.edit.pages, QList<PreviewPage> { PreviewPage::Shown });
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(ChoosePrinter, ALinkedBackIsConvertedOnceNotTwice)
{
    PrinterState state;
    LabelDocument doc;
    DocumentEditor ed(doc);
    ComputeSurfacePixels(doc, state);
    place(doc.top.picture, 2016, 1411, -293, 0);
    place(doc.bottom.picture, 2016, 1411, -293, 0);
    doc.bottom.pictureSameAsFront = true;
    FixedPrinter printer(600);
    RecordingMessages messages;
    ChoosePrinter(ed, printer, {}, messages, state);
    EXPECT_EQ(doc.bottom.picture.printWidth, 4032);
    EXPECT_EQ(doc.bottom.picture.printHeight, 2822);
    EXPECT_EQ(doc.bottom.picture.posX, -586);
}

TEST(ChoosePrinter, TheSameResolutionChangesNoValue)
{
    PrinterState state;
    LabelDocument doc;
    DocumentEditor ed(doc);
    ComputeSurfacePixels(doc, state);
    place(doc.top.picture, 2000, 1411, -293, 0); // not the picture's aspect ratio
    FixedPrinter printer(300);
    RecordingMessages messages;
    ChoosePrinterResult r = ChoosePrinter(ed, printer, {}, messages, state);
    EXPECT_FALSE(r.resolutionChanged);
    EXPECT_EQ(doc.top.picture.printWidth, 2000);
    EXPECT_EQ(doc.top.picture.printHeight, 1411);
}

TEST(ChoosePrinter, RefusedAfterAPrinterFailure)
{
    PrinterState state;
    state.printerFailed = true;
    LabelDocument doc;
    DocumentEditor ed(doc);
    doc.dpiX = doc.dpiY = 600;
    FixedPrinter printer(300);
    RecordingMessages messages;
    int dialogs = 0;
    ChoosePrinterResult r = ChoosePrinter(
        ed, printer, [&] { ++dialogs; }, messages, state);
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(doc.dpiX, 600);
    EXPECT_EQ(
        messages.messages, QStringList { QStringLiteral("プリンタ異常のため設定できません") });
}

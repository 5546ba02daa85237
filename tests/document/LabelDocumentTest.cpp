#include <gtest/gtest.h>

#include "document/LabelDocument.h"

using namespace cw;

TEST(LabelDocument, ANewDocumentHasTheDefaults)
{
    LabelDocument d;
    EXPECT_TRUE(d.fileName.isEmpty());
    EXPECT_TRUE(d.listRows.isEmpty());
    for (Surface s : kAllSurfaces) {
        const SurfaceSettings &ss = d.surface(s);
        EXPECT_FALSE(ss.title.use);
        EXPECT_TRUE(ss.title.text.isEmpty());
        EXPECT_EQ(ss.title.font, defaultFont());
        EXPECT_FALSE(ss.picture.use);
        EXPECT_EQ(int(ss.picture.sizeMode), 2);
        EXPECT_EQ(int(ss.picture.alignMode), 6);
        EXPECT_TRUE(ss.picture.keepAspect);
        EXPECT_EQ(ss.backgroundColor1, 0x00FFFFFFu);
    }
    EXPECT_EQ(int(d.top.title.posMode), 1);
    EXPECT_EQ(int(d.bottom.title.posMode), 1);
    EXPECT_EQ(int(d.left.title.posMode), 0);
    EXPECT_EQ(int(d.right.title.posMode), 0);
    EXPECT_EQ(d.listLayout[0].width2, 70);
    EXPECT_EQ(d.listLayout[1].width2, 87);
    EXPECT_EQ(d.listLayout[1].posX, 3);

    FontSpec f = defaultFont();
    EXPECT_EQ(f.name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(f.size, 9);
    EXPECT_EQ(f.charset, 128);
    EXPECT_EQ(f.color, 0x80000008u);
}

TEST(LabelDocument, RescalingConvertsEveryDevicePixelValue)
{
    LabelDocument d;
    d.top.picture.printWidth = 2016;
    d.top.picture.printHeight = 1411;
    d.top.picture.posX = -293;
    d.top.picture.posY = 7;
    d.right.picture.posY = 1001;
    TPrintsData item;
    item.posX = 301;
    item.posY = -301;
    item.printWidth = 99;
    item.printHeight = 3;
    d.backPrints.append(item);
    d.coverPrints.append(item);

    d.rescaleDeviceValues(300, 300, 600, 150);
    EXPECT_EQ(d.top.picture.printWidth, 4032);
    EXPECT_EQ(d.top.picture.posX, -586);
    EXPECT_EQ(d.top.picture.printHeight, 705); // 1411 / 2 truncated
    EXPECT_EQ(d.top.picture.posY, 3);
    EXPECT_EQ(d.right.picture.posY, 500);
    EXPECT_EQ(d.backPrints[0].posX, 602);
    EXPECT_EQ(d.backPrints[0].posY, -150); // toward zero, not -151
    EXPECT_EQ(d.backPrints[0].printHeight, 1);
    EXPECT_EQ(d.coverPrints[0].printWidth, 198);

    // Halving and doubling back loses at most the truncated pixel.
    d.rescaleDeviceValues(600, 150, 300, 300);
    EXPECT_EQ(d.top.picture.printWidth, 2016);
    EXPECT_EQ(d.top.picture.printHeight, 1410);
}

TEST(LabelDocument, RescalingLargeValuesDoesNotOverflow)
{
    LabelDocument d;
    d.top.picture.printWidth = 2000000000;
    d.rescaleDeviceValues(300, 300, 1200, 300);
    EXPECT_EQ(d.top.picture.printWidth, 2147483647);
    EXPECT_EQ(rescaleValue(1000, 0, 600), 1000);
    EXPECT_EQ(rescaleValue(-7, 2, 1), -3);
}

TEST(Colors, SystemColoursResolveWhenDrawing)
{
    EXPECT_EQ(resolveColor(0x80000008), QColor(0, 0, 0));
    EXPECT_EQ(resolveColor(0x80000005), QColor(255, 255, 255));
    EXPECT_EQ(resolveColor(0x00332211), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(toColorRef(QColor(0x11, 0x22, 0x33)), 0x00332211u);
    EXPECT_TRUE(isSystemColor(kWindowTextColor));
    EXPECT_FALSE(isSystemColor(kWhite));
}

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

TEST(LabelDocument, RescalingLargeValuesDoesNotOverflow)
{
    EXPECT_EQ(rescaleValue(2000000000, 300, 1200), 2147483647);
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

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "document/OptionSettings.h"
#include "document/PrintCorrection.h"

using namespace cw;

TEST(PrintCorrection, TypedMillimetresWithOneDecimalWithinTenMillimetres)
{
    struct Case
    {
        const char *text;
        std::optional<int> tenths;
    };
    const Case cases[] = {
        { "2", 20 },
        { "2.0", 20 },
        { "-1.5", -15 },
        { "+0.3", 3 },
        { " 10.0 ", 100 },
        { "-10.0", -100 },
        { "0", 0 },
        { "-0.0", 0 },
        { "10.1", std::nullopt },
        { "-10.1", std::nullopt },
        { "11", std::nullopt },
        { "1.25", std::nullopt }, // one decimal only
        { "1.", std::nullopt },
        { ".5", std::nullopt },
        { "1,5", std::nullopt },
        { "abc", std::nullopt },
        { "", std::nullopt },
        { "-", std::nullopt },
        { "1 .5", std::nullopt },
        { "２.０", std::nullopt },
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseCorrectionMm(QString::fromUtf8(c.text)), c.tenths) << c.text;
}

TEST(PrintCorrection, FormattingAndParsingAreInverse)
{
    for (int t = -kCorrectionLimitTenths; t <= kCorrectionLimitTenths; ++t) {
        EXPECT_EQ(parseCorrectionMm(formatCorrectionMm(t)), t);
        const PrintCorrection c { t, -t };
        EXPECT_EQ(parseCorrectionPair(formatCorrectionPair(c)), c);
    }
    EXPECT_EQ(formatCorrectionMm(-15), "-1.5");
    EXPECT_EQ(formatCorrectionMm(-5), "-0.5");
    EXPECT_EQ(formatCorrectionMm(0), "0.0");
    EXPECT_EQ(formatCorrectionPair({ 20, -15 }), "2.0,-1.5");
    EXPECT_EQ(parseCorrectionPair("2.0"), std::nullopt);
    EXPECT_EQ(parseCorrectionPair("2.0,-1.5,1"), std::nullopt);
    EXPECT_EQ(parseCorrectionPair("2.0,x"), std::nullopt);
    EXPECT_EQ(invalidCorrectionMessage("abc"),
        QStringLiteral("'abc' は -10.0 から 10.0 までの数値(mm、小数1桁)ではありません"));
}

// mm x dpi / 25.399 to the nearest pixel, halves away from zero, the same
// both ways.
TEST(PrintCorrection, PixelsAreTheNearestDevicePixel)
{
    struct Case
    {
        int tenths, dpi, pixels;
    };
    const Case cases[] = {
        { 20, 300, 24 }, // 23.62
        { 15, 300, 18 }, // 17.72
        { 20, 600, 47 }, // 47.25
        { 15, 600, 35 }, // 35.43
        { 1, 300, 1 }, // 1.18
        { 1, 96, 0 }, // 0.38
        { 100, 1200, 472 }, // 472.46
        { 0, 600, 0 },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(correctionPixels(c.tenths, c.dpi), c.pixels) << c.tenths << " " << c.dpi;
        EXPECT_EQ(correctionPixels(-c.tenths, c.dpi), -c.pixels);
    }
    for (int t = -100; t <= 100; ++t) {
        const double exact = t / 10.0 * 600 / 25.399;
        EXPECT_LE(std::abs(correctionPixels(t, 600) - exact), 0.5);
    }
}

class CorrectionSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    }
    QTemporaryDir dir;
};

// Each printer keeps its own correction, the PDF file target one more; a
// fresh settings object (a restart) reads them back.
TEST_F(CorrectionSettings, EachDeviceKeepsItsOwnCorrectionAcrossARestart)
{
    const PrintDevice a = PrintDevice::printer("Office"), b = PrintDevice::printer("Home/Ink #2");
    {
        QSettings s;
        storePrintCorrection(s, a, { 20, -15 });
        storePrintCorrection(s, b, { -100, 3 });
        storePrintCorrection(s, PrintDevice::pdf(), { 5, 0 });
    }
    QSettings s;
    EXPECT_EQ(loadPrintCorrection(s, a), (PrintCorrection { 20, -15 }));
    EXPECT_EQ(loadPrintCorrection(s, b), (PrintCorrection { -100, 3 }));
    EXPECT_EQ(loadPrintCorrection(s, PrintDevice::pdf()), (PrintCorrection { 5, 0 }));
    EXPECT_EQ(loadPrintCorrection(s, PrintDevice::printer("Other")), PrintCorrection {});
    // A printer named like the PDF key is still a printer.
    EXPECT_EQ(loadPrintCorrection(s, PrintDevice::printer("PdfFile")), PrintCorrection {});
    EXPECT_EQ(s.value(printCorrectionKey(a)).toString(), "2.0,-1.5");

    // A zero correction leaves no value behind; an unreadable one counts as zero.
    storePrintCorrection(s, a, {});
    EXPECT_FALSE(s.contains(printCorrectionKey(a)));
    s.setValue(printCorrectionKey(b), "12.0,0");
    EXPECT_EQ(loadPrintCorrection(s, b), PrintCorrection {});
}

// The bleed is read without being written: a user who never changes it
// keeps the settings as they were.
TEST_F(CorrectionSettings, TheBleedIsKeptOnlyOnceChosen)
{
    QSettings s;
    PrintOptions o = loadPrintOptions(s);
    EXPECT_EQ(o.bleedMm, 0);
    EXPECT_EQ(s.allKeys().size(), 5);
    EXPECT_TRUE(storeBleed(s, o, 3));
    EXPECT_FALSE(storeBleed(s, o, 4));
    EXPECT_FALSE(storeBleed(s, o, -1));
    EXPECT_EQ(o.bleedMm, 3);
    EXPECT_EQ(QSettings().value("Bleed").toInt(), 3);
    EXPECT_EQ(loadPrintOptions(s).bleedMm, 3);
    for (const char *bad : { "4", "-1", "x" }) {
        s.setValue("Bleed", bad);
        EXPECT_EQ(loadBleed(s), 0) << bad;
    }
}

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/OptionSettings.h"

using namespace cw;

namespace {
struct TempSettings
{
    QTemporaryDir dir;
    QSettings settings { dir.filePath(QStringLiteral("c.conf")), QSettings::IniFormat };
};
} // namespace

TEST(OptionSettings, TheTableListsTheValuesInStartUpOrder)
{
    const auto &table = printOptionTable();
    const char *expected[] = { "SideTitleSameTop", "AreaLinePrint", "CutLinePrint", "TopLabelPrint",
        "BottomLabelPrint" };
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(table[i].key, expected[i]);
    EXPECT_EQ(printOptionInfo(QStringLiteral("Nope")), nullptr);
}

TEST(OptionSettings, MissingValuesGetTheirDefaultsWrittenAndExistingOnesAreKept)
{
    TempSettings t;
    t.settings.setValue("CutLinePrint", 0);
    const PrintOptions o = loadPrintOptions(t.settings);
    EXPECT_TRUE(o.printFront);
    EXPECT_TRUE(o.printBack);
    EXPECT_TRUE(o.boundaryLines);
    EXPECT_FALSE(o.foldLines);
    EXPECT_FALSE(o.spinesSameDirection);
    EXPECT_EQ(t.settings.value("CutLinePrint").toInt(), 0);
    EXPECT_EQ(t.settings.value("SideTitleSameTop").toInt(), 0);
    EXPECT_EQ(t.settings.value("TopLabelPrint").toInt(), 1);
}

TEST(OptionSettings, AHandEditedValueThatIsNoNumberCountsAsTheDefault)
{
    TempSettings t;
    t.settings.setValue("AreaLinePrint", "yes please");
    t.settings.setValue("SideTitleSameTop", "x");
    const PrintOptions o = loadPrintOptions(t.settings);
    EXPECT_TRUE(o.boundaryLines);
    EXPECT_FALSE(o.spinesSameDirection);
}

TEST(OptionSettings, StoringWritesAtOnceAndNamesThePageToRefresh)
{
    TempSettings t;
    PrintOptions o;
    EXPECT_EQ(storePrintOption(t.settings, o, QStringLiteral("AreaLinePrint"), false),
        PreviewPage::Shown);
    EXPECT_FALSE(o.boundaryLines);
    QSettings reread(t.settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(reread.value("AreaLinePrint").toInt(), 0);
    EXPECT_EQ(storePrintOption(t.settings, o, QStringLiteral("SideTitleSameTop"), true),
        PreviewPage::Back);
    EXPECT_FALSE(storePrintOption(t.settings, o, QStringLiteral("BottomLabelPrint"), false));
    EXPECT_FALSE(o.printBack);
    EXPECT_FALSE(storePrintOption(t.settings, o, QStringLiteral("Bogus"), true));
    EXPECT_FALSE(t.settings.contains("Bogus"));
}

TEST(OptionSettings, InsidePrintIsOffUntilChangedAndOnlyThenWritten)
{
    TempSettings t;
    PrintOptions o = loadPrintOptions(t.settings);
    EXPECT_FALSE(o.printInside);
    // The five switches of old are written at the first start; this one is
    // not, so the settings of a user who never touches it stay as they were.
    EXPECT_TRUE(t.settings.contains("BottomLabelPrint"));
    EXPECT_FALSE(t.settings.contains("InsidePrint"));
    // It decides whether the preview offers the inside page: the shown page
    // is looked at again.
    EXPECT_EQ(storePrintOption(t.settings, o, QStringLiteral("InsidePrint"), true),
        PreviewPage::Shown);
    EXPECT_TRUE(o.printInside);
    QSettings reread(t.settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(reread.value("InsidePrint").toInt(), 1);
    EXPECT_TRUE(loadPrintOptions(reread).printInside);
    storePrintOption(t.settings, o, QStringLiteral("InsidePrint"), false);
    QSettings again(t.settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(again.value("InsidePrint").toInt(), 0);
    EXPECT_FALSE(loadPrintOptions(again).printInside);
    EXPECT_STREQ(printOptionTable()[5].key, "InsidePrint");
}

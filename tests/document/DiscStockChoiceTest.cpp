#include <gtest/gtest.h>

#include "document/DiscStockChoice.h"
#include "document/DiscStockSettings.h"

using namespace cw;

// The list: the fourteen products, the custom sheet, the printable disc; an
// entry chosen shows as itself, with its sheet's labels.
TEST(DiscStockChoice, TheListOfStocksAndItsEntries)
{
    const QStringList entries = discStockEntries();
    ASSERT_EQ(entries.size(), 16);
    EXPECT_EQ(QStringList({ entries[0], entries[7], entries[14], entries[15] }),
        QStringList({ "Avery L6015", "PEARL VM-6353", "カスタム", "プリンタブルディスク" }));
    const std::tuple<int, DiscStockKind, const char *, int> rows[] = {
        { 0, DiscStockKind::LabelSheet, "avery-l6015", 2 },
        { 7, DiscStockKind::LabelSheet, "pearl-vm6353", 3 },
        { 14, DiscStockKind::LabelSheet, "custom", 2 },
        { 15, DiscStockKind::PrintableDisc, "avery-l6015", 0 },
    };
    for (const auto &[index, kind, sheet, labels] : rows) {
        const DiscStock stock = discStockWithEntry(DiscStock(), index);
        EXPECT_EQ(std::pair(stock.kind, stock.sheetId), std::pair(kind, QString(sheet)));
        EXPECT_EQ(discStockEntryIndex(stock), index);
        EXPECT_EQ(discStockLabelCount(stock, defaultCustomLabelSheet()), labels) << index;
    }
    EXPECT_EQ(discStockWithEntry(DiscStock(), 16), DiscStock());
    DiscStock unknown;
    unknown.sheetId = QStringLiteral("no-such-sheet");
    EXPECT_EQ(discStockEntryIndex(unknown), 0);
}

TEST(DiscStockChoice, EveryLabelCanBeLeftOutAndANewSheetPrintsAll)
{
    DiscStock stock = discStockWithLabel(DiscStock(), 1, false, 2);
    EXPECT_EQ(stock.labels, ~1u);
    // The last label too: a used-up sheet prints none of its two, and the
    // bits beyond them stay for a sheet that has more.
    stock = discStockWithLabel(stock, 2, false, 2);
    EXPECT_EQ(stock.labels, ~3u);
    EXPECT_TRUE(discLayoutOf(stock, defaultCustomLabelSheet()).centresMm.isEmpty());
    // Numbers beyond the sheet change nothing.
    EXPECT_EQ(discStockWithLabel(stock, 3, false, 2), stock);
    EXPECT_EQ(discStockWithLabel(stock, 0, true, 2), stock);
    EXPECT_EQ(discStockWithLabel(stock, 2, true, 2).labels, ~1u);
    // The printable disc and back keep the choice; another sheet prints all.
    stock = discStockWithEntry(discStockWithEntry(stock, 15), 0);
    EXPECT_EQ(stock.labels, ~3u);
    EXPECT_EQ(discStockWithEntry(stock, 7).labels, ~0u);
}

TEST(DiscStockChoice, PrintableOuterAndHub)
{
    const std::pair<const char *, std::optional<int>> rows[] = { { "116", 1160 },
        { " 120.0 ", 1200 }, { "115.9", {} }, { "120.1", {} }, { "", {} }, { "118.25", {} } };
    for (const auto &[typed, tenths] : rows)
        EXPECT_EQ(parsePrintableOuter(QLatin1String(typed)), tenths) << typed;
    EXPECT_EQ(printableHubEntries(), QStringList({ "43mm", "22mm", "16mm" }));
    EXPECT_EQ(std::pair(printableHubIndex(16), printableHubIndex(30)), std::pair(2, 0));
}

// The disc label sheets: the program's table with its exact numbers, the
// refusal of a malformed table, and what a stock prints on.
#include <gtest/gtest.h>

#include "base/DiscStock.h"

using namespace cw;

TEST(LabelSheets, TheTableHoldsEachProductWithItsExactNumbers)
{
    ASSERT_EQ(labelSheets().size(), 14);
    const struct
    {
        const char *id, *name, *paper;
        double width, outer, hole;
        QVector<QPointF> centres;
    } rows[] = {
        { "avery-l6015", "Avery L6015", "A4", 210.0, 117.0, 41.0,
            { { 105.0, 79.90 }, { 105.0, 218.33 } } },
        { "avery-j8676", "Avery J8676", "A4", 210.0, 117.48, 12.0,
            { { 104.60, 79.73 }, { 104.60, 216.61 } } },
        { "pearl-vm6353", "PEARL VM-6353", "A4", 210.0, 117.4, 17.8,
            { { 61.7, 61.7 }, { 61.7, 234.7 }, { 147.7, 147.7 } } },
        { "avery-5931", "Avery 5931 (also 5691, 5692, 8692, 8931, 8941)", "Letter", 215.9, 117.48,
            41.28, { { 107.95, 76.20 }, { 107.95, 203.20 } } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.id);
        const LabelSheetProduct *p = findLabelSheet(QLatin1String(row.id));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->name, row.name);
        EXPECT_EQ(p->paper, row.paper);
        EXPECT_EQ(p->widthMm, row.width);
        EXPECT_EQ(p->heightMm, row.width == 210.0 ? 297.0 : 279.4);
        EXPECT_EQ(p->outerMm, row.outer);
        EXPECT_EQ(p->holeMm, row.hole);
        EXPECT_EQ(p->centresMm, row.centres);
    }
    EXPECT_EQ(findLabelSheet(QStringLiteral("custom")), nullptr);
}

TEST(LabelSheets, AMalformedTableIsRefusedWithWhatIsWrong)
{
    auto table = [](const char *paper, const char *hole, const char *centres) {
        return QByteArray("{ \"sheets\": [ { \"id\": \"s\", \"name\": \"S\", \"paper\": ") + paper
            + ", \"outerMm\": 117.0" + hole + ", \"centres\": " + centres + " } ] }";
    };
    const struct
    {
        QByteArray json;
        const char *says;
    } cases[] = {
        // 58.5 mm from the edges: the label touches them.
        { table("\"A4\"", ", \"holeMm\": 41", "[[58.5, 58.5], [151.5, 238.5]]"), "" },
        { table("\"A4\"", "", "[[105, 100]]"), "s: no hole diameter" },
        { table("\"A5\"", ", \"holeMm\": 41", "[[105, 100]]"), "s: unknown paper \"A5\"" },
        { table("\"A4\"", ", \"holeMm\": 117", "[[105, 100]]"),
            "s: the hole is not smaller than the label" },
        { table("\"A4\"", ", \"holeMm\": 41", "[[105, 100], [105, 238.51]]"),
            "s: label 2 is not wholly on the paper" },
        { table("\"A4\"", ", \"holeMm\": 41", "[]"), "s: 0 labels, not 1 to 8" },
        { "{ \"sheets\": [ { \"id\": \"s\", \"name\": \"S\", \"paper\": \"A4\", \"outerMm\": 117, "
          "\"holeMm\": 41, "
          "\"centres\": [[105, 100]] }, { \"id\": \"s\", \"name\": \"T\", \"paper\": \"A4\", "
          "\"outerMm\": 117, "
          "\"holeMm\": 41, \"centres\": [[105, 100]] } ] }",
            "s: sheet id repeated" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        QString error;
        EXPECT_EQ(parseLabelSheets(c.json, &error).isEmpty(), *c.says != 0);
        EXPECT_EQ(error, c.says);
    }
}

TEST(DiscStock, TheRingAndTheLabelsPrintedComeFromTheStock)
{
    LabelSheetProduct custom;
    custom.outerMm = 80.0;
    custom.holeMm = 15.5;
    DiscStock stock;
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 117.0, 41.0 }));
    stock.sheetId = QStringLiteral("custom");
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 80.0, 15.5 }));
    stock.sheetId = QStringLiteral("gone-1234"); // unknown: the first sheet
    EXPECT_EQ(&stockSheet(stock, custom), &labelSheets().first());
    stock.kind = DiscStockKind::PrintableDisc;
    stock.printableOuterTenths = 1165;
    stock.hubMm = 22;
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 116.5, 22.0 }));

    const LabelSheetProduct &two = *findLabelSheet(QStringLiteral("avery-l6015"));
    const LabelSheetProduct &three = *findLabelSheet(QStringLiteral("pearl-vm6353"));
    EXPECT_EQ(printedLabels(DiscStock {}, three), (QVector<int> { 1, 2, 3 }));
    stock.labels = 0b110; // the third label is beyond a sheet of two
    EXPECT_EQ(printedLabels(stock, two), QVector<int> { 2 });
    EXPECT_EQ(printedLabels(stock, three), (QVector<int> { 2, 3 }));
    stock.labels = 0b100;
    EXPECT_TRUE(printedLabels(stock, two).isEmpty());

    const struct
    {
        const char *text;
        std::optional<unsigned> mask;
    } lists[] = { { "2", 0b10u }, { " 2 , 1 ", 0b11u }, { "0", std::nullopt },
        { "3", std::nullopt }, { "x", std::nullopt }, { "", std::nullopt }, { "1,", std::nullopt },
        { "+1", std::nullopt } };
    for (const auto &l : lists) {
        SCOPED_TRACE(l.text);
        QString message;
        EXPECT_EQ(parseLabelList(QString::fromUtf8(l.text), 2, &message), l.mask);
        EXPECT_EQ(message.isEmpty(), l.mask.has_value());
    }
}

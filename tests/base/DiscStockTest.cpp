// The disc label sheets: the program's table with its exact numbers, the
// refusal of a malformed table, and what a stock prints on.
#include <gtest/gtest.h>

#include "base/DiscStock.h"

using namespace cw;

namespace {

struct SheetRow
{
    const char *id;
    const char *name;
    const char *paper;
    double width, height, outer, hole;
    QVector<QPointF> centres;
};

// A table of one sheet with `field` replaced by `value` (removed when null).
QByteArray tableWith(const char *field, const char *value)
{
    QList<QPair<QByteArray, QByteArray>> fields = { { "id", "\"s\"" }, { "name", "\"S\"" },
        { "paper", "\"A4\"" }, { "outerMm", "117.0" }, { "holeMm", "41.0" },
        { "centres", "[[105.0, 79.9], [105.0, 218.33]]" } };
    QByteArray object;
    for (const auto &[k, v] : fields) {
        if (k == field && !value)
            continue;
        if (!object.isEmpty())
            object += ", ";
        object += '"' + k + "\": " + (k == field ? QByteArray(value) : v);
    }
    return "{ \"sheets\": [ { " + object + " } ] }";
}

} // namespace

TEST(LabelSheets, TheTableHoldsEachProductWithItsExactNumbers)
{
    const QVector<LabelSheetProduct> &sheets = labelSheets();
    ASSERT_EQ(sheets.size(), 14);
    EXPECT_EQ(sheets.first().id, "avery-l6015");
    EXPECT_EQ(sheets.last().id, "sheetlabels-sl113");
    const SheetRow rows[] = {
        { "avery-l6015", "Avery L6015", "A4", 210.0, 297.0, 117.0, 41.0,
            { { 105.0, 79.90 }, { 105.0, 218.33 } } },
        { "avery-j8676", "Avery J8676", "A4", 210.0, 297.0, 117.48, 12.0,
            { { 104.60, 79.73 }, { 104.60, 216.61 } } },
        { "pearl-vm6353", "PEARL VM-6353", "A4", 210.0, 297.0, 117.4, 17.8,
            { { 61.7, 61.7 }, { 61.7, 234.7 }, { 147.7, 147.7 } } },
        { "avery-5931", "Avery 5931 (also 5691, 5692, 8692, 8931, 8941)", "Letter", 215.9, 279.4,
            117.48, 41.28, { { 107.95, 76.20 }, { 107.95, 203.20 } } },
        { "onlinelabels-ol5625", "OnlineLabels OL5625 (full face)", "Letter", 215.9, 279.4, 118.26,
            17.0, { { 107.95, 75.79 }, { 107.95, 203.58 } } },
        { "sheetlabels-sl113", "SheetLabels SL113", "Letter", 215.9, 279.4, 117.48, 41.28,
            { { 65.74, 65.74 }, { 152.74, 141.24 }, { 65.74, 216.74 } } },
    };
    for (const SheetRow &row : rows) {
        SCOPED_TRACE(row.id);
        const LabelSheetProduct *p = findLabelSheet(QLatin1String(row.id));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->name, QString::fromUtf8(row.name));
        EXPECT_EQ(p->paper, row.paper);
        EXPECT_EQ(p->widthMm, row.width);
        EXPECT_EQ(p->heightMm, row.height);
        EXPECT_EQ(p->outerMm, row.outer);
        EXPECT_EQ(p->holeMm, row.hole);
        EXPECT_EQ(p->centresMm, row.centres);
    }
    EXPECT_EQ(findLabelSheet(QStringLiteral("custom")), nullptr);
    EXPECT_EQ(findLabelSheet(QStringLiteral("AVERY-L6015")), nullptr);
}

TEST(LabelSheets, AMalformedTableIsRefusedWithWhatIsWrong)
{
    QString error;
    EXPECT_EQ(parseLabelSheets(tableWith("", nullptr), &error).size(), 1);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    const struct
    {
        QByteArray json;
        const char *says;
    } cases[] = {
        { tableWith("name", nullptr), "s: no name" },
        { tableWith("holeMm", nullptr), "s: no hole diameter" },
        { tableWith("paper", "\"A5\""), "s: unknown paper \"A5\"" },
        { tableWith("holeMm", "117.0"), "s: the hole is not smaller than the label" },
        // 58.5 mm to the left edge is the radius exactly; 58.49 is not.
        { tableWith("centres", "[[58.49, 100]]"), "s: label 1 is not wholly on the paper" },
        { tableWith("centres", "[[105, 100], [105, 238.6]]"), "s: label 2 is not wholly on the paper" },
        { tableWith("centres", "[]"), "s: 0 labels, not 1 to 8" },
        { tableWith("centres",
              "[[60,60],[60,60],[60,60],[60,60],[60,60],[60,60],[60,60],[60,60],[60,60]]"),
            "s: 9 labels, not 1 to 8" },
        { tableWith("centres", "[[105, \"80\"]]"), "s: label 1: a centre is two numbers" },
        { "{ \"sheets\": [ { \"id\": \"a\", \"name\": \"A\", \"paper\": \"Letter\", \"outerMm\": 117, "
          "\"holeMm\": 41, \"centres\": [[100, 100]] }, { \"id\": \"a\", \"name\": \"B\", "
          "\"paper\": \"A4\", \"outerMm\": 117, \"holeMm\": 41, \"centres\": [[100, 100]] } ] }",
            "a: sheet id repeated" },
        { "{ \"sheets\": [] }", "table: no sheets" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        error.clear();
        EXPECT_TRUE(parseLabelSheets(c.json, &error).isEmpty());
        EXPECT_EQ(error, c.says);
    }
    EXPECT_TRUE(parseLabelSheets(tableWith("centres", "[[58.5, 58.5]]"), &error).size() == 1)
        << error.toStdString();
    EXPECT_TRUE(parseLabelSheets("{ \"sheets\": [", &error).isEmpty());
    EXPECT_TRUE(error.startsWith("table: ")) << error.toStdString();
}

TEST(DiscStock, TheRingIsTheSheetsOrThePrintableDiscs)
{
    LabelSheetProduct custom;
    custom.id = QStringLiteral("custom");
    custom.outerMm = 80.0;
    custom.holeMm = 15.5;
    DiscStock stock;
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 117.0, 41.0 }));
    stock.sheetId = QStringLiteral("avery-8960");
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 117.48, 10.0 }));
    stock.sheetId = QStringLiteral("custom");
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 80.0, 15.5 }));
    EXPECT_EQ(&stockSheet(stock, custom), &custom);
    // An id the table does not know is its first sheet.
    stock.sheetId = QStringLiteral("gone-1234");
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 117.0, 41.0 }));
    EXPECT_EQ(&stockSheet(stock, custom), &labelSheets().first());
    stock.kind = DiscStockKind::PrintableDisc;
    stock.printableOuterTenths = 1165;
    stock.hubMm = 22;
    EXPECT_EQ(discRingOf(stock, custom), (DiscRing { 116.5, 22.0 }));
}

TEST(DiscStock, ThePrintedLabelsAreTheMasksBitsWithinTheSheet)
{
    const LabelSheetProduct &two = *findLabelSheet(QStringLiteral("avery-l6015"));
    const LabelSheetProduct &three = *findLabelSheet(QStringLiteral("pearl-vm6353"));
    DiscStock stock;
    EXPECT_EQ(printedLabels(stock, two), (QVector<int> { 1, 2 }));
    EXPECT_EQ(printedLabels(stock, three), (QVector<int> { 1, 2, 3 }));
    stock.labels = 0b110; // labels 2 and 3: the third is not on a sheet of two
    EXPECT_EQ(printedLabels(stock, two), QVector<int> { 2 });
    EXPECT_EQ(printedLabels(stock, three), (QVector<int> { 2, 3 }));
    stock.labels = 0b100;
    EXPECT_TRUE(printedLabels(stock, two).isEmpty());
    stock.labels = 0;
    EXPECT_TRUE(printedLabels(stock, three).isEmpty());
}

TEST(DiscStock, ALabelListIsNumbersOfTheSheetSeparatedByCommas)
{
    const struct
    {
        const char *text;
        int count;
        std::optional<unsigned> mask;
    } cases[] = {
        { "2", 2, 0b10u },
        { "1,2", 2, 0b11u },
        { " 2 , 1 ", 2, 0b11u },
        { "2,2", 2, 0b10u },
        { "8", 8, 0x80u },
        { "0", 2, std::nullopt },
        { "3", 2, std::nullopt },
        { "9", 9, std::nullopt },
        { "x", 2, std::nullopt },
        { "", 2, std::nullopt },
        { "1,", 2, std::nullopt },
        { "+1", 2, std::nullopt },
        { "1;2", 2, std::nullopt },
        { "01", 2, 0b1u },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        QString message;
        EXPECT_EQ(parseLabelList(QString::fromUtf8(c.text), c.count, &message), c.mask);
        EXPECT_EQ(message.isEmpty(), c.mask.has_value());
    }
    QString message;
    parseLabelList(QStringLiteral("3"), 2, &message);
    EXPECT_EQ(message,
        "印刷するラベル(3)が正しくありません。1から2までの番号をコンマで区切って指定してください");
}

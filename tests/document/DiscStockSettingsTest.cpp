// The disc stock and the custom label sheet kept in the user's settings.
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/DiscStockSettings.h"

using namespace cw;

namespace {
struct TempSettings
{
    QTemporaryDir dir;
    QSettings settings { dir.filePath(QStringLiteral("c.conf")), QSettings::IniFormat };
};

LabelSheetProduct sheetOf(const char *paper, double outer, double hole, QVector<QPointF> centres)
{
    LabelSheetProduct s = defaultCustomLabelSheet();
    s.paper = QString::fromLatin1(paper);
    s.outerMm = outer;
    s.holeMm = hole;
    s.centresMm = std::move(centres);
    return s;
}
} // namespace

TEST(DiscStockSettings, NothingStoredReadsAsTheDefaultsAndWritesNothing)
{
    TempSettings t;
    EXPECT_EQ(loadDiscStock(t.settings), DiscStock {});
    const LabelSheetProduct custom = loadCustomLabelSheet(t.settings);
    EXPECT_EQ(custom.id, "custom");
    EXPECT_EQ(custom.name, "カスタム");
    EXPECT_EQ(custom.paper, "A4");
    EXPECT_EQ(custom.widthMm, 210.0);
    EXPECT_EQ(custom.heightMm, 297.0);
    EXPECT_EQ(custom.outerMm, 117.0);
    EXPECT_EQ(custom.holeMm, 41.0);
    EXPECT_EQ(custom.centresMm, (QVector<QPointF> { { 105.0, 79.9 }, { 105.0, 218.33 } }));
    EXPECT_TRUE(t.settings.allKeys().isEmpty());
}

TEST(DiscStockSettings, TheStockIsKeptAndValuesOutOfRangeReadAsTheirDefaults)
{
    TempSettings t;
    const DiscStock stock { DiscStockKind::PrintableDisc, QStringLiteral("custom"), 0b101u, 1163, 16 };
    storeDiscStock(t.settings, stock);
    EXPECT_EQ(t.settings.value("DiscStock").toInt(), 1);
    EXPECT_EQ(t.settings.value("DiscSheet").toString(), "custom");
    EXPECT_EQ(t.settings.value("DiscLabels").toUInt(), 5u);
    EXPECT_EQ(t.settings.value("DiscOuter").toInt(), 1163);
    EXPECT_EQ(t.settings.value("DiscHub").toInt(), 16);
    QSettings again(t.settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(loadDiscStock(again), stock);

    const struct
    {
        const char *key;
        QVariant value;
    } bad[] = { { "DiscStock", 2 }, { "DiscStock", "printable" }, { "DiscSheet", "avery-l9999" },
        { "DiscLabels", "all" }, { "DiscOuter", 1159 }, { "DiscOuter", 1201 }, { "DiscHub", 20 },
        { "DiscHub", "43mm" } };
    for (const auto &b : bad) {
        SCOPED_TRACE(b.key);
        storeDiscStock(again, stock);
        again.setValue(b.key, b.value);
        const DiscStock read = loadDiscStock(again);
        DiscStock expected = stock;
        const QString key = QLatin1String(b.key);
        if (key == "DiscStock")
            expected.kind = DiscStockKind::LabelSheet;
        else if (key == "DiscSheet")
            expected.sheetId = QStringLiteral("avery-l6015");
        else if (key == "DiscLabels")
            expected.labels = ~0u;
        else if (key == "DiscOuter")
            expected.printableOuterTenths = 1180;
        else
            expected.hubMm = 43;
        EXPECT_EQ(read, expected);
    }
    again.setValue("DiscOuter", 1200);
    again.setValue("DiscHub", 22);
    again.setValue("DiscSheet", "sheetlabels-sl113");
    const DiscStock edges = loadDiscStock(again);
    EXPECT_EQ(edges.printableOuterTenths, 1200);
    EXPECT_EQ(edges.hubMm, 22);
    EXPECT_EQ(edges.sheetId, "sheetlabels-sl113");
}

TEST(DiscStockSettings, TheCustomSheetIsKeptAndABadOneChangesNothing)
{
    TempSettings t;
    const LabelSheetProduct good
        = sheetOf("Letter", 116.5, 17.5, { { 107.95, 76.2 }, { 107.95, 203.25 } });
    QString message = QStringLiteral("stale");
    ASSERT_TRUE(storeCustomLabelSheet(t.settings, good, &message));
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(t.settings.value("DiscCustomPaper").toString(), "Letter");
    EXPECT_EQ(t.settings.value("DiscCustomOuter").toInt(), 1165);
    EXPECT_EQ(t.settings.value("DiscCustomHole").toInt(), 175);
    EXPECT_EQ(t.settings.value("DiscCustomCentres").toString(), "107.95,76.2;107.95,203.25");
    QSettings again(t.settings.fileName(), QSettings::IniFormat);
    LabelSheetProduct read = loadCustomLabelSheet(again);
    EXPECT_EQ(read.paper, "Letter");
    EXPECT_EQ(read.widthMm, 215.9);
    EXPECT_EQ(read.heightMm, 279.4);
    EXPECT_EQ(read.outerMm, 116.5);
    EXPECT_EQ(read.holeMm, 17.5);
    EXPECT_EQ(read.centresMm, good.centresMm);

    // Labels overlapping: 116.0 mm apart with 116.5 mm labels.
    const LabelSheetProduct bad
        = sheetOf("Letter", 116.5, 17.5, { { 107.95, 76.2 }, { 107.95, 192.2 } });
    EXPECT_FALSE(storeCustomLabelSheet(again, bad, &message));
    EXPECT_EQ(message, "ラベル1とラベル2が重なっています");
    EXPECT_EQ(again.value("DiscCustomCentres").toString(), "107.95,76.2;107.95,203.25");
    EXPECT_EQ(loadCustomLabelSheet(again).centresMm, good.centresMm);

    // A hand-edited value that makes a bad sheet: the whole sheet is the default.
    again.setValue("DiscCustomOuter", 1310);
    EXPECT_EQ(loadCustomLabelSheet(again).outerMm, 117.0);
    EXPECT_EQ(loadCustomLabelSheet(again).paper, "A4");
    again.setValue("DiscCustomOuter", 1165);
    again.setValue("DiscCustomCentres", "107.95;76.2");
    EXPECT_EQ(loadCustomLabelSheet(again).centresMm, defaultCustomLabelSheet().centresMm);
}

TEST(DiscStockSettings, ACustomSheetsProblemIsNamed)
{
    const QVector<QPointF> one { { 105.0, 100.0 } };
    const struct
    {
        LabelSheetProduct sheet;
        const char *says;
    } cases[] = {
        { sheetOf("A4", 117.0, 41.0, one), "" },
        { sheetOf("A5", 117.0, 41.0, one), "用紙は A4 か Letter です" },
        { sheetOf("A4", 19.9, 0.0, one), "ラベルの外径は 20.0mm から 130.0mm までです" },
        { sheetOf("A4", 20.0, 0.0, one), "" },
        { sheetOf("A4", 130.0, 0.0, one), "" },
        { sheetOf("A4", 130.1, 0.0, one), "ラベルの外径は 20.0mm から 130.0mm までです" },
        { sheetOf("A4", 117.0, 107.0, one), "" },
        { sheetOf("A4", 117.0, 107.1, one),
            "ラベルの穴の径は 0.0mm から 107.0mm (外径より 10.0mm 小さい値) までです" },
        { sheetOf("A4", 117.0, -0.1, one),
            "ラベルの穴の径は 0.0mm から 107.0mm (外径より 10.0mm 小さい値) までです" },
        { sheetOf("A4", 117.0, 41.0, {}), "ラベルは 1 枚から 8 枚までです" },
        { sheetOf("A4", 20.0, 5.0, QVector<QPointF>(9, QPointF(50, 50))),
            "ラベルは 1 枚から 8 枚までです" },
        // The label reaching the paper's edges exactly, and a hundredth past them.
        { sheetOf("A4", 117.0, 41.0, { { 58.5, 58.5 }, { 151.5, 238.5 } }), "" },
        { sheetOf("A4", 117.0, 41.0, { { 58.5, 58.5 }, { 151.51, 238.5 } }),
            "ラベル2が用紙からはみ出しています" },
        { sheetOf("Letter", 117.0, 41.0, { { 100, 58.49 } }), "ラベル1が用紙からはみ出しています" },
        { sheetOf("A4", 117.0, 41.0, { { 60, 60 }, { 60, 177.0 } }), "" }, // touching
        { sheetOf("A4", 117.0, 41.0, { { 60, 60 }, { 150, 150 }, { 60, 176.99 } }),
            "ラベル1とラベル3が重なっています" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        EXPECT_EQ(customLabelSheetProblem(c.sheet), QString::fromUtf8(c.says));
    }
}

TEST(DiscStockSettings, CentresAreReadAndWrittenToTheHundredth)
{
    const struct
    {
        const char *text;
        std::optional<QVector<QPointF>> centres;
        const char *written;
    } cases[] = {
        { "105,79.9;105,218.33", QVector<QPointF> { { 105.0, 79.9 }, { 105.0, 218.33 } },
            "105,79.9;105,218.33" },
        { " 105.0 , 79.90 ; 105 ,218.33;", QVector<QPointF> { { 105.0, 79.9 }, { 105.0, 218.33 } },
            "105,79.9;105,218.33" },
        { "0.05,7", QVector<QPointF> { { 0.05, 7.0 } }, "0.05,7" },
        { "61.7,61.7;61.7,234.7;147.7,147.7",
            QVector<QPointF> { { 61.7, 61.7 }, { 61.7, 234.7 }, { 147.7, 147.7 } },
            "61.7,61.7;61.7,234.7;147.7,147.7" },
        { "", std::nullopt, nullptr },
        { ";", std::nullopt, nullptr },
        { "105", std::nullopt, nullptr },
        { "105,79.905", std::nullopt, nullptr },
        { "105,-79.9", std::nullopt, nullptr },
        { "105,79,9", std::nullopt, nullptr },
        { "105,79.9;;105,218", std::nullopt, nullptr },
        { "105x79.9", std::nullopt, nullptr },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        QString message;
        const auto read = parseCentres(QString::fromUtf8(c.text), &message);
        EXPECT_EQ(read, c.centres);
        EXPECT_EQ(message.isEmpty(), c.centres.has_value());
        if (read) {
            EXPECT_EQ(formatCentres(*read), c.written);
        }
    }
    QString message;
    parseCentres(QStringLiteral("105"), &message);
    EXPECT_EQ(message,
        "ラベルの中心(105)は「x,y;x,y」の形で、用紙の左上からの mm (小数2桁まで) で入力してください");
    // Numbers with more decimals are written to the nearest hundredth.
    EXPECT_EQ(formatCentres({ { 104.604, 79.7261 } }), "104.6,79.73");
}

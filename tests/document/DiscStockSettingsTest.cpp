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
    s.paper = QLatin1String(paper);
    s.outerMm = outer;
    s.holeMm = hole;
    s.centresMm = std::move(centres);
    return s;
}
} // namespace

TEST(DiscStockSettings, TheStockIsKeptAndValuesOutOfRangeReadAsTheDefaults)
{
    TempSettings t;
    EXPECT_EQ(loadDiscStock(t.settings), DiscStock {});
    EXPECT_TRUE(t.settings.allKeys().isEmpty()); // nothing written until changed
    const DiscStock stock { DiscStockKind::PrintableDisc, QStringLiteral("custom"), 0b101u, 1200,
        16 };
    storeDiscStock(t.settings, stock);
    QSettings again(t.settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(loadDiscStock(again), stock);
    again.setValue("DiscStock", 2);
    again.setValue("DiscSheet", "avery-l9999");
    again.setValue("DiscLabels", "all");
    again.setValue("DiscOuter", 1159);
    again.setValue("DiscHub", 20);
    EXPECT_EQ(loadDiscStock(again), DiscStock {});
}

// A used-up sheet's mask of none is kept; only an absent mask means all.
TEST(DiscStockSettings, AMaskOfNoLabelsIsKept)
{
    TempSettings t;
    storeDiscStock(t.settings, DiscStock { DiscStockKind::LabelSheet, "avery-l6015", 0u, 1180, 43 });
    EXPECT_EQ(std::pair(loadDiscStock(t.settings).labels, int(loadDiscLayout(t.settings).centresMm.size())),
        std::pair(0u, 0));
    t.settings.remove("DiscLabels");
    EXPECT_EQ(loadDiscStock(t.settings).labels, ~0u);
}

TEST(DiscStockSettings, TheCustomSheetIsKeptAndABadOneChangesNothing)
{
    TempSettings t;
    EXPECT_EQ(loadCustomLabelSheet(t.settings).centresMm,
        (QVector<QPointF> { { 105.0, 79.9 }, { 105.0, 218.33 } }));
    const LabelSheetProduct good
        = sheetOf("Letter", 116.5, 17.5, { { 107.95, 76.2 }, { 107.95, 203.25 } });
    QString message;
    ASSERT_TRUE(storeCustomLabelSheet(t.settings, good, &message));
    EXPECT_EQ(t.settings.value("DiscCustomOuter").toInt(), 1165);
    EXPECT_EQ(t.settings.value("DiscCustomCentres").toString(), "107.95,76.2;107.95,203.25");
    QSettings again(t.settings.fileName(), QSettings::IniFormat);
    const LabelSheetProduct read = loadCustomLabelSheet(again);
    EXPECT_EQ(read.heightMm, 279.4);
    EXPECT_EQ(read.holeMm, 17.5);
    EXPECT_EQ(read.centresMm, good.centresMm);
    // 116.0 mm apart with labels of 116.5 mm: refused, the stored sheet kept.
    EXPECT_FALSE(storeCustomLabelSheet(
        again, sheetOf("Letter", 116.5, 17.5, { { 100, 70 }, { 100, 186 } }), &message));
    EXPECT_EQ(message, "ラベル1とラベル2が重なっています");
    EXPECT_EQ(loadCustomLabelSheet(again).centresMm, good.centresMm);
    // A hand-edited value that makes a bad sheet reads as the default sheet.
    again.setValue("DiscCustomOuter", 1310);
    EXPECT_EQ(loadCustomLabelSheet(again).paper, "A4");
}

TEST(DiscStockSettings, ACustomSheetsProblemIsNamed)
{
    const QVector<QPointF> one { { 105.0, 100.0 } };
    const struct
    {
        LabelSheetProduct sheet;
        const char *says;
    } cases[] = {
        { sheetOf("A5", 117.0, 41.0, one), "用紙は A4 か Letter です" },
        { sheetOf("A4", 19.9, 0.0, one), "ラベルの外径は 20.0mm から 130.0mm までです" },
        { sheetOf("A4", 130.0, 0.0, one), "" },
        { sheetOf("A4", 117.0, 107.1, one),
            "ラベルの穴の径は 0.0mm から 107.0mm (外径より 10.0mm 小さい値) までです" },
        { sheetOf("A4", 117.0, 41.0, {}), "ラベルは 1 枚から 8 枚までです" },
        // Touching the paper's edges, and a hundredth past them.
        { sheetOf("A4", 117.0, 41.0, { { 58.5, 58.5 }, { 151.5, 238.5 } }), "" },
        { sheetOf("A4", 117.0, 41.0, { { 58.5, 58.5 }, { 151.51, 238.5 } }),
            "ラベル2が用紙からはみ出しています" },
        // Touching each other, and a hundredth closer.
        { sheetOf("A4", 117.0, 41.0, { { 60, 60 }, { 60, 177.0 } }), "" },
        { sheetOf("A4", 117.0, 41.0, { { 60, 60 }, { 150, 150 }, { 60, 176.99 } }),
            "ラベル1とラベル3が重なっています" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(customLabelSheetProblem(c.sheet), QString::fromUtf8(c.says)) << c.says;
}

TEST(DiscStockSettings, CentresAreReadAndWrittenToTheHundredth)
{
    const struct
    {
        const char *text;
        const char *written; // null: refused
    } cases[] = { { " 105.0 , 79.90 ; 105 ,218.33;", "105,79.9;105,218.33" },
        { "0.05,7", "0.05,7" }, { "", nullptr }, { "105", nullptr }, { "105,79.905", nullptr },
        { "105,-79.9", nullptr }, { "105,79.9;;105,218", nullptr } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        QString message;
        const auto read = parseCentres(QString::fromUtf8(c.text), &message);
        EXPECT_EQ(read ? formatCentres(*read) : QString(), c.written);
        EXPECT_EQ(message.isEmpty(), c.written != nullptr);
    }
}

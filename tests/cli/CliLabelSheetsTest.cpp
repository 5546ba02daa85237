// The disc label sheets on the command line: the table as JSON, every
// number as the table gives it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "TestSupport.h"
#include "base/DiscStock.h"

using namespace cw;

TEST(CliLabelSheets, ListsEverySheetWithItsPaperDiametersAndCentres)
{
    const CliResult r = runCasewrightCli({ "label-sheets" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray list = QJsonDocument::fromJson(r.rawOut).array();
    const QVector<LabelSheetProduct> &table = labelSheets();
    ASSERT_EQ(list.size(), table.size());
    for (int i = 0; i < table.size(); ++i) {
        const LabelSheetProduct &p = table[i];
        SCOPED_TRACE(p.id.toStdString());
        QJsonArray centres;
        for (const QPointF &c : p.centresMm)
            centres.append(QJsonArray { c.x(), c.y() });
        const QJsonObject expected { { "id", p.id }, { "name", p.name }, { "paper", p.paper },
            { "widthMm", p.widthMm }, { "heightMm", p.heightMm }, { "outerMm", p.outerMm },
            { "holeMm", p.holeMm }, { "centres", centres } };
        EXPECT_EQ(list[i].toObject(), expected);
    }
    // Numbers are written as short as they are exact.
    EXPECT_TRUE(r.out.contains("79.9\n") && r.out.contains("\"widthMm\": 215.9,"));
    EXPECT_FALSE(r.out.contains("79.90") || r.out.contains("79.89"));
}

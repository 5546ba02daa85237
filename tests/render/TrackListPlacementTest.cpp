#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawBackPage.h"
#include "render/DrawFrontPage.h"

using namespace cw;

namespace {

LabelDocument listedDocument(int posY)
{
    LabelDocument doc = emptyDocument();
    TListData row;
    row.separate = false;
    row.columns[1].text = QStringLiteral("Track");
    doc.listRows = { row };
    doc.listLayout[0].posY = posY;
    doc.listLayout[1].posY = posY;
    doc.top.useList = true;
    doc.bottom.useList = true;
    return doc;
}

QStringList listTexts(LabelDocument &doc, bool front)
{
    RecordingCanvas c(300, 300);
    CountingReader reader;
    if (front)
        DrawFrontPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    else
        DrawBackPage(c, doc, optionsOff(), 300, 300, 3507, 2480, &reader);
    return linesStarting(c.lines(), "DrawTextInRect");
}

} // namespace

// At 300 dpi 1 mm is 11 px, 117 mm 1381 px and 115 mm 1358 px down: the front
// list ends at T + 11 + 1381 - 1 = 534 + 1391, the back list at
// 546 + 11 + 1358 - 1 = 546 + 1368, wherever it starts.
TEST(TrackListOnThePages, FrontListEndsOnePlus117MillimetresBelowTheFaceTop)
{
    for (int posY : { 0, 50 }) {
        LabelDocument doc = listedDocument(posY);
        QStringList got = listTexts(doc, true);
        ASSERT_EQ(got.size(), 1);
        // On the inside face (L = 324): x0 = 324 + trunc(4 * 11.8115) = 371,
        // span 113 mm = trunc(1334.7) px.
        const int top = 534 + int((posY + 1) * (300 / 25.399));
        EXPECT_EQ(
            got[0], QStringLiteral("DrawTextInRect 371 %1 1704 1925 left top Track").arg(top));
    }
}

TEST(TrackListOnThePages, BackListEndsOnePlus115MillimetresBelowTheLabelTop)
{
    for (int posY : { 0, 50 }) {
        LabelDocument doc = listedDocument(posY);
        QStringList got = listTexts(doc, false);
        ASSERT_EQ(got.size(), 1);
        // On the back label (X1 = 938): x0 = 938 + 47, span 130 mm = trunc(1535.49) px.
        const int top = 546 + int((posY + 1) * (300 / 25.399));
        EXPECT_EQ(
            got[0], QStringLiteral("DrawTextInRect 985 %1 2519 1914 left top Track").arg(top));
    }
}

TEST(TrackListOnThePages, ListFollowsItsSwitchAndLiesUnderTheTitle)
{
    LabelDocument doc = listedDocument(0);
    doc.top.useList = false;
    EXPECT_TRUE(listTexts(doc, true).isEmpty());
    doc.top.useList = true;
    doc.top.title.use = true;
    doc.top.title.text = QStringLiteral("T");
    QStringList got = listTexts(doc, true);
    ASSERT_EQ(got.size(), 2);
    EXPECT_TRUE(got[0].endsWith("Track"));
    EXPECT_TRUE(got[1].endsWith(" T"));
}

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pictures/PictureLoading.h"
#include "prints/PrintsItems.h"

using namespace cw;

namespace {

TPrintsData textItem(const QString &text)
{
    TPrintsData item = newPrintsItem(false);
    item.text = text;
    return item;
}

QStringList texts(const QList<TPrintsData> &list)
{
    QStringList out;
    for (const TPrintsData &i : list)
        out.append(i.text);
    return out;
}

TEST(PrintsItems, NewItemsAreEmptyTextOrPictureItems)
{
    FontSpec font = defaultFont();
    font.size = 14;
    const TPrintsData t = newPrintsItem(false, font);
    EXPECT_EQ(t.kind, 0);
    EXPECT_EQ(t.font.size, 14);
    EXPECT_TRUE(t.text.isEmpty());
    EXPECT_EQ(t.transColor, 0u);
    EXPECT_FALSE(t.transparent);
    const TPrintsData p = newPrintsItem(true);
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.font.name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(p.font.size, 9);
    EXPECT_TRUE(p.bitmap.isNull());
    EXPECT_EQ(p.cacheRect, PixelRect {});
}

TEST(PrintsItems, AppendInsertDeleteAndMove)
{
    QList<TPrintsData> list;
    appendPrintsItem(list, textItem("a"));
    appendPrintsItem(list, textItem("c"));
    EXPECT_EQ(insertPrintsItem(list, 1, textItem("b")), 1);
    EXPECT_EQ(insertPrintsItem(list, 99, textItem("d")), 3);
    EXPECT_EQ(texts(list), (QStringList { "a", "b", "c", "d" }));
    EXPECT_TRUE(movePrintsItemUp(list, 2));
    EXPECT_EQ(texts(list), (QStringList { "a", "c", "b", "d" }));
    EXPECT_FALSE(movePrintsItemUp(list, 0));
    EXPECT_TRUE(movePrintsItemDown(list, 0));
    EXPECT_EQ(texts(list), (QStringList { "c", "a", "b", "d" }));
    EXPECT_FALSE(movePrintsItemDown(list, 3));
    EXPECT_FALSE(movePrintsItemDown(list, -1));
    EXPECT_TRUE(deletePrintsItem(list, 1));
    EXPECT_FALSE(deletePrintsItem(list, 3));
    EXPECT_EQ(texts(list), (QStringList { "c", "b", "d" }));
}

TEST(PrintsItems, ClearingEmptiesAllThreeLists)
{
    LabelDocument doc;
    appendPrintsItem(printsList(doc, PrintsList::Cover), textItem("a"));
    appendPrintsItem(printsList(doc, PrintsList::Inside), textItem("b"));
    appendPrintsItem(printsList(doc, PrintsList::Back), textItem("c"));
    EXPECT_EQ(doc.insidePrints.size(), 1);
    clearAllPrints(doc);
    EXPECT_TRUE(doc.coverPrints.isEmpty());
    EXPECT_TRUE(doc.insidePrints.isEmpty());
    EXPECT_TRUE(doc.backPrints.isEmpty());
}

TEST(PrintsItems, LoadingAPictureSetsItsSizeAsThePrintedSizeAtTheOrigin)
{
    QTemporaryDir dir;
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(img.save(dir.filePath("p.bmp"), "BMP"));
    TPrintsData item = newPrintsItem(true);
    item.posX = 40;
    item.posY = -3;
    RecordingMessages messages;
    ASSERT_TRUE(loadPrintsPicture(item, dir.filePath("p.bmp"), messages));
    EXPECT_EQ(item.fileName, dir.filePath("p.bmp"));
    EXPECT_EQ(item.pixelWidth, 300);
    EXPECT_EQ(item.pixelHeight, 200);
    EXPECT_EQ(item.printWidth, 300);
    EXPECT_EQ(item.printHeight, 200);
    EXPECT_EQ(item.posX, 0);
    EXPECT_EQ(item.posY, 0);
    EXPECT_EQ(item.cacheRect, (PixelRect { 0, 0, 300, 200 }));
    EXPECT_EQ(item.bitmap.pixel(299, 199), qRgb(1, 2, 3));
}

TEST(PrintsItems, FailedLoadKeepsThePathAndTheOldValues)
{
    QTemporaryDir dir;
    TPrintsData item = newPrintsItem(true);
    item.printWidth = 50;
    item.posX = 9;
    item.pixelWidth = 7;
    RecordingMessages messages;
    ASSERT_TRUE(writeAll(dir.filePath("x.xyz"), "garbage"));
    FreeSusiePlugins();
    EXPECT_FALSE(loadPrintsPicture(item, dir.filePath("x.xyz"), messages));
    EXPECT_EQ(item.fileName, dir.filePath("x.xyz"));
    EXPECT_EQ(item.printWidth, 50);
    EXPECT_EQ(item.posX, 9);
    EXPECT_EQ(item.pixelWidth, 7);
    EXPECT_TRUE(item.bitmap.isNull());
    EXPECT_EQ(messages.messages,
        QStringList { "ファイル(" + dir.filePath("x.xyz")
            + ")は利用できない画像形式です(Pluginがありません)" });
}

} // namespace

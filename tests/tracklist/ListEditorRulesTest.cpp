#include <gtest/gtest.h>

#include "tracklist/ListEditor.h"
#include "tracklist/ListLayoutEditor.h"

using namespace cw;

TEST(ListEditorRules, TypedAndLeftEntriesAreCutToTheFieldsLimits)
{
    struct Case
    {
        LayoutField field;
        const char *text;
        bool leaving;
        LayoutEntry::Kind kind;
        int value;
        bool rewrite;
    } cases[] = {
        { LayoutField::Width2, "", false, LayoutEntry::Ignored, 0, false },
        { LayoutField::Width2, "", true, LayoutEntry::Stored, 70, true },
        { LayoutField::Width2, "abc", false, LayoutEntry::Invalid, 70, true },
        { LayoutField::Width2, "71", false, LayoutEntry::Stored, 71, false },
        { LayoutField::Width2, "74", false, LayoutEntry::Stored, 73, true },
        { LayoutField::Width2, "007", false, LayoutEntry::Stored, 7, false },
        { LayoutField::Width2, "007", true, LayoutEntry::Stored, 7, true },
        { LayoutField::Width2, "-4", true, LayoutEntry::Stored, 0, true },
        { LayoutField::Width2, "99999999999", false, LayoutEntry::Stored, 73, true },
        { LayoutField::PosY, "200", false, LayoutEntry::Stored, 117, true },
        { LayoutField::LineSpacing, "60", false, LayoutEntry::Ignored, 0, false },
        { LayoutField::LineSpacing, "60", true, LayoutEntry::Stored, 50, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        ListLayoutEditor e;
        e.open(defaultListLayout(0), 0);
        const LayoutEntry r = c.leaving ? e.left(c.field, QString::fromLatin1(c.text))
                                        : e.typed(c.field, QString::fromLatin1(c.text));
        EXPECT_EQ(r.kind, c.kind);
        if (r.kind != LayoutEntry::Ignored) {
            EXPECT_EQ(r.value, c.value);
            EXPECT_EQ(r.rewrite, c.rewrite);
            EXPECT_EQ(e.value(c.field), c.value);
        }
    }
}

TEST(ListEditorRules, ChoosingTwoColumnsRecomputesOnlyTheMaximaThatCount)
{
    ListLayoutEditor e;
    ListLayout l = defaultListLayout(1); // 136 wide, widths 9/87/30
    e.open(l, 1);
    EXPECT_EQ(e.maximumLabel(LayoutField::Width2), QStringLiteral("(最大 090)"));
    e.chooseColumns(2);
    EXPECT_EQ(e.maximumLabel(LayoutField::Width2), QStringLiteral("(最大 122)"));
    EXPECT_EQ(e.maximumLabel(LayoutField::Width3), QStringLiteral("(最大 033)"));
    EXPECT_FALSE(e.fieldEnabled(LayoutField::Space2));
    EXPECT_FALSE(e.infoEnabled(3));
    EXPECT_EQ(e.values().columnCount, 2);
}

TEST(ListEditorRules, ClipboardTextBecomesOneLinePerLineBreak)
{
    EXPECT_TRUE(clipboardImportLines(QString()).isEmpty());
    const auto lines = clipboardImportLines(QStringLiteral("a\tb\tc\td\r\n\nx\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], (ImportFields { "a", "b", "c" }));
    EXPECT_EQ(lines[1], (ImportFields { "", "", "" }));
    EXPECT_EQ(lines[2], (ImportFields { "x", "", "" }));
    EXPECT_EQ(clipboardImportLines(QStringLiteral("only")).size(), 1);
}

TEST(ListEditorRules, TheWindowKeepsItsPanelInTheCornerAndNeverShrinksBelowTheMinimum)
{
    const ListWindowGeometry small = listWindowGeometry(QSize(100, 100), 20);
    EXPECT_EQ(small.lower, QRect(0, 64, 632, 264));
    EXPECT_EQ(small.upper, QRect(8, 0, 616, 56));
    EXPECT_EQ(small.rows, QRect(0, 20, 616, 36));
    const ListWindowGeometry big = listWindowGeometry(QSize(800, 500), 20);
    EXPECT_EQ(big.lower.topLeft(), QPoint(168, 236));
    EXPECT_EQ(big.upper, QRect(8, 0, 784, 228));
}

TEST(ListEditorRules, AnAlignmentNoItemStandsForLeavesTheNewRowsAlignment)
{
    QList<TListData> rows(1);
    rows[0].columns[1].align = 4;
    ListLayout layout;
    ListEditor e(rows);
    e.open(&layout);
    e.select(0);
    EXPECT_EQ(e.controls().cells[1].alignItem, -1);
    e.newRow();
    EXPECT_EQ(rows[1].columns[1].align, 1);
    EXPECT_EQ(rows[0].columns[1].align, 4); // kept as it was
}

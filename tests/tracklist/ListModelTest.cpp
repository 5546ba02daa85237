#include <gtest/gtest.h>

#include <QFont>

#include "fonts/FontQt.h"
#include "tracklist/ListLayoutRules.h"
#include "tracklist/ListRows.h"

using namespace cw;

namespace {
TListData textRow(const QString &a, const QString &b, const QString &c, bool separate = true)
{
    TListData r;
    r.separate = separate;
    r.columns[0].text = a;
    r.columns[1].text = b;
    r.columns[2].text = c;
    return r;
}
QStringList mainTexts(const QList<TListData> &rows)
{
    QStringList out;
    for (const TListData &r : rows)
        out.append(r.columns[1].text);
    return out;
}
std::array<bool, 3> flags(const TListData &r)
{
    return { r.columns[0].enabled, r.columns[1].enabled, r.columns[2].enabled };
}
} // namespace

TEST(ListRows, NewRowTakesTheEditorsChoicesAndTheColumnCount)
{
    ListEditorDefaults d;
    d.align = { 3, 2, 1 };
    d.fonts[2].name = QStringLiteral("ＭＳ 明朝");
    d.fonts[2].size = 14;
    TListData r = newListRow(d, 3);
    EXPECT_TRUE(r.separate);
    EXPECT_EQ(r.kind, 0);
    EXPECT_EQ(r.columns[0].align, 3);
    EXPECT_EQ(r.columns[1].align, 2);
    EXPECT_EQ(r.columns[2].align, 1);
    EXPECT_EQ(r.columns[2].font.name, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(r.columns[2].font.size, 14);
    EXPECT_EQ(r.columns[0].font, defaultFont());
    EXPECT_EQ(flags(r), (std::array<bool, 3> { true, true, true }));

    TListData one = newListRow(ListEditorDefaults(), 1);
    EXPECT_FALSE(one.separate);
    EXPECT_EQ(flags(one), (std::array<bool, 3> { false, true, false }));
    EXPECT_EQ(one.columns[1].align, 1);
    EXPECT_EQ(one.columns[1].font.color, 0x80000008u);
    EXPECT_EQ(one.columns[1].font.charset, 128);

    TListData two = newListRow(ListEditorDefaults(), 2);
    EXPECT_TRUE(two.separate);
    EXPECT_EQ(flags(two), (std::array<bool, 3> { true, true, false }));
}

TEST(ListRows, InsertDeleteMoveAndClear)
{
    QList<TListData> rows;
    appendRow(rows, textRow("", "a", ""));
    appendRow(rows, textRow("", "b", ""));
    appendRow(rows, textRow("", "c", ""));
    EXPECT_TRUE(insertRowBefore(rows, 0, textRow("", "x", "")));
    EXPECT_EQ(mainTexts(rows), QStringList({ "x", "a", "b", "c" }));
    EXPECT_TRUE(insertRowBefore(rows, 3, textRow("", "y", "")));
    EXPECT_EQ(mainTexts(rows), QStringList({ "x", "a", "b", "y", "c" }));
    // Insertion needs a selected row: no index past the end.
    EXPECT_FALSE(insertRowBefore(rows, 5, textRow("", "z", "")));
    EXPECT_FALSE(insertRowBefore(rows, -1, textRow("", "z", "")));

    EXPECT_TRUE(moveRowUp(rows, 4));
    EXPECT_EQ(mainTexts(rows), QStringList({ "x", "a", "b", "c", "y" }));
    EXPECT_FALSE(moveRowUp(rows, 0));
    EXPECT_TRUE(moveRowDown(rows, 0));
    EXPECT_EQ(mainTexts(rows), QStringList({ "a", "x", "b", "c", "y" }));
    EXPECT_FALSE(moveRowDown(rows, 4));
    EXPECT_FALSE(moveRowDown(rows, 7));

    EXPECT_TRUE(deleteRow(rows, 1));
    EXPECT_EQ(mainTexts(rows), QStringList({ "a", "b", "c", "y" }));
    EXPECT_FALSE(deleteRow(rows, 4));
    clearRows(rows);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_FALSE(deleteRow(rows, 0));
    EXPECT_FALSE(moveRowUp(rows, 0));
    EXPECT_FALSE(moveRowDown(rows, 0));
}

TEST(ListRows, RefreshColumnFlagsFollowsSeparateNotKind)
{
    QList<TListData> rows
        = { textRow("1", "a", "x"), textRow("2", "b", "y", false), textRow("3", "c", "z") };
    rows[2].kind = 1;
    refreshColumnFlags(rows, 3);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { true, true, true }));
    EXPECT_EQ(flags(rows[1]), (std::array<bool, 3> { false, true, false }));
    EXPECT_EQ(flags(rows[2]), (std::array<bool, 3> { true, true, true }));
    refreshColumnFlags(rows, 2);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { true, true, false }));
    refreshColumnFlags(rows, 1);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { false, true, false }));
    EXPECT_EQ(flags(rows[2]), (std::array<bool, 3> { false, true, false }));
    // Counts outside 1..3 leave the flags as they are.
    refreshColumnFlags(rows, 3);
    refreshColumnFlags(rows, 4);
    refreshColumnFlags(rows, 0);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { true, true, true }));
    // Texts are never touched.
    EXPECT_EQ(rows[1].columns[0].text, "2");
}

TEST(ListRows, ColumnCountChoiceIgnoresSeparateAndKind)
{
    QList<TListData> rows = { textRow("1", "a", "x", false) };
    rows[0].kind = 1;
    rows[0].columns[1].enabled = false;
    applyColumnCountToRows(rows, 3);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { true, false, true }));
    applyColumnCountToRows(rows, 2);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { true, false, false }));
    applyColumnCountToRows(rows, 1);
    EXPECT_EQ(flags(rows[0]), (std::array<bool, 3> { false, false, false }));
}

TEST(ListRows, ColumnFontGoesBothWaysThroughQFont)
{
    TListData row;
    FontSpec fontSpec;
    fontSpec.name = QStringLiteral("IPAPMincho");
    fontSpec.size = 14;
    fontSpec.color = 0x00123456u;
    fontSpec.charset = 0;
    fontSpec.bold = true;
    fontSpec.strikeOut = true;
    row.setColumnFont(2, fontSpec);
    QFont f(QStringLiteral("Sans"), 30);
    f.setItalic(true);
    f.setUnderline(true);
    ColorRef color = 0;
    int charset = -1;
    row.applyColumnFont(2, f, &color, &charset);
    EXPECT_EQ(f.family(), "IPAPMincho");
    EXPECT_EQ(f.pointSize(), 14);
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(f.italic());
    EXPECT_FALSE(f.underline());
    EXPECT_TRUE(f.strikeOut());
    EXPECT_EQ(color, 0x00123456u);
    EXPECT_EQ(charset, 0);

    TListData other;
    other.setColumnFont(0, f, color, charset);
    EXPECT_EQ(other.columns[0].font, fontSpec);
    // Indexes outside the three cells change nothing.
    other.setColumnFont(3, defaultFont());
    other.setColumnFont(-1, f, 0, 0);
    EXPECT_EQ(other.columns[0].font, fontSpec);
    EXPECT_EQ(other.columns[2].font, defaultFont());

    // A size of 0 (from a hand-edited file) keeps the QFont's own size.
    FontSpec zero = fontSpec;
    zero.size = 0;
    QFont g(QStringLiteral("Sans"), 11);
    applyFontSpec(zero, g);
    EXPECT_EQ(g.pointSize(), 11);
}

TEST(ListRows, BulkChangeOfSizeOnlyKeepsFaceColourAndStyles)
{
    QList<TListData> rows = { textRow("1", "a", "x"), textRow("2", "b", "y", false) };
    rows[1].kind = 1;
    rows[0].columns[1].font.bold = true;
    rows[0].columns[1].font.color = 0xFFu;
    rows[1].columns[1].enabled = false;
    FontSpec chosen;
    chosen.name = QStringLiteral("IPAMincho");
    chosen.size = 20;
    chosen.color = 0xFF00u;
    chosen.charset = 0;
    chosen.italic = true;
    chosen.underline = true;
    BulkFontChangeSwitches sw;
    sw.changeFont = sw.changeColor = sw.changeStyle = sw.changeDecoration = false;
    sw.changeDefault = false;
    FontSpec def = defaultFont();
    bulkChangeColumnFont(rows, 1, chosen, sw, &def);
    FontSpec expected0 = rows[0].columns[1].font;
    EXPECT_EQ(expected0.size, 20);
    EXPECT_EQ(expected0.name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(expected0.color, 0xFFu);
    EXPECT_TRUE(expected0.bold);
    EXPECT_FALSE(expected0.italic);
    EXPECT_FALSE(expected0.underline);
    // Separator rows and switched-off cells are changed too; other cells not.
    EXPECT_EQ(rows[1].columns[1].font.size, 20);
    EXPECT_EQ(rows[0].columns[0].font, defaultFont());
    EXPECT_EQ(def, defaultFont());
}

TEST(ListRows, BulkChangeCarriesEachSelectedPartAndTheDefault)
{
    QList<TListData> rows = { textRow("1", "a", "x") };
    rows[0].columns[2].font.bold = true;
    rows[0].columns[2].font.strikeOut = true;
    FontSpec chosen;
    chosen.name = QStringLiteral("IPAMincho");
    chosen.size = 20;
    chosen.color = 0xFF00u;
    chosen.charset = 0;
    chosen.italic = true;
    chosen.underline = true;
    BulkFontChangeSwitches sw;
    FontSpec def = defaultFont();
    bulkChangeColumnFont(rows, 2, chosen, sw, &def);
    EXPECT_EQ(rows[0].columns[2].font, chosen);
    EXPECT_EQ(def, chosen);

    // Face with charset, and the decoration flags, each on their own.
    rows[0].columns[2].font = defaultFont();
    BulkFontChangeSwitches faceOnly { true, false, false, false, false, false };
    bulkChangeColumnFont(rows, 2, chosen, faceOnly, &def);
    FontSpec f = rows[0].columns[2].font;
    EXPECT_EQ(f.name, "IPAMincho");
    EXPECT_EQ(f.charset, 0);
    EXPECT_EQ(f.size, 9);
    EXPECT_FALSE(f.italic);
    BulkFontChangeSwitches decoOnly { false, false, false, false, true, true };
    FontSpec def2 = defaultFont();
    bulkChangeColumnFont(rows, 2, chosen, decoOnly, &def2);
    EXPECT_TRUE(rows[0].columns[2].font.underline);
    EXPECT_FALSE(rows[0].columns[2].font.strikeOut);
    EXPECT_TRUE(def2.underline);
    EXPECT_EQ(def2.name, defaultFont().name);
    // All switches off: nothing changes.
    BulkFontChangeSwitches none { false, false, false, false, false, true };
    TListData before = rows[0];
    bulkChangeColumnFont(rows, 2, chosen, none, &def2);
    EXPECT_EQ(rows[0], before);
}

TEST(ListLayoutMaxima, DefaultTopLayout)
{
    ListLayout v = defaultListLayout(0);
    ListMaxima m = computeListMaxima(v, 3, 119, 117);
    EXPECT_EQ(m.free, 3);
    EXPECT_EQ(m.posX, 6);
    EXPECT_EQ(m.width1, 12);
    EXPECT_EQ(m.width2, 73);
    EXPECT_EQ(m.width3, 33);
    EXPECT_EQ(m.space1, 5);
    EXPECT_EQ(m.space2, 5);
    EXPECT_EQ(m.posY, 117);
    EXPECT_EQ(m.lineSpacing, 50);
    EXPECT_EQ(v, defaultListLayout(0));
    EXPECT_EQ(formatMaximum(m.width1), QStringLiteral("(最大 012)"));
    EXPECT_EQ(formatMaximum(m.posY), QStringLiteral("(最大 117)"));
}

TEST(ListLayoutMaxima, DefaultBottomLayoutAndOtherCounts)
{
    ListLayout v = defaultListLayout(1);
    ListMaxima m = computeListMaxima(v, 3, listPrintableWidth(1), listPrintableHeight(1));
    // 136 - (3 + 9 + 2 + 87 + 2 + 30) = 3
    EXPECT_EQ(m.free, 3);
    EXPECT_EQ(m.width2, 90);
    EXPECT_EQ(m.posY, 115);

    ListLayout two = defaultListLayout(0);
    m = computeListMaxima(two, 2, 119, 117);
    // 119 - (3 + 9 + 2 + 70) = 35; width3 and space2 do not count.
    EXPECT_EQ(m.free, 35);
    EXPECT_EQ(m.posX, 38);
    EXPECT_EQ(m.width1, 44);
    EXPECT_EQ(m.width2, 105);
    EXPECT_TRUE(m.counts.width1 && m.counts.space1);
    EXPECT_FALSE(m.counts.width3 || m.counts.space2);

    ListLayout one = defaultListLayout(0);
    m = computeListMaxima(one, 1, 119, 117);
    EXPECT_EQ(m.free, 46);
    EXPECT_EQ(m.posX, 49);
    EXPECT_EQ(m.width2, 116);
    EXPECT_FALSE(m.counts.width1 || m.counts.space1 || m.counts.width3);
}

TEST(ListLayoutMaxima, WidthsThatNoLongerFitAreSetToZero)
{
    ListLayout v = defaultListLayout(0);
    v.posX = 10; // free = 119 - 123 < 0
    ListMaxima m = computeListMaxima(v, 3, 119, 117);
    EXPECT_EQ(v.width1, 0);
    EXPECT_EQ(v.width3, 0);
    EXPECT_EQ(v.space1, 0);
    EXPECT_EQ(v.space2, 0);
    EXPECT_EQ(v.width2, 70);
    EXPECT_EQ(m.free, 39);
    EXPECT_EQ(m.width1, 39);
    EXPECT_EQ(m.width2, 109);
    EXPECT_EQ(m.posX, 49);

    ListLayout two = defaultListLayout(0);
    two.width2 = 110; // 119 - (3 + 9 + 2 + 110) = -5
    m = computeListMaxima(two, 2, 119, 117);
    EXPECT_EQ(two.width1, 0);
    EXPECT_EQ(two.space1, 0);
    EXPECT_EQ(two.width3, 30); // does not count: kept
    EXPECT_EQ(m.free, 6);

    // One column: no reset, the maxima may fall below the values.
    ListLayout one = defaultListLayout(0);
    one.width2 = 130;
    m = computeListMaxima(one, 1, 119, 117);
    EXPECT_EQ(one.width1, 9);
    EXPECT_EQ(m.free, -14);
    EXPECT_EQ(m.width2, 116);
}

TEST(ListLayoutInfo, ColumnStartsAndUnusedColumns)
{
    ListLayout v = defaultListLayout(0);
    ListInfo i = computeListInfo(v, 3, 0);
    EXPECT_EQ(i.printableWidth, "119mm");
    EXPECT_EQ(i.printableHeight, "117mm");
    EXPECT_EQ(i.column1, "003mm");
    EXPECT_EQ(i.column2, "014mm");
    EXPECT_EQ(i.column3, "086mm");
    i = computeListInfo(v, 2, 1);
    EXPECT_EQ(i.printableWidth, "136mm");
    EXPECT_EQ(i.printableHeight, "115mm");
    EXPECT_EQ(i.column1, "003mm");
    EXPECT_EQ(i.column3, "000mm");
    i = computeListInfo(v, 1, 0);
    EXPECT_EQ(i.column1, "000mm");
    EXPECT_EQ(i.column2, "003mm");
    EXPECT_EQ(i.column3, "000mm");
}

TEST(ListLayoutDefaults, ResetKeepsTheLineSpacing)
{
    ListLayout l { 1, 50, 40, 1, 2, 3, 4, 5, 33 };
    resetListLayout(l, 1);
    EXPECT_EQ(l, (ListLayout { 3, 3, 0, 9, 87, 30, 2, 2, 33 }));
    resetListLayout(l, 0);
    EXPECT_EQ(l, (ListLayout { 3, 3, 0, 9, 70, 30, 2, 2, 33 }));
    EXPECT_EQ(listPrintableWidth(0), 119);
    EXPECT_EQ(listPrintableHeight(0), 117);
    EXPECT_EQ(listPrintableWidth(1), 136);
    EXPECT_EQ(listPrintableHeight(1), 115);
}

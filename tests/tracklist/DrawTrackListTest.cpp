#include <gtest/gtest.h>

#include <QImage>

#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/Geometry.h"
#include "tracklist/DrawTrackList.h"

using namespace cw;

namespace {

const QString kFont = QStringLiteral("SetFont 9 128 80000008 0 0 0 0 ＭＳ Ｐゴシック");

TListData row(const QString &a, const QString &b, const QString &c, bool separate = true)
{
    TListData r;
    r.separate = separate;
    r.columns[0].text = a;
    r.columns[1].text = b;
    r.columns[2].text = c;
    r.columns[0].align = 1;
    r.columns[1].align = 2;
    r.columns[2].align = 3;
    return r;
}

TListData separator()
{
    TListData r = row("kept", "kept", "kept");
    r.kind = 1;
    return r;
}

// The height the canvas reports for the default font at a resolution.
int textHeight(int dpi)
{
    RecordingCanvas c(dpi, dpi);
    c.SetFont(defaultFont());
    return c.TextHeight(QStringLiteral("1"));
}

QString rect(int l, int t, int r, int b, const char *h, const QString &text)
{
    return QStringLiteral("DrawTextInRect %1 %2 %3 %4 %5 top %6")
        .arg(l)
        .arg(t)
        .arg(r)
        .arg(b)
        .arg(QLatin1String(h), text);
}

QStringList rule(int x0, int y, int xEnd, int thickness)
{
    QStringList out;
    for (int j = 0; j < thickness; ++j)
        out << QStringLiteral("MoveTo %1 %2").arg(x0).arg(y + j)
            << QStringLiteral("LineTo %1 %2").arg(xEnd).arg(y + j);
    return out;
}

QStringList draw(const QList<TListData> &rows, const ListLayout &layout, int dpi, int faceLeft,
    int faceTop, int printableHeight = 117)
{
    RecordingCanvas canvas(dpi, dpi);
    PageScale s = pageScale(dpi, dpi);
    DrawTrackList(canvas, rows, layout, printableHeight, faceLeft, faceTop, s.kx, s.ky);
    return canvas.lines();
}

} // namespace

TEST(DrawTrackList, ThreeColumnsAt300Dpi)
{
    const int h = textHeight(300);
    ASSERT_GT(h, 0);
    QList<TListData> rows
        = { row("01", "Title", "3:45"), separator(), row("x", "Across", "y", false) };
    QStringList lines = draw(rows, defaultListLayout(0), 300, 0, 0);
    // x0 = trunc(4 * 11.8115) = 47, yStart = 11, yBottom = 11 + 1381 - 1 = 1391.
    QStringList expected;
    expected << "SetBrush clear" << kFont << rect(47, 11, 152, 1391, "left", "01") << kFont
             << rect(175, 11, 1000, 1391, "center", "Title") << kFont
             << rect(1026, 11, 1379, 1391, "right", "3:45");
    int y = 11 + h;
    // The separator: 2-pixel rule 16 px below the row top, 113 mm wide; 35 px high.
    expected << "SetBrush clear" << rule(47, y + 16, 1380, 2);
    y += 35;
    // Not separated: cell 2 over all columns and gaps, with its own alignment.
    expected << "SetBrush clear" << kFont << rect(47, y, 1380, 1391, "center", "Across");
    EXPECT_EQ(lines, expected);
}

TEST(DrawTrackList, ThreeColumnsAt600DpiWithAFaceOffset)
{
    const int h = textHeight(600);
    QList<TListData> rows = { row("01", "Title", "3:45"), separator(), row("02", "B", "1:00") };
    QStringList lines = draw(rows, defaultListLayout(0), 600, 1000, 500);
    // x0 = 1000 + 94, yStart = 500 + 23, yBottom = 500 + 23 + 2763 - 1 = 3285.
    QStringList expected;
    expected << "SetBrush clear" << kFont << rect(1094, 523, 1305, 3285, "left", "01") << kFont
             << rect(1352, 523, 3004, 3285, "center", "Title") << kFont
             << rect(3053, 523, 3760, 3285, "right", "3:45");
    int y = 523 + h;
    expected << "SetBrush clear" << rule(1094, y + 33, 3762, 4);
    y += 70;
    expected << "SetBrush clear" << kFont << rect(1094, y, 1305, 3285, "left", "02") << kFont
             << rect(1352, y, 3004, 3285, "center", "B") << kFont
             << rect(3053, y, 3760, 3285, "right", "1:00");
    EXPECT_EQ(lines, expected);
}

TEST(DrawTrackList, OneColumnPrintsOnlyCellTwoOverWidthTwo)
{
    const int h = textHeight(300);
    ListLayout l = defaultListLayout(0);
    l.columnCount = 1;
    QList<TListData> rows = { row("1", "Main", "3", true), separator() };
    QStringList lines = draw(rows, l, 300, 0, 0);
    // xEnd = trunc(70 * sx + 47 - 1) = 872.
    QStringList expected;
    expected << "SetBrush clear" << kFont << rect(47, 11, 872, 1391, "center", "Main");
    expected << "SetBrush clear" << rule(47, 11 + h + 16, 872, 2);
    EXPECT_EQ(lines, expected);
}

TEST(DrawTrackList, TwoColumnsMeasureWithTheLastCellsFont)
{
    ListLayout l = defaultListLayout(0);
    l.columnCount = 2;
    TListData big = row("1", "Song", "ignored");
    big.columns[0].font.size = 30; // a large cell 1 does not raise the row
    TListData next = row("2", "Next", "ignored");
    QStringList lines = draw({ big, next }, l, 300, 0, 0);
    const int h = textHeight(300);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[1], "SetFont 30 128 80000008 0 0 0 0 ＭＳ Ｐゴシック");
    EXPECT_EQ(lines[4], rect(175, 11, 1000, 1391, "center", "Song"));
    EXPECT_EQ(lines[7], rect(47, 11 + h, 152, 1391, "left", "2"));
}

TEST(DrawTrackList, LineSpacingFiftyAddsFiveMillimetresAfterEveryRow)
{
    const int h = textHeight(300);
    ListLayout l = defaultListLayout(0);
    l.columnCount = 1;
    l.lineSpacing = 50;
    QList<TListData> rows = { row("", "A", ""), separator(), row("", "B", "") };
    QStringList lines = draw(rows, l, 300, 0, 0);
    // 5 mm at 300 dpi is 59.057 px: y = trunc(y + 59.057).
    int y = 11 + h + 59;
    QStringList expected;
    expected << "SetBrush clear" << kFont << rect(47, 11, 872, 1391, "center", "A");
    expected << "SetBrush clear" << rule(47, y + 16, 872, 2);
    y = int(y + 35 + 59.05744320642545);
    expected << "SetBrush clear" << kFont << rect(47, y, 872, 1391, "center", "B");
    EXPECT_EQ(lines, expected);
}

TEST(DrawTrackList, StopsAfterTheRowThatCrossesTheLowerEdge)
{
    const int h = textHeight(300);
    ListLayout l = defaultListLayout(0);
    l.columnCount = 1;
    l.posY = 112; // yStart = trunc(113 * sx) = 1334; the same lower edge 1391.
    QList<TListData> rows;
    for (int i = 0; i < 20; ++i)
        rows.append(row("", QString::number(i), ""));
    QStringList lines = draw(rows, l, 300, 0, 0);
    // Rows start at 1334, 1334 + h, ...; a row is drawn while the previous
    // advance left y at or above 1391.
    QStringList expected;
    int y = 1334;
    for (int i = 0; i < 20; ++i) {
        expected << "SetBrush clear" << kFont
                 << rect(47, y, 872, 1391, "center", QString::number(i));
        y += h;
        if (y > 1391)
            break;
    }
    EXPECT_EQ(lines, expected);
    EXPECT_LT(lines.size(), 60);
    // The last row's rectangle ends at the lower edge, so it is cut there.
    EXPECT_TRUE(
        lines.last().startsWith(QStringLiteral("DrawTextInRect 47 %1 872 1391").arg(y - h)));
}

TEST(DrawTrackList, UnknownAlignmentSetsTheFontButDrawsNothing)
{
    TListData r = row("a", "b", "c");
    r.columns[0].align = 0;
    r.columns[2].align = 4;
    QStringList lines = draw({ r }, defaultListLayout(0), 300, 0, 0);
    QStringList expected;
    expected << "SetBrush clear" << kFont << kFont << rect(175, 11, 1000, 1391, "center", "b")
             << kFont;
    EXPECT_EQ(lines, expected);
}

TEST(DrawTrackList, ColumnCountOutsideOneToThreeDrawsNothing)
{
    ListLayout l = defaultListLayout(0);
    l.columnCount = 0;
    QStringList lines = draw({ row("a", "b", "c"), separator() }, l, 300, 0, 0);
    EXPECT_EQ(lines, QStringList({ "SetBrush clear", "SetBrush clear" }));
    EXPECT_TRUE(draw({}, defaultListLayout(0), 300, 0, 0).isEmpty());
}

TEST(DrawTrackList, HugeValuesFromFilesDoNotOverflow)
{
    ListLayout l = defaultListLayout(0);
    l.posX = 2000000000;
    l.width1 = 2000000000;
    l.lineSpacing = 2000000000;
    QStringList lines = draw({ row("a", "b", "c"), row("d", "e", "f") }, l, 600, 0, 0);
    // The first row moves y far below the lower edge: the second is not drawn.
    EXPECT_EQ(lines.size(), 7);
}

TEST(DrawTrackList, PaintsTheRuleOnAnImage)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image, 96, 96);
        canvas.SetPen(kBlack);
        ListLayout l = defaultListLayout(0);
        l.columnCount = 1;
        PageScale s = pageScale(96, 96);
        DrawTrackList(canvas, { separator() }, l, 117, 0, 0, s.kx, s.ky);
    }
    // 96 dpi: x0 = 15, yStart = 3, rule 1 px at 3 + 5, xEnd = trunc(70 * 3.7797 + 14) = 278.
    EXPECT_EQ(image.pixel(15, 8), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(277, 8), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(278, 8), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(14, 8), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 7), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 9), qRgb(255, 255, 255));
}

TEST(ListLayoutPreview, FrameAndDottedColumns)
{
    RecordingCanvas c;
    DrawListLayoutPreview(c, defaultListLayout(0), 3, 0, 273, 230);
    const QStringList lines = c.lines();
    ASSERT_GE(lines.size(), 11);
    EXPECT_EQ(lines.mid(0, 11),
        QStringList({ "SetPen 00ffffff", "SetBrush 00ffffff", "Rectangle 0 0 273 230",
            "SetPen 00000000", "SetBrush 00000000", "Rectangle 22 2 23 228",
            "Rectangle 250 2 251 228", "Rectangle 22 2 251 3", "Rectangle 22 227 251 228",
            "SetBrush clear", "MoveTo 29 3" }));
    // Column 1 runs from x 29 to 46 (exclusive), y 3 to 226 (exclusive):
    // every other pixel of its border.
    EXPECT_EQ(lines[11], "LineTo 30 3");
    EXPECT_EQ(lines[12], "MoveTo 31 3");
    EXPECT_TRUE(lines.contains("MoveTo 45 3"));
    EXPECT_FALSE(lines.contains("MoveTo 46 3"));
    // Columns 2 and 3 start at 50 and 186.
    EXPECT_TRUE(lines.contains("MoveTo 50 3"));
    EXPECT_TRUE(lines.contains("MoveTo 186 3"));
    EXPECT_TRUE(lines.contains("MoveTo 242 5"));
    EXPECT_FALSE(lines.contains("MoveTo 243 5"));

    // One column: only column 2, starting at posX.
    RecordingCanvas one;
    DrawListLayoutPreview(one, defaultListLayout(1), 1, 1, 273, 230);
    // Back label: 260 x 222 px, left 6, top 4.
    EXPECT_EQ(one.lines()[5], "Rectangle 6 4 7 227");
    EXPECT_EQ(one.lines()[6], "Rectangle 266 4 267 227");
    EXPECT_EQ(one.lines()[10], "MoveTo 13 5");
    EXPECT_FALSE(one.lines().contains("MoveTo 186 5"));

    // The disc's 120 mm square (226 px, left 23, top 2) with the first label
    // sheet's ring, 117 and 41 mm across its middle (136, 115); column 1
    // starts 28 mm across and 82 mm down.
    RecordingCanvas disc;
    DrawListLayoutPreview(disc, defaultListLayout(2), 3, 2, 273, 230);
    EXPECT_EQ(disc.lines()[5], "Rectangle 23 2 24 229");
    for (const char *line : { "Ellipse 26 5 246 225", "Ellipse 98 77 174 153", "MoveTo 75 156" })
        EXPECT_TRUE(disc.lines().contains(QLatin1String(line))) << line;
}

TEST(ListLayoutPreview, PaintsDotsOnTheImage)
{
    QImage image(273, 230, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainterCanvas canvas(&image, 96, 96);
        DrawListLayoutPreview(canvas, defaultListLayout(0), 3, 0, 273, 230);
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(22, 100), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(250, 100), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(29, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(30, 3), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(31, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(35, 100), qRgb(255, 255, 255));
}

TEST(DrawTrackList, OneColumnLineSpacingAndCutAt600Dpi)
{
    const int h = textHeight(600);
    ListLayout l = defaultListLayout(0);
    l.columnCount = 1;
    l.lineSpacing = 50;
    l.posY = 100; // yStart = trunc(101 * 23.623) = 2385; lower edge 2785
    QList<TListData> rows;
    for (int i = 0; i < 12; ++i)
        rows.append(i % 2 ? separator() : row("", QString::number(i), "", true));
    QStringList lines = draw(rows, l, 600, 0, 0);
    // 5 mm at 600 dpi is 118.115 px; a separator is 70 px high with a
    // 4-pixel rule 33 px below its top; xEnd = trunc(70 * 23.623 + 93) = 1746.
    QStringList expected;
    double y = 2385;
    for (int i = 0; i < 12; ++i) {
        expected << "SetBrush clear";
        if (i % 2 == 0) {
            expected << kFont << rect(94, int(y), 1746, 2785, "center", QString::number(i));
            y += h;
        } else {
            expected << rule(94, int(y) + 33, 1746, 4);
            y += 70;
        }
        y = int(y + 50 * 0.1 * (600 * (1 / 25.399)));
        if (y > 2785)
            break;
    }
    EXPECT_EQ(lines, expected);
    // 400 px of room: a few rows only, and the list stopped early.
    EXPECT_LT(lines.size(), 20);
    EXPECT_GT(lines.size(), 6);
}

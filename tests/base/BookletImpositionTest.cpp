#include <gtest/gtest.h>

#include <QRectF>
#include <array>

#include "base/BookletFormat.h"
#include "base/BookletImposition.h"

using namespace cw;

// Each sheet's front and back, outermost first: nested and folded, the
// sheets give the pages in order.
TEST(BookletImposition, SheetsCarryTheirSpreadsInFoldingOrder)
{
    const std::pair<int, QVector<BookletSheet>> rows[] = {
        { 4, { { { 4, 1 }, { 2, 3 } } } },
        { 8, { { { 8, 1 }, { 2, 7 } }, { { 6, 3 }, { 4, 5 } } } },
        { 12, { { { 12, 1 }, { 2, 11 } }, { { 10, 3 }, { 4, 9 } }, { { 8, 5 }, { 6, 7 } } } },
        { 16,
            { { { 16, 1 }, { 2, 15 } }, { { 14, 3 }, { 4, 13 } }, { { 12, 5 }, { 6, 11 } },
                { { 10, 7 }, { 8, 9 } } } },
    };
    for (const auto &[pages, sheets] : rows)
        EXPECT_EQ(bookletSheets(pages), sheets) << pages;
    // The plain insert and counts the booklet does not offer have no sheets.
    for (int pages : { 2, 0, -4, 6, 20 }) {
        EXPECT_TRUE(bookletSheets(pages).isEmpty()) << pages;
        EXPECT_EQ(isBookletPageCount(pages), pages == 2) << pages;
    }
}

// A booklet's sides replace the jewel case's front sheet: each a spread laid
// out as that sheet is, the back label after them.
TEST(BookletFormat, SidesCarryTheImposedPagesOnTheFrontSheetsPanels)
{
    const CaseFormat &jewel = jewelCaseFormat();
    const CaseFormat &eight = bookletCaseFormat(jewel, 8);
    EXPECT_EQ(eight.sheetIds(),
        QStringList({ "front", "front-reverse", "front-2", "front-2-reverse", "back" }));
    EXPECT_EQ(eight.frontSheets, 4);
    EXPECT_EQ(jewel.frontSheets, 1);
    const QVector<std::array<int, 2>> spreads = { { 8, 1 }, { 2, 7 }, { 6, 3 }, { 4, 5 } };
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(eight.sheets[i].panels.size(), 2);
        for (int half = 0; half < 2; ++half) {
            // Laid out as the front sheet's inside face (left) and cover (right).
            const CasePanel &p = eight.sheets[i].panels[half];
            const CasePanel &place = jewel.sheets[0].panels[half == 0 ? 1 : 0];
            const int page = spreads[i][size_t(half)];
            EXPECT_EQ(p.page, page) << i;
            EXPECT_EQ(QRectF(p.xMm, p.yMm, p.widthMm, p.heightMm),
                QRectF(place.xMm, place.yMm, place.widthMm, place.heightMm));
            EXPECT_EQ(p.outer, place.outer);
            const QString id = QString("page-%1").arg(page);
            EXPECT_EQ(p.id, page == 1 ? "cover" : page == 8 ? "inside" : id);
            EXPECT_EQ(p.role,
                page == 1       ? PanelRole::Cover
                    : page == 8 ? PanelRole::Inside
                                : PanelRole::Page);
            // Only the inside face keeps the front list's layout.
            EXPECT_EQ(p.listIndex, page == 8 ? 0 : -1);
        }
    }
    EXPECT_EQ(eight.sheets[4].panels.size(), jewel.sheets[1].panels.size());
    // Built once per count; the plain insert and cases without a booklet stay.
    EXPECT_EQ(&bookletCaseFormat(jewel, 8), &eight);
    EXPECT_EQ(&bookletCaseFormat(jewel, 2), &jewel);
    EXPECT_EQ(&bookletCaseFormat(*findCaseFormat("dvd-14"), 8), findCaseFormat("dvd-14"));
    EXPECT_EQ(bookletCaseFormat(*findCaseFormat("cd-slim"), 16).frontSheets, 8);
}

TEST(BookletFormat, ReadingOrderHasEachPageAloneWithEveryEdgeTrimmed)
{
    const CaseFormat &pages = bookletReadingFormat(jewelCaseFormat(), 4);
    EXPECT_EQ(pages.sheetIds(), QStringList({ "page-1", "page-2", "page-3", "page-4" }));
    for (int i = 0; i < 4; ++i) {
        const CasePanel &p = pages.sheets[i].panels.at(0);
        EXPECT_EQ(QRectF(p.xMm, p.yMm, p.widthMm, p.heightMm), QRectF(0, 0, 121.0, 119.5));
        EXPECT_EQ(p.page, i + 1);
        EXPECT_EQ(p.outer, (PanelEdges { true, true, true, true }));
    }
    EXPECT_EQ(bookletReadingFormat(jewelCaseFormat(), 2).sheets.size(), 2);
    EXPECT_EQ(&bookletReadingFormat(*findCaseFormat("dvd-14"), 4), findCaseFormat("dvd-14"));
}

// The table refuses a booklet whose front sheet is not two faces side by side.
TEST(BookletFormat, TheTableRefusesABookletWithoutTwoFacesSideBySide)
{
    const QByteArray table = R"({ "formats": [ { "id": "x", "name": { "ja": "x", "en": "x" },
        "previewMm": [300, 200], "booklet": true, "sheets": [ { "id": "s", "widthMm": 242,
        "heightMm": 119.5, "panels": [
          { "id": "cover", "role": "cover", "xMm": 121, "yMm": 0, "widthMm": 121, "heightMm": 119.5 },
          { "id": "back", "role": "back", "xMm": 0, "yMm": 0, "widthMm": 121, "heightMm": 119.5 }
        ] } ] } ] })";
    QString error;
    EXPECT_TRUE(parseCaseFormats(table, &error).isEmpty());
    EXPECT_TRUE(error.contains("booklet")) << error.toStdString();
    QByteArray plain = table;
    plain.replace("\"booklet\": true,", "");
    EXPECT_EQ(parseCaseFormats(plain, &error).size(), 1) << error.toStdString();
}

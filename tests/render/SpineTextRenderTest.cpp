// The spine title as printed, both ways: which glyph comes first along the
// spine and how the text is turned, on a DVD wrap and on the jewel case.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawSheet.h"
#include "render/PreviewState.h"

using namespace cw;

namespace {

// Draws the sheet of a document that has only a spine title placed "上": it
// starts 1 mm inside the end it reads from.
template <class Canvas>
void drawSpine(Canvas &canvas, const char *format, Surface s, SpineText chosen, bool same,
    const char *text)
{
    LabelDocument doc = emptyDocument(150);
    doc.caseFormat = QLatin1String(format);
    doc.surface(s).spineText = chosen;
    TitleSettings &title = doc.surface(s).title;
    title.use = true;
    title.text = QLatin1String(text);
    title.posMode = TitlePosition::Top;
    PrintOptions options = optionsOff();
    options.spinesSameDirection = same;
    const QSize page = PreviewState::pageSizeAt(150, 150, formatOf(doc));
    DrawSheet(canvas, doc, formatOf(doc), formatOf(doc).sheetOf(surfaceRole(s)), options, 150, 150,
        page.width(), page.height());
}

// The first and last rows with ink inside the spine (the trim marks are outside it).
std::pair<int, int> inkRows(const char *format, Surface s, SpineText chosen, bool same,
    const char *text)
{
    const CaseFormat &f = *findCaseFormat(format);
    QImage image(PreviewState::pageSizeAt(150, 150, f), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image, 150, 150);
        drawSpine(canvas, format, s, chosen, same, text);
    }
    const CaseSheet &sheet = f.sheets[f.sheetOf(surfaceRole(s))];
    int panel = 0;
    while (sheet.panels[panel].role != surfaceRole(s))
        ++panel;
    const PanelPixels px
        = computeSheetGeometry(sheet, 150, 150, image.width(), image.height()).panels[panel];
    std::pair<int, int> rows { image.height(), -1 };
    for (int y = px.top; y <= px.bottom; ++y)
        for (int x = px.left + 1; x < px.right; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                rows = { std::min(rows.first, y), y };
    return rows;
}

} // namespace

TEST(SpineTextRender, TheFirstGlyphStandsAtTheEndTheTitleReadsFrom)
{
    const std::tuple<const char *, Surface, SpineText, bool, bool> rows[] = {
        { "dvd-14", Surface::Left, SpineText::CaseOwn, true, true },
        { "dvd-14", Surface::Left, SpineText::BottomToTop, false, false },
        { "cd-jewel", Surface::Left, SpineText::CaseOwn, false, false },
        { "cd-jewel", Surface::Left, SpineText::CaseOwn, true, true },
        { "cd-jewel", Surface::Right, SpineText::BottomToTop, true, false },
    };
    for (const auto &[format, spine, chosen, same, topToBottom] : rows) {
        const std::string where = format + std::to_string(int(chosen)) + std::to_string(same);
        // "A" alone marks where the first glyph stands; "AB" reaches further
        // the way the title reads.
        const auto [aTop, aBottom] = inkRows(format, spine, chosen, same, "A");
        const auto [abTop, abBottom] = inkRows(format, spine, chosen, same, "AB");
        ASSERT_GE(aBottom, 0) << where;
        EXPECT_NEAR(topToBottom ? aTop : aBottom, topToBottom ? abTop : abBottom, 1) << where;
        EXPECT_GT(topToBottom ? abBottom - aBottom : aTop - abTop, 5) << where;
        RecordingCanvas recorded(150, 150);
        drawSpine(recorded, format, spine, chosen, same, "AB");
        const QString turned = QStringLiteral("SelectRotatedFont %1 ").arg(topToBottom ? 2700 : 900);
        EXPECT_TRUE(recorded.text().contains(turned)) << where << recorded.text().toStdString();
    }
}

// A wide spine's title keeps a shelf's lettering size: its cell is capped at
// 7 mm and centred across the spine; a narrow spine's is its width less 2 mm.
TEST(SpineTextRender, AWideSpinesTitleCellIsCappedAndCentred)
{
    const std::tuple<const char *, int, int> rows[] = {
        // format, spine width (mm), the cell at 300 dpi
        { "dvd-14", 140, 82 }, // 7 mm, not 12
        { "custom-wrap", 300, 82 },
        { "dvd-slim-9", 90, 82 },
        { "dvd-slim-7", 70, 59 }, // 82 px less 2 mm (23 px)
        { "cd-jewel", 60, 47 },
    };
    for (const auto &[format, spineTenths, cell] : rows) {
        LabelDocument doc = emptyDocument(300);
        doc.caseFormat = QLatin1String(format);
        doc.caseSize.spineWidth = spineTenths;
        doc.left.title.use = true;
        doc.left.title.text = QStringLiteral("AB");
        doc.left.title.posMode = TitlePosition::Top;
        const CaseFormat &f = formatOf(doc);
        const int sheet = f.sheetOf(PanelRole::SpineLeft);
        const QSize page = PreviewState::pageSizeAt(300, 300, f);
        RecordingCanvas recorded(300, 300);
        DrawSheet(recorded, doc, f, sheet, optionsOff(), 300, 300, page.width(), page.height());
        const QStringList lines = recorded.lines();
        const auto font = std::find_if(lines.begin(), lines.end(),
            [](const QString &l) { return l.startsWith(QLatin1String("SelectRotatedFont")); });
        ASSERT_NE(font, lines.end()) << format;
        EXPECT_EQ(font->section(' ', 2, 2).toInt(), cell) << format << font->toStdString();

        // The clip runs from 1 mm inside the cell's sides: as far from the
        // spine's left edge as from its right.
        int panel = 0;
        while (f.sheets[sheet].panels[panel].role != PanelRole::SpineLeft)
            ++panel;
        const PanelPixels px
            = computeSheetGeometry(f.sheets[sheet], 300, 300, page.width(), page.height())
                  .panels[panel];
        const auto text = std::find_if(lines.begin(), lines.end(),
            [](const QString &l) { return l.startsWith(QLatin1String("TextOutClipped")); });
        ASSERT_NE(text, lines.end()) << format;
        const int left = text->section(' ', 1, 1).toInt(), right = text->section(' ', 3, 3).toInt();
        EXPECT_LE(std::abs((left - px.left) - (px.right - right)), 1) << format << text->toStdString();
    }
}

// The spine title as printed, both ways: which glyph comes first along the
// spine and how the text is turned, on a DVD wrap and on the jewel case.
#include <gtest/gtest.h>

#include <QPainter>
#include <climits>

#include "RenderTestSupport.h"
#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/DrawSheet.h"
#include "render/PreviewState.h"

using namespace cw;

namespace {

constexpr int kDpi = 150;

struct Ink
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};

struct Spine
{
    const CaseFormat &format;
    int sheet = -1;
    int panel = -1;
};

Spine spineOf(const LabelDocument &doc, Surface s)
{
    const CaseFormat &format = formatOf(doc);
    Spine out { format, format.sheetOf(surfaceRole(s)), -1 };
    const QVector<CasePanel> &panels = format.sheets[out.sheet].panels;
    for (int i = 0; i < panels.size(); ++i)
        if (panels[i].role == surfaceRole(s))
            out.panel = i;
    return out;
}

// A document with only the spine's title, "Top" placed: it starts 1 mm
// inside the end the title starts from.
LabelDocument spineDocument(const char *format, Surface s, SpineText chosen, const QString &text)
{
    LabelDocument doc = emptyDocument(kDpi);
    doc.caseFormat = QLatin1String(format);
    SurfaceSettings &spine = doc.surface(s);
    spine.spineText = chosen;
    spine.title.use = true;
    spine.title.text = text;
    spine.title.posMode = TitlePosition::Top;
    return doc;
}

// The dark pixels of the spine's sheet.
Ink inkOf(LabelDocument &doc, Surface s, const PrintOptions &options)
{
    const Spine spine = spineOf(doc, s);
    const QSize page = PreviewState::pageSizeAt(kDpi, kDpi, spine.format);
    QImage image(page, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image, kDpi, kDpi);
        DrawSheet(canvas, doc, spine.format, spine.sheet, options, kDpi, kDpi, page.width(),
            page.height());
    }
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) >= 128)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

// The escapement the title's font is turned by (900: reads upward, 2700: downward).
int escapementOf(LabelDocument &doc, Surface s, const PrintOptions &options)
{
    const Spine spine = spineOf(doc, s);
    const QSize page = PreviewState::pageSizeAt(kDpi, kDpi, spine.format);
    RecordingCanvas canvas(kDpi, kDpi);
    DrawSheet(canvas, doc, spine.format, spine.sheet, options, kDpi, kDpi, page.width(),
        page.height());
    for (const QString &line : canvas.lines())
        if (line.startsWith(QLatin1String("SelectRotatedFont ")))
            return line.split(' ').at(1).toInt();
    return 0;
}

} // namespace

TEST(SpineTextRender, TheFirstGlyphStandsAtTheEndTheTitleReadsFrom)
{
    struct Row
    {
        const char *format;
        Surface spine;
        SpineText chosen;
        bool same; // "背表紙同方向印刷"
        bool topToBottom;
    };
    const Row rows[] = {
        { "dvd-14", Surface::Left, SpineText::CaseOwn, false, true },
        { "dvd-14", Surface::Left, SpineText::BottomToTop, false, false },
        { "dvd-14", Surface::Left, SpineText::BottomToTop, true, false },
        { "bd-12", Surface::Left, SpineText::TopToBottom, false, true },
        { "cd-jewel", Surface::Left, SpineText::CaseOwn, false, false },
        { "cd-jewel", Surface::Left, SpineText::CaseOwn, true, true },
        { "cd-jewel", Surface::Left, SpineText::TopToBottom, false, true },
        { "cd-jewel", Surface::Right, SpineText::CaseOwn, false, true },
        { "cd-jewel", Surface::Right, SpineText::BottomToTop, true, false },
    };
    for (const Row &r : rows) {
        const std::string where = std::string(r.format) + " spine " + std::to_string(int(r.spine))
            + " chosen " + std::to_string(int(r.chosen)) + " same " + std::to_string(r.same);
        PrintOptions options = optionsOff();
        options.spinesSameDirection = r.same;
        LabelDocument first = spineDocument(r.format, r.spine, r.chosen, QStringLiteral("A"));
        LabelDocument both = spineDocument(r.format, r.spine, r.chosen, QStringLiteral("AB"));
        const Ink a = inkOf(first, r.spine, options);
        const Ink ab = inkOf(both, r.spine, options);
        ASSERT_GE(a.bottom, 0) << where;

        // "A" alone marks where the first glyph stands; "AB" reaches further
        // in the direction the title reads.
        if (r.topToBottom) {
            EXPECT_NEAR(a.top, ab.top, 1) << where;
            EXPECT_GT(ab.bottom - a.bottom, 5) << where;
        } else {
            EXPECT_NEAR(a.bottom, ab.bottom, 1) << where;
            EXPECT_GT(a.top - ab.top, 5) << where;
        }
        EXPECT_EQ(escapementOf(both, r.spine, options), r.topToBottom ? 2700 : 900) << where;

        // Inside the spine's columns, near the end it starts from.
        const Spine spine = spineOf(both, r.spine);
        const QSize page = PreviewState::pageSizeAt(kDpi, kDpi, spine.format);
        const PanelPixels px = computeSheetGeometry(
            spine.format.sheets[spine.sheet], kDpi, kDpi, page.width(), page.height())
                                   .panels[spine.panel];
        EXPECT_GE(ab.left, px.left) << where;
        EXPECT_LE(ab.right, px.right) << where;
        const int mm2 = 2 * kDpi * 1000 / 25399; // 11 pixels
        if (r.topToBottom)
            EXPECT_LE(ab.top - px.top, mm2 + 3) << where;
        else
            EXPECT_LE(px.bottom - ab.bottom, mm2 + 3) << where;
    }
}

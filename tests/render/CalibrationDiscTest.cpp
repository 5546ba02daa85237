// The calibration sheet for printable discs: its circles lie at their radii
// around the paper's centre, closed all round, with nothing else near them
// but the centre cross.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>
#include <cmath>

#include "canvas/QPainterCanvas.h"
#include "canvas/RecordingCanvas.h"
#include "render/CalibrationSheet.h"

using namespace cw;

namespace {

QImage discSheet(int dpiX, int dpiY, const QRect &paper, const QSizeF &paperMm)
{
    QImage image(paper.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image, dpiX, dpiY);
        DrawCalibrationSheet(canvas, dpiX, dpiY, paper, paperMm, PrintDevice::printer("Tray"), {},
            CalibrationVariant::Disc);
    }
    return image;
}

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Distances from (x0, y0), stepping by (dx, dy), of the first pixel of each
// dark run within `reach` pixels, beyond `from`.
QVector<int> runsFrom(const QImage &image, int x0, int y0, int dx, int dy, int from, int reach)
{
    QVector<int> runs;
    bool inRun = false;
    for (int d = from; d <= reach; ++d) {
        const bool ink = dark(image, x0 + d * dx, y0 + d * dy);
        if (ink && !inRun)
            runs << d;
        inRun = ink;
    }
    return runs;
}

// The white pixels reached from `start` through their edges (not their
// corners) within `box`.
class WhiteArea
{
public:
    WhiteArea(const QImage &image, QPoint start, const QRect &box)
        : m_box(box)
        , m_seen(size_t(box.width()) * box.height(), 0)
    {
        QVector<QPoint> next { start };
        mark(start);
        while (!next.isEmpty()) {
            const QPoint p = next.takeLast();
            for (const QPoint step : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
                const QPoint q = p + step;
                if (box.contains(q) && !contains(q) && !dark(image, q.x(), q.y())) {
                    mark(q);
                    next << q;
                }
            }
        }
    }
    bool contains(QPoint p) const { return m_seen[index(p)] != 0; }

private:
    size_t index(QPoint p) const
    {
        return size_t(p.y() - m_box.top()) * m_box.width() + (p.x() - m_box.left());
    }
    void mark(QPoint p) { m_seen[index(p)] = 1; }
    QRect m_box;
    std::vector<char> m_seen;
};

} // namespace

// A4 landscape at 300 dpi: the centre is the pixel nearest (148.5, 105.0) mm;
// the radii 59.0 and 21.5 mm are 696.88 and 253.95 pixels.
TEST(CalibrationDiscSheet, TheCirclesLieAtTheirRadiiAroundThePapersCentre)
{
    const QImage image = discSheet(300, 300, QRect(0, 0, 3508, 2479), QSizeF(297.0, 210.0));
    const int cx = 1754, cy = 1240, outer = 697, hub = 254, arm = 59;
    // Up, down, left and right from the centre, past the cross's arms: the
    // hub circle, then the outer one, one pixel wide each.
    const int steps[][2] = { { 0, -1 }, { 0, 1 }, { -1, 0 }, { 1, 0 } };
    for (const auto &s : steps) {
        SCOPED_TRACE(s[0] * 10 + s[1]);
        EXPECT_EQ(runsFrom(image, cx, cy, s[0], s[1], arm + 1, outer + 30), (QVector<int> { hub, outer }));
        EXPECT_FALSE(dark(image, cx + (outer + 1) * s[0], cy + (outer + 1) * s[1]));
        EXPECT_FALSE(dark(image, cx + (hub - 1) * s[0], cy + (hub - 1) * s[1]));
    }
    // The cross: its arms reach 5 mm from the centre, two pixels wide (0.2 mm).
    EXPECT_TRUE(dark(image, cx, cy - arm));
    EXPECT_TRUE(dark(image, cx - 1, cy + arm));
    EXPECT_TRUE(dark(image, cx + arm, cy));
    EXPECT_FALSE(dark(image, cx, cy - arm - 1));
    EXPECT_FALSE(dark(image, cx + 1, cy - arm));

    // Every dark pixel near the circles lies on one of them or on the cross.
    long long stray = 0, ink = 0;
    for (int y = cy - outer - 20; y <= cy + outer + 20; ++y) {
        for (int x = cx - outer - 20; x <= cx + outer + 20; ++x) {
            if (!dark(image, x, y))
                continue;
            ++ink;
            const double d = std::hypot(x - cx, y - cy);
            const bool onCross = (std::abs(x - cx + 0.5) <= 1 && std::abs(y - cy) <= arm)
                || (std::abs(y - cy + 0.5) <= 1 && std::abs(x - cx) <= arm);
            if (!onCross && std::abs(d - 696.88) > 1.0 && std::abs(d - 253.95) > 1.0)
                ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
    // An unbroken one-pixel circle has about 4√2 r pixels.
    EXPECT_GT(ink, 5.6 * (outer + hub));
    // Closed all round: the paper between the circles, filled from one
    // pixel through its edges only, reaches neither the hub nor the paper
    // outside the outer circle.
    const WhiteArea ring(image, QPoint(cx + 400, cy), QRect(cx - 720, cy - 720, 1441, 1441));
    EXPECT_TRUE(ring.contains(QPoint(cx - 400, cy + 100)));
    EXPECT_FALSE(ring.contains(QPoint(cx + 100, cy + 100)));
    EXPECT_FALSE(ring.contains(QPoint(cx + 710, cy + 710)));
}

// At 600 x 300 dpi the circles are ellipses in pixels: radii of 1394 and 508
// pixels across, 697 and 254 down. On paper of a disc's own size the lines of
// text lie in the ring below the hub, not over the outer circle.
TEST(CalibrationDiscSheet, EachAxisHasItsOwnRadiusAndTheTextStaysInsideTheRing)
{
    const QImage image = discSheet(600, 300, QRect(0, 0, 2834, 1417), QSizeF(120.0, 120.0));
    const int cx = 1417, cy = 709; // 60.0 mm: 1417.38 and 708.69 pixels
    EXPECT_EQ(runsFrom(image, cx, cy, -1, 0, 119, 1416), (QVector<int> { 508, 1394 }));
    EXPECT_EQ(runsFrom(image, cx, cy, 1, 0, 119, 1416), (QVector<int> { 508, 1394 }));
    EXPECT_EQ(runsFrom(image, cx, cy, 0, -1, 60, 708), (QVector<int> { 254, 697 }));
    EXPECT_EQ(runsFrom(image, cx, cy, 0, 1, 60, 707).last(), 697);
    // Ink between the circles: none above the hub, where the text would lie
    // on larger paper; the text from 3 mm below the hub, three lines of 6 mm.
    auto inkIn = [&](int top, int bottom) {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = cx - 300; x <= cx + 300; ++x)
                n += (std::abs(x - cx) > 1 && dark(image, x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(inkIn(cy - 670, cy - 255), 0); // the outer circle reaches 300 pixels across at 681 up
    EXPECT_EQ(inkIn(cy + 255, cy + 254 + 34), 0);
    EXPECT_GT(inkIn(cy + 254 + 35, cy + 254 + 35 + 3 * 70), 1000);
}

// The disc sheet names what to measure and the correction applied, and has
// none of the edge crosses' labels.
TEST(CalibrationDiscSheet, SaysWhatToMeasure)
{
    RecordingCanvas canvas;
    DrawCalibrationSheet(canvas, 300, 300, QRect(0, 0, 3508, 2479), QSizeF(297.0, 210.0),
        PrintDevice::printer("Tray"), { 12, -3 }, CalibrationVariant::Disc);
    const QString ops = canvas.lines().join('\n');
    EXPECT_TRUE(ops.contains("ディスク用: 円の中心がディスクの中心に来るように補正します"));
    EXPECT_TRUE(ops.contains(calibrationDiscInstructions()));
    EXPECT_TRUE(ops.contains("Tray　適用中の補正: 横 1.2mm　縦 -0.3mm"));
    EXPECT_FALSE(ops.contains("左端から"));
    EXPECT_FALSE(ops.contains(calibrationInstructions()));
}

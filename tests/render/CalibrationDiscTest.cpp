// The calibration sheet for printable discs: its circles lie at their radii
// around the paper's centre, with nothing else near them but the centre cross.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "canvas/QPainterCanvas.h"
#include "render/CalibrationSheet.h"

using namespace cw;

namespace {

QImage discSheet(int dpiX, int dpiY, const QRect &paper, const QSizeF &paperMm)
{
    QImage image(paper.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainterCanvas canvas(&image, dpiX, dpiY);
    DrawCalibrationSheet(canvas, dpiX, dpiY, paper, paperMm, PrintDevice::printer("Tray"), {},
        CalibrationVariant::Disc);
    return image;
}

// The distances from (x0, y0), stepping by (dx, dy) from `from` to `to`, at
// which dark runs begin.
QVector<int> runsFrom(const QImage &image, int x0, int y0, int dx, int dy, int from, int to)
{
    QVector<int> runs;
    bool inRun = false;
    for (int d = from; d <= to; ++d) {
        const bool ink = qGray(image.pixel(x0 + d * dx, y0 + d * dy)) < 128;
        if (ink && !inRun)
            runs << d;
        inRun = ink;
    }
    return runs;
}

} // namespace

// A4 landscape at 300 dpi: the centre is the pixel nearest (148.5, 105.0) mm,
// the radii of 59.0 and 21.5 mm are 696.88 and 253.95 pixels. At 600 x 300
// dpi the circles are ellipses in pixels.
TEST(CalibrationDiscSheet, TheCirclesLieAtTheirRadiiAroundThePapersCentre)
{
    const QImage image = discSheet(300, 300, QRect(0, 0, 3508, 2479), QSizeF(297.0, 210.0));
    const int cx = 1754, cy = 1240;
    for (const auto &[dx, dy] :
        { std::pair(0, -1), std::pair(0, 1), std::pair(-1, 0), std::pair(1, 0) })
        EXPECT_EQ(runsFrom(image, cx, cy, dx, dy, 60, 720), (QVector<int> { 254, 697 }))
            << dx << dy;
    // Every dark pixel near the circles lies on one of them or on the cross
    // (two pixels wide, 59 pixels each way), and an unbroken circle of one
    // pixel has about 4√2 r of them.
    long long stray = 0, ink = 0;
    for (int y = cy - 720; y <= cy + 720; ++y) {
        for (int x = cx - 720; x <= cx + 720; ++x) {
            if (qGray(image.pixel(x, y)) >= 128)
                continue;
            ++ink;
            const double d = std::hypot(x - cx, y - cy);
            const bool cross = (x - cx >= -1 && x <= cx && std::abs(y - cy) <= 59)
                || (y - cy >= -1 && y <= cy && std::abs(x - cx) <= 59);
            stray += !cross && std::abs(d - 696.88) > 1.0 && std::abs(d - 253.95) > 1.0;
        }
    }
    EXPECT_EQ(stray, 0);
    EXPECT_GT(ink, 5.6 * (697 + 254));

    // On paper of a disc's size: 120 mm square.
    const QImage disc = discSheet(600, 300, QRect(0, 0, 2834, 1417), QSizeF(120.0, 120.0));
    const int dcx = 1417, dcy = 709; // 60.0 mm: 1417.38 and 708.69 pixels
    EXPECT_EQ(runsFrom(disc, dcx, dcy, -1, 0, 119, 1416), (QVector<int> { 508, 1394 }));
    EXPECT_EQ(runsFrom(disc, dcx, dcy, 0, -1, 60, 708), (QVector<int> { 254, 697 }));
}

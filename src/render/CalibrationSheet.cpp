#include "render/CalibrationSheet.h"

#include "base/UiText.h"
#include "canvas/LabelCanvas.h"
#include "render/Geometry.h"

#include <algorithm>
#include <cmath>

namespace cw {

namespace {

// The crosses' labels: the distance from an edge.
const char *const kFromLeft = QT_TRANSLATE_NOOP("cw::UiText", "左端から%1");
const char *const kFromTop = QT_TRANSLATE_NOOP("cw::UiText", "上端から%1");
const char *const kFromRight = QT_TRANSLATE_NOOP("cw::UiText", "右端から%1");
const char *const kFromBottom = QT_TRANSLATE_NOOP("cw::UiText", "下端から%1");

QString distanceText(const char *edge, double mm)
{
    return UiText::tr(edge).arg(formatMm(mm));
}

// Pixels from an edge as millimetres.
double pixelsToMm(int px, int dpi)
{
    return px * geom::kMmPerInch / dpi;
}

// The pixel nearest to a distance from the paper's edge.
int nearestPixel(double mm, double pixelsPerMm)
{
    return int(std::lround(mm * pixelsPerMm));
}

// A cross of lines `lwX` and `lwY` pixels wide, centred on (x, y).
void drawCross(LabelCanvas &canvas, int x0, int y0, int lwX, int lwY, int armX, int armY)
{
    for (int i = 0; i < lwX; ++i) {
        const int x = x0 - lwX / 2 + i;
        canvas.MoveTo(x, y0 - armY);
        canvas.LineTo(x, y0 + armY + 1);
    }
    for (int j = 0; j < lwY; ++j) {
        const int y = y0 - lwY / 2 + j;
        canvas.MoveTo(x0 - armX, y);
        canvas.LineTo(x0 + armX + 1, y);
    }
}

// A one-pixel ellipse of radii a and b pixels around (cx, cy), by the
// midpoint rule: where the outline runs flatter than 45 degrees it steps
// along x and takes the row nearer the outline, elsewhere it steps along y.
// The quarter from (0, b) to (a, 0) is drawn as horizontal and vertical runs
// and mirrored into the other three quarters.
void drawEllipse(LabelCanvas &canvas, int cx, int cy, int a, int b)
{
    // Four times the midpoint rule's decision values, in whole numbers.
    const long long a2 = (long long)a * a, b2 = (long long)b * b;
    QVector<QPoint> quarter;
    long long x = 0, y = b;
    long long d = 4 * b2 - 4 * a2 * b + a2;
    while (b2 * (2 * x + 2) < a2 * (2 * y - 1)) {
        quarter << QPoint(int(x), int(y));
        if (d >= 0) {
            --y;
            d -= 8 * a2 * y;
        }
        ++x;
        d += 4 * b2 * (2 * x + 1);
    }
    d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
    while (y >= 0) {
        quarter << QPoint(int(x), int(y));
        if (d <= 0) {
            ++x;
            d += 8 * b2 * x;
        }
        --y;
        d += 4 * a2 * (1 - 2 * y);
    }
    // Runs of pixels sharing a row or a column, each drawn in all four quarters.
    auto run = [&](QPoint from, QPoint to) {
        for (const int sx : { 1, -1 }) {
            for (const int sy : { 1, -1 }) {
                const int x0 = cx + sx * from.x(), y0 = cy + sy * from.y();
                const int x1 = cx + sx * to.x(), y1 = cy + sy * to.y();
                canvas.MoveTo(x0, y0);
                // LineTo stops short of its end point: one pixel past it
                // (below it for a single pixel).
                const int ex = x1 + (x1 > x0) - (x1 < x0);
                const int ey = y1 + (y1 > y0) - (y1 < y0) + (x1 == x0 && y1 == y0);
                canvas.LineTo(ex, ey);
            }
        }
    };
    for (int i = 0; i < quarter.size();) {
        int j = i;
        if (i + 1 < quarter.size() && quarter[i + 1].y() == quarter[i].y()) {
            while (j + 1 < quarter.size() && quarter[j + 1].y() == quarter[i].y())
                ++j;
        } else {
            while (j + 1 < quarter.size() && quarter[j + 1].x() == quarter[i].x())
                ++j;
        }
        run(quarter[i], quarter[j]);
        i = j + 1;
    }
}

} // namespace

QList<CalibrationCross> calibrationCrosses(
    int dpiX, int dpiY, const QRect &paper, const QSizeF &paperMm)
{
    const PageScale s = pageScale(dpiX, dpiY);
    // The paper's size as its page size states it: Qt's paper rectangle in
    // pixels comes from whole points (A4 is 595 points, 209.9 mm, high), so
    // its half, truncated, lies a tenth of a millimetre short of the centre.
    const double widthMm = paperMm.isEmpty() ? pixelsToMm(paper.width(), dpiX) : paperMm.width();
    const double heightMm = paperMm.isEmpty() ? pixelsToMm(paper.height(), dpiY) : paperMm.height();
    // Where each cross lies, in millimetres from the paper's left and top
    // edges, placed on the nearest pixel.
    auto x = [&](double mm) { return paper.left() + nearestPixel(mm, s.kx); };
    auto y = [&](double mm) { return paper.top() + nearestPixel(mm, s.ky); };
    const int left = x(kCalibrationEdgeMm), top = y(kCalibrationEdgeMm);
    const int right = x(widthMm - kCalibrationEdgeMm), bottom = y(heightMm - kCalibrationEdgeMm);
    const int cx = x(widthMm / 2), cy = y(heightMm / 2);
    // The labels state where the pixels lie.
    auto fromLeft = [&](int px) { return pixelsToMm(px - paper.left(), dpiX); };
    auto fromTop = [&](int px) { return pixelsToMm(px - paper.top(), dpiY); };
    return {
        { left, cy, distanceText(kFromLeft, fromLeft(left)) },
        { cx, top, distanceText(kFromTop, fromTop(top)) },
        { right, cy, distanceText(kFromRight, widthMm - fromLeft(right)) },
        { cx, bottom, distanceText(kFromBottom, heightMm - fromTop(bottom)) },
        { cx, cy,
            UiText::tr("%1・%2").arg(
                distanceText(kFromLeft, fromLeft(cx)), distanceText(kFromTop, fromTop(cy))) },
    };
}

QString calibrationDiscCaption()
{
    return UiText::tr("ディスク用: 円の中心がディスクの中心に来るように補正します");
}

QString calibrationDiscInstructions()
{
    return UiText::tr(
        "ディスクに印刷し、118mm の円とディスクの縁の隙間を測って、「横」に(右の隙間−左の"
        "隙間)÷2を、「縦」に(下の隙間−上の隙間)÷2を加えてください");
}

QString calibrationInstructions()
{
    return UiText::tr("定規で用紙の端から各十字の中心までを測り、「横」に(左の記載値−実測値)を、"
                      "「縦」に(上の記載値−実測値)を加えてください");
}

void DrawCalibrationSheet(LabelCanvas &canvas, int dpiX, int dpiY, const QRect &paper,
    const QSizeF &paperMm, const PrintDevice &device, const PrintCorrection &applied,
    CalibrationVariant variant)
{
    using H = LabelCanvas::HAlign;
    using V = LabelCanvas::VAlign;
    const PageScale s = pageScale(dpiX, dpiY);
    const int lwX = int(s.lineX), lwY = int(s.lineY);
    const int armX = mmToPixels(kCalibrationArmMm, s.kx);
    const int armY = mmToPixels(kCalibrationArmMm, s.ky);
    const int gapX = mmToPixels(1.5, s.kx), gapY = mmToPixels(1.5, s.ky);
    const int textH = mmToPixels(6.0, s.ky), textW = mmToPixels(80.0, s.kx);

    FontSpec font = defaultFont();
    font.size = 10;
    font.color = kBlack;
    canvas.SetPen(kBlack);
    canvas.SetBrush(kBlack);
    canvas.SetFont(font);
    canvas.SetBrushClear();

    const QList<CalibrationCross> crosses = calibrationCrosses(dpiX, dpiY, paper, paperMm);
    const QString state = UiText::tr("%1　適用中の補正: 横 %2mm　縦 %3mm")
                              .arg(printDeviceText(device), formatCorrectionMm(applied.xTenths),
                                  formatCorrectionMm(applied.yTenths));
    const int left = paper.left(), right = paper.left() + paper.width();
    if (variant == CalibrationVariant::Disc) {
        // The paper's centre cross, without its label (the circles are what
        // is measured), and the circles around it.
        const CalibrationCross &c = crosses[4];
        drawCross(canvas, c.x, c.y, lwX, lwY, armX, armY);
        const int outerX = nearestPixel(kCalibrationDiscOuterMm / 2, s.kx);
        const int outerY = nearestPixel(kCalibrationDiscOuterMm / 2, s.ky);
        drawEllipse(canvas, c.x, c.y, outerX, outerY);
        drawEllipse(canvas, c.x, c.y, nearestPixel(kCalibrationDiscHubMm / 2, s.kx),
            nearestPixel(kCalibrationDiscHubMm / 2, s.ky));
        // The three lines above the outer circle; on paper too small for
        // that (a disc's own page), in the ring below the hub.
        const int gap = mmToPixels(3.0, s.ky);
        int top = c.y - outerY - gap - 3 * textH;
        if (top < paper.top() + gap)
            top = c.y + nearestPixel(kCalibrationDiscHubMm / 2, s.ky) + gap;
        const QString lines[] = { calibrationDiscCaption(), calibrationDiscInstructions(), state };
        for (const QString &line : lines) {
            canvas.DrawTextInRect(line, left, top, right, top + textH, H::Center, V::Top);
            top += textH;
        }
        return;
    }
    for (int n = 0; n < crosses.size(); ++n) {
        const CalibrationCross &c = crosses[n];
        // Lines of the frame lines' width, centred on the cross's centre.
        drawCross(canvas, c.x, c.y, lwX, lwY, armX, armY);
        // The label sits in the lower quarter beside the cross, away from the
        // arms the ruler is laid against; the right cross's label to its left.
        const int top = c.y + gapY;
        if (n == 2)
            canvas.DrawTextInRect(
                c.label, c.x - gapX - textW, top, c.x - gapX, top + textH, H::Right, V::Top);
        else
            canvas.DrawTextInRect(
                c.label, c.x + gapX, top, c.x + gapX + 2 * textW, top + textH, H::Left, V::Top);
    }

    const int lineTop = paper.top() + mmToPixels(35.0, s.ky);
    canvas.DrawTextInRect(
        calibrationInstructions(), left, lineTop, right, lineTop + textH, H::Center, V::Top);
    canvas.DrawTextInRect(
        state, left, lineTop + textH, right, lineTop + 2 * textH, H::Center, V::Top);
}

PrintResult PrintCalibrationSheet(PrintTarget &target, PrinterBackend &printer,
    MessageSink &messages, PrinterState &state, CalibrationVariant variant)
{
    if (state.printerFailed) {
        messages.showMessage(uiText(kPrinterFailedPrintMessage));
        return PrintResult::Refused;
    }
    if (const auto ended = BeginPrintJob(target, 1, printer, messages, state))
        return *ended;
    const PrintCorrection correction = target.correction();
    // One page, as many times as the copies the program makes.
    const int copies = int(printedPages(1, {}, target.copiesToMake(), true).size());
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            target.newPage();
        drawCorrected(target, correction, [&](LabelCanvas &canvas) {
            DrawCalibrationSheet(canvas, target.resolutionX(), target.resolutionY(),
                target.paperRect(), target.paperSizeMm(), target.device(), correction, variant);
        });
    }
    if (!target.end()) {
        messages.showMessage(UiText::tr("印刷に失敗しました"));
        return PrintResult::Failed;
    }
    return PrintResult::Printed;
}

} // namespace cw

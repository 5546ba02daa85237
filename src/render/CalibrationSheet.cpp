#include "render/CalibrationSheet.h"

#include "base/UiText.h"
#include "canvas/LabelCanvas.h"
#include "render/Geometry.h"

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

} // namespace

QList<CalibrationCross> calibrationCrosses(
    int dpiX, int dpiY, const QRect &paper, const QSizeF &paperMm)
{
    const PageScale s = pageScale(dpiX, dpiY);
    // The paper's size as its page size states it: Qt's paper rectangle in
    // pixels comes from whole points (A4 is 595 points, 209.9 mm, high), so
    // its half, truncated, lies a tenth of a millimetre short of the centre.
    const double widthMm = paperMm.isEmpty() ? pixelsToMm(paper.width(), dpiX) : paperMm.width();
    const double heightMm
        = paperMm.isEmpty() ? pixelsToMm(paper.height(), dpiY) : paperMm.height();
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
            UiText::tr("%1・%2").arg(distanceText(kFromLeft, fromLeft(cx)),
                distanceText(kFromTop, fromTop(cy))) },
    };
}

QString calibrationInstructions()
{
    return UiText::tr("定規で用紙の端から各十字の中心までを測り、「横」に(左の記載値−実測値)を、"
                      "「縦」に(上の記載値−実測値)を加えてください");
}

void DrawCalibrationSheet(LabelCanvas &canvas, int dpiX, int dpiY, const QRect &paper,
    const QSizeF &paperMm, const PrintDevice &device, const PrintCorrection &applied)
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
    for (int n = 0; n < crosses.size(); ++n) {
        const CalibrationCross &c = crosses[n];
        // Lines of the frame lines' width, centred on the cross's centre.
        for (int i = 0; i < lwX; ++i) {
            const int x = c.x - lwX / 2 + i;
            canvas.MoveTo(x, c.y - armY);
            canvas.LineTo(x, c.y + armY + 1);
        }
        for (int j = 0; j < lwY; ++j) {
            const int y = c.y - lwY / 2 + j;
            canvas.MoveTo(c.x - armX, y);
            canvas.LineTo(c.x + armX + 1, y);
        }
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
    const int left = paper.left(), right = paper.left() + paper.width();
    canvas.DrawTextInRect(
        calibrationInstructions(), left, lineTop, right, lineTop + textH, H::Center, V::Top);
    const QString state = UiText::tr("%1　適用中の補正: 横 %2mm　縦 %3mm")
                              .arg(printDeviceText(device), formatCorrectionMm(applied.xTenths),
                                  formatCorrectionMm(applied.yTenths));
    canvas.DrawTextInRect(
        state, left, lineTop + textH, right, lineTop + 2 * textH, H::Center, V::Top);
}

PrintResult PrintCalibrationSheet(
    PrintTarget &target, PrinterBackend &printer, MessageSink &messages, PrinterState &state)
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
                target.paperRect(), target.paperSizeMm(), target.device(), correction);
        });
    }
    if (!target.end()) {
        messages.showMessage(UiText::tr("印刷に失敗しました"));
        return PrintResult::Failed;
    }
    return PrintResult::Printed;
}

} // namespace cw

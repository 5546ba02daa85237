#include "render/Geometry.h"

#include <cmath>

using namespace geom;

const QString kPrinterErrorMessage
    = QStringLiteral("プリンタエラーが発生しました\nプリンタを300dpi×300dpiと仮定します");

PageScale pageScale(int targetDpiX, int targetDpiY)
{
    PageScale s;
    s.kx = targetDpiX * kInchPerMm;
    s.ky = targetDpiY * kInchPerMm;
    s.lineX = kFrameLineMm * s.kx;
    s.lineY = kFrameLineMm * s.ky;
    if (s.lineX < 1.0)
        s.lineX = 1.0;
    if (s.lineY < 1.0)
        s.lineY = 1.0;
    return s;
}

int mmToPixels(double mm, double k)
{
    return int(std::trunc(mm * k));
}

FrontPageGeometry computeFrontPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    PageScale s = pageScale(targetDpiX, targetDpiY);
    FrontPageGeometry g;
    g.W = mmToPixels(kFaceWidthMm, s.kx);
    g.H = mmToPixels(kFaceHeightMm, s.ky);
    g.L = (pageWidth - 2 * g.W) / 2;
    g.T = (pageHeight - g.H) / 2;
    g.R = g.L + 2 * g.W - 1;
    g.B = g.T + g.H - 1;
    return g;
}

BackPageGeometry computeBackPageGeometry(
    int targetDpiX, int targetDpiY, int pageWidth, int pageHeight)
{
    PageScale s = pageScale(targetDpiX, targetDpiY);
    BackPageGeometry g;
    g.H = mmToPixels(kBackHeightMm, s.ky);
    g.T = (pageHeight - g.H) / 2;
    g.B = g.T + g.H - 1;
    g.L = (pageWidth - mmToPixels(kBackStripWidthMm, s.kx)) / 2;
    g.X1 = g.L + mmToPixels(kSpineWidthMm, s.kx);
    g.X2 = g.X1 + mmToPixels(kBackWidthMm, s.kx);
    g.X3 = g.X2 + mmToPixels(kSpineWidthMm, s.kx);
    return g;
}

SurfacePixels surfacePixelsAt(int dpiX, int dpiY)
{
    auto across = [&](double mm) { return int(std::trunc(dpiX * kInchPerMm * mm)); };
    auto down = [&](double mm) { return int(std::trunc(dpiY * kInchPerMm * mm)); };
    SurfacePixels p;
    p.topWidth = across(kFaceWidthMm);
    p.topHeight = down(kFaceHeightMm);
    p.bottomWidth = across(kBackWidthMm);
    p.bottomHeight = down(kBackHeightMm);
    p.sideWidth = across(kSpineWidthMm);
    p.sideHeight = down(kSpineHeightMm);
    return p;
}

PrinterState &printerState()
{
    static PrinterState state;
    return state;
}

void QueryPrinterResolution(PrinterBackend &printer, MessageSink &messages, PrinterState &state)
{
    if (state.printerFailed) {
        state.printerDpiX = kFallbackDpi;
        state.printerDpiY = kFallbackDpi;
        return;
    }
    int x = 0, y = 0;
    if (!printer.queryResolution(x, y) || x <= 0 || y <= 0) {
        state.printerFailed = true;
        state.printerDpiX = kFallbackDpi;
        state.printerDpiY = kFallbackDpi;
        messages.showMessage(kPrinterErrorMessage);
        return;
    }
    state.printerDpiX = x;
    state.printerDpiY = y;
}

void ComputeSurfacePixels(LabelDocument &doc, const PrinterState &state)
{
    doc.dpiX = state.printerDpiX;
    doc.dpiY = state.printerDpiY;
    doc.surfacePixels = surfacePixelsAt(doc.dpiX, doc.dpiY);
}

double PixelsToMmX(int px, const PrinterState &state)
{
    return px * kMmPerInch / state.printerDpiX;
}

double PixelsToMmY(int px, const PrinterState &state)
{
    return px * kMmPerInch / state.printerDpiY;
}

QString formatMm(double mm)
{
    return QString::asprintf("%.1fmm", mm);
}

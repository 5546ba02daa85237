#include "base/Printer.h"
#include "base/UiText.h"

namespace cw {

using namespace geom;

const QString kPrinterErrorMessage = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "cw::UiText", "プリンタエラーが発生しました\nプリンタを300dpi×300dpiと仮定します"));

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
        messages.showMessage(uiText(kPrinterErrorMessage));
        return;
    }
    state.printerDpiX = x;
    state.printerDpiY = y;
}

double PixelsToMmX(int px, const PrinterState &state)
{
    return px * kMmPerInch / state.printerDpiX;
}

double PixelsToMmY(int px, const PrinterState &state)
{
    return px * kMmPerInch / state.printerDpiY;
}

} // namespace cw

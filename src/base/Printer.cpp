#include "base/Printer.h"
#include "base/UiText.h"

#include <QRegularExpression>

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

std::optional<PrinterResolution> parsePrinterResolution(const QString &choice)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,5})(?:x(\\d{1,5}))?(dpi|dpcm)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(choice);
    if (!m.hasMatch())
        return std::nullopt;
    int x = m.captured(1).toInt();
    int y = m.captured(2).isEmpty() ? x : m.captured(2).toInt();
    if (m.captured(3).compare(QLatin1String("dpcm"), Qt::CaseInsensitive) == 0) {
        // Dots per centimetre, to whole dots per inch (nearest).
        x = (x * 254 + 50) / 100;
        y = (y * 254 + 50) / 100;
    }
    if (x <= 0 || y <= 0)
        return std::nullopt;
    return PrinterResolution { x, y };
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

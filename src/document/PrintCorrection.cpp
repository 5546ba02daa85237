#include "document/PrintCorrection.h"
#include "base/UiText.h"

#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <cstdlib>

namespace cw {

std::optional<int> parseCorrectionMm(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)(\\d{1,3})(?:\\.(\\d))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int tenths = m.captured(2).toInt() * 10;
    if (m.hasCaptured(3))
        tenths += m.captured(3).toInt();
    if (m.captured(1) == QLatin1String("-"))
        tenths = -tenths;
    if (std::abs(tenths) > kCorrectionLimitTenths)
        return std::nullopt;
    return tenths;
}

std::optional<PrintCorrection> parseCorrectionPair(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<int> x = parseCorrectionMm(parts[0]);
    const std::optional<int> y = parseCorrectionMm(parts[1]);
    if (!x || !y)
        return std::nullopt;
    return PrintCorrection { *x, *y };
}

QString formatCorrectionMm(int tenths)
{
    const int a = std::abs(tenths);
    return QString::asprintf("%s%d.%d", tenths < 0 ? "-" : "", a / 10, a % 10);
}

QString formatCorrectionPair(const PrintCorrection &c)
{
    return formatCorrectionMm(c.xTenths) + QLatin1Char(',') + formatCorrectionMm(c.yTenths);
}

QString invalidCorrectionMessage(const QString &text)
{
    return UiText::tr("'%1' は -10.0 から 10.0 までの数値(mm、小数1桁)ではありません").arg(text);
}

int correctionPixels(int tenths, int dpi)
{
    // mm * dpi / 25.399 = tenths * dpi * 100 / 25399, rounded half away from zero.
    const long long n = (long long)tenths * dpi * 100;
    const long long d = 25399;
    const long long q = (2 * std::llabs(n) + d) / (2 * d);
    return int(n < 0 ? -q : q);
}

QString printDeviceText(const PrintDevice &device)
{
    return device.pdfFile ? UiText::tr("PDFファイル") : device.name;
}

QString printCorrectionKey(const PrintDevice &device)
{
    if (device.pdfFile)
        return QStringLiteral("PrintCorrection/PdfFile");
    // Printer names may hold characters the settings file treats as
    // separators: the key carries the name percent-encoded.
    return QStringLiteral("PrintCorrection/Printers/")
        + QString::fromLatin1(QUrl::toPercentEncoding(device.name));
}

PrintCorrection loadPrintCorrection(QSettings &settings, const PrintDevice &device)
{
    const QVariant v = settings.value(printCorrectionKey(device));
    // A list is what the settings file makes of a text with a comma.
    const QString text = v.typeId() == QMetaType::QStringList
        ? v.toStringList().join(QLatin1Char(','))
        : v.toString();
    return parseCorrectionPair(text).value_or(PrintCorrection {});
}

void storePrintCorrection(
    QSettings &settings, const PrintDevice &device, const PrintCorrection &correction)
{
    if (correction.isZero())
        settings.remove(printCorrectionKey(device));
    else
        settings.setValue(printCorrectionKey(device), formatCorrectionPair(correction));
    settings.sync();
}

} // namespace cw

#include "render/ui/QueueResolution.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <cups/cups.h>

namespace cw {

namespace {

// Where Qt keeps the job options of a CUPS printer (the choices of its
// properties dialog) among the print engine's properties: name, value, ...
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QString chosenOption(QPrinter &printer, const QString &name)
{
    QPrintEngine *engine = printer.printEngine();
    if (!engine)
        return QString();
    const QStringList options = engine->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] == name)
            return options[i + 1];
    }
    return QString();
}

std::optional<PrinterResolution> ippResolution(ipp_attribute_t *attr)
{
    if (!attr || ippGetCount(attr) < 1)
        return std::nullopt;
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    int x = ippGetResolution(attr, 0, &y, &units);
    if (units == IPP_RES_PER_CM)
        return parsePrinterResolution(QStringLiteral("%1x%2dpcm").arg(x).arg(y));
    if (x <= 0 || y <= 0)
        return std::nullopt;
    return PrinterResolution { x, y };
}

} // namespace

std::optional<PrinterResolution> queueResolution(const QString &queue, const QString &chosen)
{
    if (const auto r = parsePrinterResolution(chosen))
        return r;
    const QByteArray name = queue.toLocal8Bit();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return std::nullopt;
    std::optional<PrinterResolution> found;
    if (const char *own = cupsGetOption("Resolution", dest->num_options, dest->options))
        found = parsePrinterResolution(QString::fromLatin1(own));
    if (!found) {
        if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
            found = ippResolution(
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution"));
            cupsFreeDestInfo(info);
        }
    }
    cupsFreeDests(1, dest);
    return found;
}

void takeQueueResolution(QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return;
    const auto r = queueResolution(
        printer.printerName(), chosenOption(printer, QStringLiteral("Resolution")));
    if (r && printer.resolution() != r->x)
        printer.setResolution(r->x);
}

} // namespace cw

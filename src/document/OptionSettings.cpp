#include "document/OptionSettings.h"

#include <QSettings>

#include "document/DiscStockSettings.h"

namespace cw {

const std::array<PrintOptionInfo, 8> &printOptionTable()
{
    static const std::array<PrintOptionInfo, 8> table = { {
        { "SideTitleSameTop", &PrintOptions::spinesSameDirection, false, PreviewPage::Back },
        { "AreaLinePrint", &PrintOptions::boundaryLines, true, PreviewPage::Shown },
        { "CutLinePrint", &PrintOptions::foldLines, true, PreviewPage::Shown },
        { "TopLabelPrint", &PrintOptions::printFront, true, std::nullopt },
        { "BottomLabelPrint", &PrintOptions::printBack, true, std::nullopt },
        // Whether the preview offers the inside sheet: the shown page is
        // looked at again.
        { "InsidePrint", &PrintOptions::printInside, false, PreviewPage::Shown, false },
        // Whether the disc face is printed with the case and the preview
        // offers it.
        { "DiscLabelPrint", &PrintOptions::printDisc, false, PreviewPage::Shown, false },
        // How a booklet's sides are printed on both sides ("両面印刷"): by
        // hand (1) or by the printer (0). Nothing on a page changes.
        { "BookletManualDuplex", &PrintOptions::manualDuplex, false, std::nullopt, false },
    } };
    return table;
}

const PrintOptionInfo *printOptionInfo(const QString &key)
{
    for (const PrintOptionInfo &info : printOptionTable()) {
        if (key == QLatin1String(info.key))
            return &info;
    }
    return nullptr;
}

PrintOptions loadPrintOptions(QSettings &settings)
{
    PrintOptions options;
    for (const PrintOptionInfo &info : printOptionTable()) {
        const QString key = QLatin1String(info.key);
        if (!settings.contains(key) && info.writtenAtStart)
            settings.setValue(key, info.defaultValue ? 1 : 0);
        // Anything but a number (a hand-edited file) counts as the default.
        bool ok = false;
        const int stored = settings.value(key).toInt(&ok);
        options.*info.field = ok ? stored != 0 : info.defaultValue;
    }
    options.bleedMm = loadBleed(settings);
    options.disc = loadDiscLayout(settings);
    settings.sync();
    return options;
}

std::optional<PreviewPage> storePrintOption(
    QSettings &settings, PrintOptions &options, const QString &key, bool value)
{
    const PrintOptionInfo *info = printOptionInfo(key);
    if (!info)
        return std::nullopt;
    options.*info->field = value;
    settings.setValue(key, value ? 1 : 0);
    settings.sync();
    return info->refreshPage;
}

const char *const kBleedKey = "Bleed";

int loadBleed(QSettings &settings)
{
    bool ok = false;
    const int mm = settings.value(QLatin1String(kBleedKey)).toInt(&ok);
    return ok && mm >= 0 && mm <= kMaxBleedMm ? mm : 0;
}

bool storeBleed(QSettings &settings, PrintOptions &options, int mm)
{
    if (mm < 0 || mm > kMaxBleedMm)
        return false;
    options.bleedMm = mm;
    settings.setValue(QLatin1String(kBleedKey), mm);
    settings.sync();
    return true;
}

} // namespace cw

// casewright-printing.so: the command line's printer path over Qt Print
// Support. The executable exports the renderers and the print logic; this
// module adds only the printer.
#include <QApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "base/UiText.h"
#include "cli/PrinterModule.h"
#include "render/CalibrationSheet.h"
#include "render/ui/QtPrintTarget.h"
#include "render/ui/QueueResolution.h"

namespace cw {

namespace {

class QtPrinterJob : public PrinterJob
{
public:
    explicit QtPrinterJob(const QPrinterInfo &info)
        : m_printer(info, QPrinter::HighResolution)
    { }
    bool queryResolution(int &dpiX, int &dpiY) override
    {
        if (!m_printer.isValid())
            return false;
        m_printer.setPageOrientation(QPageLayout::Landscape);
        takeQueueResolution(m_printer);
        dpiX = m_printer.logicalDpiX();
        dpiY = m_printer.logicalDpiY();
        return dpiX > 0 && dpiY > 0;
    }
    PrintDevice device() const override { return printDeviceOf(m_printer); }
    PrintResult print(const PrintOptions &options, const PageDrawer &drawPage,
        MessageSink &messages, ProgressSink &progress, PrinterState &state,
        const PrintTarget::CorrectionLookup &correction) override
    {
        QtPrintTarget target(m_printer, [](QPrinter &, int) { return true; });
        target.setCorrectionLookup(correction);
        return PrintDocument(target, *this, options, drawPage, messages, progress, state);
    }
    PrintResult printCalibrationSheet(MessageSink &messages, PrinterState &state,
        const PrintTarget::CorrectionLookup &correction, CalibrationVariant variant) override
    {
        QtPrintTarget target(m_printer, [](QPrinter &, int) { return true; });
        target.setCorrectionLookup(correction);
        return PrintCalibrationSheet(target, *this, messages, state, variant);
    }

private:
    QPrinter m_printer;
};

QGuiApplication *createApplication(int &argc, char **argv)
{
    return new QApplication(argc, argv);
}

PrinterJob *openPrinter(const QString &name, MessageSink &messages)
{
    const QPrinterInfo info
        = name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        messages.showMessage(name.isEmpty()
                ? UiText::tr("プリンタがありません(--pdf でファイルに出力できます)")
                : UiText::tr("プリンタ(%1)が見つかりません").arg(name));
        return nullptr;
    }
    return new QtPrinterJob(info);
}

const PrinterModuleApi kApi = { createApplication, openPrinter };

} // namespace

extern "C" __attribute__((visibility("default"))) const PrinterModuleApi *
casewright_printer_module()
{
    return &kApi;
}

} // namespace cw

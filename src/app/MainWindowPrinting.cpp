// The main window's print commands: "プリンタ設定", "印刷" and "補正用シート印刷".
// Each goes through the window's print dialogs, so tests answer them.
#include <QPrinter>
#include <QSettings>

#include "app/PrintCorrectionPanel.h"
#include "app/TMainWindow.h"
#include "document/PrintCorrection.h"
#include "render/CalibrationSheet.h"
#include "render/ChoosePrinter.h"
#include "render/DocumentPages.h"
#include "render/PictureFileReader.h"
#include "render/ui/QtPrintTarget.h"
#include "render/ui/QtPrinterBackend.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

// The correction the settings keep for the device a job goes to.
PrintCorrection storedPrintCorrection(const PrintDevice &device)
{
    QSettings settings;
    return loadPrintCorrection(settings, device);
}

} // namespace

void TMainWindow::PrinterSetClick()
{
    auto *qt = dynamic_cast<QtPrinterBackend *>(&printer());
    auto setup = [this, qt] {
        if (qt && qt->printer())
            dialogs().choosePrinter(*qt->printer());
    };
    const ChoosePrinterResult result = ChoosePrinter(m_editor, printer(), setup, dialogs());
    if (result.refused)
        return;
    showPrinterInformation();
    apply(result.edit);
}

void TMainWindow::PrintStartClick()
{
    auto *qt = dynamic_cast<QtPrinterBackend *>(&printer());
    if (!qt || !qt->printer())
        return;
    {
        QtPrintTarget target(*qt->printer(), printDialog());
        target.setCorrectionLookup(storedPrintCorrection);
        // Printing reports a picture file it cannot read; the preview, which
        // redraws on every edit, does not repeat that message.
        FilePictureReader pictures(dialogs());
        PrintDocument(target, printer(), m_options,
            documentPageDrawer(m_document, &m_options, &pictures), dialogs(), progressWindow());
    }
    qt->releaseFailedJob();
    // The print dialog may have chosen another printer.
    m_correctionPanel->showDevice(printer().device());
}

QtPrintTarget::Dialog TMainWindow::printDialog()
{
    return [this](QPrinter &p, int pages) { return dialogs().choosePrint(p, pages); };
}

void TMainWindow::CalibrationPrintClick(CalibrationVariant variant)
{
    auto *qt = dynamic_cast<QtPrinterBackend *>(&printer());
    if (!qt || !qt->printer())
        return;
    // Like the pages, the sheet goes where the print dialog says: a printer,
    // or a PDF file whose name the dialog asks for.
    {
        QtPrintTarget target(*qt->printer(), printDialog());
        target.setCorrectionLookup(storedPrintCorrection);
        PrintCalibrationSheet(target, printer(), dialogs(), printerState(), variant);
    }
    qt->releaseFailedJob();
    m_correctionPanel->showDevice(printer().device());
}

} // namespace cw

#pragma once

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPageRanges>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "base/UserPrompts.h"
#include "canvas/LabelCanvas.h"
#include "document/LabelDocument.h"
#include "document/PrintCorrection.h"
#include "render/Geometry.h"
#include "render/PageDrawer.h"

namespace cw {

// A print job as the print command needs it: a dialog, landscape sheets with
// a job title, a canvas per sheet at the device's own resolution.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;
    // Shows the print dialog for a job of `pageCount` pages; false when the
    // user cancels.
    virtual bool showPrintDialog(int pageCount) = 0;
    virtual void setLandscape() = 0;
    // Begins the job; false when the device cannot be opened.
    virtual bool begin(const QString &jobTitle) = 0;
    virtual bool newPage() = 0;
    virtual bool end() = 0;
    // The canvas of the current sheet, its resolution and printable size in pixels.
    virtual LabelCanvas &canvas() = 0;
    virtual int resolutionX() const = 0;
    virtual int resolutionY() const = 0;
    virtual int printableWidth() const = 0;
    virtual int printableHeight() const = 0;
    // What the print dialog chose besides the device, asked after it: the
    // pages of the job to print, numbered from 1 as printed (empty: every
    // page), and the copies the program makes itself, collated or not (a
    // device that makes its own copies says one).
    virtual QPageRanges pageRanges() const { return {}; }
    virtual int copiesToMake() const { return 1; }
    virtual bool collateCopies() const { return true; }
    // The device the job goes to (known once the dialog has chosen it).
    virtual PrintDevice device() const { return {}; }
    // The whole sheet in the canvas's pixels: where the paper's edges lie
    // around the printable area. Unless told otherwise, the printable area
    // is the whole sheet.
    virtual QRect paperRect() const { return QRect(0, 0, printableWidth(), printableHeight()); }
    // The paper's size in millimetres as its page size states it; empty
    // unless told: then its size in pixels is all that is known.
    virtual QSizeF paperSizeMm() const { return {}; }
    // The paper of the pages that follow, called before begin() or before
    // newPage(): a layout of its own (the disc's: a label sheet upright, a
    // printable disc's small page), or nothing for the job's paper, landscape,
    // again. A device that cannot change its paper within a job keeps its own.
    virtual void usePaper(const std::optional<QPageLayout> &layout) { (void)layout; }
    // Whether the device prints both sides of each sheet (true), turning it
    // over on its short edge (a landscape sheet: left to right), or one side
    // only (false); set before the print dialog so that it shows the choice.
    // A device without a duplex unit ignores it.
    virtual void setDuplex(bool shortEdge) { (void)shortEdge; }

    // The position correction of the job's device, asked for once the dialog
    // has chosen the device: every sheet is then moved by it as a whole.
    // Without one, sheets are printed where the renderers put them.
    using CorrectionLookup = std::function<PrintCorrection(const PrintDevice &)>;
    void setCorrectionLookup(CorrectionLookup lookup) { m_correction = std::move(lookup); }
    PrintCorrection correction() const
    {
        return m_correction ? m_correction(device()) : PrintCorrection {};
    }

private:
    CorrectionLookup m_correction;
};

extern const QString kPrintJobTitle; // "Casewright"
extern const QString kPrinterFailedPrintMessage; // refusal while the printer failed
extern const QString kNoPageMessage; // neither page selected
extern const QString kPrinterFailedSetupMessage; // printer setup refused
// "印刷中です(%d/%d)"
QString printingProgressText(int page, int total);

enum class PrintResult { Printed, Refused, Cancelled, Failed };

// The pages of a job of `pageCount` pages in the order they are printed:
// those `ranges` keeps (every page when it is empty), each copy in turn
// (collated: 1 2 1 2) or each page's copies together (1 1 2 2).
QList<int> printedPages(int pageCount, const QPageRanges &ranges, int copies, bool collate);

// Said when the printable area cannot hold a page with its trim marks: the
// page, the area it needs and the area the paper has, in millimetres.
QString paperTooSmallMessage(PreviewPage page, double needWidthMm, double needHeightMm,
    double haveWidthMm, double haveHeightMm);

// What of a sheet does not fit a printable area: the sheet itself, or (with
// the sheet fitting) its bleed and trim marks, or its trim marks.
enum class SheetMisfit { Sheet, BleedAndMarks, Marks };
// Said when the printable area cannot hold sheet `sheet` of `format` (one
// whose trim marks may be shortened): the sheet by its case's name, what does
// not fit, the area it needs and, among A4, Letter and A3 landscape, the
// smallest paper of that size, and the area the paper has, in millimetres.
QString sheetTooLargeMessage(const CaseFormat &format, int sheet, SheetMisfit misfit,
    double needWidthMm, double needHeightMm, double haveWidthMm, double haveHeightMm);

// The refusal for the first of `sheets` of `format` a printable area of
// width x height pixels at dpiX x dpiY cannot hold with its trim marks and a
// bleed of `bleedMm`; nothing when every sheet fits.
std::optional<QString> sheetThatDoesNotFit(const CaseFormat &format, const QList<int> &sheets,
    int bleedMm, int dpiX, int dpiY, int width, int height);


// The sheets of a format a print makes, in order: the front sheets (the
// first one, or a booklet's sides) when the front is chosen, the others when
// the back is; a sheet printed with the
// inside (a wrap's reverse) when the inside is chosen, whatever the front
// and back switches say, so that it can be printed on its own on the back of
// a wrap printed before.
QVector<int> printedSheets(const PrintOptions &options, const CaseFormat &format);
// The sheets the preview offers, the PDF exports write and `render --page`
// draws, in order: every sheet but one printed with the inside while the
// inside is not printed. The sheets printed with the inside come last, so
// these are the format's first sheets.
QVector<int> shownSheets(const PrintOptions &options, const CaseFormat &format);
// Whether a print has the disc's page: with "ディスクレーベル印刷", on a
// printable disc, or on a label sheet with at least one of its labels chosen
// (a used-up sheet is not fed through the printer for nothing).
bool discSheetPrinted(const PrintOptions &options);
// The pages of a print job, in order: the format's sheets a print makes,
// then the disc's page when it is printed.
QList<PreviewPage> printJobPages(const PrintOptions &options, const CaseFormat &format);

// A booklet printed on both sides by hand ("手動で両面") is printed as two
// jobs: first every sheet but the booklet's backs, in the job's order; then,
// once the user has turned the printed fronts over and put them back, the
// backs in the reverse order (the last sheet's back first), which is the
// order the turned stack feeds them in. Without a back in `sheets`, one job.
struct DuplexPasses
{
    QList<PreviewPage> first, second;
};
DuplexPasses manualDuplexPasses(const QList<PreviewPage> &sheets, const CaseFormat &format);
// Whether the pages include a booklet's back (printed on a sheet's reverse).
bool hasBookletBacks(const QList<PreviewPage> &pages, const CaseFormat &format);
// Said between the two jobs: how many sheets were printed on their fronts,
// how to turn them over and put them back.
QString manualDuplexMessage(int frontSheets);
// Said beside the choice: how the printer turns the sheets over.
QString duplexNote(bool manual);

// Prints the sheets of the drawer's format chosen in the options as one job,
// in order, each on its own sheet (a booklet's sides on both sides of its
// sheets: by the printer's duplex unit, turned over on the short edge, or by
// hand in two jobs, see manualDuplexPasses), and then, with "ディスクレーベル印刷", the
// disc on its stock's own paper (printJobPages). The document's reference resolution is not
// changed.
PrintResult PrintDocument(PrintTarget &target, PrinterBackend &printer, const PrintOptions &options,
    const PageDrawer &drawPage, MessageSink &messages, ProgressSink &progress,
    PrinterState &state = printerState());

// The opening of every print job: the print dialog, the printer's
// resolution, landscape sheets, then `ready` (which may refuse the job after
// saying why), and the job itself. Returns how the print ends when the job
// did not start (cancelled, refused, or failed with its message), nothing
// when it did.
std::optional<PrintResult> BeginPrintJob(PrintTarget &target, int pageCount,
    PrinterBackend &printer, MessageSink &messages, PrinterState &state,
    const std::function<bool()> &ready = {});

// Draws one page onto the target's current sheet at its own resolution and
// size, moved by `correction` (rounded to whole device pixels).
void PrintPage(PrintTarget &target, PreviewPage page, const PageDrawer &drawPage,
    const PrintCorrection &correction = {});
// Draws onto the target's current sheet through the correction: `draw` gets
// the canvas to draw on, the page itself when the correction is zero.
void drawCorrected(PrintTarget &target, const PrintCorrection &correction,
    const std::function<void(LabelCanvas &)> &draw);

// The papers a PDF file is printed on, by the names the command line takes
// ("a4", "letter"), in that order; nothing for another name.
QStringList pdfPaperNames();
std::optional<QPageSize::PageSizeId> pdfPaperNamed(const QString &name);

// A print target writing a PDF file on landscape sheets of a paper (A4
// unless told), for printing without a printer: a printer of dpiX x dpiY.
// Pictures go into the file at the pixels they cover at that resolution.
class PdfPrintTarget : public PrintTarget
{
public:
    PdfPrintTarget(const QString &path, int dpi = 300);
    PdfPrintTarget(const QString &path, int dpiX, int dpiY,
        QPageSize::PageSizeId paper = QPageSize::A4);
    ~PdfPrintTarget() override;
    bool showPrintDialog(int) override { return true; }
    void setLandscape() override;
    bool begin(const QString &jobTitle) override;
    bool newPage() override;
    bool end() override;
    void usePaper(const std::optional<QPageLayout> &layout) override;
    LabelCanvas &canvas() override;
    int resolutionX() const override { return m_dpi; }
    int resolutionY() const override { return m_dpiY; }
    // The paper, landscape, at the file's resolution, known before the job begins.
    int printableWidth() const override;
    int printableHeight() const override;
    PrintDevice device() const override { return PrintDevice::pdf(); }
    QSizeF paperSizeMm() const override;

private:
    QPageLayout layout() const;
    struct Impl;
    std::unique_ptr<Impl> d;
    QString m_path;
    int m_dpi; // the file's own resolution, horizontal
    int m_dpiY; // vertical: a scale on the file's resolution
    QPageSize::PageSizeId m_paper;
};

} // namespace cw

#include "render/PageOutput.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "base/UiText.h"
#include "canvas/QPainterCanvas.h"
#include "render/DiscPages.h"
#include "render/DrawSheet.h"
#include "text/SafeSave.h"

namespace cw {

void drawDocumentPage(LabelCanvas &canvas, LabelDocument &doc, const PrintOptions &options,
    PreviewPage page, int targetDpiX, int targetDpiY, int pageWidth, int pageHeight,
    PictureFileReader *reader, const CaseFormat *sheets)
{
    if (page == PreviewPage::Disc) {
        drawDiscFacePage(canvas, doc, discDrawingOf(options), targetDpiX, targetDpiY, pageWidth,
            pageHeight, reader);
        return;
    }
    if (page == PreviewPage::DiscSheet) {
        // The page is the paper: the labels at their places on it, or the
        // printable disc in its middle.
        if (options.disc.printableDisc)
            drawDiscFacePage(canvas, doc, discDrawingOf(options), targetDpiX, targetDpiY,
                pageWidth, pageHeight, reader);
        else
            drawDiscLabels(canvas, doc, discDrawingOf(options), options.disc.centresMm,
                targetDpiX, targetDpiY, reader);
        return;
    }
    DrawSheet(canvas, doc, sheets ? *sheets : formatOf(doc), int(page), options, targetDpiX,
        targetDpiY, pageWidth, pageHeight, reader);
}

QImage renderPageImage(LabelDocument &doc, const PrintOptions &options, PreviewPage page, int dpiX,
    int dpiY, int width, int height, PictureFileReader *reader, const CaseFormat *sheets)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(dpiX / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpiY / 0.0254 + 0.5));
    {
        QPainterCanvas canvas(&image, dpiX, dpiY);
        drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, width, height, reader, sheets);
    }
    return image;
}

namespace {

// A path that cannot be written is reported before anything is drawn.
bool writable(const QString &path, QString *error)
{
    if (fileCanBeSaved(path))
        return true;
    if (error)
        *error = UiText::tr("ファイルに書き込めません");
    return false;
}

} // namespace

bool renderPagePdf(LabelDocument &doc, const PrintOptions &options, PreviewPage page, int dpiX,
    int dpiY, int width, int height, const QString &path, QString *error, PictureFileReader *reader,
    const CaseFormat *sheets)
{
    if (!writable(path, error))
        return false;
    // Made in memory and saved whole, so that a failure leaves an old file
    // as it was.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Casewright"));
        writer.setResolution(dpiX);
        const QSizeF mm(width * 25.4 / dpiX, height * 25.4 / dpiY);
        writer.setPageLayout(QPageLayout(
            QPageSize(mm, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainterCanvas canvas(&writer, dpiX, dpiY);
        if (!canvas.painter()->isActive()) {
            if (error)
                *error = UiText::tr("PDF ファイルを書き始められません");
            return false;
        }
        // One writer resolution: a different vertical resolution is a scale.
        if (dpiY != dpiX)
            canvas.painter()->scale(1.0, double(dpiX) / dpiY);
        drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, width, height, reader, sheets);
    }
    file.close();
    if (file.data().isEmpty() || !saveFileSafely(path, file.data())) {
        if (error)
            *error = UiText::tr("何も書き込まれませんでした");
        return false;
    }
    return true;
}

bool ExportDocumentPdf(LabelDocument &doc, const PrintOptions &options, const QString &path,
    int dpi, QString *error, PictureFileReader *reader, const PrintCorrection &correction)
{
    if (!writable(path, error))
        return false;
    PdfPrintTarget target(path, dpi);
    target.setLandscape();
    if (!target.begin(QStringLiteral("Casewright"))) {
        if (error)
            *error = UiText::tr("PDF ファイルを書き始められません");
        return false;
    }
    const PageDrawer draw
        = [&](LabelCanvas &canvas, PreviewPage page, int dpiX, int dpiY, int w, int h) {
              drawDocumentPage(canvas, doc, options, page, dpiX, dpiY, w, h, reader);
          };
    const QVector<int> sheets = shownSheets(options, formatOf(doc));
    for (int sheet : sheets) {
        if (sheet > 0)
            target.newPage();
        PrintPage(target, PreviewPage(sheet), draw, correction);
    }
    if (options.printDisc) {
        // The disc on a page of its own: 120 mm square and the bleed.
        const double side = kDiscDesignMm + 2.0 * options.bleedMm;
        target.usePaper(QPageLayout(QPageSize(QSizeF(side, side), QPageSize::Millimeter),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        target.newPage();
        PrintPage(target, PreviewPage::Disc, draw, correction);
    }
    if (!target.end()) {
        if (error)
            *error = UiText::tr("何も書き込まれませんでした");
        return false;
    }
    return true;
}

} // namespace cw

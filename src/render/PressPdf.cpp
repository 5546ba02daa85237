#include "render/PressPdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include "base/BookletFormat.h"
#include "base/UiText.h"
#include "canvas/QPainterCanvas.h"
#include "render/PageOutput.h"
#include "text/SafeSave.h"

namespace cw {

namespace {

QPDFObjectHandle boxArray(const PdfBox &box)
{
    QPDFObjectHandle array = QPDFObjectHandle::newArray();
    for (const QString *n : { &box.left, &box.bottom, &box.right, &box.top })
        array.appendItem(QPDFObjectHandle::newReal(n->toStdString()));
    return array;
}

bool within(const PdfBox &inner, const PdfBox &outer)
{
    return inner.left.toDouble() >= outer.left.toDouble()
        && inner.bottom.toDouble() >= outer.bottom.toDouble()
        && inner.right.toDouble() <= outer.right.toDouble()
        && inner.top.toDouble() <= outer.top.toDouble();
}

void fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
}

} // namespace

QByteArray setPdfPageBoxes(const QByteArray &pdf, const QVector<PdfPageBoxes> &boxes,
    QString *error)
{
    for (const PdfPageBoxes &b : boxes)
        if (!within(b.trim, b.bleed) || !within(b.bleed, b.media)) {
            fail(error, UiText::tr("仕上がり枠が塗り足し枠の、塗り足し枠が用紙の内側にありません"));
            return {};
        }
    try {
        QPDF file;
        file.setSuppressWarnings(true);
        file.processMemoryFile("press.pdf", pdf.constData(), size_t(pdf.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(file).getAllPages();
        if (pages.size() != size_t(boxes.size())) {
            fail(error, UiText::tr("PDF のページ数が %1 ではなく %2 です")
                            .arg(boxes.size())
                            .arg(qsizetype(pages.size())));
            return {};
        }
        for (size_t i = 0; i < pages.size(); ++i) {
            QPDFObjectHandle page = pages[i].getObjectHandle();
            page.replaceKey("/MediaBox", boxArray(boxes[qsizetype(i)].media));
            page.replaceKey("/TrimBox", boxArray(boxes[qsizetype(i)].trim));
            page.replaceKey("/BleedBox", boxArray(boxes[qsizetype(i)].bleed));
        }
        QPDFWriter writer(file);
        writer.setOutputMemory();
        // The pictures and fonts go through as Qt wrote them.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
        std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()),
            qsizetype(out->getSize()));
    } catch (const std::exception &e) {
        fail(error, UiText::tr("PDF の枠を設定できません: %1").arg(QString::fromUtf8(e.what())));
        return {};
    }
}

bool savePdfWithBoxes(const QString &path, const QByteArray &pdf,
    const QVector<PdfPageBoxes> &boxes, QString *error)
{
    const QByteArray bytes = setPdfPageBoxes(pdf, boxes, error);
    if (bytes.isEmpty())
        return false;
    if (!saveFileSafely(path, bytes)) {
        fail(error, UiText::tr("何も書き込まれませんでした"));
        return false;
    }
    return true;
}

bool ExportPressPdf(LabelDocument &doc, const PrintOptions &options, const QString &path, int dpi,
    QString *error, PictureFileReader *reader, bool imposed)
{
    // A path that cannot be written is reported before anything is drawn.
    if (!fileCanBeSaved(path)) {
        fail(error, UiText::tr("ファイルに書き込めません"));
        return false;
    }
    const CaseFormat &format = formatOf(doc);
    QVector<PdfPageBoxes> boxes;
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Casewright"));
        writer.setCreator(QStringLiteral("Casewright"));
        writer.setResolution(dpi);
        std::unique_ptr<QPainterCanvas> canvas;
        // Each page with the format its sheet is of.
        QList<std::pair<PreviewPage, const CaseFormat *>> pages;
        const bool reading = doc.bookletPages > 2 && !imposed && format.frontSheets > 1;
        if (reading) {
            const CaseFormat &pagesAlone
                = bookletReadingFormat(caseFormatOf(doc), doc.bookletPages);
            for (int i = 0; i < pagesAlone.sheets.size(); ++i)
                pages.append({ PreviewPage(i), &pagesAlone });
        }
        for (int i : shownSheets(options, format))
            if (!reading || i >= format.frontSheets)
                pages.append({ PreviewPage(i), &format });
        // The disc, when it is printed, on a page of its own after the case.
        if (options.printDisc)
            pages.append({ PreviewPage::Disc, &format });
        for (const auto &[sheet, sheets] : pages) {
            const PressPageLayout layout = pressPageLayout(sheet, dpi, options.bleedMm, *sheets);
            boxes.append(pdfPageBoxes(layout));
            // The layout's page is a whole number of points: the writer's
            // page is exactly the one drawn on.
            const QSize points(layout.page.width() * 72 / dpi, layout.page.height() * 72 / dpi);
            writer.setPageLayout(QPageLayout(QPageSize(points, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            if (!canvas) {
                canvas = std::make_unique<QPainterCanvas>(&writer, dpi, dpi);
                if (!canvas->painter()->isActive()) {
                    fail(error, UiText::tr("PDF ファイルを書き始められません"));
                    return false;
                }
            } else {
                writer.newPage();
            }
            drawDocumentPage(*canvas, doc, options, sheet, dpi, dpi, layout.page.width(),
                layout.page.height(), reader, sheets);
        }
    }
    file.close();
    if (file.data().isEmpty()) {
        fail(error, UiText::tr("何も書き込まれませんでした"));
        return false;
    }
    return savePdfWithBoxes(path, file.data(), boxes, error);
}

} // namespace cw

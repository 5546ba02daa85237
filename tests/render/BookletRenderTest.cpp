// A booklet's sides and pages as they are drawn, printed and given to a
// print shop.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "RenderTestSupport.h"
#include "base/BookletFormat.h"
#include "document/DocumentEditor.h"
#include "render/PageOutput.h"
#include "render/PressPdf.h"
#include "render/PreviewState.h"
#include "render/PrintDocument.h"

using namespace cw;

namespace {

// Page k's background: a colour of its own.
ColorRef pageColour(int page)
{
    return ColorRef(0x00102030u + 0x00080402u * unsigned(page));
}

QRgb rgbOf(ColorRef c)
{
    return qRgb(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)) & 0xffffff;
}

// A booklet whose every page, the cover and the inside face too, has its
// own colour.
struct Booklet
{
    explicit Booklet(int pages)
        : doc(emptyDocument(300))
        , ed(doc)
    {
        EXPECT_FALSE(ed.setBookletPages(pages).isEmpty());
        doc.top.backgroundColor1 = pageColour(1);
        doc.top.backgroundColor2 = pageColour(pages);
        for (int page = 2; page < pages; ++page)
            EXPECT_FALSE(ed.setPageBackground(page, pageColour(page)).isEmpty());
    }
    LabelDocument doc;
    DocumentEditor ed;
};

QRgb centreOf(const QImage &image, const PanelPixels &p)
{
    return image.pixel((p.left + p.right) / 2, (p.top + p.bottom) / 2) & 0xffffff;
}

int pdfPages(const QString &path)
{
    QPDF file;
    file.processFile(path.toLocal8Bit().constData());
    return int(QPDFPageDocumentHelper(file).getAllPages().size());
}

} // namespace

TEST(BookletRender, EachSideShowsItsTwoPagesAndEachPageDrawsAlone)
{
    Booklet b(8);
    const CaseFormat &format = formatOf(b.doc);
    const int dpi = 100;
    const QSize size = PreviewState::pageSizeAt(dpi, dpi, format);
    const int spreads[4][2] = { { 8, 1 }, { 2, 7 }, { 6, 3 }, { 4, 5 } };
    for (int side = 0; side < 4; ++side) {
        const QImage image = renderPageImage(
            b.doc, optionsOff(), PreviewPage(side), dpi, dpi, size.width(), size.height());
        const SheetGeometry g
            = computeSheetGeometry(format.sheets[side], dpi, dpi, size.width(), size.height());
        for (int half = 0; half < 2; ++half)
            EXPECT_EQ(centreOf(image, g.panels[half]),
                rgbOf(pageColour(spreads[side][half])))
                << side << " " << half;
    }
    const CaseFormat &pages = bookletReadingFormat(caseFormatOf(b.doc), 8);
    for (int page = 1; page <= 8; ++page) {
        const QImage image = renderPageImage(b.doc, optionsOff(), PreviewPage(page - 1), dpi, dpi,
            size.width(), size.height(), nullptr, &pages);
        const SheetGeometry g = computeSheetGeometry(
            pages.sheets[page - 1], dpi, dpi, size.width(), size.height());
        EXPECT_EQ(centreOf(image, g.panels[0]), rgbOf(pageColour(page))) << page;
    }

    // The sides print with the front label's switch, the back label after them.
    PrintOptions options;
    EXPECT_EQ(printedSheets(options, format), QVector<int>({ 0, 1, 2, 3, 4 }));
    options.printFront = false;
    EXPECT_EQ(printedSheets(options, format), QVector<int>({ 4 }));
}

TEST(BookletRender, APrintShopGetsThePagesInReadingOrderOrTheSidesImposed)
{
    Booklet b(4);
    QTemporaryDir dir;
    const QString path = dir.filePath("press.pdf");
    QString error;
    ASSERT_TRUE(ExportPressPdf(b.doc, optionsOff(), path, 300, &error)) << error.toStdString();
    EXPECT_EQ(pdfPages(path), 4 + 1); // each page, then the back label
    ASSERT_TRUE(ExportPressPdf(b.doc, optionsOff(), path, 300, &error, nullptr, true))
        << error.toStdString();
    EXPECT_EQ(pdfPages(path), 2 + 1); // the sheet's two sides, then the back label
    // The plain insert keeps its sheets.
    b.ed.setBookletPages(2);
    ASSERT_TRUE(ExportPressPdf(b.doc, optionsOff(), path, 300, &error)) << error.toStdString();
    EXPECT_EQ(pdfPages(path), 2);
}

// An inner page's picture is drawn on its page and bleeds past the page's
// outer edges, never across the fold.
TEST(BookletRender, APagesPictureCoversItsPageAndBleedsAtItsOuterEdgesOnly)
{
    QTemporaryDir dir;
    Booklet b(8);
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(blue.save(dir.filePath("blue.bmp")));
    const PictureSlot page3 = PictureSlot::ofPage(3);
    b.ed.setPictureUse(page3, true);
    b.ed.loadSurfacePicture(page3, dir.filePath("blue.bmp"));

    const CaseFormat &format = formatOf(b.doc);
    const int dpi = 100;
    const QSize size = PreviewState::pageSizeAt(dpi, dpi, format);
    ASSERT_EQ(format.sheets[2].panels[1].page, 3); // [6|3]
    const SheetGeometry g
        = computeSheetGeometry(format.sheets[2], dpi, dpi, size.width(), size.height());
    const PanelPixels &p3 = g.panels[1], &p6 = g.panels[0];
    const int midX = (p3.left + p3.right) / 2, midY = (p3.top + p3.bottom) / 2;
    auto side = [&](int bleedMm) {
        PrintOptions options = optionsOff();
        options.bleedMm = bleedMm;
        const QImage image = renderPageImage(
            b.doc, options, PreviewPage(2), dpi, dpi, size.width(), size.height());
        // The centres of pages 3 and 6, beyond page 3's right and bottom
        // trims (3 mm is 11 pixels) and beside the fold on page 6.
        QList<QRgb> at;
        for (QPoint p : { QPoint(midX, midY), QPoint((p6.left + p6.right) / 2, midY),
                 QPoint(p3.trimRight + 5, midY), QPoint(midX, p3.trimBottom + 5),
                 QPoint(p6.right - 2, midY) })
            at << (image.pixel(p) & 0xffffff);
        return at;
    };
    const QRgb pictureBlue = 0x0000ff, six = rgbOf(pageColour(6));
    EXPECT_EQ(side(3), QList<QRgb>({ pictureBlue, six, pictureBlue, pictureBlue, six }));
    EXPECT_EQ(side(0), QList<QRgb>({ pictureBlue, six, 0xffffff, 0xffffff, six }));
}

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

#include "render/PressLayout.h"

#include <numeric>

#include "base/Units.h"
#include "render/Geometry.h"

namespace cw {

using namespace geom;

QSizeF sheetTrimMm(PreviewPage page, const CaseFormat &format)
{
    if (page == PreviewPage::Disc)
        return QSizeF(kDiscDesignMm, kDiscDesignMm);
    const CaseSheet &sheet = format.sheets.at(int(page));
    return QSizeF(sheet.widthMm, sheet.heightMm);
}

namespace {

// Where the renderer draws the sheet on a page of width x height pixels: its
// first to its last pixel, which is where its trim marks stand.
QRect drawnSheet(const CaseSheet &sheet, int dpi, int width, int height)
{
    const SheetGeometry g = computeSheetGeometry(sheet, dpi, dpi, width, height);
    return QRect(QPoint(g.L, g.T), QPoint(g.R, g.B));
}

// The smallest whole number of points at or above `pixels`, in pixels.
int upToWholePoints(int pixels, int dpi)
{
    const int step = dpi / std::gcd(dpi, 72);
    return (pixels + step - 1) / step * step;
}

} // namespace

PressPageLayout pressPageLayout(PreviewPage page, int dpi, int bleedMm, const CaseFormat &format)
{
    const PageScale s = pageScale(dpi, dpi);
    const QSizeF trimMm = sheetTrimMm(page, format);
    const int marginX = mmToPixels(kPressMarkMarginMm, s.kx);
    const int marginY = mmToPixels(kPressMarkMarginMm, s.ky);
    PressPageLayout l;
    l.dpi = dpi;
    l.page = QSize(upToWholePoints(mmToPixels(trimMm.width(), s.kx) + 2 * marginX, dpi),
        upToWholePoints(mmToPixels(trimMm.height(), s.ky) + 2 * marginY, dpi));
    if (page == PreviewPage::Disc) {
        // The disc's square, centred on the page as the disc is drawn.
        l.trim = QRect(l.page.width() / 2 - mmToPixels(kDiscDesignMm / 2, s.kx),
            l.page.height() / 2 - mmToPixels(kDiscDesignMm / 2, s.ky),
            mmToPixels(kDiscDesignMm, s.kx), mmToPixels(kDiscDesignMm, s.ky));
    } else {
        l.trim = drawnSheet(format.sheets.at(int(page)), dpi, l.page.width(), l.page.height());
    }
    const int bx = bleedMm > 0 ? mmToPixels(bleedMm, s.kx) : 0;
    const int by = bleedMm > 0 ? mmToPixels(bleedMm, s.ky) : 0;
    l.bleed = l.trim.adjusted(-bx, -by, bx, by);
    return l;
}

QString pdfPoints(long long pixels, int dpi)
{
    // Ten-thousandths of a point, rounded half away from zero.
    const bool negative = pixels < 0;
    const long long magnitude = negative ? -pixels : pixels;
    const long long tenThousandths = (magnitude * 72 * 10000 * 2 + dpi) / (2LL * dpi);
    QString text = QString::number(tenThousandths / 10000);
    long long fraction = tenThousandths % 10000;
    if (fraction != 0) {
        int places = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        text += QLatin1Char('.') + QStringLiteral("%1").arg(fraction, places, 10, QLatin1Char('0'));
    }
    return negative && tenThousandths != 0 ? QLatin1Char('-') + text : text;
}

QString PdfBox::text() const
{
    return QStringLiteral("[%1 %2 %3 %4]").arg(left, bottom, right, top);
}

PdfBox pdfBox(const QRect &pixels, int pageHeight, int dpi)
{
    // QRect's right() and bottom() are its last pixels: the box runs to the
    // far edges of those.
    return { pdfPoints(pixels.left(), dpi), pdfPoints(pageHeight - (pixels.bottom() + 1), dpi),
        pdfPoints(pixels.right() + 1, dpi), pdfPoints(pageHeight - pixels.top(), dpi) };
}

PdfPageBoxes pdfPageBoxes(const PressPageLayout &layout)
{
    const int h = layout.page.height();
    return { pdfBox(QRect(QPoint(0, 0), layout.page), h, layout.dpi),
        pdfBox(layout.trim, h, layout.dpi), pdfBox(layout.bleed, h, layout.dpi) };
}

} // namespace cw

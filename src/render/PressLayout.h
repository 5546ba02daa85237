#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include "base/CaseFormat.h"
#include "base/PreviewPage.h"

namespace cw {

// The page of a PDF for a print shop: one sheet, its bleed on every side and
// its trim marks, which the renderers draw from 5 to 15 mm outside the trim,
// on a page whose size is a whole number of points, so that the page the PDF
// writer makes is exactly the page drawn on.

// How far the page reaches past the trim on every side (at least): the marks
// end 15 mm out, and the paper runs on beyond them.
constexpr double kPressMarkMarginMm = 18.0;

// The trim size in millimetres of sheet `page` of a case format (the jewel
// case's: the front sheet, inside face and cover, and the back sheet, back
// label between its spines). The disc's page (PreviewPage::Disc) has the
// disc's 120 mm square as its trim.
QSizeF sheetTrimMm(PreviewPage page, const CaseFormat &format = jewelCaseFormat());

// A sheet's page in device pixels at `dpi` (y downward): the whole page (the
// PDF's media), where the sheet is drawn on it (the trim) and the trim grown
// by the bleed.
struct PressPageLayout
{
    int dpi = 0;
    QSize page;
    QRect trim;
    QRect bleed;
};

// The layout of `page` at `dpi` with a bleed of `bleedMm` (0: the bleed box
// is the trim). The page is the trim plus the margin on both sides in whole
// pixels, made up to a whole number of points; the trim is where the
// renderer puts the sheet on that page.
PressPageLayout pressPageLayout(
    PreviewPage page, int dpi, int bleedMm, const CaseFormat &format = jewelCaseFormat());

// A box in PDF points (origin at the page's bottom left, y upward), each
// number as the PDF file writes it: `pixels * 72 / dpi` in decimals, exact
// when it ends within four places, else rounded to four.
struct PdfBox
{
    QString left, bottom, right, top;
    QString text() const; // "[left bottom right top]"
    bool operator==(const PdfBox &) const = default;
};

// `pixels` * 72 / `dpi` as a PDF number: see PdfBox.
QString pdfPoints(long long pixels, int dpi);

// A rectangle of device pixels (y downward) on a page `pageHeight` pixels
// high, in PDF points.
PdfBox pdfBox(const QRect &pixels, int pageHeight, int dpi);

// The three boxes of one page of the file.
struct PdfPageBoxes
{
    PdfBox media, trim, bleed;
};
PdfPageBoxes pdfPageBoxes(const PressPageLayout &layout);

} // namespace cw

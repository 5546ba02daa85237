#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QPointF>
#include <QString>
#include <QVector>
#include <optional>

namespace cw {

// What a disc face is printed on: a sheet of round labels, or a printable
// disc in a printer's disc tray.

// A label-sheet product: where the disc labels lie on its paper. The
// products are read from the label-sheet table (data/label-sheets.json,
// compiled into the program); a sheet the user describes has the id "custom".
struct LabelSheetProduct
{
    QString id; // "avery-l6015", ...; "custom" for the user's own sheet
    QString name; // the product name as the table gives it; for custom, "カスタム" shown
    QString paper; // "A4" or "Letter"
    double widthMm = 0, heightMm = 0; // the paper: A4 210 x 297, Letter 215.9 x 279.4
    double outerMm = 0, holeMm = 0; // the label's outer and hole diameters
    // Label centres from the paper's top-left corner, label 1, 2, ... in order.
    QVector<QPointF> centresMm;
};

// A sheet holds at least one and at most this many labels.
constexpr int kMaxSheetLabels = 8;
// The id of the user's own sheet.
constexpr QLatin1String kCustomSheetId("custom");

// The paper a sheet names: its size in millimetres; false for a paper other
// than "A4" and "Letter".
bool labelSheetPaperSize(const QString &paper, double *widthMm, double *heightMm);

// Reads the product table. Returns the products in table order, or an empty
// list and a message in `error` when the table is malformed: a missing
// field, an unknown paper, a hole not smaller than the label, a label not
// wholly on the paper, no labels or more than kMaxSheetLabels, a repeated id.
QVector<LabelSheetProduct> parseLabelSheets(const QByteArray &json, QString *error);
// The program's products, in table order.
const QVector<LabelSheetProduct> &labelSheets();
// The product with an id; nullptr when there is none.
const LabelSheetProduct *findLabelSheet(const QString &id);

// What the disc is printed on.
enum class DiscStockKind { LabelSheet = 0, PrintableDisc = 1 };

// The printable disc's outer diameter in tenths of a millimetre, and the hub
// diameters offered (millimetres).
constexpr int kPrintableOuterMinTenths = 1160, kPrintableOuterMaxTenths = 1200;
constexpr int kPrintableOuterDefaultTenths = 1180;
constexpr int kPrintableHubsMm[] = { 43, 22, 16 };

struct DiscStock
{
    DiscStockKind kind = DiscStockKind::LabelSheet;
    QString sheetId = QStringLiteral("avery-l6015"); // a product id or "custom"
    unsigned labels = ~0u; // bit i set: label i+1 of the sheet is printed (all by default)
    int printableOuterTenths = kPrintableOuterDefaultTenths; // 1160..1200 (116.0..120.0 mm)
    int hubMm = 43; // the printable disc's hub diameter: 43, 22 or 16
    bool operator==(const DiscStock &) const = default;
};

// The ring the disc face is drawn in, in millimetres.
struct DiscRing
{
    double outerMm = 0, holeMm = 0;
    bool operator==(const DiscRing &) const = default;
};

// The ring of a stock: its sheet's diameters (`custom`'s for the custom
// sheet), or the printable disc's outer and hub diameters. An unknown sheet
// id falls back to the first product.
DiscRing discRingOf(const DiscStock &stock, const LabelSheetProduct &custom);
// The sheet a stock names: `custom` for "custom", the first product for an
// unknown id.
const LabelSheetProduct &stockSheet(const DiscStock &stock, const LabelSheetProduct &custom);
// The 1-based numbers of the labels a stock prints on `sheet`, in order;
// bits beyond the sheet's labels are ignored.
QVector<int> printedLabels(const DiscStock &stock, const LabelSheetProduct &sheet);
// "1,2" -> the mask of labels 1 and 2. nullopt, with a message in `message`,
// for an empty list, a number outside 1..count or anything but numbers
// separated by commas.
std::optional<unsigned> parseLabelList(const QString &text, int count, QString *message);

} // namespace cw

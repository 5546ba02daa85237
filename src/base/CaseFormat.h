#pragma once

#include <QString>
#include <QVector>

#include "base/Surface.h"

namespace cw {

// A case format: the sheets a case is made of and the panels printed on
// them, read from the format table (data/case-formats.json, compiled into
// the program). Every case dimension comes from that table.

// What the user designs on a panel. A blank panel has no surface: nothing
// is designed or drawn on it but the sheet's frame and folds (the reverse of
// a back panel that no one sees). Blank is the one role a format may repeat.
// A page is an inner page of a booklet (see base/BookletFormat.h): the table
// never names it; a booklet's sheets are built from the format's front sheet.
enum class PanelRole { Cover, Inside, Back, SpineLeft, SpineRight, Blank, Page };
// A panel's outline: its rectangle, or a disc inscribed in it with a hole.
enum class PanelShape { Rectangle, Disc };
// The direction a panel's title runs: across a face, or along a spine
// upward (unless both spines are to read the same way) or downward.
enum class TitleRun { Across, Up, Down };
// Where an inline title is placed across its panel: inside the panel's own
// edges, or between the fold lines on both its sides.
enum class TitleInset { Edges, Folds };

// The edges of a panel that are outer trim edges of its sheet: a picture or
// a background bleeds past them. The others are folds or joins.
struct PanelEdges
{
    bool left = false, top = false, right = false, bottom = false;
    bool operator==(const PanelEdges &) const = default;
};

struct CasePanel
{
    QString id;
    PanelRole role = PanelRole::Cover;
    // The panel's rectangle on its sheet, in millimetres from the sheet's
    // top-left corner.
    double xMm = 0, yMm = 0, widthMm = 0, heightMm = 0;
    PanelShape shape = PanelShape::Rectangle;
    double holeMm = 0; // a disc's hole diameter
    PanelEdges outer;
    TitleRun titleRun = TitleRun::Across;
    TitleInset titleInset = TitleInset::Edges;
    // Along a spine, the title's cell is the spine's width less 2 mm; a wide
    // spine may cap it at this many millimetres, centred across the spine
    // (0: no cap).
    double titleCellMaxMm = 0;
    // A panel's picture or title may follow another panel's: it is not
    // printed while the one it follows is switched off. Empty: follows none.
    QString pictureFollows;
    QStringList titleFollows;
    // The track list on this panel: which of the document's list layouts it
    // uses (-1: none) and its printable size in whole millimetres.
    int listIndex = -1;
    int listWidthMm = 0, listHeightMm = 0;
    // A booklet's page panel: its page number (1: the cover); 0 elsewhere.
    int page = 0;
};

struct CaseSheet
{
    QString id;
    double widthMm = 0, heightMm = 0;
    // How the sheet's block is centred on a page: by the sum of its panels'
    // pixel widths, or by the sheet's own width in pixels.
    bool centreBySheet = false;
    // Whether the block's right edge is its last pixel or the pixel beyond.
    bool rightEdgeBeyond = false;
    // Whether the trim marks are always drawn whole, 5 to 15 mm outside the
    // trim, so that paper without room for them is refused ("marks": "whole").
    // Otherwise ("fit", the default) a sheet on paper with less room than
    // that has its marks shortened to the room left (see sheetMarks).
    bool wholeMarks = false;
    // A sheet printed only while the inside face is printed ("printedWhen":
    // "inside"): the reverse of the first sheet, of its size and placed on
    // the page where it is, so that the two line up back to back.
    bool printedWithInside = false;
    QVector<CasePanel> panels; // in drawing order
};

// The sizes of a case the user measures, in tenths of a millimetre: the
// width of each face panel, the height of the wrap and the spine's width
// between the faces (0: no spine, one fold).
struct CaseSize
{
    int panelWidth = 0, panelHeight = 0, spineWidth = 0;
    bool operator==(const CaseSize &) const = default;
};
// What the user may type, in tenths of a millimetre.
constexpr int kCasePanelMinTenths = 200, kCasePanelMaxTenths = 3000; // 20.0 .. 300.0 mm
constexpr int kCaseSpineMinTenths = 0, kCaseSpineMaxTenths = 600; // 0.0 .. 60.0 mm
// Whether every size is within its range.
bool isValidCaseSize(const CaseSize &size);

struct CaseFormat
{
    QString id;
    QString nameJa, nameEn;
    // A format whose sizes the user types ("custom": true in the table): the
    // table's entry is drawn at `size`, its own sizes, which a document's
    // sizes replace (customCaseFormat()).
    bool custom = false;
    CaseSize size;
    QVector<CaseSheet> sheets;
    // The preview page, which holds any of the format's sheets.
    double previewWidthMm = 0, previewHeightMm = 0;
    // Whether the front insert may be a booklet of more than two pages
    // ("booklet": true in the table): its cover and inside panels are the
    // two halves of its front sheet.
    bool booklet = false;
    // The first sheets, printed with the front label ("表レーベルを印刷"):
    // the front sheet, or a booklet's sides; the others with the back.
    int frontSheets = 1;

    // The name in the interface language (Japanese unless English is on).
    QString name() const;
    // The panel with a role, or nullptr when the format has none.
    const CasePanel *panel(PanelRole role) const;
    // The panel holding list layout `index`, or nullptr.
    const CasePanel *listPanel(int index) const;
    // The index of the sheet that holds a role's panel, or -1.
    int sheetOf(PanelRole role) const;
    // The index of the sheet with an id, or -1 when the format has none.
    int sheetIndex(const QString &id) const;
    // The sheet ids, in order.
    QStringList sheetIds() const;
    // Whether the format prints a surface of the document.
    bool hasSurface(Surface s) const;
    // Whether the format has a sheet printed only with the inside face.
    bool hasInsideSheet() const;
};

// The role that designs a surface's own content (Top: the cover face).
PanelRole surfaceRole(Surface s);
// The document surface a panel belongs to (the inside face belongs to Top;
// a blank panel belongs to none, and Top is returned).
Surface panelSurface(PanelRole role);
// The role's name in the format table: "cover", "inside", "back",
// "spine-left", "spine-right", "blank".
QString panelRoleName(PanelRole role);

// Reads a format table. Returns the formats, or an empty list with a message
// in `error` when the table is malformed or inconsistent.
QVector<CaseFormat> parseCaseFormats(const QByteArray &json, QString *error);

// The program's formats, in table order (the jewel case first).
const QVector<CaseFormat> &caseFormats();
// The format with an id, or nullptr when there is none.
const CaseFormat *findCaseFormat(const QString &id);
// The CD jewel case ("cd-jewel"), the default format.
const CaseFormat &jewelCaseFormat();
// The format ids, in table order.
QStringList caseFormatIds();

// A custom entry drawn at other sizes: every x edge of every sheet maps from
// the entry's own sizes (0, P0, P0+S0, 2P0+S0) to the new ones (0, P, P+S,
// 2P+S) and every height becomes H; a panel left without width (a spine of
// 0.0 mm) is dropped with the links to it. A list holds P-2 x H-2.5 whole
// millimetres; the preview page is the sheet's width + 36 by H + 40. Sizes
// out of range are brought into it. The result is built once per entry and
// sizes and kept for the run, so the reference stays valid.
const CaseFormat &customCaseFormat(const CaseFormat &entry, const CaseSize &size);
// The sizes a new document has for a custom case: the first custom entry's,
// or zeros when the table has none.
CaseSize defaultCaseSize();

} // namespace cw

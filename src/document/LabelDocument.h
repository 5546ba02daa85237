#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QVector>
#include <QString>
#include <array>
#include <optional>

#include "base/CaseFormat.h"
#include "base/Printer.h"
#include "base/Surface.h"
#include "document/TPrintsData.h"
#include "fonts/Font.h"
#include "pictures/RenderCache.h"
#include "tracklist/TListData.h"

namespace cw {

// Where a title stands on its surface (on a spine: along it). The file stores
// the number.
enum class TitlePosition { Top = 0, Centre = 1, Bottom = 2, Custom = 3 };
// The size action last chosen for a picture (not stored in the file).
enum class PictureSizing { FitWidth = 0, FitHeight = 1, Custom = 2 };
// The align action last chosen for a picture (not stored in the file): each
// of the first six sets one coordinate.
enum class PictureAlignment {
    Left = 0,
    CentreAcross = 1,
    Right = 2,
    Top = 3,
    CentreDown = 4,
    Bottom = 5,
    Custom = 6
};
// The values of the numbers a file stores and the windows' lists choose.
// A title position out of range is brought into it (below 0: Top, above 3:
// Custom); a sizing or alignment out of range stands for none.
TitlePosition titlePositionFrom(int number);
// The direction a spine's title runs as the document keeps it: the case's
// own (the file's 0), top to bottom (1) or bottom to top (2). The window's
// list offers the last two.
enum class SpineText { CaseOwn = 0, TopToBottom = 1, BottomToTop = 2 };
// The stored number's direction; nullopt outside 0..2.
std::optional<SpineText> spineTextFrom(int number);
std::optional<PictureSizing> pictureSizingFrom(int number);
std::optional<PictureAlignment> pictureAlignmentFrom(int number);

// A label's title (Top, Bottom) has a custom position, a spine's (Left,
// Right) an offset along the spine.
constexpr bool hasCustomTitlePosition(Surface s)
{
    return s == Surface::Top || s == Surface::Bottom;
}
constexpr bool hasTitleOffset(Surface s)
{
    return s == Surface::Left || s == Surface::Right;
}

// Where a disc text stands and its arc (DiscTextPlace, ArcPlacement) are in
// document/TPrintsData.h, which free-print items share.
std::optional<DiscTextPlace> discTextPlaceFrom(int number);

struct TitleSettings
{
    bool use = false;
    QString text;
    TitlePosition posMode = TitlePosition::Centre;
    bool customXUse = false; // Top, Bottom
    int customX = 0;
    bool customYUse = false;
    int customY = 0;
    int offset = 0; // Left, Right: mm along the spine, 0..maxSpineOffset()
    FontSpec font = defaultFont();
    ArcPlacement arc; // Disc
};

struct PicturePlacement
{
    bool use = false;
    QString fileName;
    QImage bitmap; // decoded picture, or the part of it in sourceRect
    int bitmapReduction = 1; // bitmap's pixels are the file's reduced by this
    int pixelWidth = 0;
    int pixelHeight = 0;
    PixelRect sourceRect;
    StretchedPicture stretched; // sourceRect's part at the size last drawn
    BleedPart bleed; // the pixels a bleed shows beyond the trim
    int printWidth = 0; // reference pixels
    int printHeight = 0;
    int posX = 0;
    int posY = 0;
    PictureSizing sizeMode = PictureSizing::Custom;
    PictureAlignment alignMode = PictureAlignment::Custom;
    bool keepAspect = true;
};

struct SurfaceSettings
{
    TitleSettings title;
    PicturePlacement picture;
    ColorRef backgroundColor1 = kWhite;
    ColorRef backgroundColor2 = kWhite; // Top only: the inside face
    bool useList = false; // Top, Bottom, Disc
    bool useCoverPrints = false; // Top
    bool useInsidePrints = false; // Top
    bool usePrints = false; // Bottom, Disc
    bool titleSameAsFront = false; // Bottom, Left, Right
    bool titleSameAsLeft = false; // Right
    bool pictureSameAsFront = false; // Bottom
    bool pictureSameAsLeft = false; // Right
    SpineText spineText = SpineText::CaseOwn; // Left, Right
    TitleSettings subtitle; // Disc: the second text, on the bottom arc by default
};

// The disc face's two texts.
enum class DiscText { Title = 0, Subtitle = 1 };

// An inner page of a booklet (pages 2 … N-1 of N; page 1 is the cover face
// and page N the inside face): its background, its picture, its free prints
// and its own track list.
struct BookletPage
{
    ColorRef background = kWhite;
    // Placed on the page as the cover's picture is on its face, in the
    // reference pixels of a face.
    PicturePlacement picture;
    bool usePrints = false;
    QList<TPrintsData> prints;
    bool useList = false;
    ListLayout listLayout = defaultListLayout(0);
};
// Whether a page holds anything a new page does not.
bool pageHasContent(const BookletPage &page);

// Everything that describes one jewel case.
struct LabelDocument
{
    QString fileName;
    // The case format's id (see base/CaseFormat.h); always one the program
    // knows: the reader refuses any other.
    QString caseFormat = QStringLiteral("cd-jewel");
    // The sizes of a custom case (tenths of a millimetre), which formatOf()
    // draws the custom format at. Kept while another case is chosen, so that
    // choosing the custom case again brings them back; written only for it.
    CaseSize caseSize = defaultCaseSize();
    // The track list's layouts: the front's, the back's and the disc face's.
    std::array<ListLayout, 3> listLayout
        = { defaultListLayout(0), defaultListLayout(1), defaultListLayout(2) };
    int dpiX = 300;
    int dpiY = 300;
    SurfacePixels surfacePixels; // not stored; follows dpiX/dpiY
    SurfaceSettings top;
    SurfaceSettings bottom;
    SurfaceSettings left;
    SurfaceSettings right;
    SurfaceSettings disc; // the disc face, printed with "ディスクレーベル印刷"
    QList<TListData> listRows;
    QList<TPrintsData> coverPrints;
    QList<TPrintsData> insidePrints;
    QList<TPrintsData> backPrints;
    QList<TPrintsData> discPrints; // the disc face's free prints
    // The front insert's page count: 2 (the two faces) or, for a case that
    // may have a booklet, 4, 8, 12 or 16; and the pages between the cover
    // and the inside face (pages[0] is page 2), bookletPages - 2 of them.
    int bookletPages = 2;
    QList<BookletPage> pages;
    // Picture names as the file that was read stored them, keyed by the path
    // the picture was found at (a name relative to the document, or a folder
    // that does not exist here). Saving writes the stored name back, so that
    // opening and saving a document does not rewrite its picture lines.
    QHash<QString, QString> pictureNamesAsStored;

    LabelDocument();

    SurfaceSettings &surface(Surface s);
    const SurfaceSettings &surface(Surface s) const;
    TitleSettings &discText(DiscText which);
    const TitleSettings &discText(DiscText which) const;
};

// Where a picture is placed: a surface's own picture, or the picture of a
// booklet's inner page (2 … N-1). The picture operations take either; a
// surface stands for its picture where a slot is asked for.
struct PictureSlot
{
    Surface surface = Surface::Top; // a page's size is the cover face's
    int page = 0; // the inner page, or 0 for the surface's own picture

    constexpr PictureSlot(Surface s) : surface(s) { }
    static constexpr PictureSlot ofPage(int page)
    {
        PictureSlot slot(Surface::Top);
        slot.page = page;
        return slot;
    }
    constexpr bool isPage() const { return page > 0; }
    friend constexpr bool operator==(const PictureSlot &, const PictureSlot &) = default;
};
// The picture a slot names; null for a page the booklet lacks.
PicturePlacement *pictureAt(LabelDocument &doc, PictureSlot slot);
const PicturePlacement *pictureAt(const LabelDocument &doc, PictureSlot slot);
// Whether two placements are the same in everything a file or an undo step
// keeps (the decoded pixels and caches aside).
bool samePicturePlacement(const PicturePlacement &a, const PicturePlacement &b);

// Whether two surfaces' settings are the same in everything a file or an
// undo step keeps (a picture's decoded pixels and caches aside).
bool sameSurfaceSettings(const SurfaceSettings &a, const SurfaceSettings &b);

// Whether the document has anything on its disc face: it differs there from
// a new document. Only such a document keeps a disc section in its file.
bool usesDiscFace(const LabelDocument &doc);

// The document's case format; the jewel case for an id the program does
// not know. A custom case is drawn at the document's caseSize, and a booklet
// of more than two pages on its sides (bookletCaseFormat).
const CaseFormat &formatOf(const LabelDocument &doc);
// The format of the document's case itself, without its booklet's sides.
const CaseFormat &caseFormatOf(const LabelDocument &doc);

// value * newDpi / oldDpi with multiplication first and truncation toward
// zero, computed in 64 bits so that large values cannot overflow; an old
// resolution of 0 leaves the value as it is.
int rescaleValue(int value, int oldDpi, int newDpi);

// Copies the printer's resolution into the document and computes the surface
// sizes. Device-pixel values are not converted.
void ComputeSurfacePixels(LabelDocument &doc, const PrinterState &state = printerState());

// Where the disc face is printed, as the stock chosen lays it out: its
// ring, its paper and the centres of the labels printed on it (millimetres
// from the paper's top-left corner). A printable disc is a page of the
// disc's size with its one centre in the middle. By default: the first
// sheet of the program's label-sheet table, every label printed.
struct DiscLayout
{
    DiscLayout();
    double outerMm = 0, holeMm = 0;
    double paperWidthMm = 0, paperHeightMm = 0;
    QVector<QPointF> centresMm;
    bool printableDisc = false;
    // The outer and hole circles drawn as a thin guide (the preview's; off
    // for prints and files unless asked for).
    bool guides = false;
};

// Print switches kept per user, not in the document.
struct PrintOptions
{
    bool printFront = true; // TopLabelPrint
    bool printBack = true; // BottomLabelPrint
    bool boundaryLines = true; // AreaLinePrint
    bool foldLines = true; // CutLinePrint
    bool spinesSameDirection = false; // SideTitleSameTop
    // The reverse of a wrap ("内側も印刷"): the format's inside sheet is
    // printed, previewed and exported only while this is on.
    bool printInside = false; // InsidePrint
    // The disc face ("ディスクレーベル印刷"): printed on the disc stock
    // chosen, previewed and exported only while this is on.
    bool printDisc = false; // DiscLabelPrint
    DiscLayout disc;
    // Millimetres (0..3) by which backgrounds and surface pictures that reach
    // an outer trim edge continue past it ("Bleed"). 0: none.
    int bleedMm = 0;
    // How a booklet's sides are printed on both sides of its sheets
    // ("両面印刷"): by the printer's duplex unit (false), or by hand (true):
    // every front, then the user turns the stack and puts it back, then
    // every back.
    bool manualDuplex = false; // BookletManualDuplex
};

// The direction a spine panel's title runs, top to bottom or bottom to top:
// the one chosen for it, or else the panel's own run, where an upward title
// reads downward when both spines are to read the same way.
SpineText spineTextRun(const CasePanel &panel, SpineText chosen, const PrintOptions &options);
// The direction the title of the spine surface `s` runs in the document's
// case (see spineTextRun); for a spine the case lacks, as it would run on the
// jewel case, where its kept values come back. nullopt for a surface that is
// not a spine.
std::optional<SpineText> shownSpineText(
    const LabelDocument &doc, Surface s, const PrintOptions &options);

} // namespace cw

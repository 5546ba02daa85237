#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "base/UserPrompts.h"
#include "document/LabelDocument.h"

namespace cw {

// The picture placement of the surfaces and of a booklet's inner pages as
// operations on the document (a page's picture is placed on a face's size and
// has no link).
// DocumentEditor's picture operations, which the picture panels, the
// document reader and "新規作成" use, are made of these, so a value set from
// a file goes through the same rules as a typed one. Each operation returns
// the surfaces it changed and the preview page to refresh.

struct PlacementResult
{
    // False: the operation did nothing but what is described for it (a
    // picture that did not load).
    bool ok = true;
    // Pictures whose values changed: their panel texts are to be re-read.
    QList<PictureSlot> changed;
    // The preview page to refresh (none when empty).
    std::optional<PreviewPage> refreshPage;

    bool touches(PictureSlot s) const { return changed.contains(s); }
};

// Every text of one surface's picture panel, as shown. The millimetres are
// those of the document's reference resolution.
struct PlacementTexts
{
    QString fileName; // GraphicFileName
    QString pixelWidth, pixelHeight; // GraphicWidth, GraphicHeight: "%d"
    QString pixelWidthMm, pixelHeightMm; // GraphicPWidth, GraphicPHeight: "%.1fmm"
    QString printWidth, printHeight; // GraphicWidth2, GraphicHeight2: "%ld"
    QString printWidthMm, printHeightMm; // GraphicPWidth2, GraphicPHeight2
    QString posX, posY; // GraphicPosX, GraphicPosY
    QString posXMm, posYMm; // GraphicPPosX, GraphicPPosY
};
PlacementTexts placementTexts(const LabelDocument &doc, PictureSlot s);
// The placement a slot holds, as its panel shows it: a new placement for a
// page the booklet lacks.
const PicturePlacement &shownPlacement(const LabelDocument &doc, PictureSlot s);

// The follower of a leader surface (Top -> Bottom, Left -> Right) and the
// link flag that joins them; a leader with its link on repeats its changes
// on the follower.
bool isPictureLeader(Surface s);
bool pictureLinkOn(const LabelDocument &doc, Surface leader);

// Reference-pixel sizes of a surface (doc.surfacePixels).
int surfaceWidth(const LabelDocument &doc, Surface s);
int surfaceHeight(const LabelDocument &doc, Surface s);

// Loads a picture and gives it the default covering placement, centred. The
// file name is stored also when loading fails (then nothing else changes).
// Leaves the preview refresh to the caller (no refreshPage).
PlacementResult LoadSurfacePicture(
    LabelDocument &doc, PictureSlot s, const QString &fileName, MessageSink &messages);

// A size or position set as typed: a width or height keeps the picture's
// aspect while "縦横比固定" is on and makes the size mode "カスタム", a
// position the align mode; a linked follower takes the values.
PlacementResult setPrintWidth(LabelDocument &doc, PictureSlot s, int value);
PlacementResult setPrintHeight(LabelDocument &doc, PictureSlot s, int value);
PlacementResult setPosX(LabelDocument &doc, PictureSlot s, int value);
PlacementResult setPosY(LabelDocument &doc, PictureSlot s, int value);

// 0 "幅合わせ", 1 "高さ合わせ", 2 "カスタム".
PlacementResult applySizeMode(LabelDocument &doc, PictureSlot s, PictureSizing mode);
// The surface's size changed (another case format): a picture sized "幅合わせ"
// or "高さ合わせ" fits it again; any other keeps its size. Its position and
// a linked follower stay as they are (the follower is fitted on its own).
PlacementResult refitPicture(LabelDocument &doc, PictureSlot s);
// 0 "左寄せ", 1 "横ｾﾝﾀﾘﾝｸﾞ", 2 "右寄せ", 3 "上寄せ", 4 "縦ｾﾝﾀﾘﾝｸﾞ", 5 "下寄せ", 6 "カスタム".
PlacementResult applyAlignMode(LabelDocument &doc, PictureSlot s, PictureAlignment mode);
// "縦横比固定": stored only; the front's setting is copied to the back while
// "表と同じ" is on.
PlacementResult setKeepAspect(LabelDocument &doc, PictureSlot s, bool on);
// "表と同じ" (leader Top) or "背表紙(左)と同じ" (leader Left).
PlacementResult setPictureLink(LabelDocument &doc, Surface leader, bool on);
// "画像". A page the booklet lacks changes nothing in any operation.
PlacementResult setPictureUse(LabelDocument &doc, PictureSlot s, bool on);

} // namespace cw

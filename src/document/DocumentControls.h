#pragma once

#include <QMap>
#include <QString>

#include "document/LabelDocument.h"

namespace cw {

// The controls of the surface tabs and the options tab as the document
// decides them: which are enabled and what each shows. Control names are the
// windows' object names ("TopTitle", "RightTitleOffset", "BottomGraphicWidth2").

// Control name -> enabled.
using ControlStates = QMap<QString, bool>;

// The enabled state of every control whose state depends on the document:
// the title groups, the links, the list and free-print editor buttons and the
// picture panels. Label and unit controls without a name of their own (the
// "mm" beside an edit, "印刷位置オフセット") follow the control they belong to.
ControlStates enabledStates(const LabelDocument &doc);
// Sets the picture panel controls under `prefix` ("Top", a page's "Page")
// that follow the panel's "画像", all but the use box and the link.
void setPicturePanelStates(ControlStates &states, const QString &prefix, bool on);

// The shown value of every value control of the surface tabs, the background
// swatches, the case type (its index among caseFormats()) and a custom
// case's sizes, as text, for change detection and for tests. A spine's text
// direction shows as it runs under `options` (spineTextListIndex()).
QMap<QString, QString> controlValues(
    const LabelDocument &doc, const PrintOptions &options = PrintOptions());

// Inserts what a picture panel under `prefix` shows of `picture`: its "画像",
// its file, sizes, position, the two action lists and "縦横比固定".
void insertPictureValues(
    QMap<QString, QString> &values, const QString &prefix, const PicturePlacement &picture);

// The entry of a spine's "背文字の向き" list that shows the direction its
// title runs (shownSpineText()): 0 "上から下", 1 "下から上"; -1 for a surface
// that is not a spine.
int spineTextListIndex(const LabelDocument &doc, Surface s, const PrintOptions &options);
// The direction a list entry chooses; nullopt for no entry.
std::optional<SpineText> spineTextOfListIndex(int index);

// The object name of a surface's tab page ("BottomLabelTab"); enabledStates()
// names the tabs of the surfaces the document's case does not print as disabled.
QString surfaceTabObjectName(Surface s);

// The disc tab's controls of one of the disc's texts are named with this
// prefix: "DiscTitle", "DiscSubtitle" ("DiscTitleRadius", "DiscSubtitlePlace1").
QString discTextPrefix(DiscText which);
// An arc's radius as its field shows it: millimetres with one decimal, and
// empty for the default radius (0).
QString formatDiscRadius(int tenths);
// An arc's centre angle as its field shows it: degrees with one decimal
// ("-12.5", "0.0").
QString formatDiscAngle(int tenths);
// A typed radius: millimetres with at most one decimal within 0.0 ..
// kDiscRadiusMaxTenths; an empty text is the default radius, 0.
std::optional<int> parseDiscRadius(const QString &text);
// A typed angle: degrees with at most one decimal and an optional sign,
// within -180.0 .. 180.0; an empty text is 0.
std::optional<int> parseDiscAngle(const QString &text);
// The messages for a typed radius or angle that is none.
QString invalidDiscRadiusMessage(const QString &text);
QString invalidDiscAngleMessage(const QString &text);

// The five background swatches of the options tab.
enum class Swatch {
    TopCover, // TopLabelBGColor1, top.backgroundColor1
    TopInside, // TopLabelBGColor2, top.backgroundColor2
    Bottom, // BottomLabelBGColor
    Left, // LeftTitleBGColor
    Right, // RightTitleBGColor
    Disc // DiscBGColor, disc.backgroundColor1
};

} // namespace cw

#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace cw {

// The arithmetic of the picture open dialog's preview pane, its preview
// window and its start folder.

// a * b / c with the 64-bit product rounded to the nearest whole number
// (halves away from zero); -1 when c is 0 or the result leaves 32 bits.
int MulDiv(int a, int b, int c);

// Where the paint box draws a picture of `picture` pixels in a box of `box`
// pixels, relative to the box's top-left corner:
//   no picture (width <= 0): an empty rectangle;
//   the picture fits: unscaled, centred (offsets halved, truncated);
//   otherwise: stretched from the top-left corner to the box's width or its
//   height, whichever keeps the other side inside the box; the other side
//   by MulDiv.
QRect paintBoxTarget(QSize picture, QSize box);
// Where the text "(なし)" of `text` pixels goes when there is no picture.
QPoint paintBoxTextOrigin(QSize text, QSize box);

// The client size of the "プレビュー" window for a picture: width + 16 and
// height + 16, capped at 616 from a width of 600 and at 456 from a height
// of 440. An empty picture gives an invalid size (the window keeps its own).
QSize previewWindowClientSize(QSize picture);

// The pane's label: " (%dx%d)" for a picture, "画像:" for none.
QString pictureSizeLabel(QSize picture, bool valid);

// The folder the picture open dialog starts in: that of the picture named
// now, else that of the document, else empty (the dialog's own choice).
QString pictureStartFolder(const QString &pictureFile, const QString &documentFile);

// The colour of the picture's pixel at `pos` as 0x00BBGGRR; nothing outside
// the picture.
std::optional<quint32> pickedPixelColor(const QImage &picture, QPoint pos);

} // namespace cw

#include "render/DrawFreePrints.h"

#include "canvas/LabelCanvas.h"
#include "document/TextBlock.h"
#include "render/PageParts.h"
#include "text/TextWrap.h"

namespace cw {

namespace {

// A text block: its lines are wrapped and cut at the document's resolution,
// so that they break at the same places at every resolution; each is then
// placed in the block's box at the canvas's, clipped to the face.
void drawTextBlock(LabelCanvas &canvas, const TPrintsData &item, const FreePrintFace &face,
    const PageScale &page, const PictureScale &scale)
{
    const TextBlockLayout layout = layoutTextBlock(item, scale.dpiX, scale.dpiY);
    const int left = pageparts::truncToPixel(face.left + item.textX * page.kx);
    const int top = pageparts::truncToPixel(face.top + item.textY * page.ky);
    const int right = pageparts::truncToPixel(face.left + (item.textX + item.blockWidth) * page.kx);
    const int lineHeight = canvas.TextHeight(QString());
    for (int i = 0; i < layout.shown; ++i) {
        const QString &line = layout.lines[i];
        if (line.isEmpty())
            continue;
        const int x = alignedLineX(left, right - left, canvas.TextWidth(line), item.blockAlign);
        const int y = top + lineTop(i, lineHeight, item.lineSpacing);
        canvas.TextOutClipped(face.left, face.top, face.right, face.bottom, x, y, line);
    }
}

} // namespace

void DrawFreePrints(LabelCanvas &canvas, QList<TPrintsData> &items, const FreePrintFace &face,
    const PageScale &page, const PictureScale &scale, PictureFileReader &reader)
{
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        TPrintsData &item = items[i];
        if (face.drawApart && face.drawApart(int(i), item))
            continue;
        canvas.SetFont(item.font);
        canvas.SetBrushClear();
        // A text block is placed in millimetres as a text item is.
        const bool part = face.list >= 0;
        if (part)
            canvas.BeginPart(PagePart {
                item.kind == PrintsPicture ? PartKind::PrintPicture : PartKind::PrintText,
                face.list, int(i), QPoint(face.left, face.top) });
        if (item.kind == PrintsTextBlock) {
            drawTextBlock(canvas, item, face, page, scale);
        } else if (item.kind == 0) {
            // The face origin and the millimetre offset are added as real
            // numbers, then truncated.
            const int x = pageparts::truncToPixel(face.left + item.textX * page.kx);
            const int y = pageparts::truncToPixel(face.top + item.textY * page.ky);
            if (item.angle == 0) {
                canvas.DrawTextInRect(item.text, x, y, face.right, face.bottom,
                    LabelCanvas::HAlign::Left, LabelCanvas::VAlign::Top);
            } else {
                // Turned about its top-left reference point, clipped to the face.
                // Whole turns are dropped first so that an angle from a file
                // cannot overflow in tenths of a degree.
                canvas.SelectRotatedFont((item.angle % 360) * 10, 0);
                canvas.TextOutClipped(
                    face.left, face.top, face.right, face.bottom, x, y, item.text);
                canvas.RestoreFont();
            }
        } else if (item.kind == 1 && !item.fileName.isEmpty()) {
            DrawSurfacePicture(canvas, PictureRef::of(item), face.widthRef, face.heightRef, scale,
                face.left, face.top, reader, face.bleed);
        }
        if (part)
            canvas.EndPart();
    }
}

} // namespace cw

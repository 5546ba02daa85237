#include "render/DrawFreePrints.h"

#include "canvas/LabelCanvas.h"
#include "render/PageParts.h"

namespace cw {

void DrawFreePrints(LabelCanvas &canvas, QList<TPrintsData> &items, const FreePrintFace &face,
    const PageScale &page, const PictureScale &scale, PictureFileReader &reader)
{
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        TPrintsData &item = items[i];
        canvas.SetFont(item.font);
        canvas.SetBrushClear();
        canvas.BeginPart(PagePart { item.kind == 0 ? PartKind::PrintText : PartKind::PrintPicture,
            face.list, int(i), QPoint(face.left, face.top) });
        if (item.kind == 0) {
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
        canvas.EndPart();
    }
}

} // namespace cw

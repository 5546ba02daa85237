#include "canvas/QPainterCanvas.h"

#include "pictures/PixelMemory.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace cw {

namespace {

// Coordinates are brought within this distance of the origin before any
// arithmetic: positions read from a file may lie anywhere in the int range,
// where widths would overflow and the paint engine's fixed-point coordinates
// would wrap. Anything this far off lies far outside every page.
constexpr int kFarPixel = 1 << 24;

int nearPixel(int v)
{
    return std::clamp(v, -kFarPixel, kFarPixel);
}

} // namespace

int fontPixelHeight(int points, int dpi)
{
    return int(std::lround(double(points) * dpi / 72.0));
}

QImage CopyBitmapRegion(const QImage &source, const QRect &rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return QImage();
    // The whole of a decoded picture: shared, not copied.
    if (source.format() == QImage::Format_RGB32 && rect == source.rect())
        return source;
    // The usual case, a part of a decoded picture. It reads the picture's own
    // pixels when it is most of the picture, or when the picture is held
    // elsewhere too (a cover on several surfaces) and copying would free
    // nothing; a small part of a picture held only here is copied, so that
    // the rest can go.
    if (source.format() == QImage::Format_RGB32 && source.rect().contains(rect)) {
        const qint64 part = qint64(rect.width()) * rect.height();
        const qint64 whole = qint64(source.width()) * source.height();
        if (2 * part >= whole || !source.isDetached()) {
            QImage shared = sharedImagePart(source, rect);
            if (!shared.isNull())
                return shared;
        }
        QImage copy = newPixelImage(rect.width(), rect.height(), QImage::Format_RGB32);
        if (copy.isNull())
            return QImage();
        for (int y = 0; y < rect.height(); ++y)
            std::memcpy(copy.scanLine(y), source.constScanLine(rect.top() + y) + rect.left() * 4,
                size_t(rect.width()) * 4);
        return copy;
    }
    QImage result = newPixelImage(rect.width(), rect.height(), QImage::Format_RGB32);
    if (result.isNull())
        return QImage();
    result.fill(Qt::white);
    QRect inside = rect.intersected(source.rect());
    if (inside.isEmpty())
        return result;
    QImage part = source.copy(inside).convertToFormat(QImage::Format_ARGB32);
    const int dx = inside.left() - rect.left();
    const int dy = inside.top() - rect.top();
    for (int y = 0; y < part.height(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(part.constScanLine(y));
        QRgb *dst = reinterpret_cast<QRgb *>(result.scanLine(y + dy)) + dx;
        for (int x = 0; x < part.width(); ++x)
            dst[x] = src[x] | 0xFF000000u;
    }
    return result;
}

QPainterCanvas::QPainterCanvas(QPaintDevice *device, int dpiX, int dpiY)
    : m_painter(new QPainter(device))
    , m_ownsPainter(true)
    , m_dpiX(dpiX > 0 ? dpiX : device->logicalDpiX())
    , m_dpiY(dpiY > 0 ? dpiY : device->logicalDpiY())
{
    init();
}

QPainterCanvas::QPainterCanvas(QPainter *painter, int dpiX, int dpiY)
    : m_painter(painter)
    , m_dpiX(dpiX)
    , m_dpiY(dpiY)
{
    init();
}

QPainterCanvas::~QPainterCanvas()
{
    if (m_ownsPainter) {
        if (m_painter->isActive())
            m_painter->end();
        delete m_painter;
    }
}

void QPainterCanvas::init()
{
    installFontSubstitutions();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_font.font = makeFont(defaultFont(), m_dpiY);
    m_font.color = resolveColor(defaultFont().color);
}

void QPainterCanvas::SetPen(ColorRef color)
{
    m_pen = resolveColor(color);
}

void QPainterCanvas::SetBrush(ColorRef color)
{
    m_brush = resolveColor(color);
    m_brushClear = false;
}

void QPainterCanvas::SetBrushClear()
{
    m_brushClear = true;
}

void QPainterCanvas::fillPixels(int x, int y, int w, int h, const QColor &c)
{
    if (w <= 0 || h <= 0)
        return;
    const QTransform &t = m_painter->transform();
    if (t.type() <= QTransform::TxTranslate) {
        m_painter->fillRect(QRect(x, y, w, h), c);
        return;
    }
    // Drawn through a reduction (the preview's smaller sizes): a line or a
    // fill thinner than a device pixel is widened to one, as a one-pixel pen
    // stays visible on a scaled-down page instead of vanishing.
    const QRectF r = t.mapRect(QRectF(x, y, w, h));
    if (r.width() >= 1.0 && r.height() >= 1.0) {
        m_painter->fillRect(QRect(x, y, w, h), c);
        return;
    }
    const int left = int(std::floor(r.left())), top = int(std::floor(r.top()));
    const int width = std::max(1, int(std::lround(r.width())));
    const int height = std::max(1, int(std::lround(r.height())));
    m_painter->save();
    m_painter->resetTransform();
    m_painter->fillRect(QRect(left, top, width, height), c);
    m_painter->restore();
}

void QPainterCanvas::Rectangle(int left, int top, int right, int bottom)
{
    left = nearPixel(left), top = nearPixel(top);
    right = nearPixel(right), bottom = nearPixel(bottom);
    if (right <= left || bottom <= top)
        return;
    const int w = right - left, h = bottom - top;
    if (!m_brushClear)
        fillPixels(left, top, w, h, m_brush);
    if (m_brushClear || m_pen != m_brush) {
        fillPixels(left, top, w, 1, m_pen);
        fillPixels(left, bottom - 1, w, 1, m_pen);
        fillPixels(left, top, 1, h, m_pen);
        fillPixels(right - 1, top, 1, h, m_pen);
    }
}

void QPainterCanvas::MoveTo(int x, int y)
{
    m_current = QPoint(nearPixel(x), nearPixel(y));
}

void QPainterCanvas::LineTo(int x, int y)
{
    x = nearPixel(x), y = nearPixel(y);
    const int x0 = m_current.x(), y0 = m_current.y();
    if (y == y0) {
        if (x > x0)
            fillPixels(x0, y0, x - x0, 1, m_pen);
        else if (x < x0)
            fillPixels(x + 1, y0, x0 - x, 1, m_pen);
    } else if (x == x0) {
        if (y > y0)
            fillPixels(x0, y0, 1, y - y0, m_pen);
        else
            fillPixels(x0, y + 1, 1, y0 - y, m_pen);
    } else {
        // Bresenham, leaving out the end point.
        int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
        int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
        int err = dx + dy, cx = x0, cy = y0;
        while (!(cx == x && cy == y)) {
            fillPixels(cx, cy, 1, 1, m_pen);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                cx += sx;
            }
            if (e2 <= dx) {
                err += dx;
                cy += sy;
            }
        }
    }
    m_current = QPoint(x, y);
}

QFont QPainterCanvas::makeFont(const FontSpec &fontSpec, int dpiY)
{
    installFontSubstitutions();
    QFont f(fontSpec.name);
    int px = fontPixelHeight(fontSpec.size, dpiY);
    f.setPixelSize(px > 0 ? px : 1);
    f.setBold(fontSpec.bold);
    f.setItalic(fontSpec.italic);
    f.setUnderline(fontSpec.underline);
    f.setStrikeOut(fontSpec.strikeOut);
    f.setKerning(false);
    return f;
}

QFont QPainterCanvas::fontWithCellHeight(QFont font, int cellHeight)
{
    if (cellHeight <= 0)
        return font;
    auto cell = [&](int px) {
        font.setPixelSize(px);
        QFontMetrics fm(font);
        return fm.ascent() + fm.descent();
    };
    // The largest pixel size whose cell is not taller than asked.
    int lo = 1, hi = cellHeight;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (cell(mid) <= cellHeight)
            lo = mid;
        else
            hi = mid - 1;
    }
    font.setPixelSize(lo);
    return font;
}

double QPainterCanvas::cellScale(const QFont &font, int cellHeight)
{
    if (cellHeight <= 0)
        return 1.0;
    QFontMetrics fm(font);
    const int natural = fm.ascent() + fm.descent();
    return natural > 0 ? double(cellHeight) / natural : 1.0;
}

void QPainterCanvas::SetFont(const FontSpec &font)
{
    m_font.font = makeFont(font, m_dpiY);
    m_font.color = resolveColor(font.color);
    m_font.escapement = 0;
    m_font.scale = 1.0;
}

namespace {

// Whether a family has a bold style of its own; bold text in one that has
// not is emboldened from its regular outlines.
bool hasBoldStyle(const QString &family)
{
    static QHash<QString, bool> boldFaces;
    auto it = boldFaces.constFind(family);
    if (it == boldFaces.constEnd()) {
        bool hasBold = false;
        for (const QString &style : QFontDatabase::styles(family))
            hasBold |= QFontDatabase::weight(family, style) >= QFont::DemiBold;
        it = boldFaces.insert(family, hasBold);
    }
    return *it;
}

// The part of the painter's coordinates that can reach its device: the
// device's extent and the clip. None when anything may (a recording has no
// extent of its own).
std::optional<QRectF> visibleArea(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    if (!device || device->devType() == QInternal::Picture)
        return std::nullopt;
    bool invertible = false;
    const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    QRectF area = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping())
        area = area.intersected(painter.clipBoundingRect());
    return area;
}

} // namespace

bool QPainterCanvas::paintEmboldened(const QPoint &baseline, const QString &text)
{
    const QFont &font = m_font.font;
    // One line, laid out as drawText lays it out on this device.
    QString line = text;
    for (QChar &c : line)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    QTextLayout layout(line, font, m_painter->device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    if (!textLine.isValid())
        return false;
    const QList<QGlyphRun> runs = textLine.glyphRuns();
    bool synthetic = false;
    for (const QGlyphRun &run : runs)
        synthetic |= !hasBoldStyle(run.rawFont().familyName());
    if (!synthetic)
        return false;

    // The pen that emboldens: a 24th of the em, round, so that the stroke
    // adds a 48th of the em on each side of every outline, as the font
    // engine's own emboldening does at its native size.
    const qreal penWidth = font.pixelSize() / 24.0;
    const std::optional<QRectF> visible = visibleArea(*m_painter);
    const qreal scale = std::sqrt(std::abs(m_painter->combinedTransform().determinant()));
    // A glyph whose outline, widened by the pen and two device pixels, does
    // not reach the visible area leaves no pixel there: it is left out, so a
    // huge title that lies mostly off the page costs what its visible
    // glyphs cost.
    const qreal margin = penWidth / 2 + (scale > 0 ? 2 / scale : 0);
    // PDF files and printers keep the glyphs as text (it can be searched and
    // copied) and get the stroke on top; bitmaps get both as outlines.
    const QPaintEngine *engine = m_painter->paintEngine();
    const bool keepsText = m_painter->device()->devType() == QInternal::Printer
        || (engine && engine->type() == QPaintEngine::Pdf);
    const QPointF origin(baseline.x(), baseline.y() - textLine.ascent());
    QPainterPath filled, stroked;
    filled.setFillRule(Qt::WindingFill);
    stroked.setFillRule(Qt::WindingFill);
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter->setPen(m_font.color);
    for (const QGlyphRun &run : runs) {
        QRawFont outlines = run.rawFont();
        const bool embolden = !hasBoldStyle(outlines.familyName());
        if (embolden) {
            // The regular outlines of the face: the font engine's own
            // emboldened ones depend on the size it renders at.
            QFont regular(outlines.familyName());
            regular.setPixelSize(std::max(1, int(std::lround(outlines.pixelSize()))));
            regular.setItalic(font.italic());
            regular.setKerning(false);
            const qreal size = outlines.pixelSize();
            outlines = QRawFont::fromFont(regular);
            outlines.setPixelSize(size);
        }
        if (keepsText) {
            QGlyphRun text = run;
            text.setRawFont(outlines);
            m_painter->drawGlyphRun(origin, text);
            if (!embolden)
                continue;
        }
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const QPainterPath glyph
                = outlines.pathForGlyph(glyphs[i]).translated(origin + positions[i]);
            if (glyph.isEmpty())
                continue;
            if (visible
                && !glyph.controlPointRect()
                        .adjusted(-margin, -margin, margin, margin)
                        .intersects(*visible))
                continue;
            (embolden ? stroked : filled).addPath(glyph);
        }
    }
    if (!filled.isEmpty()) {
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(m_font.color);
        m_painter->drawPath(filled);
    }
    if (!stroked.isEmpty()) {
        m_painter->setPen(
            QPen(m_font.color, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (keepsText)
            m_painter->setBrush(Qt::NoBrush);
        else
            m_painter->setBrush(m_font.color);
        m_painter->drawPath(stroked);
    }
    paintDecorations(QPointF(baseline), textLine.naturalTextWidth());
    m_painter->restore();
    return true;
}

void QPainterCanvas::paintDecorations(const QPointF &baseline, qreal width)
{
    const QFont &font = m_font.font;
    if (!font.underline() && !font.strikeOut())
        return;
    // Where drawText puts them: the underline below the baseline at the
    // face's underline position, the strike-out a third of the ascent above
    // it, both of the face's line thickness.
    const QFontMetricsF fm(font, m_painter->device());
    const QLineF line(std::floor(baseline.x()), baseline.y(), std::floor(baseline.x() + width),
        baseline.y());
    QPen pen(m_font.color, fm.lineWidth(), Qt::SolidLine, Qt::FlatCap);
    m_painter->setPen(pen);
    if (font.underline()) {
        qreal offset = std::ceil(fm.underlinePos()) + 0.5;
        if (fm.underlinePos() <= fm.descent())
            offset = std::min(offset, fm.descent() - 0.5);
        m_painter->drawLine(line.translated(0, offset));
    }
    if (font.strikeOut())
        m_painter->drawLine(line.translated(0, -fm.ascent() / 3));
}

void QPainterCanvas::paintText(const QPoint &baseline, const QString &text)
{
    // Bold text in a face with no bold style is emboldened here, the same on
    // every device and at every scale; everything else is Qt's own drawing.
    if (m_font.font.bold() && paintEmboldened(baseline, text))
        return;
    m_painter->drawText(baseline, text);
}

void QPainterCanvas::drawTextBackground(const QRect &r)
{
    if (!m_brushClear)
        m_painter->fillRect(r, m_brush);
}

void QPainterCanvas::DrawTextInRect(
    const QString &text, int left, int top, int right, int bottom, HAlign h, VAlign v)
{
    left = nearPixel(left), top = nearPixel(top);
    right = nearPixel(right), bottom = nearPixel(bottom);
    if (right <= left || bottom <= top)
        return;
    QRect r(left, top, right - left, bottom - top);
    QFontMetrics fm(m_font.font);
    const int tw = TextWidth(text);
    const int th = TextHeight(text);
    int x = left, y = top;
    if (h == HAlign::Center)
        x = left + (r.width() - tw) / 2;
    else if (h == HAlign::Right)
        x = right - tw;
    if (v == VAlign::Center)
        y = top + (r.height() - th) / 2;
    else if (v == VAlign::Bottom)
        y = bottom - th;
    m_painter->save();
    m_painter->setClipRect(r, Qt::IntersectClip);
    drawTextBackground(QRect(x, y, tw, th));
    m_painter->setFont(m_font.font);
    m_painter->setPen(m_font.color);
    if (m_font.scale != 1.0) {
        m_painter->translate(x, y);
        m_painter->scale(m_font.scale, m_font.scale);
        paintText(QPoint(0, fm.ascent()), text);
    } else {
        paintText(QPoint(x, y + fm.ascent()), text);
    }
    m_painter->restore();
}

void QPainterCanvas::TextOutClipped(
    int left, int top, int right, int bottom, int x, int y, const QString &text)
{
    left = nearPixel(left), top = nearPixel(top);
    right = nearPixel(right), bottom = nearPixel(bottom);
    x = nearPixel(x), y = nearPixel(y);
    if (right <= left || bottom <= top)
        return;
    QFontMetrics fm(m_font.font);
    m_painter->save();
    m_painter->setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    m_painter->translate(x, y);
    if (m_font.escapement != 0)
        m_painter->rotate(-m_font.escapement / 10.0);
    if (m_font.scale != 1.0)
        m_painter->scale(m_font.scale, m_font.scale);
    drawTextBackground(QRect(0, 0, fm.horizontalAdvance(text), fm.ascent() + fm.descent()));
    m_painter->setFont(m_font.font);
    m_painter->setPen(m_font.color);
    paintText(QPoint(0, fm.ascent()), text);
    m_painter->restore();
}

int QPainterCanvas::TextWidth(const QString &text)
{
    const int w = QFontMetrics(m_font.font).horizontalAdvance(text);
    return m_font.scale == 1.0 ? w : int(std::lround(w * m_font.scale));
}

int QPainterCanvas::TextHeight(const QString &)
{
    QFontMetrics fm(m_font.font);
    const int h = fm.ascent() + fm.descent();
    return m_font.scale == 1.0 ? h : int(std::lround(h * m_font.scale));
}

void QPainterCanvas::SelectRotatedFont(int escapement, int cellHeight)
{
    m_savedFonts.append(m_font);
    m_font.font = fontWithCellHeight(m_font.font, cellHeight);
    m_font.scale = cellScale(m_font.font, cellHeight);
    m_font.escapement = escapement;
}

void QPainterCanvas::TextOutTurned(double x, double y, double degrees, const QString &text)
{
    if (text.isEmpty())
        return;
    m_painter->save();
    m_painter->translate(x, y);
    m_painter->rotate(degrees);
    if (m_font.scale != 1.0)
        m_painter->scale(m_font.scale, m_font.scale);
    m_painter->setFont(m_font.font);
    m_painter->setPen(m_font.color);
    paintText(QPoint(0, 0), text);
    m_painter->restore();
}

void QPainterCanvas::ClipToRing(const QRect &outer, const QRect &hole)
{
    // The clip is kept in device pixels, so that it holds through the
    // transforms the drawing operations set and reset. Pixels whose centre
    // lies in the ring are drawn (antialiasing is off).
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QRectF(outer));
    if (!hole.isEmpty())
        ring.addEllipse(QRectF(hole));
    m_painter->setClipPath(ring);
}

void QPainterCanvas::ClearClip()
{
    m_painter->setClipping(false);
}

void QPainterCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    m_painter->save();
    m_painter->setPen(QPen(m_pen, 0));
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
    m_painter->restore();
}

void QPainterCanvas::RestoreFont()
{
    if (!m_savedFonts.isEmpty())
        m_font = m_savedFonts.takeLast();
}

QImage QPainterCanvas::stretchNearest(const QImage &bitmap, int w, int h)
{
    if (w <= 0 || h <= 0 || bitmap.isNull())
        return QImage();
    QImage src = bitmap.format() == QImage::Format_ARGB32 || bitmap.format() == QImage::Format_RGB32
        ? bitmap
        : bitmap.convertToFormat(QImage::Format_ARGB32);
    QImage out = newPixelImage(w, h, QImage::Format_RGB32);
    if (out.isNull() || src.isNull())
        return QImage();
    const int sw = src.width(), sh = src.height();
    std::vector<int> xs(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        xs[size_t(x)] = int((long long)x * sw / w);
    for (int y = 0; y < h; ++y) {
        const int sy = int((long long)y * sh / h);
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(sy));
        QRgb *d = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            d[x] = s[xs[size_t(x)]] | 0xFF000000u;
    }
    return out;
}

QSize QPainterCanvas::stretchedPictureSize(int left, int top, int right, int bottom) const
{
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0)
        return QSize();
    // On a bitmap the picture is stretched to the rectangle in the painter's
    // coordinates; a reduction on top of that (the preview) picks device
    // pixels from it without smoothing.
    if (m_painter->device()->devType() == QInternal::Image)
        return QSize(w, h);
    // Printers and PDF files get the picture at the size it covers in device
    // pixels, so that they neither embed more pixels than are printed nor
    // resample it themselves: the printed pixels are those of a bitmap of
    // the device's resolution.
    const QRectF r = m_painter->worldTransform().mapRect(QRectF(left, top, w, h));
    return QSize(
        std::max(1, int(std::lround(r.width()))), std::max(1, int(std::lround(r.height()))));
}

QImage QPainterCanvas::stretchedForDevice(
    const QImage &bitmap, int left, int top, int right, int bottom) const
{
    const QSize size = stretchedPictureSize(left, top, right, bottom);
    if (size.isEmpty() || bitmap.isNull())
        return QImage();
    if (bitmap.size() == size && bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    return stretchNearest(bitmap, size.width(), size.height());
}

void QPainterCanvas::StretchPicture(const QImage &bitmap, int left, int top, int right, int bottom)
{
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0 || bitmap.isNull())
        return;
    const QImage scaled = stretchedForDevice(bitmap, left, top, right, bottom);
    if (scaled.isNull())
        return;
    if (scaled.size() == QSize(w, h))
        m_painter->drawImage(left, top, scaled);
    else
        m_painter->drawImage(QRect(left, top, w, h), scaled);
}

void QPainterCanvas::StretchPictureTransparent(
    const QImage &bitmap, int left, int top, int right, int bottom, ColorRef transparent)
{
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0 || bitmap.isNull())
        return;
    const QRgb key = resolveColor(transparent).rgb() & 0x00FFFFFFu;
    const QImage scaled = stretchedForDevice(bitmap, left, top, right, bottom);
    if (scaled.isNull())
        return;
    const QImage opaque
        = scaled.format() == QImage::Format_RGB32 || scaled.format() == QImage::Format_ARGB32
        ? scaled
        : scaled.convertToFormat(QImage::Format_ARGB32);
    QImage masked = newPixelImage(opaque.width(), opaque.height(), QImage::Format_ARGB32);
    if (opaque.isNull() || masked.isNull())
        return;
    for (int y = 0; y < masked.height(); ++y) {
        const QRgb *s = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        QRgb *p = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            p[x] = (s[x] & 0x00FFFFFFu) == key ? 0u : (s[x] | 0xFF000000u);
    }
    m_painter->save();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (masked.size() == QSize(w, h))
        m_painter->drawImage(left, top, masked);
    else
        m_painter->drawImage(QRect(left, top, w, h), masked);
    m_painter->restore();
}

} // namespace cw

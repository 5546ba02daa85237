#include "document/TextBlock.h"

#include <QFontMetrics>

#include "base/UiText.h"
#include "base/Units.h"
#include "canvas/QPainterCanvas.h"
#include "text/TextWrap.h"

namespace cw {

QString blockText(const QString &typed)
{
    QString text = typed;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}

TextBlockLayout layoutTextBlock(const QString &text, const FontSpec &font, int widthMm,
    int heightMm, int spacingPercent, int dpiX, int dpiY)
{
    TextBlockLayout out;
    out.boxWidth = mmToPixels(widthMm, dpiX * geom::kInchPerMm);
    out.boxHeight = mmToPixels(heightMm, dpiY * geom::kInchPerMm);
    // The font as the canvases realise it at this resolution.
    const QFontMetrics metrics(QPainterCanvas::makeFont(font, dpiY));
    out.lineHeight = metrics.ascent() + metrics.descent();
    out.lines = wrapText(
        text, [&metrics](const QString &line) { return metrics.horizontalAdvance(line); },
        out.boxWidth);
    out.shown
        = linesThatFit(int(out.lines.size()), out.lineHeight, spacingPercent, out.boxHeight);
    return out;
}

TextBlockLayout layoutTextBlock(const TPrintsData &item, int dpiX, int dpiY)
{
    return layoutTextBlock(item.text, item.font, item.blockWidth, item.blockHeight,
        item.lineSpacing, dpiX, dpiY);
}

QString cutLinesMessage(int cut)
{
    return cut > 0 ? UiText::tr("%1行が収まりません").arg(cut) : QString();
}

int alignedLineX(int left, int boxWidth, int lineWidth, int align)
{
    switch (align) {
    case textblock::kAlignCentre:
        return left + (boxWidth - lineWidth) / 2;
    case textblock::kAlignRight:
        return left + boxWidth - lineWidth;
    default:
        return left;
    }
}

QStringList textBlockFileLines(const QString &text)
{
    QStringList out;
    if (text.isEmpty())
        return out;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString piece;
        int bytes = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            // One character (a surrogate pair whole) with its escape.
            QString unit = line.at(i);
            if (line.at(i).isHighSurrogate() && i + 1 < line.size()
                && line.at(i + 1).isLowSurrogate())
                unit += line.at(++i);
            if (unit == QLatin1String("\\"))
                unit = QStringLiteral("\\\\");
            const int unitBytes = int(unit.toUtf8().size());
            if (bytes + unitBytes > textblock::kFileLineBytes) {
                out.append(piece + QLatin1Char('\\'));
                piece.clear();
                bytes = 0;
            }
            piece += unit;
            bytes += unitBytes;
        }
        out.append(piece);
    }
    return out;
}

std::optional<QString> textFromBlockFileLines(const QStringList &lines)
{
    QString text;
    bool goesOn = false;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k > 0 && !goesOn)
            text += QLatin1Char('\n');
        goesOn = false;
        const QString &line = lines[k];
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line.at(i) != QLatin1Char('\\')) {
                text += line.at(i);
            } else if (i + 1 == line.size()) {
                goesOn = true;
            } else if (line.at(i + 1) == QLatin1Char('\\')) {
                text += QLatin1Char('\\');
                ++i;
            } else {
                return std::nullopt;
            }
        }
    }
    if (goesOn)
        return std::nullopt;
    return text;
}

QString textBlockHeaderLine(const TPrintsData &item, int lineCount)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(item.blockWidth)
        .arg(item.blockHeight)
        .arg(item.blockAlign)
        .arg(item.lineSpacing)
        .arg(lineCount);
}

std::optional<TextBlockHeader> parseTextBlockHeader(const QByteArray &raw)
{
    const QList<QByteArray> parts = raw.split(' ');
    if (parts.size() != 5)
        return std::nullopt;
    int v[5] = {};
    for (int k = 0; k < 5; ++k) {
        const QByteArray &p = parts[k];
        // Digits only: no sign, no blank, no leading zero but a lone "0".
        if (p.isEmpty() || p.size() > 9 || (p.size() > 1 && p[0] == '0'))
            return std::nullopt;
        for (char c : p)
            if (c < '0' || c > '9')
                return std::nullopt;
        v[k] = p.toInt();
    }
    using namespace textblock;
    const TextBlockHeader h { v[0], v[1], v[2], v[3], v[4] };
    if (h.width < kMinSize || h.width > kMaxSize || h.height < kMinSize || h.height > kMaxSize
        || h.align < kAlignLeft || h.align > kAlignRight || h.spacing < kMinSpacing
        || h.spacing > kMaxSpacing)
        return std::nullopt;
    return h;
}

bool hasTextBlock(const LabelDocument &doc)
{
    for (const QList<TPrintsData> *list : { &doc.coverPrints, &doc.insidePrints, &doc.backPrints })
        for (const TPrintsData &item : *list)
            if (item.kind == PrintsTextBlock)
                return true;
    return false;
}

} // namespace cw

#include "text/TextWrap.h"

#include <vector>

namespace cw {

namespace {

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == 0x3000;
}

// Kana, kanji, full-width forms and the other scripts written without spaces.
bool isWide(char32_t c)
{
    return c >= 0x2E80 && !(c >= 0xD800 && c <= 0xDFFF);
}

// Marks a line may not begin with: the Japanese comma, full stop, closing
// brackets and quotes, the prolonged sound mark, iteration marks and the
// small kana, and the Latin closing marks.
bool closes(char32_t c)
{
    static const QString marks = QStringLiteral(
        "\u3001\u3002\uff0c\uff0e\u30fb\uff1a\uff1b\uff1f\uff01\u309b\u309c\u30fc\uff5e\u2026"
        "\u2025\u3005\u309d\u309e\u30fd\u30fe\u300d\u300f\uff09\u3015\uff3d\uff5d\u3009\u300b"
        "\u3011\u3019\u3017\u2019\u201d"
        "\u3041\u3043\u3045\u3047\u3049\u3063\u3083\u3085\u3087\u308e\u3095\u3096\u30a1\u30a3"
        "\u30a5\u30a7\u30a9\u30c3\u30e3\u30e5\u30e7\u30ee\u30f5\u30f6"
        ")]}.,!?:;%");
    return c < 0x10000 && marks.contains(QChar(char16_t(c)));
}

// Marks a line may not end with: opening brackets and quotes.
bool opens(char32_t c)
{
    static const QString marks = QStringLiteral(
        "\u300c\u300e\uff08\u3014\uff3b\uff5b\u3008\u300a\u3010\u3018\u3016\u2018\u201c([{");
    return c < 0x10000 && marks.contains(QChar(char16_t(c)));
}

// One character as a line sees it: a code point with its combining marks.
struct Unit
{
    qsizetype start = 0;
    char32_t code = 0;
};

std::vector<Unit> unitsOf(const QString &line)
{
    std::vector<Unit> units;
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype start = i;
        char32_t code = line.at(i).unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < line.size()
            && line.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(line.at(i), line.at(i + 1));
            ++i;
        }
        ++i;
        const QChar::Category cat = QChar::category(code);
        const bool mark = cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining
            || cat == QChar::Mark_Enclosing;
        if (mark && !units.empty())
            continue; // stays with the character before it
        units.push_back({ start, code });
    }
    return units;
}

// Whether a line may end between units[b - 1] and units[b].
bool breakBefore(const std::vector<Unit> &units, size_t b)
{
    const char32_t before = units[b - 1].code, after = units[b].code;
    if (isSpace(after))
        return false;
    if (isSpace(before))
        return true;
    if (!isWide(before) && !isWide(after))
        return false;
    return !closes(after) && !opens(before);
}

QString trimmedEnd(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && isSpace(s.at(n - 1).unicode()))
        --n;
    return s.left(n);
}

// The last candidate whose piece fits, or 0 when none does. Candidates come
// in order from `first` through `next` until `end`; a piece's width grows
// with the candidate, so measuring at doubling steps and then halving finds
// what measuring each in turn would, with a logarithmic number of
// measurements (a long paste stays quick).
template <class Next, class Fits>
size_t lastFitting(size_t first, size_t end, Next next, Fits fits)
{
    std::vector<size_t> seen;
    size_t known = 0; // seen[0, known) fit
    size_t step = 1;
    for (size_t c = first; c != end; c = next(c)) {
        seen.push_back(c);
        if (seen.size() != step)
            continue;
        if (!fits(c)) {
            seen.pop_back();
            break;
        }
        known = seen.size();
        step *= 2;
    }
    size_t lo = known, hi = seen.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (fits(seen[mid]))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo > 0 ? seen[lo - 1] : 0;
}

void wrapLine(const QString &line, const TextWidthFn &measure, int width, QStringList &out)
{
    const std::vector<Unit> units = unitsOf(line);
    const size_t n = units.size();
    auto at = [&](size_t u) { return u < n ? units[u].start : line.size(); };
    auto piece = [&](size_t from, size_t to) {
        return trimmedEnd(line.mid(at(from), at(to) - at(from)));
    };
    size_t pos = 0;
    if (n == 0) {
        out.append(QString());
        return;
    }
    const size_t end = n + 1;
    while (pos < n) {
        const auto fits = [&](size_t b) { return measure(piece(pos, b)) <= width; };
        // The last place to wrap whose line fits; the line's end counts as one.
        // Leading spaces alone make no line.
        const auto nextBreak = [&](size_t b) {
            for (++b; b < n; ++b)
                if (breakBefore(units, b) && !piece(pos, b).isEmpty())
                    return b;
            return b == n ? n : end;
        };
        size_t best = lastFitting(nextBreak(pos), end, nextBreak, fits);
        if (best == 0) {
            // Nothing fits whole: the longest run of characters that does.
            const size_t more = lastFitting(
                pos + 2, end, [](size_t b) { return b + 1; }, fits);
            best = more > 0 ? more : pos + 1;
        }
        out.append(piece(pos, best));
        pos = best;
        while (pos < n && isSpace(units[pos].code))
            ++pos;
    }
}

} // namespace

QStringList wrapText(const QString &text, const TextWidthFn &measure, int width)
{
    QStringList out;
    for (const QString &line : text.split(QLatin1Char('\n')))
        wrapLine(line, measure, width, out);
    return out;
}

int lineTop(int i, int lineHeight, int spacingPercent)
{
    return int((long long)i * lineHeight * spacingPercent / 100);
}

int linesThatFit(int count, int lineHeight, int spacingPercent, int boxHeight)
{
    int fit = 0;
    while (fit < count && (long long)lineTop(fit, lineHeight, spacingPercent) + lineHeight <= boxHeight)
        ++fit;
    return fit;
}

} // namespace cw

#include "document/DocumentLineValues.h"

#include "document/DocumentFileFormat.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace cw::docfile {

double parseVersion(const QByteArray &raw)
{
    qsizetype i = 0;
    const qsizetype n = raw.size();
    while (i < n && (raw[i] == ' ' || raw[i] == '\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (raw[i] == '+' || raw[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && raw[i] >= '0' && raw[i] <= '9')
        ++i, ++digits;
    if (i < n && raw[i] == '.') {
        ++i;
        while (i < n && raw[i] >= '0' && raw[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < n && (raw[i] == 'e' || raw[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < n && (raw[j] == '+' || raw[j] == '-'))
            ++j;
        if (j < n && raw[j] >= '0' && raw[j] <= '9') {
            while (j < n && raw[j] >= '0' && raw[j] <= '9')
                ++j;
            i = j;
        }
    }
    bool ok = false;
    double v = raw.mid(start, i - start).toDouble(&ok);
    return ok ? v : 0;
}

std::vector<int> parseNumbers(const QByteArray &raw, int count)
{
    std::vector<int> out(count, 0);
    qsizetype i = 0;
    const qsizetype n = raw.size();
    for (int k = 0; k < count; ++k) {
        while (i < n && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
        bool negative = false;
        if (i < n && (raw[i] == '+' || raw[i] == '-'))
            negative = raw[i++] == '-';
        if (i >= n || raw[i] < '0' || raw[i] > '9')
            break;
        long long v = 0;
        while (i < n && raw[i] >= '0' && raw[i] <= '9') {
            if (v <= (1LL << 40))
                v = v * 10 + (raw[i] - '0');
            ++i;
        }
        if (negative)
            v = -v;
        out[k] = int(std::clamp<long long>(
            v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }
    return out;
}

int parseNumber(const QByteArray &raw)
{
    return parseNumbers(raw, 1)[0];
}

ColorRef parseColour(const QByteArray &raw)
{
    qsizetype i = 0;
    const qsizetype n = raw.size();
    while (i < n && (raw[i] == ' ' || raw[i] == '\t'))
        ++i;
    if (i + 1 < n && raw[i] == '0' && (raw[i + 1] == 'x' || raw[i + 1] == 'X'))
        i += 2;
    quint64 v = 0;
    for (; i < n; ++i) {
        const char c = raw[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        v = ((v << 4) | quint64(d)) & 0xFFFFFFFFull;
    }
    return ColorRef(v);
}

Section sectionOf(const QByteArray &raw)
{
    static const std::pair<const char *, Section> names[] = {
        { "[Print Setting]", Section::PrintSetting },
        { "[DPI]", Section::Dpi },
        { "[Top Label]", Section::TopLabel },
        { "[Bottom Label]", Section::BottomLabel },
        { "[Left Title]", Section::LeftTitle },
        { "[Right Title]", Section::RightTitle },
        { "[List]", Section::List },
        { "[Top1Prints]", Section::Top1Prints },
        { "[Top2Prints]", Section::Top2Prints },
        { "[BottomPrints]", Section::BottomPrints },
        { "[Disc]", Section::Disc },
        { "[DiscPrints]", Section::DiscPrints },
        { "[Booklet]", Section::Booklet },
        { "[Page]", Section::Page },
        { "[PagePrints]", Section::PagePrints },
        { "[PagePicture]", Section::PagePicture },
    };
    for (const auto &[name, section] : names)
        if (raw == name)
            return section;
    return Section::None;
}

int arcNumber(DiscTextPlace place)
{
    return place == DiscTextPlace::TopArc ? 1 : place == DiscTextPlace::BottomArc ? 2 : 0;
}

DiscTextPlace arcPlaceFrom(int number)
{
    return number == 1 ? DiscTextPlace::TopArc
        : number == 2  ? DiscTextPlace::BottomArc
                       : DiscTextPlace::Custom;
}

bool isListSection(Section s)
{
    return s == Section::Top1Prints || s == Section::Top2Prints || s == Section::BottomPrints
        || s == Section::DiscPrints || s == Section::PagePrints || s == Section::List;
}

std::optional<std::array<int, 2>> parseSpineTextLine(const QByteArray &raw)
{
    const QList<QByteArray> words = raw.split(' ');
    if (words.size() != 3 || words[0] != kSpineTextWord)
        return std::nullopt;
    std::array<int, 2> values {};
    for (int i = 0; i < 2; ++i) {
        const QByteArray &w = words[i + 1];
        if (w.size() != 1 || w[0] < '0' || w[0] > '2')
            return std::nullopt;
        values[i] = w[0] - '0';
    }
    return values;
}

} // namespace cw::docfile

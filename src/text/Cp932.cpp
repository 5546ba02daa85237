#include "text/Cp932.h"
#include "base/UiText.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace cw {

namespace cp932 {
namespace {

// The decode table is built once from iconv: single bytes and every lead/trail
// pair. Decoding is then a table look-up, which keeps imports of large files fast.
struct Tables
{
    std::array<char16_t, 256> single {}; // 0xFFFF: not a character, 0: lead byte
    std::vector<char16_t> pairs; // (lead << 8 | trail) -> UTF-16, 0xFFFF when invalid
    Tables()
        : pairs(65536, 0xFFFF)
    {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        auto convert = [&](const char *in, size_t inLen, char16_t &out) {
            char16_t buf[4];
            char *ip = const_cast<char *>(in);
            char *op = reinterpret_cast<char *>(buf);
            size_t il = inLen, ol = sizeof buf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1) || il != 0)
                return false;
            if (sizeof buf - ol != 2)
                return false;
            out = buf[0];
            return true;
        };
        for (int b = 0; b < 256; ++b) {
            char c = char(b);
            char16_t u;
            if (isLead(b))
                single[b] = 0;
            else
                single[b] = convert(&c, 1, u) ? u : char16_t(0xFFFF);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                char in[2] = { char(lead), char(trail) };
                char16_t u;
                if (convert(in, 2, u))
                    pairs[(lead << 8) | trail] = u;
            }
        }
        iconv_close(cd);
    }
    static bool isLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

QString decode(const char *data, qsizetype size, int *invalid)
{
    const Tables &t = tables();
    QString out;
    out.reserve(size);
    int bad = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    for (qsizetype i = 0; i < size; ++i) {
        unsigned char b = p[i];
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
            continue;
        }
        char16_t s = t.single[b];
        if (s == 0) { // lead byte
            if (i + 1 < size) {
                char16_t u = t.pairs[(b << 8) | p[i + 1]];
                if (u != 0xFFFF) {
                    out.append(QChar(u));
                    ++i;
                    continue;
                }
            }
            out.append(QChar(0xFFFD));
            ++bad;
            continue;
        }
        if (s == 0xFFFF) {
            out.append(QChar(0xFFFD));
            ++bad;
            continue;
        }
        out.append(QChar(s));
    }
    if (invalid)
        *invalid = bad;
    return out;
}

QString decode(const QByteArray &bytes, int *invalid)
{
    return decode(bytes.constData(), bytes.size(), invalid);
}

EncodeResult encode(const QString &text)
{
    EncodeResult result;
    // Plain ASCII (the common case for numbers and most lines) needs no conversion.
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        result.bytes = text.toLatin1();
        return result;
    }

    static std::mutex mutex;
    std::lock_guard lock(mutex);
    static iconv_t cd = iconv_open("CP932", "UTF-32LE");
    result.bytes.reserve(text.size() * 2);
    qsizetype i = 0;
    while (i < text.size()) {
        char32_t cp;
        qsizetype width = 1;
        QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            width = 2;
        } else {
            cp = c.unicode();
        }
        if (cp < 0x80) {
            result.bytes.append(char(cp));
        } else if (c.isSurrogate() && width == 1) {
            result.unencodable.append({ cp, i });
        } else {
            char in[4] = { char(cp & 0xFF), char((cp >> 8) & 0xFF), char((cp >> 16) & 0xFF),
                char((cp >> 24) & 0xFF) };
            char out[8];
            char *ip = in, *op = out;
            size_t il = 4, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1) || il != 0)
                result.unencodable.append({ cp, i });
            else
                result.bytes.append(out, qsizetype(sizeof out - ol));
        }
        i += width;
    }
    return result;
}

QString describe(const QList<Unencodable> &unencodable)
{
    QStringList parts;
    for (const Unencodable &u : unencodable) {
        parts.append(UiText::tr("「%1」(%2文字目)")
                         .arg(QString::fromUcs4(&u.character, 1))
                         .arg(u.index + 1));
    }
    return parts.join(UiText::tr("、"));
}

} // namespace cp932

} // namespace cw

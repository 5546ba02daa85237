#include "fonts/Font.h"

#include <QFont>

namespace cw {

QColor resolveColor(ColorRef c)
{
    if (isSystemColor(c)) {
        // The standard scheme's values of the system colours that documents use.
        switch (c & 0xFFu) {
        case 5: // window
        case 14: // highlighted text
            return QColor(255, 255, 255);
        case 15: // button face
            return QColor(240, 240, 240);
        case 13: // highlight
            return QColor(0, 120, 215);
        case 16: // button shadow
            return QColor(160, 160, 160);
        default: // window text, menu text, caption text, ...
            return QColor(0, 0, 0);
        }
    }
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

ColorRef toColorRef(const QColor &c)
{
    return ColorRef(c.red()) | (ColorRef(c.green()) << 8) | (ColorRef(c.blue()) << 16);
}

FontSpec defaultFont()
{
    FontSpec f;
    f.name = QStringLiteral("ＭＳ Ｐゴシック");
    f.size = 9;
    f.color = kWindowTextColor;
    f.charset = 128;
    return f;
}

void installFontSubstitutions()
{
    // Once per process, also when threads drawing pages ask at the same time.
    static const bool installed = [] {
        struct Pair
        {
            const char16_t *face;
            const char *substitute;
        };
        static const Pair pairs[] = {
            { u"ＭＳ Ｐゴシック", "IPAPGothic" },
            { u"MS PGothic", "IPAPGothic" },
            { u"ＭＳ ゴシック", "IPAGothic" },
            { u"MS Gothic", "IPAGothic" },
            { u"ＭＳ Ｐ明朝", "IPAPMincho" },
            { u"MS PMincho", "IPAPMincho" },
            { u"ＭＳ 明朝", "IPAMincho" },
            { u"MS Mincho", "IPAMincho" },
            { u"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "IPAPGothic" },
            { u"MS UI Gothic", "IPAPGothic" },
        };
        for (const Pair &p : pairs)
            QFont::insertSubstitution(
                QString::fromUtf16(p.face), QString::fromLatin1(p.substitute));
        return true;
    }();
    (void)installed;
}

} // namespace cw

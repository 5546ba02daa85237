#include "fonts/FontCharsets.h"

#include <QFont>
#include <QRawFont>

#include "base/UiText.h"

namespace cw {

namespace {

struct NamedCharset
{
    int code;
    const char *name;
};

const NamedCharset kCharsetNames[] = {
    { 0, QT_TRANSLATE_NOOP("cw::UiText", "欧文") },
    { 1, QT_TRANSLATE_NOOP("cw::UiText", "ﾃﾞﾌｫﾙﾄ") },
    { 2, QT_TRANSLATE_NOOP("cw::UiText", "ｼﾝﾎﾞﾙ") },
    { 128, QT_TRANSLATE_NOOP("cw::UiText", "日本語") },
    { 129, QT_TRANSLATE_NOOP("cw::UiText", "ﾊﾝｸﾞﾙ (統合)") },
    { 134, "CHINESE_GB2312" },
    { 136, "CHINESE_BIG5" },
    { 130, QT_TRANSLATE_NOOP("cw::UiText", "ﾊﾝｸﾞﾙ (組合)") },
    { 161, QT_TRANSLATE_NOOP("cw::UiText", "ｷﾞﾘｼｱ") },
    { 162, QT_TRANSLATE_NOOP("cw::UiText", "ﾄﾙｺ") },
    { 163, QT_TRANSLATE_NOOP("cw::UiText", "ﾍﾞﾄﾅﾑ") },
    { 177, QT_TRANSLATE_NOOP("cw::UiText", "ﾍﾌﾞﾗｲ") },
    { 178, QT_TRANSLATE_NOOP("cw::UiText", "ｱﾗﾋﾞｱ") },
    { 186, QT_TRANSLATE_NOOP("cw::UiText", "ﾊﾞﾙﾄ") },
    { 204, QT_TRANSLATE_NOOP("cw::UiText", "ｷﾘﾙ") },
    { 222, QT_TRANSLATE_NOOP("cw::UiText", "ﾀｲ") },
    { 238, QT_TRANSLATE_NOOP("cw::UiText", "中央ﾖｰﾛｯﾊﾟ") },
    { 255, "OEM/DOS" },
    { 77, "Mac" },
};

bool coversAll(const QRawFont &font, const char16_t *letters)
{
    for (const char16_t *p = letters; *p; ++p) {
        if (!font.supportsCharacter(QChar(*p)))
            return false;
    }
    return true;
}

} // namespace

QString charsetName(int code)
{
    for (const NamedCharset &c : kCharsetNames) {
        if (c.code == code)
            return UiText::tr(c.name);
    }
    return QString::number(unsigned(code));
}

int charsetCode(const QString &name)
{
    for (const NamedCharset &c : kCharsetNames) {
        if (name == UiText::tr(c.name))
            return c.code;
    }
    // Read as a decimal number the way the list shows unnamed codes: digits
    // from the start, stopping at the first other character.
    int value = 0;
    for (QChar ch : name) {
        if (!ch.isDigit() || ch.unicode() > '9')
            break;
        value = value * 10 + (ch.unicode() - '0');
        if (value > 255)
            return value & 0xFF;
    }
    return value;
}

QList<int> charsetsOfWritingSystems(
    const QList<QFontDatabase::WritingSystem> &systems, LatinCoverage latin)
{
    QList<int> codes;
    auto add = [&codes](int code) {
        if (!codes.contains(code))
            codes.append(code);
    };
    for (QFontDatabase::WritingSystem ws : systems) {
        switch (ws) {
        case QFontDatabase::Latin:
            add(0);
            if (latin.centralEuropean)
                add(238);
            if (latin.turkish)
                add(162);
            if (latin.baltic)
                add(186);
            break;
        case QFontDatabase::Greek:
            add(161);
            break;
        case QFontDatabase::Cyrillic:
            add(204);
            break;
        case QFontDatabase::Vietnamese:
            add(163);
            break;
        case QFontDatabase::Japanese:
            add(128);
            break;
        case QFontDatabase::Korean:
            add(129);
            break;
        case QFontDatabase::SimplifiedChinese:
            add(134);
            break;
        case QFontDatabase::TraditionalChinese:
            add(136);
            break;
        case QFontDatabase::Hebrew:
            add(177);
            break;
        case QFontDatabase::Arabic:
            add(178);
            break;
        case QFontDatabase::Thai:
            add(222);
            break;
        case QFontDatabase::Symbol:
            add(2);
            break;
        default:
            break;
        }
    }
    if (codes.isEmpty())
        codes.append(1);
    return codes;
}

QFontDatabase::WritingSystem charsetWritingSystem(int code)
{
    switch (code) {
    case 0:
    case 238:
    case 162:
    case 186:
        return QFontDatabase::Latin;
    case 161:
        return QFontDatabase::Greek;
    case 204:
        return QFontDatabase::Cyrillic;
    case 163:
        return QFontDatabase::Vietnamese;
    case 128:
        return QFontDatabase::Japanese;
    case 129:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 222:
        return QFontDatabase::Thai;
    case 2:
        return QFontDatabase::Symbol;
    default:
        return QFontDatabase::Any;
    }
}

LatinCoverage latinCoverageOf(const QString &family)
{
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Latin);
    LatinCoverage c;
    if (!raw.isValid())
        return c;
    // Letters each set has and Western European lacks.
    c.centralEuropean = coversAll(raw, u"ŁłŐőŘřŢţ");
    c.turkish = coversAll(raw, u"ĞğİıŞş");
    c.baltic = coversAll(raw, u"ĀāĒēĖėĶķŲų");
    return c;
}

} // namespace cw

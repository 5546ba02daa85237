#include "text/UnicodeForm.h"
#include "base/UiText.h"

namespace cw {

QString encodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("CP932");
}

cp932::EncodeResult encodeUtf8(const QString &text)
{
    cp932::EncodeResult result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            result.unencodable.append({ char32_t(c.unicode()), i });
    }
    if (result.unencodable.isEmpty()) {
        result.bytes = text.toUtf8();
    } else {
        // What could be encoded, as with CP932: the lone surrogates left out.
        QString kept;
        kept.reserve(text.size());
        qsizetype next = 0;
        for (const cp932::Unencodable &u : result.unencodable) {
            kept += QStringView(text).mid(next, u.index - next);
            next = u.index + 1;
        }
        kept += QStringView(text).mid(next);
        result.bytes = kept.toUtf8();
    }
    return result;
}

cp932::EncodeResult encodeText(const QString &text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? encodeUtf8(text) : cp932::encode(text);
}

QString decodeText(const QByteArray &bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QString::fromUtf8(bytes) : cp932::decode(bytes);
}

QList<cp932::Unencodable> charactersOutsideCp932(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return cp932::encode(text).unencodable;
    }
    return {};
}

bool needsUnicodeForm(const QString &text)
{
    return !charactersOutsideCp932(text).isEmpty();
}

QString unicodeFormToolTip(const QString &text)
{
    const QList<cp932::Unencodable> outside = charactersOutsideCp932(text);
    if (outside.isEmpty())
        return QString();
    return UiText::tr("Shift-JISで保存できない文字があります: %1\n"
                      "保存するときに新しい形式(1.07)で保存するかどうかを確認します")
        .arg(cp932::describe(outside));
}

} // namespace cw

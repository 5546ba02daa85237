#include "text/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "base/UiText.h"
#include "text/Cp932.h"

namespace cw {

namespace {

bool isText(const QString &text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f') || u == 0x7F)
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> readTextFile(const QString &path, qint64 maxBytes, MessageSink &messages)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        messages.showMessage(UiText::tr("ファイル(%1)がオープンできません").arg(path));
        return std::nullopt;
    }
    if (info.size() > maxBytes) {
        messages.showMessage(
            UiText::tr("ファイル(%1)が大きすぎます(最大%2KB)").arg(path).arg(maxBytes / 1024));
        return std::nullopt;
    }
    // One byte more than allowed tells a file that grew since it was looked at.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        messages.showMessage(
            UiText::tr("ファイル(%1)が大きすぎます(最大%2KB)").arg(path).arg(maxBytes / 1024));
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    int invalid = 0;
    if (utf8.hasError())
        text = cp932::decode(bytes, &invalid);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (invalid > 0 || bytes.contains('\0') || !isText(text)) {
        messages.showMessage(UiText::tr("ファイル(%1)はテキストファイルではありません").arg(path));
        return std::nullopt;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace cw

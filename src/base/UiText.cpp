#include "base/UiText.h"

#include <QTranslator>
#include <initializer_list>
#include <memory>

namespace cw {

namespace {

UiLanguage g_language = UiLanguage::Japanese;

// "ja_JP.UTF-8@x" -> "ja"
QByteArray languagePart(const QByteArray &locale)
{
    qsizetype end = locale.size();
    for (const char c : { '_', '.', '@' }) {
        const qsizetype at = locale.indexOf(c);
        if (at >= 0 && at < end)
            end = at;
    }
    return locale.left(end);
}

} // namespace

QString uiText(const QString &source)
{
    return UiText::tr(source.toUtf8().constData());
}

UiLanguage uiLanguageFrom(const std::function<QByteArray(const char *)> &variable)
{
    QByteArray locale;
    for (const char *name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        locale = variable(name);
        if (!locale.isEmpty())
            break;
    }
    const QByteArray localeLanguage = languagePart(locale);
    if (localeLanguage.isEmpty() || localeLanguage == "C" || localeLanguage == "POSIX")
        return UiLanguage::Japanese;
    QByteArray first = localeLanguage;
    for (const QByteArray &entry : variable("LANGUAGE").split(':')) {
        if (!entry.isEmpty()) {
            first = languagePart(entry);
            break;
        }
    }
    return first == "ja" ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage uiLanguageFromEnvironment()
{
    return uiLanguageFrom([](const char *name) { return qgetenv(name); });
}

UiLanguage installUiTranslation(QCoreApplication &app, UiLanguage language)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    g_language = UiLanguage::Japanese;
    if (language == UiLanguage::Japanese)
        return g_language;
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(QStringLiteral(":/i18n/casewright_en.qm"))
        || !QCoreApplication::installTranslator(translator.get()))
        return g_language;
    installed = translator.release();
    g_language = language;
    return g_language;
}

UiLanguage currentUiLanguage()
{
    return g_language;
}

QString uiTextIn(UiLanguage language, const char *source)
{
    if (language == UiLanguage::English) {
        QTranslator english;
        if (english.load(QStringLiteral(":/i18n/casewright_en.qm"))) {
            const QString text = english.translate("cw::UiText", source);
            if (!text.isEmpty())
                return text;
        }
    }
    return QString::fromUtf8(source);
}

} // namespace cw

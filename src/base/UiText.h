#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <functional>

namespace cw {

// Every text the program shows is written in Japanese in the code and goes
// through UiText::tr (or is marked with QT_TRANSLATE_NOOP("cw::UiText", …) and
// passed through UiText::tr where it is shown). With no translation installed
// the Japanese text is shown as it is; the English interface installs the
// compiled translations/casewright_en.ts. Texts written into files (documents,
// templates, settings) never go through here.
class UiText
{
    Q_DECLARE_TR_FUNCTIONS(cw::UiText)
};

// A text held as its Japanese source (a constant marked with
// QT_TRANSLATE_NOOP("cw::UiText", …)), translated where it is shown.
QString uiText(const QString &source);

enum class UiLanguage { Japanese, English };

// The interface language from the locale variables, read as Qt and gettext
// read them: the locale is the first set of LC_ALL, LC_MESSAGES and LANG; in
// the C/POSIX locale (or none) the interface is Japanese; otherwise the first
// entry of LANGUAGE, or the locale itself, names the language: Japanese for
// "ja", English for every other. `variable` returns a variable's value, empty
// when unset.
UiLanguage uiLanguageFrom(const std::function<QByteArray(const char *)> &variable);

// The same from this process's environment.
UiLanguage uiLanguageFromEnvironment();

// Makes `language` the interface's: installs the program's own translation
// into `app` for English (built into the program), removes it for Japanese,
// the texts' own language. Returns the language now in effect: Japanese when
// the translation could not be loaded.
UiLanguage installUiTranslation(QCoreApplication &app, UiLanguage language);

// The interface language installed last (Japanese before any).
UiLanguage currentUiLanguage();

// `source` (a text marked with QT_TRANSLATE_NOOP("cw::UiText", …)) in
// `language`, without installing anything: for what is said before an
// application object exists or where none can be made.
QString uiTextIn(UiLanguage language, const char *source);

} // namespace cw

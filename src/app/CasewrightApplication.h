#pragma once

#include <QApplication>
#include <exception>
#include <functional>

#include "base/UiText.h"

class QTranslator;

namespace cw {

class MessageSink;

// Runs `deliver`; an exception it throws is shown through `messages` instead
// of ending the program. Returns what `deliver` returned, false after an
// exception.
bool deliverGuarded(const std::function<bool()> &deliver, MessageSink &messages);

// The text shown for an exception that reached the event loop.
QString exceptionMessage(const std::exception_ptr &error);

// The program's name, organisation and version. No display name is set: the
// windowing system would append it to every caption ("終了確認 — Casewright"),
// and the captions are the program's own.
void setApplicationIdentity();

// Loads Qt's own Japanese texts (buttons and labels of the stock dialogs:
// file, colour, print, Yes / No), whatever the system locale says: with the
// Japanese interface the program's dialogs are Japanese too. Null when the translation file
// is missing; the stock dialogs then stay in English. The translator belongs to
// `app`; deleting it takes the translations away again.
QTranslator *installQtTranslations(QCoreApplication &app);

// Makes `language` the interface's (installUiTranslation) and has Qt's own
// dialogs follow it: Qt's Japanese texts are installed with Japanese and
// taken away again with English. Returns the language now in effect.
UiLanguage installTranslations(QCoreApplication &app, UiLanguage language);

// The application: an exception thrown by an event handler is shown to the
// user and the event loop goes on.
class CasewrightApplication : public QApplication
{
public:
    CasewrightApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace cw

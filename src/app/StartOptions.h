#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "base/UiText.h"

class QCommandLineParser;

namespace cw {

// The command line of the window program: a description, -h/--help,
// -v/--version and the document to open, every text in the interface
// language (Qt's own texts, such as "Usage:", through Qt's translation).
void addStartOptions(QCommandLineParser &parser);

// What `casewright --help` and `casewright --version` print, on standard
// output. Answered before any window, on a plain core application, so that
// they need no display. Returns the exit status, or -1 when the arguments
// ask for neither (before a "--").
int answerWithoutWindow(int argc, char **argv);

// Said when the window cannot be opened because there is no display.
QString noDisplayText(UiLanguage language);

// While it lives (around the making of the application object), the
// windowing system's messages are held back; a windowing system that cannot
// start (no display, or one that cannot be reached) ends the program with
// exit status 1 and noDisplayText() on standard error instead of an abort
// and a core file. Once it ends, what was held is told as usual.
class DisplayStartGuard
{
public:
    explicit DisplayStartGuard(UiLanguage language);
    ~DisplayStartGuard();
    DisplayStartGuard(const DisplayStartGuard &) = delete;
    DisplayStartGuard &operator=(const DisplayStartGuard &) = delete;
};

} // namespace cw

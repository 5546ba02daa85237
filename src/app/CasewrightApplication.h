#pragma once

#include <QApplication>
#include <exception>
#include <functional>

class MessageSink;

// Runs `deliver`; an exception it throws is shown through `messages` instead
// of ending the program. Returns what `deliver` returned, false after an
// exception.
bool deliverGuarded(const std::function<bool()> &deliver, MessageSink &messages);

// The text shown for an exception that reached the event loop.
QString exceptionMessage(const std::exception_ptr &error);

// The application: an exception thrown by an event handler is shown to the
// user and the event loop goes on.
class CasewrightApplication : public QApplication
{
public:
    CasewrightApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

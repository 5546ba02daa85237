#pragma once

#include <QString>

namespace cw {

// How core code talks to the user. The GUI implements these with message
// boxes and the progress window, the command line with standard error, and
// tests with recorders.

// Modal message boxes with an OK button.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text) = 0;
};

// Yes/No questions with No preselected. True means Yes.
class ConfirmSink
{
public:
    virtual ~ConfirmSink() = default;
    virtual bool confirm(const QString &text, const QString &caption) = 0;
};

// The progress window: ShowText shows a text and lets pending events run
// once; hide() closes it when the work is done.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    virtual void ShowText(const QString &text) = 0;
    virtual void hide() = 0;
};

// Sinks that do nothing, for callers that have no user to tell.
class NullMessageSink : public MessageSink
{
public:
    void showMessage(const QString &) override { }
};
class NullProgressSink : public ProgressSink
{
public:
    void ShowText(const QString &) override { }
    void hide() override { }
};

} // namespace cw

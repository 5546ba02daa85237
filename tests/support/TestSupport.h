#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "document/UserPrompts.h"

// Records messages instead of showing them.
class RecordingMessages : public MessageSink
{
public:
    void showMessage(const QString &text) override { messages.append(text); }
    QStringList messages;
};

class RecordingProgress : public ProgressSink
{
public:
    void ShowText(const QString &text) override
    {
        texts.append(text);
        visible = true;
    }
    void hide() override { visible = false; }
    QStringList texts;
    bool visible = false;
};

// Encodes UTF-8 source text as CP932 bytes (for fixtures written in tests).
QByteArray sjis(const QString &text);
// Reads a whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &data);

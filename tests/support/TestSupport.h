#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "base/UserPrompts.h"

using namespace cw;

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

// While it lives, a file written beyond `bytes` fails as on a full disk (the
// process's file-size limit, with SIGXFSZ ignored).
class FullDiskAfter
{
public:
    explicit FullDiskAfter(unsigned long bytes);
    ~FullDiskAfter();
    FullDiskAfter(const FullDiskAfter &) = delete;
    FullDiskAfter &operator=(const FullDiskAfter &) = delete;

private:
    unsigned long m_oldCurrent = 0;
    void (*m_oldHandler)(int) = nullptr;
};

// Encodes UTF-8 source text as CP932 bytes (for fixtures written in tests).
QByteArray sjis(const QString &text);
// Reads a whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &data);
// A 6000 x 5000 RLE8 BMP of 70 bytes: black but for a strip of 319 pixels of
// 0x336699 at the start of its bottom row (the rest is left undefined).
QByteArray largeRleBmp();

// One run of casewright-cli, headless, with a runtime folder of its own.
struct CliResult
{
    int code = -1;
    QByteArray rawOut; // standard output as bytes
    QString out; // standard output as UTF-8 text
    QString err;
};
// configHome: a settings folder for the run (empty: the caller's settings).
// The run speaks Japanese (the C locale) whatever the caller's locale, or the
// language `locale` sets (englishLocale()).
CliResult runCasewrightCli(const QStringList &args, const QString &configHome = QString(),
    const QProcessEnvironment &locale = QProcessEnvironment());

// The locale variables of a run that speaks English.
QProcessEnvironment englishLocale();
// `env` with its language chosen by `locale` alone: the locale variables of
// the caller removed, the C locale (Japanese), then `locale`'s variables.
QProcessEnvironment withLocale(QProcessEnvironment env, const QProcessEnvironment &locale);

// Writes `seconds` of stereo silence at 44.1 kHz as an audio file of the kind
// the name's extension gives (wav, flac, ogg, opus), with sox and the
// encoders. False when a tool fails.
bool makeSilentAudio(const QString &path, double seconds);

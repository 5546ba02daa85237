#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <string>

// This build installed with `cmake --install` into a temporary folder (once
// per test program run), and the programs run from there.

struct ProgramRun
{
    int code = -1; // -1: did not start, crashed or timed out
    QString out;
    QString err;
};

// Runs `program` headless with a settings folder of its own (`configHome`,
// or a fresh empty one) and waits for it. It speaks Japanese (the C locale)
// unless `extra` sets the locale.
ProgramRun runProgram(const QString &program, const QStringList &args,
    const QString &configHome = QString(), const QString &workingFolder = QString(),
    const QProcessEnvironment &extra = QProcessEnvironment());
// Runs `program` with exactly the environment `env` and waits for it.
ProgramRun runInEnvironment(const QString &program, const QStringList &args,
    const QProcessEnvironment &env, const QString &workingFolder = QString());

// The installed tree. `ok` is false, with the installer's output in `log`,
// when the installation failed.
struct InstalledTree
{
    bool ok = false;
    QString log;
    QString prefix; // the folder installed into

    static const InstalledTree &get();

    QString path(const QString &relative) const { return prefix + '/' + relative; }
    // Every file and symbolic link below the prefix, relative to it, sorted.
    QStringList files() const;
};

// The path of a tool the install checks run, empty when it is missing. Every
// one of them comes with a package tools/setup.sh installs, so a missing
// tool fails the check that needs it, with `missingTool` as its message.
QString installedTool(const QString &name);
std::string missingTool(const QString &name);

// The folder of the program's modules relative to the prefix, as the build
// lays it out ("lib/x86_64-linux-gnu/casewright").
QString moduleFolder();
// The version the build states ("1.12").
QString buildVersion();

// The command-line section of README.md: each command with the options its
// lines there show, and every option the section names anywhere.
struct ReadmeCommandLine
{
    QMap<QString, QStringList> commandOptions; // "print" -> "--printer", "--pdf", ...
    QStringList allOptions;
};
ReadmeCommandLine readmeCommandLine();

#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "RobotAction.h"

// The robot user: drives the program's real windows with a seeded random
// sequence of user actions and checks after each one that the windows show
// the document, that the enabling rules hold, that the preview shows what a
// fresh drawing of the document gives, and now and then that the document
// saved and read back is the same document.

struct RobotFailure
{
    QString kind; // a short class of failure, the same for the same fault
    QString message;
    int action = -1; // index of the action after which it was found
};

struct RobotSettings
{
    // Every how many actions the document is saved and read back.
    int roundTripEvery = 25;
    // Whether the preview is compared with a fresh drawing after each action.
    bool checkPreview = true;
};

class RobotUser
{
public:
    // `files`: the prepared folder (see RobotFiles.h).
    RobotUser(const QString &files, RobotSettings settings = RobotSettings());
    ~RobotUser();

    // From a fresh start, `count` actions chosen from `seed`. `before` is told
    // each action before it runs (logs that must survive a crash). The actions
    // run are appended to `done`.
    std::optional<RobotFailure> run(quint32 seed, int count, RobotActions &done,
        const std::function<void(const RobotAction &)> &before = {});
    // From a fresh start, exactly these actions.
    std::optional<RobotFailure> replay(const RobotActions &actions,
        const std::function<void(const RobotAction &)> &before = {});

private:
    QString m_files;
    RobotSettings m_settings;
};

// The failure report: seed, the shortened action list and how to replay it.
QString describeFailure(quint32 seed, const RobotFailure &failure, const RobotActions &actions);

// Called by the hang watchdog of the running action: the action started and
// finished (see RobotSession.cpp). Exposed for the command-line runner.
void robotActionStarted(int index);
void robotActionFinished();
// Starts a thread that ends the process with `onHang` output when one action
// runs longer than `limitMs` of its own time: the wall-clock time less what
// the window's thread spent waiting for a processor that other programs held
// (the kernel's per-thread run-queue wait), so a loaded machine is not
// mistaken for a frozen window, while a window blocked in a wait still is.
void startHangWatchdog(int limitMs, std::function<void(int action)> onHang);

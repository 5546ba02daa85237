#include "RobotUser.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <unistd.h>

#include "RobotSession.h"

namespace {

std::atomic<int> g_action { -1 };
std::atomic<long long> g_started { 0 };
std::atomic<long long> g_waitedBefore { 0 };
std::atomic<pid_t> g_guiThread { 0 };

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// How long, in ms, a thread has waited for a processor while it could run
// (the second field of its schedstat); 0 where the kernel does not say.
long long waitedForProcessorMs(pid_t thread)
{
    if (thread == 0)
        return 0;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/schedstat", int(thread));
    std::FILE *f = std::fopen(path, "r");
    if (!f)
        return 0;
    unsigned long long running = 0, waiting = 0;
    const int read = std::fscanf(f, "%llu %llu", &running, &waiting);
    std::fclose(f);
    return read == 2 ? (long long)(waiting / 1000000) : 0;
}

// The own time of an action that took `wallMs`, of which the window's thread
// waited `waitedMs` for a processor.
long long ownTimeMs(long long wallMs, long long waitedMs)
{
    return std::max(0LL, wallMs - std::max(0LL, waitedMs));
}

std::optional<RobotFailure> failureOf(const QString &text, int index)
{
    if (text.isEmpty())
        return std::nullopt;
    return RobotFailure { text.section(QLatin1Char('|'), 0, 0), text.section(QLatin1Char('|'), 1), index };
}

} // namespace

void robotActionStarted(int index)
{
    g_guiThread = gettid();
    g_waitedBefore = waitedForProcessorMs(g_guiThread);
    g_started = nowMs();
    g_action = index;
}

void robotActionFinished()
{
    g_action = -1;
}

void startHangWatchdog(int limitMs, std::function<void(int action)> onHang)
{
    std::thread([limitMs, onHang = std::move(onHang)] {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const int action = g_action;
            // The action's own time: a machine busy with other programs
            // makes the window wait for a processor, which is no hang of it.
            const long long own = ownTimeMs(
                nowMs() - g_started, waitedForProcessorMs(g_guiThread) - g_waitedBefore);
            if (action >= 0 && own > limitMs && g_action == action) {
                onHang(action);
                return;
            }
        }
    }).detach();
}

RobotUser::RobotUser(const QString &files, RobotSettings settings)
    : m_files(files)
    , m_settings(settings)
{ }

RobotUser::~RobotUser() = default;

std::optional<RobotFailure> RobotUser::run(quint32 seed, int count, RobotActions &done,
    const std::function<void(const RobotAction &)> &before)
{
    RobotSession session(m_files, m_settings);
    std::mt19937 rng(seed);
    for (int i = 0; i < count; ++i) {
        const RobotAction action = session.choose(rng);
        done.push_back(action);
        if (before)
            before(action);
        if (auto failure = failureOf(session.perform(action, i, i + 1 == count), i))
            return failure;
    }
    return std::nullopt;
}

std::optional<RobotFailure> RobotUser::replay(
    const RobotActions &actions, const std::function<void(const RobotAction &)> &before)
{
    RobotSession session(m_files, m_settings);
    for (size_t i = 0; i < actions.size(); ++i) {
        if (before)
            before(actions[i]);
        if (auto failure = failureOf(session.perform(actions[i], int(i), i + 1 == actions.size()), int(i)))
            return failure;
    }
    return std::nullopt;
}

QString describeFailure(quint32 seed, const RobotFailure &failure, const RobotActions &actions)
{
    QString s = QStringLiteral("robot user: seed %1: %2: %3\n").arg(seed).arg(failure.kind, failure.message);
    s += QStringLiteral("the shortest action list found (%1 actions):\n").arg(actions.size());
    for (size_t i = 0; i < actions.size(); ++i)
        s += QStringLiteral("  %1. %2\n").arg(i + 1).arg(actions[i].describe());
    return s;
}

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <mutex>
#include <sys/types.h>

#include "pictures/DecoderFence.h"
#include "pictures/PictureThumbnail.h"
#include "pictures/SusieHost.h"

namespace cw {

// The program's side of the decoder helper, the process `casewright-decoder`
// (beside the executable) in which every decoder module and every image
// reader of Qt runs. The helper is started when first needed and reused;
// one that crashes, hangs past the time limit or outgrows its memory is
// killed and replaced at the next request, and the request that met it
// fails as "broken" (crash, time) or "too large" (memory). A module that
// takes the helper down while it loads is treated as a module that cannot be
// loaded: it is left out until the program ends (this one run of the program;
// it is tried again at the next start) and the request is asked again
// without it. One request at a time: callers on other threads wait.
class DecoderHelper
{
public:
    // Wall time a request may take before the helper is killed; the helper's
    // processor time per request is held to the same by its CPU limit.
    static constexpr int kDefaultTimeLimitMs = 10000;

    static DecoderHelper &instance();
    DecoderHelper();
    ~DecoderHelper();
    DecoderHelper(const DecoderHelper &) = delete;
    DecoderHelper &operator=(const DecoderHelper &) = delete;

    // Starts the helper now if none runs, without waiting for it: a program
    // that will need it soon lets it start up meanwhile. While this process
    // still runs a single thread (the first thing main() does), the helper
    // starts as a copy of it, which spares loading a program and its
    // libraries afresh (most of a short command's wait for its first
    // picture); otherwise, and for every replacement, it is started from
    // `casewright-decoder`. A helper path set for tests always starts that.
    void startEarly();
    // How the running helper was started (None when none runs).
    enum class Start { None, Program, Copy };
    Start howStarted() const;

    // The modules: as SusieHost's own functions of these names.
    void load(const QString &folder, ModuleLoading when);
    void unload();
    QString filter();
    QStringList moduleNames();
    int moduleCount();
    int loadedModuleCount();
    bool decodeImage(const QString &fileName, QImage &image, PictureFailure *failure,
        QSize wanted = QSize(), PictureReduction *reduction = nullptr,
        ReductionKind kind = ReductionKind::Average);
    bool convert(const QString &fileName, QByteArray &bmp, PictureFailure *failure);
    // The picture dialog's readers, as loadPictureThumbnail / loadPictureWhole.
    PictureThumbnail thumbnail(const QString &fileName, QSize box);
    QImage whole(const QString &fileName);

    // The helper executable: `casewright-decoder` in the program's module folder.
    QString helperPath() const;
    void setHelperPath(const QString &path);
    int timeLimitMs() const;
    void setTimeLimitMs(int ms);
    // The running helper's process id, 0 when none runs.
    pid_t helperPid() const;
    // The fences the running helper reported (starting one when none runs).
    DecoderFenceReport fences();
    // The resident memory the running helper may reach before it is killed.
    size_t residentBudget() const;
    // Modules left out because loading them took a helper down.
    QStringList leftOutModules() const;
    // Helpers started so far (each replacement counts).
    int startCount() const;
    // The peak resident memory of the last helper that ended, as the kernel
    // counted it when the helper was reaped (0 before any ended).
    size_t endedPeakResidentBytes() const;

    enum class Outcome { Ok, Crashed, TimedOut, OutOfMemory, Unavailable };

private:
    struct Reply
    {
        QByteArray payload;
        int fd = -1;
    };
    Outcome callLocked(const QByteArray &request, Reply &reply);
    Outcome exchangeLocked(const QByteArray &request, Reply &reply);
    Outcome startLocked(); // spawn and handshake
    Outcome spawnLocked();
    Outcome copyLocked(); // spawnLocked, as a copy of this process
    // Takes on a helper just started, not yet spoken to.
    Outcome startedLocked(pid_t pid, int socket, int limitMb, Start how);
    Outcome handshakeLocked();
    QByteArray loadRequest() const;
    void stopLocked();
    QByteArray simpleCall(qint32 op, Outcome *outcome = nullptr);

    mutable std::mutex m_mutex;
    pid_t m_pid = 0;
    int m_socket = -1;
    int m_startedLimitMb = 0;
    bool m_ready = false; // its first message was read
    size_t m_residentBudget = 0;
    DecoderFenceReport m_fence;
    int m_starts = 0;
    size_t m_endedPeakResident = 0;
    Start m_start = Start::None;
    int m_timeLimitMs = kDefaultTimeLimitMs;
    QString m_helperPath;
    // What every helper is told first, so a replacement has the same modules.
    bool m_loaded = false;
    QString m_folder;
    ModuleLoading m_when = ModuleLoading::AtOnce;
    // Modules that took a helper down while loading, left out from then on.
    QStringList m_leftOut;
    QString m_loading; // the module the helper said it is loading
};

// The failure a request that met a fence gives the picture.
PictureFailure failureOf(DecoderHelper::Outcome outcome);

} // namespace cw

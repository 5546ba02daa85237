// The program's side of the decoder helper: starting it, one request at a
// time over the socket, the watchdog on time and memory, and replacement.
#include "pictures/DecoderHelper.h"

#include "base/ProgramFolders.h"
#include "base/UiText.h"

#include "pictures/DecoderChannel.h"
#include "pictures/DecoderFence.h"
#include "pictures/DecoderService.h"
#include "pictures/PictureLoading.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace cw {

using decoder::Op;

namespace {

// How often the watchdog looks at a helper that has not answered yet.
constexpr int kWatchIntervalMs = 20;
// A fresh helper's start-up (libraries, the fences) before its first word.
constexpr int kStartLimitMs = 10000;


// A request: the operation, then its arguments in order.
template <typename... Args> QByteArray request(Op op, const Args &...args)
{
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out << qint32(op);
    ((out << args), ...);
    return b;
}

// The number a counting request answers with (0 for an unreadable answer).
int countOf(const QByteArray &payload)
{
    QDataStream in(payload);
    qint32 op = 0, count = 0;
    in >> op >> count;
    return in.status() == QDataStream::Ok ? count : 0;
}

// Whether this process runs a single thread: only then may it start the
// helper as a copy of itself (a child of a threaded process may inherit a
// lock another thread held).
bool runsOneThread()
{
    return QDir(QStringLiteral("/proc/self/task"))
               .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
               .size()
        == 1;
}

// Processor seconds the process has used (user and system), rounded up.
rlim_t processorSecondsUsed(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = f.readAll();
    // The fields after the command name, which is in parentheses and may
    // itself hold spaces: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    const long ticks = sysconf(_SC_CLK_TCK);
    const quint64 used = fields[11].toULongLong() + fields[12].toULongLong();
    return rlim_t((used + quint64(ticks) - 1) / quint64(ticks));
}

} // namespace

PictureFailure failureOf(DecoderHelper::Outcome outcome)
{
    switch (outcome) {
    case DecoderHelper::Outcome::OutOfMemory:
        return PictureFailure::TooLarge;
    case DecoderHelper::Outcome::Crashed:
    case DecoderHelper::Outcome::TimedOut:
        return PictureFailure::Broken;
    case DecoderHelper::Outcome::Ok:
    case DecoderHelper::Outcome::Unavailable:
        break;
    }
    return PictureFailure::Unsupported;
}

DecoderHelper &DecoderHelper::instance()
{
    static DecoderHelper helper;
    return helper;
}

DecoderHelper::DecoderHelper() = default;

DecoderHelper::~DecoderHelper()
{
    std::lock_guard lock(m_mutex);
    stopLocked();
}

QString DecoderHelper::helperPath() const
{
    std::lock_guard lock(m_mutex);
    if (!m_helperPath.isEmpty())
        return m_helperPath;
    return programModuleFolder() + QStringLiteral("/casewright-decoder");
}

void DecoderHelper::setHelperPath(const QString &path)
{
    std::lock_guard lock(m_mutex);
    m_helperPath = path;
    stopLocked();
}

int DecoderHelper::timeLimitMs() const
{
    std::lock_guard lock(m_mutex);
    return m_timeLimitMs;
}

void DecoderHelper::setTimeLimitMs(int ms)
{
    std::lock_guard lock(m_mutex);
    m_timeLimitMs = ms > 0 ? ms : kDefaultTimeLimitMs;
}

pid_t DecoderHelper::helperPid() const
{
    std::lock_guard lock(m_mutex);
    return m_pid;
}

DecoderFenceReport DecoderHelper::fences()
{
    std::lock_guard lock(m_mutex);
    if (m_pid <= 0) {
        Reply reply;
        callLocked(request(Op::ModuleCount), reply);
        if (reply.fd >= 0)
            close(reply.fd);
    }
    return m_fence;
}

size_t DecoderHelper::residentBudget() const
{
    std::lock_guard lock(m_mutex);
    return m_residentBudget;
}

int DecoderHelper::startCount() const
{
    std::lock_guard lock(m_mutex);
    return m_starts;
}

size_t DecoderHelper::endedPeakResidentBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_endedPeakResident;
}

void DecoderHelper::stopLocked()
{
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
    if (m_pid > 0) {
        // Killed, not asked: a helper that misbehaves may ignore its socket.
        kill(m_pid, SIGKILL);
        int status = 0;
        rusage usage {};
        while (wait4(m_pid, &status, 0, &usage) < 0 && errno == EINTR) { }
        m_endedPeakResident = size_t(usage.ru_maxrss) * 1024; // kilobytes
    }
    m_pid = 0;
}

QByteArray DecoderHelper::loadRequest() const
{
    QByteArray load = request(Op::Load);
    QDataStream out(&load, QIODevice::Append);
    out << m_folder << qint32(m_when) << m_leftOut;
    return load;
}

QStringList DecoderHelper::leftOutModules() const
{
    std::lock_guard lock(m_mutex);
    return m_leftOut;
}

DecoderHelper::Outcome DecoderHelper::startLocked()
{
    const Outcome spawned = spawnLocked();
    return spawned == Outcome::Ok ? handshakeLocked() : spawned;
}

DecoderHelper::Outcome DecoderHelper::spawnLocked()
{
    stopLocked();
    const QString path = m_helperPath.isEmpty()
        ? programModuleFolder() + QStringLiteral("/casewright-decoder")
        : m_helperPath;
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sv) != 0)
        return Outcome::Unavailable;
    const int limitMb = pictureAllocationLimitMb();
    const QByteArray program = QFile::encodeName(path);
    const QByteArray limit = QByteArray::number(limitMb);
    char *argv[] = { const_cast<char *>(program.constData()), const_cast<char *>("--socket"),
        const_cast<char *>("3"), const_cast<char *>("--limit-mb"),
        const_cast<char *>(limit.constData()), nullptr };

    // The helper gets the socket as descriptor 3, reads nothing and writes
    // only to standard error; it runs in a process group of its own, with
    // default signal handling.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sv[1], 3);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(
        &attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.constData(), &actions, &attr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(sv[1]);
    if (rc != 0) {
        close(sv[0]);
        return Outcome::Unavailable;
    }
    return startedLocked(pid, sv[0], limitMb, Start::Program);
}

DecoderHelper::Outcome DecoderHelper::startedLocked(
    pid_t pid, int socket, int limitMb, Start how)
{
    m_pid = pid;
    m_socket = socket;
    m_startedLimitMb = limitMb;
    m_ready = false;
    m_start = how;
    ++m_starts;
    return Outcome::Ok;
}

DecoderHelper::Outcome DecoderHelper::handshakeLocked()
{
    const int limitMb = m_startedLimitMb;
    // Its first message: the size it started at, which the memory budget
    // is counted from.
    pollfd p { m_socket, POLLIN, 0 };
    decoder::Message hello;
    if (poll(&p, 1, kStartLimitMs) != 1
        || decoder::receiveMessage(m_socket, hello) != decoder::Received::Ok) {
        stopLocked();
        return Outcome::Unavailable;
    }
    if (hello.fd >= 0)
        close(hello.fd);
    QDataStream in(hello.payload);
    qint32 op = 0;
    quint64 resident = 0, addressBytes = 0;
    DecoderFenceReport fence;
    in >> op >> resident >> fence.noNewPrivileges >> fence.addressSpaceLimited
        >> fence.systemCallFilter >> addressBytes;
    fence.addressSpaceBytes = size_t(addressBytes);
    if (in.status() != QDataStream::Ok || op != qint32(Op::Hello)) {
        stopLocked();
        return Outcome::Unavailable;
    }
    m_residentBudget = decoderResidentBudget(size_t(resident), limitMb);
    m_fence = fence;
    m_ready = true;
    if (m_loaded) {
        Reply reply;
        const Outcome loaded = exchangeLocked(loadRequest(), reply);
        if (reply.fd >= 0)
            close(reply.fd);
        return loaded;
    }
    return Outcome::Ok;
}

DecoderHelper::Outcome DecoderHelper::callLocked(const QByteArray &request, Reply &reply)
{
    for (;;) {
        const qsizetype leftOut = m_leftOut.size();
        // A helper started under another picture limit has the wrong fences.
        if (m_pid > 0 && m_startedLimitMb != pictureAllocationLimitMb())
            stopLocked();
        Outcome outcome = Outcome::Ok;
        if (m_pid <= 0)
            outcome = startLocked();
        else if (!m_ready)
            outcome = handshakeLocked();
        if (outcome == Outcome::Ok)
            outcome = exchangeLocked(request, reply);
        // A module that took the helper down while loading is left out now
        // (each round leaves out one more, so this ends).
        if (outcome == Outcome::Ok || m_leftOut.size() == leftOut)
            return outcome;
    }
}

DecoderHelper::Outcome DecoderHelper::exchangeLocked(const QByteArray &request, Reply &reply)
{
    // The processor time this request may take, on top of what the helper
    // has used so far; the kernel stops it there.
    const rlim_t seconds = rlim_t((m_timeLimitMs + 999) / 1000);
    const rlimit cpu { processorSecondsUsed(m_pid) + seconds, RLIM_INFINITY };
    prlimit(m_pid, RLIMIT_CPU, &cpu, nullptr);

    m_loading.clear();
    auto failed = [this](Outcome outcome) {
        stopLocked();
        if (!m_loading.isEmpty() && !m_leftOut.contains(m_loading))
            m_leftOut.append(m_loading);
        m_loading.clear();
        return outcome;
    };
    if (!decoder::sendMessage(m_socket, request))
        return failed(Outcome::Crashed);
    const QDeadlineTimer deadline(m_timeLimitMs);
    bool outOfMemory = false;
    const QString pid = QString::number(m_pid);
    for (;;) {
        pollfd p { m_socket, POLLIN, 0 };
        const int wait = int(std::min<qint64>(kWatchIntervalMs, deadline.remainingTime()));
        const int ready = poll(&p, 1, std::max(wait, 0));
        if (ready < 0 && errno != EINTR)
            return failed(Outcome::Crashed);
        if (ready > 0) {
            decoder::Message m;
            const decoder::Received got = decoder::receiveMessage(m_socket, m);
            if (got != decoder::Received::Ok)
                return failed(outOfMemory ? Outcome::OutOfMemory : Outcome::Crashed);
            QDataStream in(m.payload);
            qint32 op = 0;
            in >> op;
            if (op == qint32(Op::OutOfMemory) || op == qint32(Op::Loading)) {
                if (op == qint32(Op::OutOfMemory))
                    outOfMemory = true; // it is dying at its limit
                else
                    in >> m_loading;
                if (m.fd >= 0)
                    close(m.fd);
                continue;
            }
            m_loading.clear();
            reply.payload = std::move(m.payload);
            reply.fd = m.fd;
            return Outcome::Ok;
        }
        // The memory check from outside: the helper's resident memory
        // against its budget (the only memory fence in sanitizer builds).
        if (processResidentBytes(pid) > m_residentBudget)
            return failed(Outcome::OutOfMemory);
        if (deadline.hasExpired())
            return failed(Outcome::TimedOut);
    }
}

QByteArray DecoderHelper::simpleCall(qint32 op, Outcome *outcome)
{
    Reply reply;
    const Outcome o = callLocked(request(Op(op)), reply);
    if (outcome)
        *outcome = o;
    if (reply.fd >= 0)
        close(reply.fd);
    if (o != Outcome::Ok)
        return QByteArray();
    return reply.payload;
}

void DecoderHelper::startEarly()
{
    std::lock_guard lock(m_mutex);
    if (m_pid > 0)
        return;
    if (m_helperPath.isEmpty() && runsOneThread() && copyLocked() == Outcome::Ok)
        return;
    spawnLocked();
}

DecoderHelper::Start DecoderHelper::howStarted() const
{
    std::lock_guard lock(m_mutex);
    return m_pid > 0 ? m_start : Start::None;
}

DecoderHelper::Outcome DecoderHelper::copyLocked()
{
    stopLocked();
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sv) != 0)
        return Outcome::Unavailable;
    const int limitMb = pictureAllocationLimitMb();
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0) {
        close(sv[0]);
        close(sv[1]);
        return Outcome::Unavailable;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // The copy: what `casewright-decoder` would be given. Only calls that
        // are safe in a fresh child of a single-threaded process until the
        // service starts.
        setpgid(0, 0);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int sig = 1; sig < NSIG; ++sig)
            signal(sig, SIG_DFL);
        if (dup2(devNull, 0) < 0 || dup2(devNull, 1) < 0 || dup2(sv[1], 3) < 0)
            _exit(1);
        syscall(SYS_close_range, 4u, ~0u, 0u);
        static int argc = 1;
        static char name[] = "casewright-decoder";
        static char *argv[] = { name, nullptr };
        QCoreApplication app(argc, argv);
        // Texts it makes (the picture filter) in the program's language.
        installUiTranslation(app, uiLanguageFromEnvironment());
        _exit(runDecoderService(3, limitMb));
    }
    close(devNull);
    close(sv[1]);
    if (pid < 0) {
        close(sv[0]);
        return Outcome::Unavailable;
    }
    return startedLocked(pid, sv[0], limitMb, Start::Copy);
}

void DecoderHelper::load(const QString &folder, ModuleLoading when)
{
    std::lock_guard lock(m_mutex);
    m_loaded = true;
    m_folder = folder;
    m_when = when;
    // All at once: the program's start-up, which starts the helper and
    // loads the modules now, so that they are ready for the first picture.
    // On demand (the command line): the helper is started now and starts
    // up while the program goes on; it is first spoken to when needed.
    if (m_pid <= 0) {
        if (when == ModuleLoading::AtOnce) {
            Reply reply;
            callLocked(request(Op::ModuleCount), reply);
            if (reply.fd >= 0)
                close(reply.fd);
        } else {
            spawnLocked();
        }
        return;
    }
    if (!m_ready)
        return; // its handshake tells it the modules
    Reply reply;
    callLocked(loadRequest(), reply);
    if (reply.fd >= 0)
        close(reply.fd);
}

void DecoderHelper::unload()
{
    std::lock_guard lock(m_mutex);
    m_loaded = false;
    // A helper not yet spoken to, or under another picture limit (it would
    // be replaced for the request): ending it unloads as well.
    if (m_pid > 0 && (!m_ready || m_startedLimitMb != pictureAllocationLimitMb()))
        stopLocked();
    else if (m_pid > 0)
        simpleCall(qint32(Op::Unload));
}

QString DecoderHelper::filter()
{
    std::lock_guard lock(m_mutex);
    Outcome outcome;
    const QByteArray payload = simpleCall(qint32(Op::Filter), &outcome);
    QDataStream in(payload);
    qint32 op = 0;
    QString filter;
    in >> op >> filter;
    if (outcome != Outcome::Ok || in.status() != QDataStream::Ok)
        return SusieHost::filterWithout();
    return filter;
}

QStringList DecoderHelper::moduleNames()
{
    std::lock_guard lock(m_mutex);
    QDataStream in(simpleCall(qint32(Op::ModuleNames)));
    qint32 op = 0;
    QStringList names;
    in >> op >> names;
    return in.status() == QDataStream::Ok ? names : QStringList();
}

int DecoderHelper::moduleCount()
{
    std::lock_guard lock(m_mutex);
    return countOf(simpleCall(qint32(Op::ModuleCount)));
}

int DecoderHelper::loadedModuleCount()
{
    std::lock_guard lock(m_mutex);
    if (m_pid <= 0)
        return 0; // nothing is loaded before the helper runs
    return countOf(simpleCall(qint32(Op::LoadedCount)));
}

bool DecoderHelper::decodeImage(const QString &fileName, QImage &image, PictureFailure *failure,
    QSize wanted, PictureReduction *reduction, ReductionKind kind)
{
    std::lock_guard lock(m_mutex);
    // The wanted size goes with the request: the helper asks the modules
    // for the picture at that size, so only the reduced picture is made
    // there and handed over.
    const QByteArray req = request(Op::Decode, fileName, wanted, qint32(kind));
    Reply reply;
    const Outcome outcome = callLocked(req, reply);
    if (failure)
        *failure = failureOf(outcome);
    if (outcome != Outcome::Ok)
        return false;
    QDataStream in(reply.payload);
    qint32 op = 0, why = 0, factor = 1;
    bool ok = false;
    QSize full;
    in >> op >> ok >> why >> full >> factor;
    if (failure && why >= 0 && why <= qint32(PictureFailure::Broken))
        *failure = PictureFailure(why);
    if (!ok || in.status() != QDataStream::Ok) {
        if (reply.fd >= 0)
            close(reply.fd);
        return false;
    }
    QImage decoded = decoder::readImage(in, reply.fd);
    // The picture must be the file's size reduced by the factor it names.
    if (decoded.isNull() || (factor != 1 && factor != 2 && factor != 4 && factor != 8)
        || reducedPictureSize(full, factor) != decoded.size())
        return false;
    if (reduction)
        *reduction = PictureReduction { full, int(factor), kind };
    image = std::move(decoded);
    return true;
}

bool DecoderHelper::convert(const QString &fileName, QByteArray &bmp, PictureFailure *failure)
{
    std::lock_guard lock(m_mutex);
    const QByteArray req = request(Op::Convert, fileName);
    Reply reply;
    const Outcome outcome = callLocked(req, reply);
    if (reply.fd >= 0)
        close(reply.fd);
    if (failure)
        *failure = failureOf(outcome);
    if (outcome != Outcome::Ok)
        return false;
    QDataStream in(reply.payload);
    qint32 op = 0, why = 0;
    bool ok = false;
    QByteArray out;
    in >> op >> ok >> why >> out;
    if (failure && why >= 0 && why <= qint32(PictureFailure::Broken))
        *failure = PictureFailure(why);
    if (!ok || in.status() != QDataStream::Ok)
        return false;
    bmp = std::move(out);
    return true;
}

PictureThumbnail DecoderHelper::thumbnail(const QString &fileName, QSize box)
{
    std::lock_guard lock(m_mutex);
    const QByteArray req = request(Op::Thumbnail, fileName, box);
    Reply reply;
    PictureThumbnail result;
    if (callLocked(req, reply) != Outcome::Ok) {
        if (reply.fd >= 0)
            close(reply.fd);
        return result;
    }
    QDataStream in(reply.payload);
    qint32 op = 0;
    in >> op >> result.valid >> result.fullSize;
    const int fd = reply.fd;
    if (in.status() != QDataStream::Ok || !result.valid) {
        if (fd >= 0)
            close(fd);
        return PictureThumbnail();
    }
    result.image = decoder::readImage(in, fd);
    if (result.image.isNull())
        return PictureThumbnail();
    return result;
}

QImage DecoderHelper::whole(const QString &fileName)
{
    std::lock_guard lock(m_mutex);
    const QByteArray req = request(Op::Whole, fileName);
    Reply reply;
    if (callLocked(req, reply) != Outcome::Ok) {
        if (reply.fd >= 0)
            close(reply.fd);
        return QImage();
    }
    QDataStream in(reply.payload);
    qint32 op = 0;
    in >> op;
    return decoder::readImage(in, reply.fd);
}

} // namespace cw

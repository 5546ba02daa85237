// The decoder helper's fences: limits and a system-call filter it sets on
// itself before any module runs.
#include "pictures/DecoderFence.h"

#include "pictures/DecoderChannel.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace cw {

namespace {

// Room for what the helper maps after start-up: the decoding libraries the
// modules load, the image-format plug-ins, thread stacks.
constexpr size_t kLibraryRoom = size_t(256) << 20;
// A fatal signal this close to the address-space limit is the limit's doing.
constexpr size_t kNearLimit = size_t(64) << 20;

size_t statmField(const QString &pid, int field)
{
    QFile f(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readLine().simplified().split(' ');
    if (fields.size() <= field)
        return 0;
    return size_t(fields[field].toULongLong()) * size_t(sysconf(_SC_PAGESIZE));
}

// For the fatal-signal handler, which may only use async-signal-safe calls.
size_t g_addressLimit = 0;
int g_reportSocket = -1;
char g_outOfMemoryMessage[16];
size_t g_outOfMemoryBytes = 0;

size_t mappedBytesSignalSafe()
{
    const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buf[64];
    const ssize_t n = read(fd, buf, sizeof buf - 1);
    close(fd);
    size_t pages = 0;
    for (ssize_t i = 0; i < n && buf[i] >= '0' && buf[i] <= '9'; ++i)
        pages = pages * 10 + size_t(buf[i] - '0');
    return pages * size_t(sysconf(_SC_PAGESIZE));
}

void onFatalSignal(int sig)
{
    if (g_addressLimit && mappedBytesSignalSafe() + kNearLimit >= g_addressLimit)
        send(g_reportSocket, g_outOfMemoryMessage, g_outOfMemoryBytes, MSG_NOSIGNAL);
    signal(sig, SIG_DFL);
    raise(sig);
}

void reportFatalSignalsAtTheLimit(int socket)
{
    // The datagram the program reads as "the helper ran out of memory".
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << qint32(decoder::Op::OutOfMemory);
    }
    payload.prepend(char(0));
    std::memcpy(g_outOfMemoryMessage, payload.constData(), size_t(payload.size()));
    g_outOfMemoryBytes = size_t(payload.size());
    g_reportSocket = socket;
    static char altStack[64 * 1024];
    stack_t ss {};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = onFatalSignal;
    sa.sa_flags = SA_ONSTACK;
    for (int sig : { SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE })
        sigaction(sig, &sa, nullptr);
}

#if defined(__x86_64__)
// A classic BPF program for seccomp.
class Filter
{
public:
    void loadNr() { stmt(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)); }
    // The low and high halves of a 64-bit argument (little-endian).
    void loadArgLow(int i) { stmt(BPF_LD | BPF_W | BPF_ABS, argOffset(i)); }
    void loadArgHigh(int i) { stmt(BPF_LD | BPF_W | BPF_ABS, argOffset(i) + 4); }
    static quint32 argOffset(int i)
    {
        return quint32(offsetof(seccomp_data, args) + size_t(i) * sizeof(quint64));
    }
    void ret(quint32 action) { stmt(BPF_RET | BPF_K, action); }
    void jump(quint16 code, quint32 k, quint8 jt, quint8 jf)
    {
        m_code.push_back(BPF_JUMP(code, k, jt, jf));
    }
    void stmt(quint16 code, quint32 k) { m_code.push_back(BPF_STMT(code, k)); }

    // The call fails with `error`.
    void refuse(long nr, int error = EPERM)
    {
        jump(BPF_JMP | BPF_JEQ | BPF_K, quint32(nr), 0, 1);
        ret(SECCOMP_RET_ERRNO | quint32(error));
    }
    // The call is allowed when none of `mask` is set in argument `arg`.
    void refuseFlags(long nr, int arg, quint32 mask)
    {
        jump(BPF_JMP | BPF_JEQ | BPF_K, quint32(nr), 0, 4);
        loadArgLow(arg);
        jump(BPF_JMP | BPF_JSET | BPF_K, mask, 1, 0);
        ret(SECCOMP_RET_ALLOW);
        ret(SECCOMP_RET_ERRNO | EPERM);
    }
    // The call is allowed only when argument `arg` has the value `value`.
    void onlyWith(long nr, int arg, quint32 value)
    {
        jump(BPF_JMP | BPF_JEQ | BPF_K, quint32(nr), 0, 4);
        loadArgLow(arg);
        jump(BPF_JMP | BPF_JEQ | BPF_K, value, 0, 1);
        ret(SECCOMP_RET_ALLOW);
        ret(SECCOMP_RET_ERRNO | EPERM);
    }
    // The call is allowed only with a null pointer as argument `arg`.
    void onlyNull(long nr, int arg)
    {
        jump(BPF_JMP | BPF_JEQ | BPF_K, quint32(nr), 0, 6);
        loadArgLow(arg);
        jump(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 3);
        loadArgHigh(arg);
        jump(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 1);
        ret(SECCOMP_RET_ALLOW);
        ret(SECCOMP_RET_ERRNO | EPERM);
    }
    bool install()
    {
        sock_fprog prog { static_cast<unsigned short>(m_code.size()), m_code.data() };
        return prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) == 0;
    }

private:
    std::vector<sock_filter> m_code;
};

bool installSystemCallFilter()
{
    Filter f;
    f.stmt(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch));
    f.jump(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0);
    f.ret(SECCOMP_RET_KILL_PROCESS);
    f.loadNr();
    // The x32 calls would bypass every rule below.
    f.jump(BPF_JMP | BPF_JGE | BPF_K, 0x40000000u, 0, 1);
    f.ret(SECCOMP_RET_ERRNO | EPERM);

    // Threads, but no new processes. clone3 passes its flags in memory that
    // a filter cannot read: without it the C library falls back to clone.
    f.refuse(SYS_clone3, ENOSYS);
    f.jump(BPF_JMP | BPF_JEQ | BPF_K, SYS_clone, 0, 4);
    f.loadArgLow(0);
    f.jump(BPF_JMP | BPF_JSET | BPF_K, CLONE_THREAD, 0, 1);
    f.ret(SECCOMP_RET_ALLOW);
    f.ret(SECCOMP_RET_ERRNO | EPERM);
    f.loadNr();
    for (long nr : { SYS_fork, SYS_vfork, SYS_execve, SYS_execveat })
        f.refuse(nr);

    // No network, and no way around the rules.
    for (long nr : { SYS_socket, SYS_socketpair, SYS_ptrace, SYS_process_vm_readv,
             SYS_process_vm_writev, SYS_pidfd_open, SYS_pidfd_getfd, SYS_pidfd_send_signal,
             SYS_tkill, SYS_setrlimit, SYS_bpf, SYS_perf_event_open, SYS_userfaultfd, SYS_mount,
             SYS_umount2, SYS_chroot, SYS_pivot_root, SYS_unshare, SYS_setns, SYS_keyctl,
             SYS_add_key, SYS_request_key, SYS_kexec_load, SYS_init_module, SYS_finit_module,
             SYS_delete_module, SYS_reboot, SYS_swapon, SYS_swapoff })
        f.refuse(nr);
    f.refuse(SYS_io_uring_setup, ENOSYS);
    f.refuse(SYS_openat2, ENOSYS);

    // Files are read, never written, made, renamed or changed.
    // O_TMPFILE without its O_DIRECTORY part, which reading a folder needs.
    const quint32 writing
        = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND | (O_TMPFILE & ~O_DIRECTORY);
    f.refuseFlags(SYS_open, 1, writing);
    f.loadNr();
    f.refuseFlags(SYS_openat, 2, writing);
    f.loadNr();
    for (long nr : { SYS_creat, SYS_rename, SYS_renameat, SYS_renameat2, SYS_unlink, SYS_unlinkat,
             SYS_mkdir, SYS_mkdirat, SYS_rmdir, SYS_link, SYS_linkat, SYS_symlink, SYS_symlinkat,
             SYS_truncate, SYS_chmod, SYS_fchmodat, SYS_chown, SYS_lchown, SYS_fchownat, SYS_mknod,
             SYS_mknodat, SYS_utime, SYS_utimes, SYS_utimensat, SYS_futimesat, SYS_setxattr,
             SYS_lsetxattr, SYS_removexattr, SYS_lremovexattr, SYS_name_to_handle_at,
             SYS_open_by_handle_at, SYS_fanotify_init })
        f.refuse(nr);

    // Signals to itself only (the program is not in reach), and limits that
    // can be read but not raised.
    const quint32 self = quint32(getpid());
    f.onlyWith(SYS_kill, 0, self);
    f.loadNr();
    f.onlyWith(SYS_tgkill, 0, self);
    f.loadNr();
    f.onlyWith(SYS_rt_tgsigqueueinfo, 0, self);
    f.loadNr();
    f.onlyWith(SYS_rt_sigqueueinfo, 0, self);
    f.loadNr();
    f.onlyNull(SYS_prlimit64, 2);
    f.loadNr();
    f.ret(SECCOMP_RET_ALLOW);
    return f.install();
}
#else
bool installSystemCallFilter()
{
    return false; // the filter is written for x86-64 system calls
}
#endif

} // namespace

bool builtWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

size_t decoderAddressBudget(size_t mappedNow, int pictureLimitMb)
{
    return mappedNow + 2 * (size_t(pictureLimitMb) << 20) + kLibraryRoom;
}

size_t decoderResidentBudget(size_t residentNow, int pictureLimitMb)
{
    return residentNow + 2 * (size_t(pictureLimitMb) << 20) + kLibraryRoom;
}

size_t processMappedBytes(const QString &pid)
{
    return statmField(pid, 0);
}

size_t processResidentBytes(const QString &pid)
{
    return statmField(pid, 1);
}

DecoderFenceReport applyDecoderFence(int pictureLimitMb, int socket)
{
    DecoderFenceReport report;
    report.noNewPrivileges = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
    if (!builtWithAddressSanitizer()) {
        const size_t budget
            = decoderAddressBudget(processMappedBytes(QStringLiteral("self")), pictureLimitMb);
        const rlimit as { budget, budget };
        if (setrlimit(RLIMIT_AS, &as) == 0) {
            report.addressSpaceLimited = true;
            report.addressSpaceBytes = budget;
            g_addressLimit = budget;
            reportFatalSignalsAtTheLimit(socket);
        }
    }
    // No core files: a helper that dies is replaced, not examined.
    const rlimit noCore { 0, 0 };
    setrlimit(RLIMIT_CORE, &noCore);
    if (report.noNewPrivileges)
        report.systemCallFilter = installSystemCallFilter();
    return report;
}

} // namespace cw

#include "decodertrials.h"

#include <QList>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

namespace DecoderTrials {

QString attempt(const QByteArray &bytes)
{
    const QList<QByteArray> words = bytes.split('\n');
    const QByteArray what = words.value(0);
    const QByteArray on = words.value(1);
    const long pid = on.toLong();
    long result = -1;
    errno = ENOSYS;
    if (what == "read" || what == "create") {
        const int flags = what == "read" ? O_RDONLY : O_WRONLY | O_CREAT | O_EXCL;
        result = syscall(SYS_openat, AT_FDCWD, on.constData(), flags | O_CLOEXEC, 0600);
        if (result >= 0)
            close(int(result));
    } else if (what == "remove") {
        result = syscall(SYS_unlinkat, AT_FDCWD, on.constData(), 0);
    } else if (what == "folder") {
        result = syscall(SYS_mkdirat, AT_FDCWD, on.constData(), 0700);
    } else if (what == "internet" || what == "local") {
        result = syscall(SYS_socket, what == "internet" ? AF_INET : AF_UNIX, SOCK_STREAM, 0);
        if (result >= 0)
            close(int(result));
    } else if (what == "execute") {
        char *const arguments[] = { const_cast<char *>(on.constData()), nullptr };
        char *const environment[] = { nullptr };
        result = syscall(SYS_execve, on.constData(), arguments, environment);
    } else if (what == "fork") {
        result = syscall(SYS_clone, SIGCHLD, nullptr, nullptr, nullptr, 0);
        if (result == 0)
            syscall(SYS_exit_group, 0);
    } else if (what == "memory") {
        rlimit limit = {};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = limit.rlim_max;
        result = syscall(SYS_prlimit64, 0, RLIMIT_AS, &limit, nullptr);
    } else if (what == "time") {
        rlimit limit = {};
        getrlimit(RLIMIT_CPU, &limit);
        limit.rlim_cur = limit.rlim_max;
        result = syscall(SYS_setrlimit, RLIMIT_CPU, &limit);
    } else if (what == "trace") {
        result = syscall(SYS_ptrace, PTRACE_ATTACH, pid, nullptr, nullptr);
        if (result == 0)
            syscall(SYS_ptrace, PTRACE_DETACH, pid, nullptr, nullptr);
    } else if (what == "signal") {
        result = syscall(SYS_kill, pid, SIGCONT);
    } else if (what == "peek") {
        char into[8];
        iovec local = { into, sizeof into };
        iovec remote = { reinterpret_cast<void *>(words.value(2).toULongLong()), sizeof into };
        result = syscall(SYS_process_vm_readv, pid, &local, 1, &remote, 1, 0);
    }
    return result >= 0 ? QStringLiteral("done") : QString::number(errno);
}

} // namespace DecoderTrials

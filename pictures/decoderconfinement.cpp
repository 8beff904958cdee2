#include "decoderconfinement.h"

#include <cerrno>
#include <initializer_list>

#include <fcntl.h>
#include <sched.h>
#include <seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace DecoderConfinement {

bool filterCalls()
{
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (!filter)
        return false;
    // Every thread of the process, those the toolkit started already among them.
    bool made = seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1) == 0;
    // Reading, and writing what it holds: its socket, the memory it hands pixels over in.
    static const char *const kAllowed[] = {
        "read",
        "readv",
        "pread64",
        "preadv",
        "preadv2",
        "write",
        "writev",
        "pwrite64",
        "lseek",
        "fadvise64",
        "close",
        "close_range",
        "dup",
        "dup2",
        "dup3",
        "fcntl",
        "flock",
        "fstat",
        "newfstatat",
        "stat",
        "lstat",
        "statx",
        "fstatfs",
        "statfs",
        "getdents64",
        "readlink",
        "readlinkat",
        "access",
        "faccessat",
        "faccessat2",
        "getcwd",
        "recvmsg",
        "recvfrom",
        "sendmsg",
        "sendto",
        "poll",
        "ppoll",
        "select",
        "pselect6",
        "eventfd2",
        "pipe2",
        // Memory, and the memory it hands pixels over in.
        "brk",
        "mmap",
        "munmap",
        "mremap",
        "mprotect",
        "madvise",
        "mincore",
        "memfd_create",
        "ftruncate",
        "fallocate",
        "membarrier",
        // Threads, time and signals of its own.
        "futex",
        "futex_waitv",
        "set_robust_list",
        "get_robust_list",
        "rseq",
        "set_tid_address",
        "sched_yield",
        "sched_getaffinity",
        "sched_getparam",
        "sched_getscheduler",
        "sched_get_priority_min",
        "sched_get_priority_max",
        "gettid",
        "getpid",
        "getppid",
        "getuid",
        "geteuid",
        "getgid",
        "getegid",
        "getresuid",
        "getresgid",
        "getgroups",
        "getpriority",
        "getrlimit",
        "getrusage",
        "times",
        "sysinfo",
        "uname",
        "getrandom",
        "clock_gettime",
        "clock_getres",
        "clock_nanosleep",
        "nanosleep",
        "gettimeofday",
        "time",
        "alarm",
        "setitimer",
        "getitimer",
        "rt_sigaction",
        "rt_sigprocmask",
        "rt_sigreturn",
        "rt_sigpending",
        "rt_sigtimedwait",
        "sigaltstack",
        "restart_syscall",
        "exit",
        "exit_group",
    };
    for (const char *name : kAllowed) {
        const int call = seccomp_syscall_resolve_name(name);
        if (call != __NR_SCMP_ERROR)
            made = made && seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 0) == 0;
    }
    // Opened for reading only, nothing made or emptied (a file made unnamed, O_TMPFILE, is
    // opened for writing too).
    const scmp_datum_t writing = O_ACCMODE | O_CREAT | O_TRUNC | O_APPEND;
    made = made
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(openat), 1,
                                SCMP_A2(SCMP_CMP_MASKED_EQ, writing, 0))
                    == 0
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(open), 1,
                                SCMP_A1(SCMP_CMP_MASKED_EQ, writing, 0))
                    == 0;
    // Its flags out of reach of the filter: the C library opens with openat instead.
    made = made && seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2), 0) == 0;
    // Threads, not processes. clone3 hides its flags from the filter: the C library, told the
    // kernel has none, starts its threads with clone.
    made = made
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                                SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD))
                    == 0
            && seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
    // Its limits read, never set: they were set for good before (pictures/decodermain.cpp),
    // and the program lowers them from outside for each request.
    made = made
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 2,
                                SCMP_A0(SCMP_CMP_EQ, 0), SCMP_A2(SCMP_CMP_EQ, 0))
                    == 0;
    // Signals to itself only: raise(), a decoder's abort().
    const scmp_datum_t self = scmp_datum_t(getpid());
    made = made
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(kill), 1,
                                SCMP_A0(SCMP_CMP_EQ, self))
                    == 0
            && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1,
                                SCMP_A0(SCMP_CMP_EQ, self))
                    == 0;
    // Its threads' names, as the toolkit gives them.
    for (const int option : { PR_SET_NAME, PR_GET_NAME }) {
        made = made
                && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                                    SCMP_A0(SCMP_CMP_EQ, scmp_datum_t(option)))
                        == 0;
    }
    made = made && seccomp_load(filter) == 0;
    seccomp_release(filter);
    return made;
}

} // namespace DecoderConfinement

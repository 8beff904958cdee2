#include "decoderconfinement.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <linux/landlock.h>
#include <sched.h>
#include <seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

// The kernel's Landlock headers of the build machine may be older than the kernel the process
// runs on: what later versions add is named here, and asked for only when the kernel offers it.
#ifndef SYS_landlock_create_ruleset
#define SYS_landlock_create_ruleset 444
#define SYS_landlock_add_rule 445
#define SYS_landlock_restrict_self 446
#endif
#ifndef LANDLOCK_ACCESS_FS_REFER
#define LANDLOCK_ACCESS_FS_REFER (1ULL << 13)
#endif
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif
#ifndef LANDLOCK_ACCESS_FS_IOCTL_DEV
#define LANDLOCK_ACCESS_FS_IOCTL_DEV (1ULL << 15)
#endif
#ifndef LANDLOCK_ACCESS_NET_BIND_TCP
#define LANDLOCK_ACCESS_NET_BIND_TCP (1ULL << 0)
#define LANDLOCK_ACCESS_NET_CONNECT_TCP (1ULL << 1)
#endif
#ifndef LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET
#define LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET (1ULL << 0)
#define LANDLOCK_SCOPE_SIGNAL (1ULL << 1)
#endif

namespace {

// As the kernel of the newest version reads it; an older one is given only the fields it knows.
struct Ruleset
{
    uint64_t handledAccessFs;
    uint64_t handledAccessNet;
    uint64_t scoped;
};

struct PathBeneath
{
    uint64_t allowedAccess;
    int32_t parentFd;
} __attribute__((packed));

int landlockVersion()
{
    const long version =
            syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return version > 0 ? int(version) : 0;
}

void allowReading(int ruleset, const std::string &folder, uint64_t handled)
{
    const int fd = open(folder.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0)
        return;
    PathBeneath rule = {};
    rule.parentFd = fd;
    rule.allowedAccess = (LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR) & handled;
    // A file named alone (not a folder) is read, not listed.
    if (syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) != 0) {
        rule.allowedAccess = LANDLOCK_ACCESS_FS_READ_FILE;
        syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0);
    }
    close(fd);
}

} // namespace

namespace DecoderConfinement {

int restrictFiles(const std::vector<std::string> &readable)
{
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return 0;
    const int version = landlockVersion();
    if (version == 0)
        return 0;
    Ruleset ruleset = {};
    size_t known = sizeof ruleset.handledAccessFs;
    ruleset.handledAccessFs = LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_WRITE_FILE
            | LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR
            | LANDLOCK_ACCESS_FS_REMOVE_DIR | LANDLOCK_ACCESS_FS_REMOVE_FILE
            | LANDLOCK_ACCESS_FS_MAKE_CHAR | LANDLOCK_ACCESS_FS_MAKE_DIR
            | LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_MAKE_SOCK
            | LANDLOCK_ACCESS_FS_MAKE_FIFO | LANDLOCK_ACCESS_FS_MAKE_BLOCK
            | LANDLOCK_ACCESS_FS_MAKE_SYM;
    if (version >= 2)
        ruleset.handledAccessFs |= LANDLOCK_ACCESS_FS_REFER;
    if (version >= 3)
        ruleset.handledAccessFs |= LANDLOCK_ACCESS_FS_TRUNCATE;
    if (version >= 4) {
        ruleset.handledAccessNet = LANDLOCK_ACCESS_NET_BIND_TCP | LANDLOCK_ACCESS_NET_CONNECT_TCP;
        known = offsetof(Ruleset, scoped);
    }
    if (version >= 5)
        ruleset.handledAccessFs |= LANDLOCK_ACCESS_FS_IOCTL_DEV;
    if (version >= 6) {
        ruleset.scoped = LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET | LANDLOCK_SCOPE_SIGNAL;
        known = sizeof ruleset;
    }
    const int fd = int(syscall(SYS_landlock_create_ruleset, &ruleset, known, 0));
    if (fd < 0)
        return 0;
    for (const std::string &folder : readable)
        allowReading(fd, folder, ruleset.handledAccessFs);
    const bool restricted = syscall(SYS_landlock_restrict_self, fd, 0) == 0;
    close(fd);
    return restricted ? version : 0;
}

bool filterCalls()
{
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (!filter)
        return false;
    // A rule the system cannot take (a call this processor does not have) is left out: the call
    // stays refused, which errs on the safe side.
    const auto rule = [filter](uint32_t action, const char *call,
                               std::initializer_list<scmp_arg_cmp> arguments = {}) {
        const int number = seccomp_syscall_resolve_name(call);
        if (number != __NR_SCMP_ERROR)
            seccomp_rule_add_array(filter, action, number, unsigned(arguments.size()),
                                   arguments.begin());
    };
    // Reading, and writing what it holds (its socket, the memory it hands pixels over in);
    // memory; threads, time and signals of its own.
    static const char kAllowed[] =
            "read readv pread64 preadv preadv2 write writev pwrite64 lseek fadvise64 close "
            "close_range dup dup2 dup3 fcntl flock fstat newfstatat stat lstat statx fstatfs "
            "statfs getdents64 readlink readlinkat access faccessat faccessat2 getcwd recvmsg "
            "recvfrom sendmsg sendto poll ppoll select pselect6 eventfd2 pipe2 "
            "brk mmap munmap mremap mprotect madvise mincore memfd_create ftruncate fallocate "
            "membarrier "
            "futex futex_waitv set_robust_list get_robust_list rseq set_tid_address sched_yield "
            "sched_getaffinity sched_getparam sched_getscheduler sched_get_priority_min "
            "sched_get_priority_max gettid getpid getppid getuid geteuid getgid getegid "
            "getresuid getresgid getgroups getpriority getrlimit getrusage times sysinfo uname "
            "getrandom clock_gettime clock_getres clock_nanosleep nanosleep gettimeofday time "
            "alarm setitimer getitimer rt_sigaction rt_sigprocmask rt_sigreturn rt_sigpending "
            "rt_sigtimedwait sigaltstack restart_syscall exit exit_group";
    std::istringstream names(kAllowed);
    for (std::string name; names >> name;)
        rule(SCMP_ACT_ALLOW, name.c_str());
    // Opened for reading only, nothing made or emptied (a file made unnamed, O_TMPFILE, is
    // opened for writing too).
    const scmp_datum_t writing = O_ACCMODE | O_CREAT | O_TRUNC | O_APPEND;
    rule(SCMP_ACT_ALLOW, "openat", { SCMP_A2(SCMP_CMP_MASKED_EQ, writing, 0) });
    rule(SCMP_ACT_ALLOW, "open", { SCMP_A1(SCMP_CMP_MASKED_EQ, writing, 0) });
    // Its flags out of reach of the filter: the C library opens with openat instead.
    rule(SCMP_ACT_ERRNO(ENOSYS), "openat2");
    // Threads, not processes. clone3 hides its flags from the filter: the C library, told the
    // kernel has none, starts its threads with clone.
    rule(SCMP_ACT_ALLOW, "clone", { SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD) });
    rule(SCMP_ACT_ERRNO(ENOSYS), "clone3");
    // Its limits read, never set: they were set for good before (pictures/decodermain.cpp),
    // and the program lowers them from outside for each request.
    rule(SCMP_ACT_ALLOW, "prlimit64", { SCMP_A0(SCMP_CMP_EQ, 0), SCMP_A2(SCMP_CMP_EQ, 0) });
    // Signals to itself only: raise(), a decoder's abort().
    const scmp_datum_t self = scmp_datum_t(getpid());
    rule(SCMP_ACT_ALLOW, "kill", { SCMP_A0(SCMP_CMP_EQ, self) });
    rule(SCMP_ACT_ALLOW, "tgkill", { SCMP_A0(SCMP_CMP_EQ, self) });
    // Its threads' names, as the toolkit gives them.
    rule(SCMP_ACT_ALLOW, "prctl", { SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME) });
    rule(SCMP_ACT_ALLOW, "prctl", { SCMP_A0(SCMP_CMP_EQ, PR_GET_NAME) });
    // Every thread of the process, those the toolkit started already among them.
    const bool made =
            seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1) == 0 && seccomp_load(filter) == 0;
    seccomp_release(filter);
    return made;
}

} // namespace DecoderConfinement

#include "cores.h"

#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sched.h>
#endif

namespace Cores {

int usable()
{
    // The machine's count is read from a file: once. The CPUs allowed are asked each time (a
    // call that does not leave the kernel's memory), as they may be changed from outside.
    static const int machine = std::max(1, QThread::idealThreadCount());
#ifdef Q_OS_LINUX
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        const int count = CPU_COUNT(&allowed);
        if (count > 0)
            return std::min(machine, count);
    }
#endif
    return machine;
}

} // namespace Cores

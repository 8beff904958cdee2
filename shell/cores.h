#pragma once

// The processor cores the program may run on, to size its worker threads by.
namespace Cores {

// The CPUs this process is allowed to run on: fewer than the machine has when it is kept to
// some of them (taskset, a container's share). QThread::idealThreadCount counts the machine's,
// and threads sized by it would crowd the board's own thread off the few it has. At least 1.
int usable();

} // namespace Cores

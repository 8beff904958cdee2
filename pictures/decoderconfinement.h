#pragma once

#include <string>
#include <vector>

// How the kernel holds a decoding process (pictures/decodermain.cpp), so that code that took it
// over through a fault in an image library can do no more than the decoders it replaced: the
// process's own gate on open (pictures/decoderfiles.h) is code such a fault runs past.
//
// Two steps, both for good: there is no way back from either.
namespace DecoderConfinement {

// No new privileges, and Landlock where the kernel has it: from now on the process and the
// threads it starts read only beneath readable (folders, each named as it is), write nowhere,
// reach no network, signal no process and no abstract socket outside their own. Landlock holds
// the calling thread and those it starts after: it is called before the process has threads of
// its own. The Landlock version the kernel offers, 0 when it offers none (the process is then
// held by the filter of the second step only).
int restrictFiles(const std::vector<std::string> &readable);

// The system calls the process may make from now on, in every thread: those decoding needs, on
// what it holds already. Any other is refused (EPERM): no socket, no other process (threads
// only), no program executed, no file opened for writing, made, moved or removed, no limit set,
// no process traced or read, no signal but to itself. False when the filter could not be set.
bool filterCalls();

} // namespace DecoderConfinement

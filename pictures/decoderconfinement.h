#pragma once

// How the kernel holds a decoding process (pictures/decodermain.cpp), so that code that took it
// over through a fault in an image library can do no more than the decoders it replaced: the
// process's own gate on open (pictures/decoderfiles.h) is code such a fault runs past.
//
// For good: there is no way back.
namespace DecoderConfinement {

// No new privileges, and the system calls the process may make from now on, in every thread:
// those decoding needs, on what it holds already. Any other is refused (EPERM): no socket, no other
// process (threads only), no program executed, no file opened for writing, made, moved or removed,
// no limit set, no process traced or read, no signal but to itself. False when the filter could not
// be set.
bool filterCalls();

} // namespace DecoderConfinement

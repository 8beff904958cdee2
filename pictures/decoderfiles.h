#pragma once

#include <string>
#include <vector>

// The files a decoding process opens (pictures/decodermain.cpp), whatever opens them: its own
// code, the toolkit's decoders, or the libraries under them (an SVG's linked pictures are opened
// by the SVG reader itself). This file takes the place of the C library's open family in that
// process only: it is never part of the program.
//
// Until confine() every open is the system's. From then on a name below
// DecoderProtocol::kLinkRoot is asked of the program, which answers with the file opened, or a
// refusal (pictures/linkroot.h); the fonts and their configuration, and the process's own
// /proc entries, are opened for reading as before, so that an SVG's text still draws; every
// other open is refused.
namespace DecoderFiles {

// The folders of the fonts and their configuration, and the process's own /proc entries, as
// they are named once every link on the way is followed; those that do not exist are left out.
std::vector<std::string> readableFolders();

// From now on, opens go as above; questions go to the program on the socket that is the
// process's standard input and output.
void confine();

} // namespace DecoderFiles

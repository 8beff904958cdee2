#pragma once

// The files a decoding process opens (pictures/decodermain.cpp), whatever opens them: its own
// code, the toolkit's decoders, or the libraries under them (an SVG's linked pictures are opened
// by the SVG reader itself). This file takes the place of the C library's open family in that
// process only: it is never part of the program.
//
// Until confine() every open is the system's. From then on a name below
// DecoderProtocol::kLinkRoot is asked of the program, which answers with the file opened, or a
// refusal (pictures/linkroot.h); the fonts and their configuration, and the process's own
// /proc entries, are opened for reading as before, so that an SVG's text still draws, but never
// for a link (OpeningLink); every other open is refused.
namespace DecoderFiles {

// The file a picture links (an SVG's picture) being opened on this thread while one lives, by
// the SVG reader or by the measures before it: its first open, whatever it names, is asked of
// the program, which opens only a plain file inside the picture's folder (never one of the
// fonts' folders the process reads itself) and says what it refused. Once that is refused,
// every other open before it ends is too (the reader tries the name with each format's suffix);
// once it is opened, the picture is read as any other. In the program it changes nothing.
class OpeningLink
{
public:
    enum class State { Asking, Opened, Refused };
    OpeningLink() : m_outer(s_current) { s_current = this; }
    ~OpeningLink() { s_current = m_outer; }
    OpeningLink(const OpeningLink &) = delete;
    OpeningLink &operator=(const OpeningLink &) = delete;
    static OpeningLink *current() { return s_current; }
    State state = State::Asking;

private:
    OpeningLink *m_outer;
    static inline thread_local OpeningLink *s_current = nullptr;
};

// From now on, opens go as above; questions go to the program on the socket that is the
// process's standard input and output.
void confine();

} // namespace DecoderFiles

#pragma once

#include "picturereading.h"

#include <QByteArray>
#include <QImage>
#include <QSemaphore>
#include <QSize>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <memory>

// What the program and its decoding processes (pictures/decodermain.cpp) say to each other on
// their socket: frames (a length, then the bytes), each a request, its reply, a question or an
// answer, and the decoded pixels. Those of a large picture never go through the socket: the
// decoding process writes them into memory of its own making that no other process can name
// (memfd_create), and hands the program that memory itself, as a file descriptor sent with its
// reply; the program maps it as the picture's own memory. Those of a small one follow its reply
// on the socket: memory made, filled, mapped and given back for each of a lesson's many small
// pictures cost more than the copy.
//
// While it reads a picture, the decoding process opens no file itself: each file it would open
// (the picture, the pictures an SVG links) it asks the program for, by its name under
// kLinkRoot, in a question; the program answers with the file opened, sent with the answer, or
// with a refusal (pictures/linkroot.h).
//
// The program trusts nothing of a reply but what it checks: a frame of a sane length, memory
// that is memory (sealed against shrinking under the program's mapping) and holds every pixel
// the reply says it does, pixels that follow only for a small picture of the board's own kind.
namespace DecoderProtocol {

enum class Task : quint8 {
    Probe = 1, // measure, and decode as measured when that takes no more than readUpTo
    Read = 2, // decode as an earlier Probe said, without measuring again
    Frames = 3, // the same, every frame of an animation
    // What the tests' decoding processes are built to try once confined, as code that took one
    // over would: bytes names the system call and what it is made on; the reply's probe detail
    // says what came of it. Any other build answers that it has no such trials.
    Trial = 4,
};

// How the decoding process ended a request it answered (what it could not answer, the program
// sees by how the process ended).
enum class Ending : quint8 {
    Done = 1,
    OutOfMemory = 2, // an allocation failed under its memory limit: nothing of it is used
};

// What a frame holds.
enum class Kind : quint8 {
    Request = 1, // to the decoding process
    Answer = 2, // to the decoding process: to its question
    Reply = 3, // to the program: to its request
    Question = 4, // to the program: a file to open for the request being read
    Ready = 5, // to the program, once, before its first request: it is held as it will be
};

// The folder the decoding process is handed its picture in: a name no file has, so that the
// picture's relative links name files under it too, which only the program opens.
constexpr char kLinkRoot[] = "/veltorina-picture";

struct Request
{
    Task task = Task::Read;
    QString file; // read from here (a name under kLinkRoot), or, when empty, from bytes
    QByteArray bytes;
    PictureReading::Probe probed; // for Read and Frames: what Probe said
    qint64 readUpTo = 0; // for Probe
    qint64 memoryBytes = 0; // what the decoding process may take beyond what it holds idle
    int cpuSeconds = 0; // of processor time the request may use
    int wallMs = 0; // of the clock, after which it ends itself (the program ends it sooner)
};

struct Reply
{
    Ending ending = Ending::Done;
    PictureReading::Probe probe;
    bool shared = false; // the pixels lie in the memory handed over with the reply
    bool pixelsFollow = false; // or, for a small still picture, they follow the reply's frame
    QSize size; // of each frame
    int format = QImage::Format_Invalid;
    int bytesPerLine = 0;
    QVector<int> delays; // of each frame, in milliseconds (one for a still picture)
    int loopCount = 0; // as QImageReader gives it: -1 forever
};

// How a decoding process ends when an allocation of C++ code fails under its memory limit.
constexpr int kExitOutOfMemory = 3;

// The most a measure is given. One given less that finds it needs more is measured again with
// this much.
constexpr qint64 kMostMeasureBytes = qint64(384) << 20;

// Frames longer than this are not read (a reply's detail text, a request's bytes in memory).
constexpr quint32 kMaxRequestBytes = 1u << 30;
constexpr quint32 kMaxReplyBytes = 1u << 20;

// What a frame's payload holds; Kind(0) for what is none of them.
Kind kindOf(const QByteArray &bytes);

QByteArray encode(const Request &request);
bool decode(const QByteArray &bytes, Request *request);
QByteArray encode(const Reply &reply);
bool decode(const QByteArray &bytes, Reply *reply);
// A question: the file named path, to be read.
QByteArray encodeQuestion(const QString &path);
bool decodeQuestion(const QByteArray &bytes, QString *path);
// The process is ready (DecoderConfinement holds it): the program may set its limits.
QByteArray encodeReady();
// An answer: 0 when the file is granted (its descriptor comes with it), else why not (errno).
QByteArray encodeAnswer(int error);
bool decodeAnswer(const QByteArray &bytes, int *error);

// The frame of payload: its length as four bytes, then payload.
QByteArray frame(const QByteArray &payload);
// The length a frame's first four bytes give.
quint32 frameLength(const char *header);

// Sends all of bytes on a blocking socket, with fd (when not -1) given along with the first of
// them: false when the other end is gone.
bool sendWith(int socket, const QByteArray &bytes, int fd = -1);

// Memory the decoding process makes for the pixels of one request, fills, and hands over by its
// file descriptor: made here, unmapped and closed by the destructor (the program holds its own
// descriptor by then).
class OutgoingSegment
{
public:
    explicit OutgoingSegment(qint64 bytes);
    ~OutgoingSegment();
    OutgoingSegment(const OutgoingSegment &) = delete;
    OutgoingSegment &operator=(const OutgoingSegment &) = delete;
    bool isValid() const { return m_data != nullptr; }
    uchar *data() const { return m_data; }
    int fd() const { return m_fd; }
    // Only the first bytes are handed over: the rest goes back to the system.
    void truncate(qint64 bytes);

private:
    int m_fd = -1;
    uchar *m_data = nullptr;
    qint64 m_bytes = 0;
    // Released once for each part of its pages made ready: it is not unmapped before.
    std::shared_ptr<QSemaphore> m_ready = std::make_shared<QSemaphore>();
    int m_parts = 0;
};

// Pixels at most this many bytes follow their reply rather than lie in shared memory.
constexpr qint64 kFollowingBytes = qint64(1) << 20;
// The picture a reply whose pixels follow it says they make, for them to be read into: null
// when the reply does not say a small still picture of the board's.
QImage followingImage(const Reply &reply);

// The frames a reply says lie in the memory fd (which this takes, and closes), mapped as
// pictures the program holds for as long as any of them lives. Empty when the memory is not
// what the reply says.
QVector<QImage> mapFrames(const Reply &reply, int fd);
// The bytes of the frames mapped so and still held: memory of the program's, which counts as
// its resident memory only where it has been read.
qint64 mappedBytes();

} // namespace DecoderProtocol

#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// Helpers for the screen recorder's tests: an application folder of its own, a stand-in
// recorder program, the answers to its dialogs and a look at video files.
namespace RecorderFixture {

// A recorder program written to dir + "/Sys/record" that records nothing but lines: a header,
// a line per tick, and on SIGTERM, after a pause, a last line "END". It writes its arguments to
// "<output>.args" and its process id to "<output>.pid".
bool writeFakeRecorder(const QString &appDir);
// Copies the recorder program at source into dir + "/Sys/record".
bool installRecorder(const QString &appDir, const QString &source);

QByteArray readAll(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// Answers the next save dialog with path (and agrees to replace an existing file); then runs
// afterwards, where a test arms the answer to whatever comes next.
void answerSaveDialog(const QString &path, std::function<void()> afterwards = {});
// Answers the next message box by pressing its button; its text is kept in *text.
std::shared_ptr<bool> answerMessage(QString *text);

// The container format ffprobe finds in a file ("ogg", "mov,mp4,...", "avi"), or empty.
QString probeFormat(const QString &path);
// True when the installed ffmpeg can record an X screen.
bool ffmpegCanGrabX11();
// Makes a short Ogg Theora video without any screen (ffmpeg's test picture).
bool makeTestVideo(const QString &path);

} // namespace RecorderFixture

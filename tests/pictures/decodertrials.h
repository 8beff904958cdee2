#pragma once

#include <QByteArray>
#include <QString>

// Built into the tests' decoding process only (pictures/CMakeLists.txt): once it is confined, it
// tries what code that took it over through a fault in an image library would, by the system
// call itself, as asked by a request of its own (DecoderProtocol::Task::Trial).
namespace DecoderTrials {

// What came of trying what bytes names, then on what, a line each: "done", or the error the
// system gave.
QString attempt(const QByteArray &bytes);

} // namespace DecoderTrials

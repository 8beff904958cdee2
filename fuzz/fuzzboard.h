#ifndef FUZZBOARD_H
#define FUZZBOARD_H

// What every fuzz target needs: the toolkit on the offscreen platform, a live page list in a
// window the size of a board, and a scratch folder the inputs are written into.

#include <QString>

#include <cstddef>
#include <cstdint>

class DPagesList;
class QTemporaryDir;

namespace FuzzBoard {

// Made once, from LLVMFuzzerInitialize, and never destroyed (see fuzzboard.cpp).
void start(int *argc, char ***argv);
DPagesList *list();
QString folder();
QString filePath(const QString &name);
// The input as the file name in the scratch folder; false when it could not be written whole.
bool write(const QString &name, const uint8_t *data, size_t size);
// What an open left for the event loop (pictures drawn on other threads handed over, objects
// to delete later) is done, as the program's event loop would do it between two documents:
// left undone, it piled up input after input until the memory limit stopped the run.
void settle();

} // namespace FuzzBoard

#endif // FUZZBOARD_H

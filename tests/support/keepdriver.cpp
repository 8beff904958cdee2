// Keeps the library named by VELTORINA_KEEP_LIBRARY loaded until the process ends. Mesa unloads
// its GL driver at exit, before the leak check runs; the driver's own process-wide allocations
// would then be reported from an unknown module that no suppression can name.

#include <QByteArray>
#include <QtGlobal>

#include <dlfcn.h>

namespace {

const bool g_libraryKept = [] {
    const QByteArray library = qgetenv("VELTORINA_KEEP_LIBRARY");
    return !library.isEmpty() && dlopen(library.constData(), RTLD_NOW | RTLD_NODELETE) != nullptr;
}();

} // namespace

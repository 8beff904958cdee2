#include "ltklinuxutil.h"

#include "ltkerrors.h"

#include <dlfcn.h>

namespace {

std::string dlError()
{
    const char *text = dlerror();
    return text ? std::string(text) : std::string("unknown error");
}

} // namespace

int LTKLinuxUtil::loadSharedLib(const std::string &path, const std::string &name, void **libHandle)
{
    if (!libHandle || path.empty() || name.empty()) {
        m_lastError = "no library folder or name given";
        return LTKErrors::kInvalidArgument;
    }
    *libHandle = nullptr;
    // A full path: dlopen must never fall back to the system's search path for our engine.
    const std::string file = path + "/lib" + name + ".so";
    void *handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        m_lastError = dlError();
        return LTKErrors::kLibraryNotFound;
    }
    *libHandle = handle;
    return LTKErrors::kSuccess;
}

int LTKLinuxUtil::getFunctionAddress(void *libHandle, const std::string &functionName,
                                     void **functionHandle)
{
    if (!libHandle || !functionHandle) {
        m_lastError = "no library loaded";
        return LTKErrors::kInvalidArgument;
    }
    dlerror();
    *functionHandle = dlsym(libHandle, functionName.c_str());
    if (!*functionHandle) {
        m_lastError = dlError();
        return LTKErrors::kFunctionNotFound;
    }
    return LTKErrors::kSuccess;
}

int LTKLinuxUtil::unloadSharedLib(void *libHandle)
{
    if (!libHandle)
        return LTKErrors::kInvalidArgument;
    if (dlclose(libHandle) != 0) {
        m_lastError = dlError();
        return LTKErrors::kLibraryNotFound;
    }
    return LTKErrors::kSuccess;
}

#pragma once

#include <string>

// What the recogniser needs of the operating system: loading a shared library at run time.
class LTKOSUtil
{
public:
    virtual ~LTKOSUtil() = default;
    // Loads "lib" + name + ".so" from the folder path; the handle goes to libHandle.
    virtual int loadSharedLib(const std::string &path, const std::string &name,
                              void **libHandle) = 0;
    virtual int getFunctionAddress(void *libHandle, const std::string &functionName,
                                   void **functionHandle) = 0;
    virtual int unloadSharedLib(void *libHandle) = 0;
    // Why the last call failed, for the log.
    virtual std::string lastError() const = 0;
};

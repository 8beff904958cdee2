#pragma once

#include "ltkosutil.h"

// Shared libraries through dlopen, dlsym and dlclose.
class LTKLinuxUtil : public LTKOSUtil
{
public:
    int loadSharedLib(const std::string &path, const std::string &name, void **libHandle) override;
    int getFunctionAddress(void *libHandle, const std::string &functionName,
                           void **functionHandle) override;
    int unloadSharedLib(void *libHandle) override;
    std::string lastError() const override { return m_lastError; }

private:
    std::string m_lastError;
};

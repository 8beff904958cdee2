#pragma once

#include "ltkcapturedevice.h"
#include "ltkscreencontext.h"
#include "ltkshaperecoresult.h"
#include "ltktracegroup.h"

#include <string>
#include <vector>

// A recogniser of single shapes made by the engine for one project. Every call answers a status
// from LTKErrors.
class LTKShapeRecognizer
{
public:
    virtual ~LTKShapeRecognizer() = default;
    virtual int loadModelData() = 0;
    virtual int unloadModelData() = 0;
    virtual int setDeviceContext(const LTKCaptureDevice &device) = 0;
    // Fills results with at most numChoices candidates of at least confThreshold, best first;
    // an empty subset means every class of the project.
    virtual int recognize(const LTKTraceGroup &traceGroup, const LTKScreenContext &screenContext,
                          const std::vector<int> &subset, float confThreshold, int numChoices,
                          std::vector<LTKShapeRecoResult> &results) = 0;
    // Why the last failed call failed, for the log.
    virtual std::string lastError() const = 0;
};

#pragma once

#include <string>

class LTKShapeRecognizer;

// The engine that the library "lipiengine" hands out through its C entry point
// "createLTKLipiEngine". Every call answers a status from LTKErrors.
class LTKLipiEngineInterface
{
public:
    virtual ~LTKLipiEngineInterface() = default;
    virtual void setLipiRootPath(const std::string &rootPath) = 0;
    virtual std::string getLipiRootPath() const = 0;
    virtual int initializeLipiEngine() = 0;
    // The logical project name ("SHAPEREC_ALPHANUM") names a project and profile in the engine's
    // configuration under the root path.
    virtual int createShapeRecognizer(const std::string &logicalProjectName,
                                      LTKShapeRecognizer **recognizer) = 0;
    virtual int createShapeRecognizer(const std::string &projectName,
                                      const std::string &profileName,
                                      LTKShapeRecognizer **recognizer) = 0;
    virtual int deleteShapeRecognizer(LTKShapeRecognizer *recognizer) = 0;
};

// The engine library's entry points, looked up by name.
extern "C" {
using FN_PTR_CREATELTKLIPIENGINE = LTKLipiEngineInterface *(*)();
using FN_PTR_DELETELTKLIPIENGINE = void (*)(LTKLipiEngineInterface *);
}

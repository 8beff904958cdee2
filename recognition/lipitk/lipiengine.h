#pragma once

#include "ltklipiengineinterface.h"

#include <map>
#include <set>
#include <string>
#include <utility>

// The engine of the library "lipiengine": maps logical project names to project folders under
// <root>/projects (file "lipiengine.cfg", lines "NAME = project(profile)") and makes template
// recognisers for them.
class LipiEngine : public LTKLipiEngineInterface
{
public:
    ~LipiEngine() override;

    void setLipiRootPath(const std::string &rootPath) override { m_rootPath = rootPath; }
    std::string getLipiRootPath() const override { return m_rootPath; }
    int initializeLipiEngine() override;
    int createShapeRecognizer(const std::string &logicalProjectName,
                              LTKShapeRecognizer **recognizer) override;
    int createShapeRecognizer(const std::string &projectName, const std::string &profileName,
                              LTKShapeRecognizer **recognizer) override;
    int deleteShapeRecognizer(LTKShapeRecognizer *recognizer) override;

private:
    std::string m_rootPath;
    std::map<std::string, std::pair<std::string, std::string>>
            m_projects; // name -> project, profile
    std::set<LTKShapeRecognizer *> m_recognizers;
};

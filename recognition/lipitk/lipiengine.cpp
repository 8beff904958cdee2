#include "lipiengine.h"

#include "ltkconfigfilereader.h"
#include "ltkerrors.h"
#include "templateshaperecognizer.h"

#include <sys/stat.h>

namespace {

bool isPlainName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool isFile(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

LipiEngine::~LipiEngine()
{
    for (LTKShapeRecognizer *recognizer : m_recognizers)
        delete recognizer;
}

int LipiEngine::initializeLipiEngine()
{
    m_projects.clear();
    if (m_rootPath.empty())
        return LTKErrors::kRootPathNotSet;
    LTKConfigFileReader config;
    if (!config.read(m_rootPath + "/projects/lipiengine.cfg"))
        return LTKErrors::kConfigFileMissing;
    // "alphanumeric(default)" or "alphanumeric", which means the profile "default".
    for (const char *name : { "SHAPEREC_ALPHANUM" }) {
        std::string value = config.value(name);
        if (value.empty())
            continue;
        std::string profile = "default";
        const auto open = value.find('(');
        if (open != std::string::npos && value.back() == ')') {
            profile = value.substr(open + 1, value.size() - open - 2);
            value = value.substr(0, open);
        }
        m_projects[name] = { value, profile };
    }
    return LTKErrors::kSuccess;
}

int LipiEngine::createShapeRecognizer(const std::string &logicalProjectName,
                                      LTKShapeRecognizer **recognizer)
{
    const auto found = m_projects.find(logicalProjectName);
    if (found == m_projects.end()) {
        if (recognizer)
            *recognizer = nullptr;
        return LTKErrors::kUnknownProject;
    }
    return createShapeRecognizer(found->second.first, found->second.second, recognizer);
}

int LipiEngine::createShapeRecognizer(const std::string &projectName,
                                      const std::string &profileName,
                                      LTKShapeRecognizer **recognizer)
{
    if (!recognizer)
        return LTKErrors::kInvalidArgument;
    *recognizer = nullptr;
    if (m_rootPath.empty())
        return LTKErrors::kRootPathNotSet;
    if (!isPlainName(projectName) || !isPlainName(profileName))
        return LTKErrors::kUnknownProject;
    const std::string folder = m_rootPath + "/projects/" + projectName;
    if (!isFile(folder + "/config/project.cfg"))
        return LTKErrors::kUnknownProject;
    *recognizer = new TemplateShapeRecognizer(folder, profileName);
    m_recognizers.insert(*recognizer);
    return LTKErrors::kSuccess;
}

int LipiEngine::deleteShapeRecognizer(LTKShapeRecognizer *recognizer)
{
    // Only our own: a pointer we did not make is refused rather than freed.
    if (!recognizer || m_recognizers.erase(recognizer) == 0)
        return LTKErrors::kInvalidArgument;
    delete recognizer;
    return LTKErrors::kSuccess;
}

extern "C" {

__attribute__((visibility("default"))) LTKLipiEngineInterface *createLTKLipiEngine()
{
    return new LipiEngine;
}

__attribute__((visibility("default"))) void deleteLTKLipiEngine(LTKLipiEngineInterface *engine)
{
    delete engine;
}
}

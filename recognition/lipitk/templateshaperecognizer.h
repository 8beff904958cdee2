#pragma once

#include "ltkshaperecognizer.h"
#include "strokematcher.h"

#include <string>
#include <vector>

// Recognises a shape by its nearest stroke template (see StrokeMatcher) among the templates of
// one project profile: <project folder>/config/project.cfg gives the class count,
// <project folder>/config/<profile>/profile.cfg the matcher settings and the model file name.
class TemplateShapeRecognizer : public LTKShapeRecognizer
{
public:
    TemplateShapeRecognizer(const std::string &projectFolder, const std::string &profile);

    int loadModelData() override;
    int unloadModelData() override;
    int setDeviceContext(const LTKCaptureDevice &device) override;
    int recognize(const LTKTraceGroup &traceGroup, const LTKScreenContext &screenContext,
                  const std::vector<int> &subset, float confThreshold, int numChoices,
                  std::vector<LTKShapeRecoResult> &results) override;

    std::string lastError() const override { return m_error; }

    int classCount() const { return m_classCount; }

private:
    struct Template
    {
        int classId;
        StrokeMatcher::Prepared shape;
    };

    std::string m_projectFolder;
    std::string m_profile;
    // The nearest templates are tried again against the writing slanted by -m_slant and
    // m_slant (x moved by that share of y), at a cost of m_slantCost.
    static constexpr int kSlantedCandidates = 12;
    StrokeMatcher::Settings m_settings;
    float m_slant = 0.25f;
    float m_slantCost = 0.02f;
    LTKCaptureDevice m_device;
    int m_classCount = 0;
    std::vector<Template> m_templates;
    std::string m_error;
};

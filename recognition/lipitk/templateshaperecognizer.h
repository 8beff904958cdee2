#pragma once

#include "inkfeatures.h"
#include "inknetwork.h"
#include "ltkshaperecognizer.h"
#include "strokematcher.h"

#include <string>
#include <vector>

// Recognises a shape by its nearest templates among those of one project profile:
// <project folder>/config/project.cfg gives the class count, <project folder>/config/<profile>/
// profile.cfg the matcher settings and the model file name. The templates nearest in ink (see
// InkFeatures; each template is also seen slanted and stretched as hands write it) are compared
// point by point (see StrokeMatcher), and the two distances together rank them. Dots, which have
// no ink to speak of, are compared point by point with every template.
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
        StrokeMatcher::Shape strokes;
    };
    // The ink of a template, or of one of its slanted or stretched copies.
    struct Ink
    {
        size_t templateIndex;
        InkFeatures::Vector features;
    };

    std::string m_projectFolder;
    std::string m_profile;
    // The nearest templates are tried again against the writing slanted by -m_slant and
    // m_slant (x moved by that share of y), at a cost of m_slantCost.
    static constexpr int kSlantedCandidates = 12;
    StrokeMatcher::Settings m_settings;
    float m_slant = 0.25f;
    float m_slantCost = 0.02f;
    // Templates nearest in ink that are compared point by point, and the weight of the ink
    // distance in the ranking.
    int m_candidates = 40;
    float m_inkWeight = 1.0f;
    std::vector<float> m_copySlants{ 0.0f };
    std::vector<float> m_copyStretches{ 1.0f };
    std::vector<Ink> m_inks;
    // The network learnt from the ink of many hands, and the weight of its reading against the
    // templates' distances.
    InkNetwork m_network;
    float m_networkWeight = 0.05f;
    LTKCaptureDevice m_device;
    int m_classCount = 0;
    std::vector<Template> m_templates;
    std::string m_error;
};

#include "templateshaperecognizer.h"

#include "ltkconfigfilereader.h"
#include "ltkerrors.h"
#include "shapemodel.h"

#include <algorithm>
#include <map>

TemplateShapeRecognizer::TemplateShapeRecognizer(const std::string &projectFolder,
                                                 const std::string &profile)
    : m_projectFolder(projectFolder), m_profile(profile)
{
}

int TemplateShapeRecognizer::loadModelData()
{
    unloadModelData();
    const std::string config = m_projectFolder + "/config/";
    LTKConfigFileReader project;
    if (!project.read(config + "project.cfg")) {
        m_error = project.error();
        return LTKErrors::kConfigFileMissing;
    }
    const double classes = project.number("NumShapes", 0);
    if (classes < 1 || classes > 100000) {
        m_error = config + "project.cfg: NumShapes missing or out of range";
        return LTKErrors::kModelFileCorrupt;
    }
    LTKConfigFileReader profile;
    if (!profile.read(config + m_profile + "/profile.cfg")) {
        m_error = profile.error();
        return LTKErrors::kConfigFileMissing;
    }
    StrokeMatcher::Settings settings;
    settings.points = std::clamp(int(profile.number("ResamplePoints", settings.points)), 4, 1000);
    settings.strokePenalty = float(
            std::clamp(profile.number("StrokeCountPenalty", settings.strokePenalty), 0.0, 10.0));
    settings.orientationWeight = float(std::clamp(
            profile.number("OrientationWeight", settings.orientationWeight), 0.0, 10.0));
    settings.dotExtent =
            float(std::clamp(profile.number("DotExtent", settings.dotExtent), 0.0, 1000.0));
    const std::string modelName = profile.value("ModelFile", "templates.mdt");
    if (modelName.empty() || modelName.find('/') != std::string::npos) {
        m_error = "ModelFile must name a file of the profile folder";
        return LTKErrors::kModelFileCorrupt;
    }
    ShapeModel model;
    if (!model.read(config + m_profile + "/" + modelName, int(classes))) {
        m_error = model.error();
        return LTKErrors::kModelFileCorrupt;
    }
    m_settings = settings;
    m_classCount = int(classes);
    for (const ShapeModel::Variant &variant : model.variants())
        m_templates.push_back(
                { variant.classId, StrokeMatcher::prepare(variant.strokes, settings) });
    return LTKErrors::kSuccess;
}

int TemplateShapeRecognizer::unloadModelData()
{
    m_templates.clear();
    m_classCount = 0;
    return LTKErrors::kSuccess;
}

int TemplateShapeRecognizer::setDeviceContext(const LTKCaptureDevice &device)
{
    m_device = device;
    return LTKErrors::kSuccess;
}

int TemplateShapeRecognizer::recognize(const LTKTraceGroup &traceGroup, const LTKScreenContext &,
                                       const std::vector<int> &subset, float confThreshold,
                                       int numChoices, std::vector<LTKShapeRecoResult> &results)
{
    results.clear();
    if (m_templates.empty()) {
        m_error = "no model data loaded";
        return LTKErrors::kModelNotLoaded;
    }
    if (numChoices < 1) {
        m_error = "no choices asked for";
        return LTKErrors::kInvalidArgument;
    }
    StrokeMatcher::Shape shape;
    for (const LTKTrace &trace : traceGroup.getAllTraces()) {
        StrokeMatcher::Stroke stroke;
        for (size_t i = 0; i < trace.xChannel().size(); ++i)
            stroke.push_back({ trace.xChannel()[i], trace.yChannel()[i] });
        shape.push_back(std::move(stroke));
    }
    const StrokeMatcher::Prepared input = StrokeMatcher::prepare(shape, m_settings);
    if (input.points.empty()) {
        m_error = "no points to recognise";
        return LTKErrors::kEmptyTraceGroup;
    }

    std::map<int, float> best; // class id -> distance of its nearest variant
    for (const Template &candidate : m_templates) {
        if (!subset.empty()
            && std::find(subset.begin(), subset.end(), candidate.classId) == subset.end())
            continue;
        const float distance = StrokeMatcher::distance(input, candidate.shape, m_settings);
        const auto found = best.find(candidate.classId);
        if (found == best.end() || distance < found->second)
            best[candidate.classId] = distance;
    }
    std::vector<std::pair<float, int>> ranked;
    for (const auto &entry : best)
        ranked.push_back({ entry.second, entry.first });
    std::sort(ranked.begin(), ranked.end()); // ties go to the lower class id
    for (const auto &entry : ranked) {
        if (int(results.size()) >= numChoices)
            break;
        const float confidence = 1.0f / (1.0f + entry.first);
        if (confidence >= confThreshold)
            results.emplace_back(entry.second, confidence);
    }
    return LTKErrors::kSuccess;
}

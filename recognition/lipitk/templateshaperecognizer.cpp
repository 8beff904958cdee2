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
    settings.orientationWeight = float(
            std::clamp(profile.number("OrientationWeight", settings.orientationWeight), 0.0, 10.0));
    settings.dotExtent =
            float(std::clamp(profile.number("DotExtent", settings.dotExtent), 0.0, 1000.0));
    const float slant = float(std::clamp(profile.number("SlantTried", 0.25), 0.0, 2.0));
    const float slantCost = float(std::clamp(profile.number("SlantCost", 0.02), 0.0, 10.0));
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
    m_slant = slant;
    m_slantCost = slantCost;
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

    // Every template against the writing as it is; then the nearest few against the writing
    // slanted less or more, as hands slant differently (at a small cost, so that upright
    // writing keeps its reading).
    std::vector<std::pair<float, size_t>> distances; // distance, template
    for (size_t t = 0; t < m_templates.size(); ++t) {
        const Template &candidate = m_templates[t];
        if (!subset.empty()
            && std::find(subset.begin(), subset.end(), candidate.classId) == subset.end())
            continue;
        distances.push_back({ StrokeMatcher::distance(input, candidate.shape, m_settings), t });
    }
    if (m_slant > 0.0f && !distances.empty()) {
        const size_t nearest = std::min(distances.size(), size_t(kSlantedCandidates));
        std::partial_sort(distances.begin(), distances.begin() + long(nearest), distances.end());
        for (float slant : { -m_slant, m_slant }) {
            const StrokeMatcher::Prepared slanted =
                    StrokeMatcher::prepare(StrokeMatcher::sheared(shape, slant), m_settings);
            for (size_t k = 0; k < nearest; ++k) {
                const float distance =
                        StrokeMatcher::distance(slanted, m_templates[distances[k].second].shape,
                                                m_settings)
                        + m_slantCost;
                distances[k].first = std::min(distances[k].first, distance);
            }
        }
    }
    std::map<int, float> best; // class id -> distance of its nearest variant
    for (const auto &entry : distances) {
        const int classId = m_templates[entry.second].classId;
        const auto found = best.find(classId);
        if (found == best.end() || entry.first < found->second)
            best[classId] = entry.first;
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

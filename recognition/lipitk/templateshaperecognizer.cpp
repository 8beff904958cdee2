#include "templateshaperecognizer.h"

#include "ltkconfigfilereader.h"
#include "ltkerrors.h"
#include "shapemodel.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
    const std::string networkName = profile.value("NetworkFile");
    if (networkName.find('/') != std::string::npos) {
        m_error = "NetworkFile must name a file of the profile folder";
        return LTKErrors::kModelFileCorrupt;
    }
    InkNetwork network;
    if (!networkName.empty()) {
        if (!network.read(config + m_profile + "/" + networkName, &m_error))
            return LTKErrors::kModelFileCorrupt;
        if (network.inputs != InkFeatures::kSize || network.classes != int(classes)) {
            m_error = networkName + ": not made for this project's ink and classes";
            return LTKErrors::kModelFileCorrupt;
        }
    }
    m_network = std::move(network);
    m_networkWeight = float(std::clamp(profile.number("NetworkWeight", m_networkWeight), 0.0, 100.0));
    ShapeModel model;
    if (!model.read(config + m_profile + "/" + modelName, int(classes))) {
        m_error = model.error();
        return LTKErrors::kModelFileCorrupt;
    }
    m_settings = settings;
    m_slant = slant;
    m_slantCost = slantCost;
    m_candidates = std::clamp(int(profile.number("InkCandidates", m_candidates)), 1, 100000);
    m_inkWeight = float(std::clamp(profile.number("InkWeight", m_inkWeight), 0.0, 100.0));
    const float copySlant = float(std::clamp(profile.number("CopySlant", 0.0), 0.0, 2.0));
    const float copyStretch = float(std::clamp(profile.number("CopyStretch", 0.0), 0.0, 0.9));
    m_copySlants = copySlant > 0.0f ? std::vector<float>{ -copySlant, 0.0f, copySlant }
                                    : std::vector<float>{ 0.0f };
    m_copyStretches = copyStretch > 0.0f
            ? std::vector<float>{ 1.0f - copyStretch, 1.0f, 1.0f + copyStretch }
            : std::vector<float>{ 1.0f };
    m_classCount = int(classes);
    for (const ShapeModel::Variant &variant : model.variants()) {
        m_templates.push_back({ variant.classId, StrokeMatcher::prepare(variant.strokes, settings),
                                variant.strokes });
        for (float slant : m_copySlants) {
            for (float stretch : m_copyStretches) {
                StrokeMatcher::Shape copy = StrokeMatcher::sheared(variant.strokes, slant);
                for (StrokeMatcher::Stroke &stroke : copy) {
                    for (StrokeMatcher::Point &point : stroke)
                        point.x *= stretch;
                }
                Ink ink{ m_templates.size() - 1, {} };
                // Templates are in letter-box units: no template is a dot.
                if (InkFeatures::compute(copy, 0.0f, ink.features))
                    m_inks.push_back(ink);
            }
        }
    }
    return LTKErrors::kSuccess;
}

int TemplateShapeRecognizer::unloadModelData()
{
    m_templates.clear();
    m_inks.clear();
    m_network = InkNetwork();
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

    const auto allowed = [&](int classId) {
        return subset.empty() || std::find(subset.begin(), subset.end(), classId) != subset.end();
    };
    // The templates nearest in ink, or every template for a dot; then those compared point by
    // point, against the writing as it is and, for the nearest few, slanted less or more, as
    // hands slant differently (at a small cost, so that upright writing keeps its reading).
    std::vector<std::pair<float, size_t>> distances; // distance, template
    std::vector<float> inkDistance(m_templates.size(), 0.0f);
    InkFeatures::Vector ink;
    const bool hasInk = InkFeatures::compute(shape, m_settings.dotExtent, ink);
    if (!m_inks.empty() && hasInk) {
        std::fill(inkDistance.begin(), inkDistance.end(), std::numeric_limits<float>::infinity());
        for (const Ink &copy : m_inks) {
            float &nearest = inkDistance[copy.templateIndex];
            nearest = std::min(nearest, InkFeatures::distance(ink, copy.features));
        }
        std::vector<std::pair<float, size_t>> byInk;
        for (size_t t = 0; t < m_templates.size(); ++t) {
            if (allowed(m_templates[t].classId) && std::isfinite(inkDistance[t]))
                byInk.push_back({ inkDistance[t], t });
        }
        const size_t kept = std::min(byInk.size(), size_t(m_candidates));
        std::partial_sort(byInk.begin(), byInk.begin() + long(kept), byInk.end());
        byInk.resize(kept);
        for (const auto &entry : byInk)
            distances.push_back({ entry.first, entry.second });
    } else {
        for (size_t t = 0; t < m_templates.size(); ++t) {
            if (allowed(m_templates[t].classId))
                distances.push_back({ 0.0f, t });
        }
    }
    for (auto &entry : distances) {
        entry.first = m_inkWeight * inkDistance[entry.second]
                + StrokeMatcher::distance(input, m_templates[entry.second].shape, m_settings);
    }
    if (m_slant > 0.0f && !distances.empty()) {
        const size_t nearest = std::min(distances.size(), size_t(kSlantedCandidates));
        std::partial_sort(distances.begin(), distances.begin() + long(nearest), distances.end());
        for (float slant : { -m_slant, m_slant }) {
            const StrokeMatcher::Prepared slanted =
                    StrokeMatcher::prepare(StrokeMatcher::sheared(shape, slant), m_settings);
            for (size_t k = 0; k < nearest; ++k) {
                const size_t t = distances[k].second;
                const float distance = m_inkWeight * inkDistance[t]
                        + StrokeMatcher::distance(slanted, m_templates[t].shape, m_settings)
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
    if (hasInk && !m_network.empty()) {
        // The network's reading of the ink, with the nearest templates' distances beside it;
        // a class no near template stands for counts as the farthest of them.
        const std::vector<float> probability = m_network.probabilities(ink.data());
        float farthest = 0.0f;
        for (const auto &entry : best)
            farthest = std::max(farthest, entry.second);
        for (int c = 0; c < m_classCount && c < int(probability.size()); ++c) {
            if (!allowed(c))
                continue;
            const auto found = best.find(c);
            const float templateDistance = found == best.end() ? farthest : found->second;
            ranked.push_back({ m_networkWeight * -std::log(std::max(probability[size_t(c)], 1e-9f))
                                       + templateDistance,
                               c });
        }
    } else {
        for (const auto &entry : best)
            ranked.push_back({ entry.second, entry.first });
    }
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

#include "shaperectst.h"

#include "recognition/lipitk/ltkerrors.h"
#include "recognition/lipitk/ltklipiengineinterface.h"
#include "recognition/lipitk/ltkosutil.h"
#include "recognition/lipitk/ltkosutilfactory.h"
#include "recognition/lipitk/ltkshaperecognizer.h"
#include "recognition/lipitk/ltktrace.h"
#include "recognition/lipitk/ltktracegroup.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <cmath>
#include <memory>

namespace {

// One engine for the process: loading the library and its model for every page would cost
// memory and start-up time for each page of a long document.
class SharedEngine
{
public:
    // Loads on the first call after the last release; a failure is remembered until then, so a
    // page converting many characters does not retry (and log) for each one.
    LTKShapeRecognizer *recognizer(const std::string &project)
    {
        if (!m_attempted) {
            m_attempted = true;
            if (!load(project))
                release();
        }
        return m_recognizer;
    }

    void addUser() { ++m_users; }
    void removeUser()
    {
        if (--m_users == 0)
            release();
    }

private:
    bool fail(const char *step, const std::string &detail = {})
    {
        qWarning("recog: the handwriting engine is not available: %s%s%s", step,
                 detail.empty() ? "" : ": ", detail.c_str());
        return false;
    }

    // LIPI_ROOT where it is set; otherwise the folder "lipi" beside the program, where the
    // build lays the engine out, so a plain start of the program finds it.
    static std::string engineRoot()
    {
        const QString root = qEnvironmentVariable("LIPI_ROOT");
        if (!root.isEmpty())
            return root.toStdString();
        if (!QCoreApplication::instance())
            return {};
        return (QCoreApplication::applicationDirPath() + QStringLiteral("/lipi")).toStdString();
    }

    bool load(const std::string &project)
    {
        m_osUtil.reset(LTKOSUtilFactory::getInstance());
        const std::string root = engineRoot();
        if (root.empty())
            return fail("LIPI_ROOT is not set and the program's folder is unknown");
        if (m_osUtil->loadSharedLib(root, "lipiengine", &m_libHandle) != LTKErrors::kSuccess)
            return fail("cannot load the library", m_osUtil->lastError());
        void *create = nullptr;
        if (m_osUtil->getFunctionAddress(m_libHandle, "createLTKLipiEngine", &create)
            != LTKErrors::kSuccess)
            return fail("no createLTKLipiEngine", m_osUtil->lastError());
        void *destroy = nullptr;
        if (m_osUtil->getFunctionAddress(m_libHandle, "deleteLTKLipiEngine", &destroy)
            == LTKErrors::kSuccess)
            m_deleteEngine = reinterpret_cast<FN_PTR_DELETELTKLIPIENGINE>(destroy);
        m_engine = reinterpret_cast<FN_PTR_CREATELTKLIPIENGINE>(create)();
        if (!m_engine)
            return fail("the library made no engine");
        m_engine->setLipiRootPath(root);
        if (m_engine->initializeLipiEngine() != LTKErrors::kSuccess)
            return fail("cannot initialise the engine under", root);
        LTKShapeRecognizer *recognizer = nullptr;
        if (m_engine->createShapeRecognizer(project, &recognizer) != LTKErrors::kSuccess
            || !recognizer)
            return fail("no recogniser for the project", project);
        m_recognizer = recognizer;
        if (m_recognizer->loadModelData() != LTKErrors::kSuccess)
            return fail("cannot load the model data", m_recognizer->lastError());
        return true;
    }

    // Recogniser, then engine, then the library that holds their code.
    void release()
    {
        if (m_engine) {
            if (m_recognizer)
                m_engine->deleteShapeRecognizer(m_recognizer);
            if (m_deleteEngine)
                m_deleteEngine(m_engine);
            else
                delete m_engine;
        }
        m_recognizer = nullptr;
        m_engine = nullptr;
        m_deleteEngine = nullptr;
        if (m_libHandle)
            m_osUtil->unloadSharedLib(m_libHandle);
        m_libHandle = nullptr;
        m_osUtil.reset();
        // Only a release by the last user starts afresh; a failed load stays failed until then.
        m_attempted = m_users > 0;
    }

    int m_users = 0;
    bool m_attempted = false;
    std::unique_ptr<LTKOSUtil> m_osUtil;
    void *m_libHandle = nullptr;
    LTKLipiEngineInterface *m_engine = nullptr;
    FN_PTR_DELETELTKLIPIENGINE m_deleteEngine = nullptr;
    LTKShapeRecognizer *m_recognizer = nullptr;
};

SharedEngine &sharedEngine()
{
    static SharedEngine engine;
    return engine;
}

} // namespace

recog::recog()
{
    sharedEngine().addUser();
    m_captureDevice.setSamplingRate(120);
    m_captureDevice.setXDPI(2500);
    m_captureDevice.setYDPI(2500);
    m_captureDevice.setUniformSampling(true);
    m_results.reserve(size_t(m_numChoices));
}

recog::~recog()
{
    sharedEngine().removeUser();
}

bool recog::isAvailable()
{
    return sharedEngine().recognizer(m_project) != nullptr;
}

int recog::reconocer(const QList<QVector<QPointF>> &strokes)
{
    if (!recognise(strokes, m_numChoices))
        return kNoMatch;
    const int id = m_results.front().getShapeId();
    return id < 0 ? kNoMatch : id;
}

QVector<int> recog::choices(const QList<QVector<QPointF>> &strokes, int count)
{
    QVector<int> ids;
    if (count < 1 || !recognise(strokes, count))
        return ids;
    for (const LTKShapeRecoResult &result : m_results) {
        if (result.getShapeId() < 0)
            break;
        ids << result.getShapeId();
    }
    return ids;
}

bool recog::recognise(const QList<QVector<QPointF>> &strokes, int count)
{
    m_results.clear();
    LTKShapeRecognizer *recognizer = sharedEngine().recognizer(m_project);
    if (!recognizer)
        return false;
    LTKTraceGroup group;
    for (const QVector<QPointF> &stroke : strokes) {
        LTKTrace trace;
        for (const QPointF &point : stroke) {
            // A point the engine cannot place (NaN, infinity) is left out, not passed on.
            const float x = float(point.x());
            const float y = float(point.y());
            if (std::isfinite(x) && std::isfinite(y))
                trace.addPoint({ x, y });
        }
        if (trace.getNumberOfPoints() > 0)
            group.addTrace(trace);
    }
    if (group.getNumTraces() == 0)
        return false;
    // The recogniser is shared: it takes this page's capture device for this call.
    recognizer->setDeviceContext(m_captureDevice);
    return recognizer->recognize(group, m_screenContext, m_subset, m_confThreshold, count,
                                 m_results)
            == LTKErrors::kSuccess
            && !m_results.empty();
}
